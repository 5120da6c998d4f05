#include "platform/ui/a11y/windows/UiaBridge.h"

#include <algorithm>

namespace vark::a11y::uia {

namespace {

// A window's handle as the system knows it: the backend keeps HWNDs, which
// the system holds within 32 bits, sign-extended.
HWND SystemHandle(WindowHandle window) {
  return reinterpret_cast<HWND>(static_cast<intptr_t>(static_cast<int32_t>(window)));
}

VARIANT Int(int value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

VARIANT Double(double value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_R8;
  v.dblVal = value;
  return v;
}

}  // namespace

UiaBridge::UiaBridge(const Core& core, Backend* backend)
    : core_(core), backend_(backend), thread_(std::make_shared<UiThread>()) {
  windows_ = Present(Root());
  SetObserver(this);
  if (backend_ != nullptr) {
    backend_->AccessibleObjectAsked = [this](WindowHandle window, uintptr_t wParam,
                                             intptr_t lParam) {
      return ObjectAsked(window, wParam, lParam);
    };
    backend_->WindowDestroying = [this](WindowHandle window) { WindowDestroying(window); };
  }
}

UiaBridge::~UiaBridge() {
  if (backend_ != nullptr) {
    backend_->AccessibleObjectAsked = nullptr;
    backend_->WindowDestroying = nullptr;
  }
  if (CurrentObserver() == this) SetObserver(nullptr);
  // The system lets go of the windows, then clients of every provider learn
  // that its element is gone.
  for (HWND hwnd : served_)
    core_.ReturnRawElementProvider(hwnd, 0, 0, nullptr);
  for (auto& [object, entry] : entries_)
    Disconnect(entry);
}

bool UiaBridge::IsWindow(const Accessible& object) {
  return object.Parent() == &Root();
}

Accessible* UiaBridge::WindowOf(Accessible& object) {
  for (Accessible* a = &object; a != nullptr; a = a->Parent()) {
    if (IsWindow(*a)) return a;
  }
  return nullptr;
}

std::vector<Accessible*> UiaBridge::Present(Accessible& object) {
  std::vector<Accessible*> present;
  for (Accessible* child : object.Children()) {
    if (child->Describe().states.Contains(State::Visible)) present.push_back(child);
  }
  return present;
}

UiaBridge::Entry& UiaBridge::EntryFor(Accessible& object) {
  Entry& entry = entries_[&object];
  if (entry.provider == nullptr) {
    // A COM object: it frees itself with its last reference, which may be a client's.
    entry.provider = new Provider(*this, object, nextId_++, thread_);
    const Facts facts = object.Describe();
    entry.toggle = facts.states.Contains(State::Checked) ? ToggleState_On : ToggleState_Off;
    entry.value = facts.value ? facts.value->current : 0;
    entry.visible = facts.states.Contains(State::Visible);
  }
  return entry;
}

Provider& UiaBridge::ProviderFor(Accessible& object) {
  return *EntryFor(object).provider;
}

void UiaBridge::Disconnect(Entry& entry) {
  entry.provider->Forget();
  if (core_.DisconnectProvider != nullptr) core_.DisconnectProvider(entry.provider->Simple());
  entry.provider->Release();
  entry.provider = nullptr;
}

// --- the system's requests ---------------------------------------------------------------------

std::optional<intptr_t> UiaBridge::ObjectAsked(WindowHandle window, uintptr_t wParam,
                                               intptr_t lParam) {
  if (lParam != kRootObjectId) return std::nullopt;
  Accessible* object = WindowObject(window);
  if (object == nullptr) return std::nullopt;
  HWND hwnd = SystemHandle(window);
  Provider& provider = ProviderFor(*object);
  provider.SetWindow(hwnd);
  if (std::find(served_.begin(), served_.end(), hwnd) == served_.end()) served_.push_back(hwnd);
  return static_cast<intptr_t>(
      core_.ReturnRawElementProvider(hwnd, static_cast<WPARAM>(wParam), lParam, provider.Simple()));
}

void UiaBridge::WindowDestroying(WindowHandle window) {
  HWND hwnd = SystemHandle(window);
  const auto at = std::find(served_.begin(), served_.end(), hwnd);
  if (at == served_.end()) return;
  served_.erase(at);
  core_.ReturnRawElementProvider(hwnd, 0, 0, nullptr);
  for (auto& [object, entry] : entries_) {
    if (entry.provider->Window() == hwnd) entry.provider->SetWindow(nullptr);
  }
}

// --- events --------------------------------------------------------------------------------

bool UiaBridge::Listening() const {
  return core_.ClientsAreListening != nullptr && core_.ClientsAreListening();
}

void UiaBridge::Raise(Accessible& object, EventId event) {
  if (core_.RaiseAutomationEvent == nullptr || !Listening()) return;
  core_.RaiseAutomationEvent(ProviderFor(object).Simple(), event);
}

void UiaBridge::RaiseProperty(Provider& provider, PropertyId property, VARIANT before,
                              VARIANT now) {
  if (core_.RaiseAutomationPropertyChangedEvent == nullptr || !Listening()) return;
  core_.RaiseAutomationPropertyChangedEvent(provider.Simple(), property, before, now);
}

void UiaBridge::RaiseStructure(Accessible& object) {
  if (core_.RaiseStructureChangedEvent == nullptr || !Listening()) return;
  Provider& provider = ProviderFor(object);
  // The changed element's runtime id; a window's is its handle's, which the
  // system fills in.
  int id[2] = {kAppendRuntimeId, 0};
  SAFEARRAY* ids = nullptr;
  if (SUCCEEDED(provider.GetRuntimeId(&ids)) && ids != nullptr) {
    for (LONG i = 0; i < 2; ++i)
      SafeArrayGetElement(ids, &i, &id[i]);
    SafeArrayDestroy(ids);
  }
  core_.RaiseStructureChangedEvent(provider.Simple(), StructureChangeType_ChildrenInvalidated, id,
                                   2);
}

void UiaBridge::StatesChanged(Accessible& object) {
  auto it = entries_.find(&object);
  if (it == entries_.end()) return;
  Entry& entry = it->second;
  const Facts facts = object.Describe();
  const bool visible = facts.states.Contains(State::Visible);
  if (visible != entry.visible) {
    entry.visible = visible;
    // It came into the tree or left it (the progress bar while a game starts).
    if (Accessible* parent = object.Parent()) RaiseStructure(*parent);
  }
  if (facts.role == Role::CheckBox) {
    const ToggleState toggle =
        facts.states.Contains(State::Checked) ? ToggleState_On : ToggleState_Off;
    if (toggle != entry.toggle) {
      RaiseProperty(*entry.provider, kToggleStateProperty, Int(entry.toggle), Int(toggle));
      entry.toggle = toggle;
    }
  }
}

void UiaBridge::WindowsChanged() {
  const std::vector<Accessible*> now = Present(Root());
  for (Accessible* window : now) {
    if (std::find(windows_.begin(), windows_.end(), window) != windows_.end()) continue;
    Raise(*window, kWindowOpenedEvent);
    // An error message is also an alert, which screen readers read out
    // wherever the user is.
    if (window->Describe().role == Role::Alert) Raise(*window, kSystemAlertEvent);
  }
  windows_ = now;
}

void UiaBridge::Changed(Accessible& object, Change change) {
  switch (change) {
    case Change::Focus:
      if (object.Describe().states.Contains(State::Focused)) Raise(object, kFocusChangedEvent);
      return;
    case Change::Selection:
      for (Accessible* item : Present(object)) {
        if (item->Describe().states.Contains(State::Selected)) Raise(*item, kElementSelectedEvent);
      }
      return;
    case Change::States:
      StatesChanged(object);
      return;
    case Change::Value:
      if (auto it = entries_.find(&object); it != entries_.end()) {
        const double value = object.Describe().value.value_or(Range{}).current;
        if (value != it->second.value) {
          RaiseProperty(*it->second.provider, kRangeValueValueProperty, Double(it->second.value),
                        Double(value));
          it->second.value = value;
        }
      }
      return;
    case Change::Name:
      if (auto it = entries_.find(&object); it != entries_.end()) {
        VARIANT before, now;
        VariantInit(&before);
        VariantInit(&now);
        if (SUCCEEDED(it->second.provider->GetPropertyValue(kNameProperty, &now))) {
          RaiseProperty(*it->second.provider, kNameProperty, before, now);
        }
        VariantClear(&now);
      }
      return;
    case Change::Children:
      if (&object == &Root()) {
        WindowsChanged();
      } else if (entries_.count(&object) != 0) {
        RaiseStructure(object);
      }
      return;
    case Change::Activated:
      // The system tells of the window; the control that has the focus in it is ours to tell.
      if (Accessible* window = WindowOf(object)) {
        for (Accessible* a = window; a != nullptr;) {
          Accessible* next = nullptr;
          for (Accessible* child : Present(*a)) {
            if (child->Describe().states.Contains(State::Focused)) next = child;
          }
          if (next == nullptr) {
            if (a != window) Raise(*a, kFocusChangedEvent);
            break;
          }
          a = next;
        }
      }
      return;
    case Change::Deactivated:
      return;
  }
}

void UiaBridge::Destroyed(Accessible& object) {
  windows_.erase(std::remove(windows_.begin(), windows_.end(), &object), windows_.end());
  auto it = entries_.find(&object);
  if (it == entries_.end()) return;
  Disconnect(it->second);
  entries_.erase(it);
}

}  // namespace vark::a11y::uia
