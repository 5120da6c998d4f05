// The provider's element side: identity, properties, the fragment tree and
// the fragment root's questions. The patterns are in ProviderPatterns.cpp.
#include "platform/ui/a11y/windows/Provider.h"

#include <algorithm>

#include "platform/os/windows/WideString.h"
#include "platform/ui/a11y/windows/UiaBridge.h"

namespace vark::a11y::uia {

namespace {

int ControlType(Role role) {
  switch (role) {
    case Role::Frame:
    case Role::Dialog:
    case Role::Alert:
      return kWindowControl;
    case Role::Label:
      return kTextControl;
    case Role::PushButton:
      return kButtonControl;
    case Role::CheckBox:
      return kCheckBoxControl;
    case Role::List:
      return kListControl;
    case Role::ListItem:
      return kListItemControl;
    case Role::ProgressBar:
      return kProgressBarControl;
    default:
      return kPaneControl;
  }
}

void SetBool(VARIANT* v, bool value) {
  v->vt = VT_BOOL;
  v->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetInt(VARIANT* v, int value) {
  v->vt = VT_I4;
  v->lVal = value;
}

void SetText(VARIANT* v, const std::string& text) {
  if (text.empty()) return;
  v->vt = VT_BSTR;
  v->bstrVal = SysAllocString(os::win32::Widen(text).c_str());
}

// The provider of object for a caller, with a reference of the caller's.
template <typename Interface>
HRESULT Hand(Interface* provider, Interface** result) {
  *result = provider;
  if (provider != nullptr) provider->AddRef();
  return S_OK;
}

ToggleState ToggleOf(const Facts& facts) {
  if (facts.states.Contains(State::Indeterminate)) return ToggleState_Indeterminate;
  return facts.states.Contains(State::Checked) ? ToggleState_On : ToggleState_Off;
}

// The object under object (itself left out) that has the keyboard focus.
Accessible* FocusedBelow(Accessible& object) {
  for (Accessible* child : UiaBridge::Present(object)) {
    if (child->Describe().states.Contains(State::Focused)) {
      // A list has the focus while an item has it: the item is the answer.
      if (Accessible* inner = FocusedBelow(*child)) return inner;
      return child;
    }
    if (Accessible* focused = FocusedBelow(*child)) return focused;
  }
  return nullptr;
}

bool Holds(const TRect& r, TPoint p) {
  return p.X >= r.Left && p.X < r.Right && p.Y >= r.Top && p.Y < r.Bottom;
}

// The innermost object under object whose bounds hold point.
Accessible* At(Accessible& object, TPoint point) {
  for (Accessible* child : UiaBridge::Present(object)) {
    if (Holds(child->ScreenBounds(), point)) {
      Accessible* inner = At(*child, point);
      return inner != nullptr ? inner : child;
    }
  }
  return nullptr;
}

}  // namespace

Provider::Provider(UiaBridge& bridge, Accessible& object, int id,
                   std::shared_ptr<const UiThread> thread)
    : thread_(std::move(thread)), bridge_(&bridge), object_(&object), id_(id) {}

HRESULT Provider::Live(const std::function<HRESULT(Accessible& object)>& work) {
  return thread_->Run([&]() -> HRESULT {
    if (object_ == nullptr || bridge_ == nullptr) return kElementNotAvailable;
    return work(*object_);
  });
}

bool Provider::IsWindow() const {
  return object_ != nullptr && UiaBridge::IsWindow(*object_);
}

// --- IUnknown ---------------------------------------------------------------------------

HRESULT Provider::QueryInterface(REFIID iid, void** out) {
  if (out == nullptr) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == kIidRawElementProviderSimple) {
    *out = static_cast<IRawElementProviderSimple*>(this);
  } else if (iid == kIidRawElementProviderFragment) {
    *out = static_cast<IRawElementProviderFragment*>(this);
  } else if (iid == kIidRawElementProviderFragmentRoot) {
    *out = static_cast<IRawElementProviderFragmentRoot*>(this);
  } else if (iid == kIidInvokeProvider) {
    *out = static_cast<IInvokeProvider*>(this);
  } else if (iid == kIidSelectionProvider) {
    *out = static_cast<ISelectionProvider*>(this);
  } else if (iid == kIidSelectionItemProvider) {
    *out = static_cast<ISelectionItemProvider*>(this);
  } else if (iid == kIidToggleProvider) {
    *out = static_cast<IToggleProvider*>(this);
  } else if (iid == kIidRangeValueProvider) {
    *out = static_cast<IRangeValueProvider*>(this);
  } else if (iid == kIidWindowProvider) {
    *out = static_cast<IWindowProvider*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

ULONG Provider::AddRef() {
  return ++refs_;
}

ULONG Provider::Release() {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

// --- IRawElementProviderSimple -------------------------------------------------------------

HRESULT Provider::get_ProviderOptions(ProviderOptions* result) {
  if (result == nullptr) return E_POINTER;
  // Calls come on the system's threads; Live takes them to ours.
  *result = ProviderOptions_ServerSideProvider;
  return S_OK;
}

bool Provider::Offers(PATTERNID pattern, const Facts& facts, bool isWindow) {
  switch (pattern) {
    case kInvokePattern:
      return facts.role == Role::PushButton;
    case kTogglePattern:
      return facts.role == Role::CheckBox;
    case kSelectionPattern:
      return facts.role == Role::List;
    case kSelectionItemPattern:
      return facts.role == Role::ListItem;
    case kRangeValuePattern:
      return facts.role == Role::ProgressBar && facts.value.has_value();
    case kWindowPattern:
      return isWindow;
    default:
      return false;
  }
}

HRESULT Provider::GetPatternProvider(PATTERNID pattern, IUnknown** result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  return Live([&](Accessible& object) {
    if (!Offers(pattern, object.Describe(), IsWindow())) return S_OK;
    *result = static_cast<IRawElementProviderSimple*>(this);
    AddRef();
    return S_OK;
  });
}

HRESULT Provider::GetPropertyValue(PROPERTYID property, VARIANT* result) {
  if (result == nullptr) return E_POINTER;
  VariantInit(result);
  return Live([&](Accessible& object) {
    const Facts facts = object.Describe();
    switch (property) {
      case kControlTypeProperty:
        SetInt(result, ControlType(facts.role));
        break;
      case kNameProperty:
        SetText(result, facts.name);
        break;
      case kHelpTextProperty:
      case kFullDescriptionProperty:
        SetText(result, facts.description);
        break;
      case kIsEnabledProperty:
        SetBool(result, facts.states.Contains(State::Enabled));
        break;
      case kIsKeyboardFocusableProperty:
        SetBool(result, facts.states.Contains(State::Focusable));
        break;
      case kHasKeyboardFocusProperty:
        SetBool(result, facts.states.Contains(State::Focused));
        break;
      case kIsOffscreenProperty:
        SetBool(result, !facts.states.Contains(State::Showing));
        break;
      case kFrameworkIdProperty:
        SetText(result, "Vark");
        break;
      case kIsDialogProperty:
        SetBool(result, facts.role == Role::Dialog || facts.role == Role::Alert);
        break;
      case kPositionInSetProperty:
      case kSizeOfSetProperty: {
        if (facts.role != Role::ListItem || object.Parent() == nullptr) break;
        const std::vector<Accessible*> items = UiaBridge::Present(*object.Parent());
        const auto at = std::find(items.begin(), items.end(), &object);
        if (at == items.end()) break;
        SetInt(result, property == kSizeOfSetProperty ? static_cast<int>(items.size())
                                                      : static_cast<int>(at - items.begin()) + 1);
        break;
      }
      // The patterns' own properties, answered by the element too: the
      // system may ask the element before it asks the pattern.
      case kToggleStateProperty:
        if (facts.role == Role::CheckBox) SetInt(result, ToggleOf(facts));
        break;
      case kSelectionItemIsSelectedProperty:
        if (facts.role == Role::ListItem) SetBool(result, facts.states.Contains(State::Selected));
        break;
      case kRangeValueValueProperty:
        if (Offers(kRangeValuePattern, facts, false)) {
          result->vt = VT_R8;
          result->dblVal = facts.value->current;
        }
        break;
      case kWindowIsModalProperty:
        if (IsWindow()) SetBool(result, facts.states.Contains(State::Modal));
        break;
      default:
        break;
    }
    return S_OK;
  });
}

HRESULT Provider::get_HostRawElementProvider(IRawElementProviderSimple** result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  return Live([&](Accessible&) {
    // The window's own provider adds what the system knows of the window
    // (its handle, process, frame); the window is ours to describe otherwise.
    if (!IsWindow() || hwnd_ == nullptr) return S_OK;
    return bridge_->System().HostProviderFromHwnd(hwnd_, result);
  });
}

// --- IRawElementProviderFragment -------------------------------------------------------------

HRESULT Provider::Navigate(NavigateDirection direction, IRawElementProviderFragment** result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  return Live([&](Accessible& object) -> HRESULT {
    Accessible* target = nullptr;
    if (direction == NavigateDirection_FirstChild || direction == NavigateDirection_LastChild) {
      const std::vector<Accessible*> children = UiaBridge::Present(object);
      if (!children.empty()) {
        target = direction == NavigateDirection_FirstChild ? children.front() : children.back();
      }
    } else if (!IsWindow() && object.Parent() != nullptr) {
      // A window's parent and siblings are the desktop's: the system's part.
      Accessible& parent = *object.Parent();
      if (direction == NavigateDirection_Parent) {
        target = &parent;
      } else {
        const std::vector<Accessible*> siblings = UiaBridge::Present(parent);
        const auto at = std::find(siblings.begin(), siblings.end(), &object);
        if (at != siblings.end()) {
          if (direction == NavigateDirection_NextSibling && at + 1 != siblings.end()) {
            target = *(at + 1);
          }
          if (direction == NavigateDirection_PreviousSibling && at != siblings.begin()) {
            target = *(at - 1);
          }
        }
      }
    }
    if (target == nullptr) return S_OK;
    return Hand<IRawElementProviderFragment>(&bridge_->ProviderFor(*target), result);
  });
}

HRESULT Provider::GetRuntimeId(SAFEARRAY** result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  return Live([&](Accessible&) -> HRESULT {
    // A window's id comes from its handle, through the host provider.
    if (IsWindow()) return S_OK;
    SAFEARRAY* ids = SafeArrayCreateVector(VT_I4, 0, 2);
    if (ids == nullptr) return E_OUTOFMEMORY;
    LONG index = 0;
    int value = kAppendRuntimeId;
    SafeArrayPutElement(ids, &index, &value);
    index = 1;
    value = id_;
    SafeArrayPutElement(ids, &index, &value);
    *result = ids;
    return S_OK;
  });
}

HRESULT Provider::get_BoundingRectangle(UiaRect* result) {
  if (result == nullptr) return E_POINTER;
  *result = {};
  return Live([&](Accessible& object) {
    // The model's screen pixels are the system's physical ones: the program
    // is aware of each monitor's scale.
    const TRect r = object.ScreenBounds();
    *result = {static_cast<double>(r.Left), static_cast<double>(r.Top),
               static_cast<double>(r.Width()), static_cast<double>(r.Height())};
    return S_OK;
  });
}

HRESULT Provider::GetEmbeddedFragmentRoots(SAFEARRAY** result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  return S_OK;
}

HRESULT Provider::SetFocus() {
  return Live([&](Accessible& object) { return object.GrabFocus() ? S_OK : kElementNotEnabled; });
}

HRESULT Provider::get_FragmentRoot(IRawElementProviderFragmentRoot** result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  return Live([&](Accessible& object) {
    Accessible* window = UiaBridge::WindowOf(object);
    if (window == nullptr) return S_OK;
    return Hand<IRawElementProviderFragmentRoot>(&bridge_->ProviderFor(*window), result);
  });
}

// --- IRawElementProviderFragmentRoot ----------------------------------------------------------

HRESULT Provider::ElementProviderFromPoint(double x, double y,
                                           IRawElementProviderFragment** result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  return Live([&](Accessible& object) {
    const TPoint point{static_cast<int>(x), static_cast<int>(y)};
    Accessible* found = At(object, point);
    if (found == nullptr && Holds(object.ScreenBounds(), point)) found = &object;
    if (found == nullptr) return S_OK;
    return Hand<IRawElementProviderFragment>(&bridge_->ProviderFor(*found), result);
  });
}

HRESULT Provider::GetFocus(IRawElementProviderFragment** result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  return Live([&](Accessible& object) {
    Accessible* focused = FocusedBelow(object);
    if (focused == nullptr) return S_OK;
    return Hand<IRawElementProviderFragment>(&bridge_->ProviderFor(*focused), result);
  });
}

}  // namespace vark::a11y::uia
