// The provider's patterns, each answered from the object's facts and run
// through the object's actions, as on the other platform: Select is the
// item's "select" (a click on the row), Invoke a button's "click", Toggle the
// check box's "toggle". An object answers only the patterns its role offers.
#include "platform/ui/a11y/windows/Provider.h"

#include "platform/ui/Messages.h"
#include "platform/ui/a11y/windows/UiaBridge.h"

namespace vark::a11y::uia {

namespace {

bool IsSelected(Accessible& object) {
  return object.Describe().states.Contains(State::Selected);
}

}  // namespace

HRESULT Provider::Act(PATTERNID pattern, const char* action) {
  return Live([&](Accessible& object) {
    const Facts facts = object.Describe();
    if (!Offers(pattern, facts, IsWindow())) return kNotSupported;
    if (!facts.states.Contains(State::Enabled)) return kElementNotEnabled;
    return object.DoAction(action) ? S_OK : kNotSupported;
  });
}

// --- invoke, toggle -------------------------------------------------------------------------

HRESULT Provider::Invoke() {
  return Act(kInvokePattern, "click");
}

HRESULT Provider::Toggle() {
  return Act(kTogglePattern, "toggle");
}

HRESULT Provider::get_ToggleState(ToggleState* result) {
  if (result == nullptr) return E_POINTER;
  *result = ToggleState_Off;
  return Live([&](Accessible& object) {
    const States states = object.Describe().states;
    if (states.Contains(State::Indeterminate)) *result = ToggleState_Indeterminate;
    if (states.Contains(State::Checked)) *result = ToggleState_On;
    return S_OK;
  });
}

// --- selection: the list ------------------------------------------------------------------------

HRESULT Provider::GetSelection(SAFEARRAY** result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  return Live([&](Accessible& object) -> HRESULT {
    std::vector<Provider*> selected;
    for (Accessible* item : UiaBridge::Present(object)) {
      if (IsSelected(*item)) selected.push_back(&bridge_->ProviderFor(*item));
    }
    SAFEARRAY* array = SafeArrayCreateVector(VT_UNKNOWN, 0, static_cast<ULONG>(selected.size()));
    if (array == nullptr) return E_OUTOFMEMORY;
    for (LONG i = 0; i < static_cast<LONG>(selected.size()); ++i) {
      // The array takes its own reference.
      SafeArrayPutElement(array, &i, static_cast<IUnknown*>(selected[i]->Simple()));
    }
    *result = array;
    return S_OK;
  });
}

HRESULT Provider::get_CanSelectMultiple(BOOL* result) {
  if (result == nullptr) return E_POINTER;
  *result = FALSE;
  return S_OK;
}

HRESULT Provider::get_IsSelectionRequired(BOOL* result) {
  if (result == nullptr) return E_POINTER;
  // One edition is always the selected one.
  *result = TRUE;
  return S_OK;
}

// --- selection: an item -------------------------------------------------------------------------

HRESULT Provider::Select() {
  return Act(kSelectionItemPattern, "select");
}

HRESULT Provider::AddToSelection() {
  // One item at a time: adding is selecting only where nothing else is.
  const HRESULT outcome = Live([&](Accessible& object) -> HRESULT {
    if (IsSelected(object)) return S_OK;
    Accessible* list = object.Parent();
    if (list != nullptr) {
      for (Accessible* item : UiaBridge::Present(*list)) {
        if (IsSelected(*item)) return kInvalidOperation;
      }
    }
    return S_FALSE;
  });
  return outcome == S_FALSE ? Select() : outcome;
}

HRESULT Provider::RemoveFromSelection() {
  return Live([&](Accessible& object) {
    // The list always keeps one item selected.
    return IsSelected(object) ? kInvalidOperation : S_OK;
  });
}

HRESULT Provider::get_IsSelected(BOOL* result) {
  if (result == nullptr) return E_POINTER;
  *result = FALSE;
  return Live([&](Accessible& object) {
    *result = IsSelected(object) ? TRUE : FALSE;
    return S_OK;
  });
}

HRESULT Provider::get_SelectionContainer(IRawElementProviderSimple** result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  return Live([&](Accessible& object) {
    if (Accessible* list = object.Parent()) {
      *result = bridge_->ProviderFor(*list).Simple();
      (*result)->AddRef();
    }
    return S_OK;
  });
}

// --- range value: the progress bar, read-only --------------------------------------------------

HRESULT Provider::SetValue(double) {
  return kElementNotEnabled;
}

namespace {

// One of the range's numbers.
template <typename Pick>
HRESULT RangePart(Accessible& object, double* result, Pick pick) {
  const std::optional<Range> range = object.Describe().value;
  if (!range) return kNotSupported;
  *result = pick(*range);
  return S_OK;
}

}  // namespace

HRESULT Provider::get_Value(double* result) {
  if (result == nullptr) return E_POINTER;
  *result = 0;
  return Live([&](Accessible& object) {
    return RangePart(object, result, [](const Range& r) { return r.current; });
  });
}

HRESULT Provider::get_Minimum(double* result) {
  if (result == nullptr) return E_POINTER;
  *result = 0;
  return Live([&](Accessible& object) {
    return RangePart(object, result, [](const Range& r) { return r.minimum; });
  });
}

HRESULT Provider::get_Maximum(double* result) {
  if (result == nullptr) return E_POINTER;
  *result = 0;
  return Live([&](Accessible& object) {
    return RangePart(object, result, [](const Range& r) { return r.maximum; });
  });
}

HRESULT Provider::get_IsReadOnly(BOOL* result) {
  if (result == nullptr) return E_POINTER;
  *result = TRUE;
  return S_OK;
}

HRESULT Provider::get_LargeChange(double* result) {
  if (result == nullptr) return E_POINTER;
  *result = 0;
  return S_OK;
}

HRESULT Provider::get_SmallChange(double* result) {
  if (result == nullptr) return E_POINTER;
  *result = 0;
  return S_OK;
}

// --- window -------------------------------------------------------------------------------

// The window's commands go through the system, as the same commands from its
// system menu would: the program handles them as it handles those.
HRESULT Provider::SetVisualState(WindowVisualState state) {
  return Live([&](Accessible&) -> HRESULT {
    if (hwnd_ == nullptr) return kElementNotAvailable;
    switch (state) {
      case WindowVisualState_Minimized:
        PostMessageW(hwnd_, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        return S_OK;
      case WindowVisualState_Normal:
        PostMessageW(hwnd_, WM_SYSCOMMAND, SC_RESTORE, 0);
        return S_OK;
      default:
        return kInvalidOperation;  // the window keeps its designed size
    }
  });
}

HRESULT Provider::Close() {
  return Live([&](Accessible&) -> HRESULT {
    if (hwnd_ == nullptr) return kElementNotAvailable;
    PostMessageW(hwnd_, WM_SYSCOMMAND, SC_CLOSE, 0);
    return S_OK;
  });
}

HRESULT Provider::WaitForInputIdle(int, BOOL* result) {
  if (result == nullptr) return E_POINTER;
  // Answered on the interface thread: it was idle enough to answer.
  *result = TRUE;
  return Live([&](Accessible&) { return S_OK; });
}

HRESULT Provider::get_CanMaximize(BOOL* result) {
  if (result == nullptr) return E_POINTER;
  *result = FALSE;
  return S_OK;
}

HRESULT Provider::get_CanMinimize(BOOL* result) {
  if (result == nullptr) return E_POINTER;
  *result = FALSE;
  return Live([&](Accessible& object) {
    *result = object.Describe().role == Role::Frame ? TRUE : FALSE;
    return S_OK;
  });
}

HRESULT Provider::get_IsModal(BOOL* result) {
  if (result == nullptr) return E_POINTER;
  *result = FALSE;
  return Live([&](Accessible& object) {
    *result = object.Describe().states.Contains(State::Modal) ? TRUE : FALSE;
    return S_OK;
  });
}

HRESULT Provider::get_WindowVisualState(WindowVisualState* result) {
  if (result == nullptr) return E_POINTER;
  *result = WindowVisualState_Normal;
  return Live([&](Accessible&) {
    if (hwnd_ != nullptr && IsIconic(hwnd_)) *result = WindowVisualState_Minimized;
    return S_OK;
  });
}

HRESULT Provider::get_WindowInteractionState(WindowInteractionState* result) {
  if (result == nullptr) return E_POINTER;
  *result = WindowInteractionState_ReadyForUserInteraction;
  return Live([&](Accessible&) {
    // A window a modal dialog took the input from waits for it.
    if (hwnd_ != nullptr && !IsWindowEnabled(hwnd_)) {
      *result = WindowInteractionState_BlockedByModalWindow;
    }
    return S_OK;
  });
}

HRESULT Provider::get_IsTopmost(BOOL* result) {
  if (result == nullptr) return E_POINTER;
  *result = FALSE;
  return S_OK;
}

}  // namespace vark::a11y::uia
