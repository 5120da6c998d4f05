#include "tests/app/windows/UiaProbe.h"

#include <atomic>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <string_view>
#include <thread>

#include "platform/os/windows/WideString.h"
#include "platform/ui/a11y/windows/UiaBridge.h"

namespace vark::test {

namespace {

namespace uia = vark::a11y::uia;

// Text pieces end to end (GCC 12 warns falsely about "literal" + string).
std::string Join(std::initializer_list<std::string_view> pieces) {
  std::string text;
  for (std::string_view piece : pieces)
    text.append(piece);
  return text;
}

std::mutex eventsLock;
std::vector<std::string> events;
bool listening = false;

std::string NameOf(IRawElementProviderSimple* provider) {
  VARIANT v;
  VariantInit(&v);
  std::string name;
  if (SUCCEEDED(provider->GetPropertyValue(uia::kNameProperty, &v)) && v.vt == VT_BSTR) {
    name = os::win32::Narrow(v.bstrVal);
  }
  VariantClear(&v);
  return name;
}

std::string Text(const VARIANT& v) {
  switch (v.vt) {
    case VT_I4:
      return std::to_string(v.lVal);
    case VT_R8:
      return std::to_string(static_cast<int>(v.dblVal));
    case VT_BSTR:
      return os::win32::Narrow(v.bstrVal);
    default:
      return "-";
  }
}

void Record(std::string line) {
  std::lock_guard<std::mutex> hold(eventsLock);
  events.push_back(std::move(line));
}

// The system's side, recording.
LRESULT WINAPI ReturnRawElementProvider(HWND, WPARAM, LPARAM, IRawElementProviderSimple*) {
  return 0;
}
HRESULT WINAPI HostProviderFromHwnd(HWND, IRawElementProviderSimple** provider) {
  *provider = nullptr;
  return S_OK;
}
HRESULT WINAPI RaiseAutomationEvent(IRawElementProviderSimple* provider, int id) {
  const char* kind = id == uia::kFocusChangedEvent      ? "focus"
                     : id == uia::kElementSelectedEvent ? "selected"
                     : id == uia::kWindowOpenedEvent    ? "opened"
                     : id == uia::kSystemAlertEvent     ? "alert"
                                                        : "event";
  Record(Join({kind, " '", NameOf(provider), "'"}));
  return S_OK;
}
HRESULT WINAPI RaisePropertyChanged(IRawElementProviderSimple* provider, int id, VARIANT before,
                                    VARIANT now) {
  Record(Join({"property ", std::to_string(id), " '", NameOf(provider), "' ", Text(before), " -> ",
               Text(now)}));
  return S_OK;
}
HRESULT WINAPI RaiseStructureChanged(IRawElementProviderSimple* provider, uia::StructureChangeType,
                                     int*, int) {
  Record(Join({"structure '", NameOf(provider), "'"}));
  return S_OK;
}
BOOL WINAPI ClientsAreListening() {
  return listening ? TRUE : FALSE;
}
HRESULT WINAPI DisconnectProvider(IRawElementProviderSimple*) {
  Record("disconnected");
  return S_OK;
}

const uia::Core recordingCore = {
    &ReturnRawElementProvider, &HostProviderFromHwnd, &RaiseAutomationEvent, &RaisePropertyChanged,
    &RaiseStructureChanged,    &ClientsAreListening,  &DisconnectProvider};

// work on a thread of its own, as the system calls a provider, while this
// thread takes the messages that bring the calls to the interface thread.
long OffThread(const std::function<long()>& work) {
  std::atomic<bool> done = false;
  long result = 0;
  std::thread client([&] {
    result = work();
    done = true;
  });
  while (!done) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
  client.join();
  return result;
}

// Releases a COM reference at the end of a scope.
template <typename Interface>
struct Held {
  Interface* p = nullptr;
  ~Held() {
    if (p != nullptr) p->Release();
  }
};

IRawElementProviderFragment* Next(IRawElementProviderFragment* from, NavigateDirection direction) {
  IRawElementProviderFragment* next = nullptr;
  from->Navigate(direction, &next);
  return next;
}

std::string Flag(IRawElementProviderSimple* simple, int property, const char* flag) {
  VARIANT v;
  VariantInit(&v);
  const bool set = SUCCEEDED(simple->GetPropertyValue(property, &v)) && v.vt == VT_BOOL &&
                   v.boolVal == VARIANT_TRUE;
  return set ? Join({" ", flag}) : "";
}

const char* TypeName(int id) {
  switch (id) {
    case uia::kButtonControl:
      return "button";
    case uia::kCheckBoxControl:
      return "check box";
    case uia::kListItemControl:
      return "list item";
    case uia::kListControl:
      return "list";
    case uia::kProgressBarControl:
      return "progress bar";
    case uia::kTextControl:
      return "text";
    case uia::kWindowControl:
      return "window";
    default:
      return "other";
  }
}

// One element as a line: through its properties and its patterns.
std::string Line(IRawElementProviderFragment* fragment, int depth) {
  Held<IRawElementProviderSimple> simple;
  fragment->QueryInterface(uia::kIidRawElementProviderSimple, reinterpret_cast<void**>(&simple.p));
  VARIANT type;
  VariantInit(&type);
  simple.p->GetPropertyValue(uia::kControlTypeProperty, &type);
  std::string line(static_cast<size_t>(depth) * 2, ' ');
  line += TypeName(type.lVal);
  line += Join({" '", NameOf(simple.p), "'"});
  line += Flag(simple.p, uia::kIsEnabledProperty, "enabled");
  line += Flag(simple.p, uia::kIsKeyboardFocusableProperty, "focusable");
  line += Flag(simple.p, uia::kHasKeyboardFocusProperty, "focused");
  line += Flag(simple.p, uia::kIsDialogProperty, "dialog");
  Held<IUnknown> pattern;
  if (SUCCEEDED(simple.p->GetPatternProvider(uia::kSelectionItemPattern, &pattern.p)) &&
      pattern.p) {
    Held<uia::ISelectionItemProvider> item;
    pattern.p->QueryInterface(uia::kIidSelectionItemProvider, reinterpret_cast<void**>(&item.p));
    BOOL selected = FALSE;
    item.p->get_IsSelected(&selected);
    if (selected) line += " selected";
    VARIANT at, of;
    VariantInit(&at);
    VariantInit(&of);
    simple.p->GetPropertyValue(uia::kPositionInSetProperty, &at);
    simple.p->GetPropertyValue(uia::kSizeOfSetProperty, &of);
    line += Join({" ", Text(at), "/", Text(of)});
  }
  Held<IUnknown> toggle;
  if (SUCCEEDED(simple.p->GetPatternProvider(uia::kTogglePattern, &toggle.p)) && toggle.p) {
    Held<uia::IToggleProvider> provider;
    toggle.p->QueryInterface(uia::kIidToggleProvider, reinterpret_cast<void**>(&provider.p));
    uia::ToggleState state = uia::ToggleState_Indeterminate;
    provider.p->get_ToggleState(&state);
    line += Join({" toggle=", std::to_string(state)});
  }
  Held<IUnknown> range;
  if (SUCCEEDED(simple.p->GetPatternProvider(uia::kRangeValuePattern, &range.p)) && range.p) {
    Held<uia::IRangeValueProvider> provider;
    range.p->QueryInterface(uia::kIidRangeValueProvider, reinterpret_cast<void**>(&provider.p));
    double value = -1, maximum = -1;
    BOOL readOnly = FALSE;
    provider.p->get_Value(&value);
    provider.p->get_Maximum(&maximum);
    provider.p->get_IsReadOnly(&readOnly);
    line += Join({" value=", std::to_string(static_cast<int>(value)), "/",
                  std::to_string(static_cast<int>(maximum)), readOnly ? " read-only" : ""});
  }
  Held<IUnknown> window;
  if (SUCCEEDED(simple.p->GetPatternProvider(uia::kWindowPattern, &window.p)) && window.p) {
    Held<uia::IWindowProvider> provider;
    window.p->QueryInterface(uia::kIidWindowProvider, reinterpret_cast<void**>(&provider.p));
    BOOL modal = FALSE;
    provider.p->get_IsModal(&modal);
    if (modal) line += " modal";
  }
  return line;
}

void Walk(IRawElementProviderFragment* fragment, int depth, std::vector<std::string>& lines) {
  lines.push_back(Line(fragment, depth));
  IRawElementProviderFragment* child = Next(fragment, NavigateDirection_FirstChild);
  while (child != nullptr) {
    // Each child knows its parent.
    Held<IRawElementProviderFragment> parent{Next(child, NavigateDirection_Parent)};
    if (parent.p != fragment) lines.push_back("(wrong parent)");
    Walk(child, depth + 1, lines);
    IRawElementProviderFragment* next = Next(child, NavigateDirection_NextSibling);
    child->Release();
    child = next;
  }
}

// The fragment named name under from, with a reference of the caller's, or null.
IRawElementProviderFragment* Named(IRawElementProviderFragment* from, const std::string& name) {
  IRawElementProviderFragment* child = Next(from, NavigateDirection_FirstChild);
  while (child != nullptr) {
    Held<IRawElementProviderSimple> simple;
    child->QueryInterface(uia::kIidRawElementProviderSimple, reinterpret_cast<void**>(&simple.p));
    if (NameOf(simple.p) == name) return child;
    if (IRawElementProviderFragment* inner = Named(child, name)) {
      child->Release();
      return inner;
    }
    IRawElementProviderFragment* next = Next(child, NavigateDirection_NextSibling);
    child->Release();
    child = next;
  }
  return nullptr;
}

}  // namespace

struct UiaProbe::Impl {
  uia::UiaBridge bridge{recordingCore, nullptr};
  IRawElementProviderSimple* held = nullptr;

  IRawElementProviderFragment* Root(a11y::Accessible& window) {
    return &bridge.ProviderFor(window);
  }
};

UiaProbe::UiaProbe() : impl_(std::make_unique<Impl>()) {
  TakeEvents();
}

UiaProbe::~UiaProbe() {
  if (impl_->held != nullptr) impl_->held->Release();
  listening = false;
}

void UiaProbe::SetListening(bool on) {
  listening = on;
}

std::vector<std::string> UiaProbe::TakeEvents() {
  std::lock_guard<std::mutex> hold(eventsLock);
  std::vector<std::string> taken;
  taken.swap(events);
  return taken;
}

std::vector<std::string> UiaProbe::Tree(a11y::Accessible& window) {
  std::vector<std::string> lines;
  IRawElementProviderFragment* root = impl_->Root(window);
  OffThread([&] {
    Walk(root, 0, lines);
    return 0L;
  });
  return lines;
}

TRect UiaProbe::Bounds(a11y::Accessible& window, const std::string& name) {
  UiaRect r{};
  IRawElementProviderFragment* root = impl_->Root(window);
  OffThread([&] {
    Held<IRawElementProviderFragment> found{Named(root, name)};
    return found.p != nullptr ? static_cast<long>(found.p->get_BoundingRectangle(&r)) : E_FAIL;
  });
  return ::Bounds(static_cast<int>(r.left), static_cast<int>(r.top), static_cast<int>(r.width),
                  static_cast<int>(r.height));
}

std::string UiaProbe::Focus(a11y::Accessible& window) {
  std::string name;
  IRawElementProviderFragment* root = impl_->Root(window);
  OffThread([&] {
    Held<IRawElementProviderFragmentRoot> asRoot;
    root->QueryInterface(uia::kIidRawElementProviderFragmentRoot,
                         reinterpret_cast<void**>(&asRoot.p));
    Held<IRawElementProviderFragment> focused;
    asRoot.p->GetFocus(&focused.p);
    if (focused.p == nullptr) return 0L;
    Held<IRawElementProviderSimple> simple;
    focused.p->QueryInterface(uia::kIidRawElementProviderSimple,
                              reinterpret_cast<void**>(&simple.p));
    name = NameOf(simple.p);
    return 0L;
  });
  return name;
}

long UiaProbe::Act(a11y::Accessible& window, const std::string& name, const std::string& action) {
  IRawElementProviderFragment* root = impl_->Root(window);
  return OffThread([&]() -> long {
    Held<IRawElementProviderFragment> found{Named(root, name)};
    if (found.p == nullptr) return E_INVALIDARG;
    Held<IRawElementProviderSimple> simple;
    found.p->QueryInterface(uia::kIidRawElementProviderSimple, reinterpret_cast<void**>(&simple.p));
    const int pattern = action == "select"   ? uia::kSelectionItemPattern
                        : action == "toggle" ? uia::kTogglePattern
                                             : uia::kInvokePattern;
    Held<IUnknown> object;
    if (FAILED(simple.p->GetPatternProvider(pattern, &object.p)) || object.p == nullptr) {
      return E_NOINTERFACE;
    }
    if (action == "select") {
      Held<uia::ISelectionItemProvider> item;
      object.p->QueryInterface(uia::kIidSelectionItemProvider, reinterpret_cast<void**>(&item.p));
      return item.p->Select();
    }
    if (action == "toggle") {
      Held<uia::IToggleProvider> toggle;
      object.p->QueryInterface(uia::kIidToggleProvider, reinterpret_cast<void**>(&toggle.p));
      return toggle.p->Toggle();
    }
    Held<uia::IInvokeProvider> invoke;
    object.p->QueryInterface(uia::kIidInvokeProvider, reinterpret_cast<void**>(&invoke.p));
    return invoke.p->Invoke();
  });
}

void UiaProbe::Hold(a11y::Accessible& window, const std::string& name) {
  IRawElementProviderFragment* root = impl_->Root(window);
  OffThread([&] {
    Held<IRawElementProviderFragment> found{Named(root, name)};
    if (found.p != nullptr) {
      found.p->QueryInterface(uia::kIidRawElementProviderSimple,
                              reinterpret_cast<void**>(&impl_->held));
    }
    return 0L;
  });
}

long UiaProbe::AskHeld() {
  if (impl_->held == nullptr) return E_POINTER;
  return OffThread([&] {
    VARIANT v;
    VariantInit(&v);
    const HRESULT hr = impl_->held->GetPropertyValue(uia::kNameProperty, &v);
    VariantClear(&v);
    return static_cast<long>(hr);
  });
}

}  // namespace vark::test
