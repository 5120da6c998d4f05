// A UI Automation client for the end-to-end tests: reads a window of another
// program through the system's client side (uiautomationcore.dll), as a
// screen reader does, never through the program's own code.
//
//   UiaClient tree TITLE           prints the window's tree, one element a line:
//                                  "<indent><control type> '<name>'" and what it
//                                  says of itself (enabled, focusable, focused,
//                                  selected, toggle=N, modal, dialog, n/m)
//   UiaClient focus TITLE SECONDS  listens for focus changes in the window,
//                                  prints "listening", then "focus '<name>'" for
//                                  the first event within SECONDS
//   UiaClient ACTION TITLE NAME    select, toggle or invoke the element named
//                                  NAME through its pattern
//
// The client calls are looked up at run time: MinGW-w64 has no import library
// and no usable C++ declarations for them. Exit status 0 when all went well, 3
// when the system lacks a call the command needs (its name is printed).
#include <windows.h>

#include <oleauto.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

DECLARE_HANDLE(HUIANODE);
DECLARE_HANDLE(HUIAPATTERNOBJECT);
DECLARE_HANDLE(HUIAEVENT);

struct UiaCondition {
  int type;  // 0: true
};

struct UiaCacheRequest {
  UiaCondition* viewCondition;
  int scope;  // 1: the element
  int* properties;
  int propertyCount;
  int* patterns;
  int patternCount;
  int mode;  // 1: full
};

struct UiaEventArgs {
  int type;
  int eventId;
};

using EventCallback = void(WINAPI*)(UiaEventArgs* args, SAFEARRAY* data, BSTR tree);

struct Client {
  HRESULT(WINAPI* NodeFromHandle)(HWND, HUIANODE*);
  HRESULT(WINAPI* GetPropertyValue)(HUIANODE, int, VARIANT*);
  HRESULT(WINAPI* Navigate)(HUIANODE, int, UiaCondition*, UiaCacheRequest*, SAFEARRAY**, BSTR*);
  HRESULT(WINAPI* NodeFromVariant)(VARIANT*, HUIANODE*);
  BOOL(WINAPI* NodeRelease)(HUIANODE);
  HRESULT(WINAPI* AddEvent)
  (HUIANODE, int, EventCallback, int, int*, int, UiaCacheRequest*, HUIAEVENT*);
  HRESULT(WINAPI* RemoveEvent)(HUIAEVENT);
  HRESULT(WINAPI* GetPatternProvider)(HUIANODE, int, HUIAPATTERNOBJECT*);
  HRESULT(WINAPI* SelectionItemSelect)(HUIAPATTERNOBJECT);
  HRESULT(WINAPI* Toggle)(HUIAPATTERNOBJECT);
  HRESULT(WINAPI* Invoke)(HUIAPATTERNOBJECT);
};

Client client;

template <typename Function>
void Find(HMODULE dll, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

bool Load() {
  HMODULE dll = LoadLibraryW(L"uiautomationcore.dll");
  if (dll == nullptr) return false;
  Find(dll, "UiaNodeFromHandle", client.NodeFromHandle);
  Find(dll, "UiaGetPropertyValue", client.GetPropertyValue);
  Find(dll, "UiaNavigate", client.Navigate);
  Find(dll, "UiaHUiaNodeFromVariant", client.NodeFromVariant);
  Find(dll, "UiaNodeRelease", client.NodeRelease);
  Find(dll, "UiaAddEvent", client.AddEvent);
  Find(dll, "UiaRemoveEvent", client.RemoveEvent);
  Find(dll, "UiaGetPatternProvider", client.GetPatternProvider);
  Find(dll, "SelectionItemPattern_Select", client.SelectionItemSelect);
  Find(dll, "TogglePattern_Toggle", client.Toggle);
  Find(dll, "InvokePattern_Invoke", client.Invoke);
  return client.NodeFromHandle != nullptr && client.GetPropertyValue != nullptr &&
         client.Navigate != nullptr && client.NodeFromVariant != nullptr;
}

constexpr int kNavigateParent = 0, kNavigateNext = 1, kNavigateFirstChild = 3;
constexpr int kControlType = 30003, kName = 30005, kHasFocus = 30008, kFocusable = 30009,
              kEnabled = 30010, kHelpText = 30013, kModal = 30077, kSelected = 30079,
              kToggleState = 30086, kPosition = 30152, kSize = 30153, kIsDialog = 30174;
constexpr int kFocusChanged = 20005;

std::string Utf8(const wchar_t* text) {
  const int length = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(length > 0 ? length - 1 : 0), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8.data(), length, nullptr, nullptr);
  return utf8;
}

std::wstring Wide(const char* text) {
  const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, nullptr, 0);
  std::wstring wide(static_cast<size_t>(length > 0 ? length - 1 : 0), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text, -1, wide.data(), length);
  return wide;
}

// A property as text: "" when the element does not say.
std::string Property(HUIANODE node, int property) {
  VARIANT v;
  VariantInit(&v);
  if (FAILED(client.GetPropertyValue(node, property, &v))) return "";
  std::string text;
  switch (v.vt) {
    case VT_BSTR:
      text = Utf8(v.bstrVal);
      break;
    case VT_BOOL:
      text.push_back(v.boolVal ? '1' : '0');
      break;
    case VT_I4:
      text = std::to_string(v.lVal);
      break;
    default:
      break;
  }
  VariantClear(&v);
  return text;
}

const char* TypeName(const std::string& id) {
  static const struct {
    const char* id;
    const char* name;
  } names[] = {{"50000", "button"}, {"50002", "check box"},    {"50007", "list item"},
               {"50008", "list"},   {"50012", "progress bar"}, {"50020", "text"},
               {"50032", "window"}, {"50033", "pane"}};
  for (const auto& n : names) {
    if (id == n.id) return n.name;
  }
  return id.empty() ? "?" : "other";
}

// The element next to node in direction, or null.
HUIANODE Step(HUIANODE node, int direction) {
  UiaCondition all{0};
  UiaCacheRequest request{&all, 1, nullptr, 0, nullptr, 0, 1};
  SAFEARRAY* data = nullptr;
  BSTR tree = nullptr;
  if (FAILED(client.Navigate(node, direction, &all, &request, &data, &tree)) || data == nullptr) {
    return nullptr;
  }
  HUIANODE found = nullptr;
  LONG index[2] = {0, 0};
  VARIANT v;
  VariantInit(&v);
  if (SUCCEEDED(SafeArrayGetElement(data, index, &v))) client.NodeFromVariant(&v, &found);
  VariantClear(&v);
  SafeArrayDestroy(data);
  SysFreeString(tree);
  return found;
}

void Print(HUIANODE node, int depth) {
  std::string line(static_cast<size_t>(depth) * 2, ' ');
  line += TypeName(Property(node, kControlType));
  line.append(" '").append(Property(node, kName)).append("'");
  const struct {
    int property;
    const char* flag;
  } flags[] = {{kEnabled, "enabled"},   {kFocusable, "focusable"}, {kHasFocus, "focused"},
               {kSelected, "selected"}, {kModal, "modal"},         {kIsDialog, "dialog"}};
  for (const auto& f : flags) {
    if (Property(node, f.property) == "1") line.append(" ").append(f.flag);
  }
  if (const std::string toggle = Property(node, kToggleState); !toggle.empty()) {
    line.append(" toggle=").append(toggle);
  }
  if (const std::string position = Property(node, kPosition); !position.empty()) {
    line.append(" ").append(position).append("/").append(Property(node, kSize));
  }
  if (const std::string help = Property(node, kHelpText); !help.empty()) {
    line.append(" help='").append(help).append("'");
  }
  std::printf("%s\n", line.c_str());
  for (HUIANODE child = Step(node, kNavigateFirstChild); child != nullptr;) {
    Print(child, depth + 1);
    HUIANODE next = Step(child, kNavigateNext);
    client.NodeRelease(child);
    child = next;
  }
}

// The element named name under node (node itself included), or null.
HUIANODE Named(HUIANODE node, const std::string& name) {
  for (HUIANODE child = Step(node, kNavigateFirstChild); child != nullptr;) {
    if (Property(child, kName) == name) return child;
    if (HUIANODE inner = Named(child, name)) {
      client.NodeRelease(child);
      return inner;
    }
    HUIANODE next = Step(child, kNavigateNext);
    client.NodeRelease(child);
    child = next;
  }
  return nullptr;
}

HANDLE focusSeen = nullptr;
std::string focusName;

void WINAPI OnFocus(UiaEventArgs*, SAFEARRAY* data, BSTR) {
  if (data != nullptr && focusName.empty()) {
    LONG index[2] = {0, 0};
    VARIANT v;
    VariantInit(&v);
    HUIANODE node = nullptr;
    if (SUCCEEDED(SafeArrayGetElement(data, index, &v)) &&
        SUCCEEDED(client.NodeFromVariant(&v, &node)) && node != nullptr) {
      focusName = Property(node, kName);
      client.NodeRelease(node);
    }
    VariantClear(&v);
  }
  SetEvent(focusSeen);
}

int Missing(const char* call) {
  std::printf("missing %s\n", call);
  return 3;
}

// Wine exports calls it does not have as stubs that raise this exception,
// naming the DLL and the call; there is nothing to go on with then.
constexpr DWORD kWineStub = 0x80000100;

LONG CALLBACK OnStub(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD* record = exception->ExceptionRecord;
  if (record->ExceptionCode != kWineStub || record->NumberParameters < 2) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  const int status = Missing(reinterpret_cast<const char*>(record->ExceptionInformation[1]));
  std::fflush(stdout);
  ExitProcess(static_cast<UINT>(status));
}

int Act(HUIANODE window, const std::string& action, const std::string& name) {
  HUIANODE node = Named(window, name);
  if (node == nullptr) {
    std::printf("no element '%s'\n", name.c_str());
    return 1;
  }
  const int pattern = action == "select" ? 10010 : action == "toggle" ? 10015 : 10000;
  HUIAPATTERNOBJECT object = nullptr;
  if (client.GetPatternProvider == nullptr) return Missing("UiaGetPatternProvider");
  HRESULT hr = client.GetPatternProvider(node, pattern, &object);
  if (hr == E_NOTIMPL) return Missing("UiaGetPatternProvider");
  if (FAILED(hr) || object == nullptr) {
    std::printf("no pattern %d on '%s' (%#lx)\n", pattern, name.c_str(), hr);
    return 1;
  }
  auto run = action == "select"   ? client.SelectionItemSelect
             : action == "toggle" ? client.Toggle
                                  : client.Invoke;
  hr = run != nullptr ? run(object) : E_NOTIMPL;
  if (hr == E_NOTIMPL) return Missing(action.c_str());
  std::printf("%s '%s': %#lx\n", action.c_str(), name.c_str(), hr);
  return FAILED(hr) ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: UiaClient tree|focus|select|toggle|invoke TITLE [ARG]\n");
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  AddVectoredExceptionHandler(1, &OnStub);
  if (!Load()) return Missing("uiautomationcore.dll's client calls");
  const std::string command = argv[1];
  HWND hwnd = FindWindowW(nullptr, Wide(argv[2]).c_str());
  if (hwnd == nullptr) {
    std::printf("no window '%s'\n", argv[2]);
    return 1;
  }
  HUIANODE window = nullptr;
  const HRESULT hr = client.NodeFromHandle(hwnd, &window);
  if (FAILED(hr) || window == nullptr) {
    std::printf("UiaNodeFromHandle: %#lx\n", hr);
    return hr == E_NOTIMPL ? Missing("UiaNodeFromHandle") : 1;
  }
  int status = 0;
  if (command == "tree") {
    Print(window, 0);
  } else if (command == "focus" && argc > 3) {
    if (client.AddEvent == nullptr) return Missing("UiaAddEvent");
    focusSeen = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    UiaCondition all{0};
    UiaCacheRequest request{&all, 1, nullptr, 0, nullptr, 0, 1};
    HUIAEVENT event = nullptr;
    // 4: the element and everything under it.
    const HRESULT added =
        client.AddEvent(window, kFocusChanged, &OnFocus, 4, nullptr, 0, &request, &event);
    if (FAILED(added)) {
      std::printf("UiaAddEvent: %#lx\n", added);
      return added == E_NOTIMPL ? Missing("UiaAddEvent") : 1;
    }
    std::printf("listening\n");
    std::fflush(stdout);
    if (WaitForSingleObject(focusSeen, static_cast<DWORD>(std::atoi(argv[3]) * 1000)) ==
        WAIT_OBJECT_0) {
      std::printf("focus '%s'\n", focusName.c_str());
    } else {
      std::printf("no focus event\n");
      status = 1;
    }
    client.RemoveEvent(event);
  } else if (argc > 3) {
    status = Act(window, command, argv[3]);
  } else {
    status = 2;
  }
  std::fflush(stdout);
  client.NodeRelease(window);
  return status;
}
