// What the UI Automation provider needs of the system, declared here.
//
// MinGW-w64's headers declare only the base provider interfaces (simple,
// fragment, fragment root), its uiautomationcoreapi.h does not compile as C++
// (a parameter is named `new`), and it ships no import library for
// uiautomationcore.dll. So the pattern interfaces, the identifiers and the
// calls are declared here, with the values and layouts of the system's
// headers, and the calls are looked up in the DLL at run time: a system
// without it (none of Windows 10's) simply has no provider.
#pragma once

#include "platform/os/windows/Win32.h"

namespace vark::a11y::uia {

// --- identifiers ------------------------------------------------------------------------

constexpr HRESULT kElementNotEnabled = static_cast<HRESULT>(0x80040200);
constexpr HRESULT kElementNotAvailable = static_cast<HRESULT>(0x80040201);
constexpr HRESULT kNotSupported = static_cast<HRESULT>(0x80040204);
constexpr HRESULT kTimeout = static_cast<HRESULT>(0x80131505);
constexpr HRESULT kInvalidOperation = static_cast<HRESULT>(0x80131509);

constexpr int kAppendRuntimeId = 3;
constexpr LPARAM kRootObjectId = -25;

enum PatternId : int {
  kInvokePattern = 10000,
  kSelectionPattern = 10001,
  kRangeValuePattern = 10003,
  kWindowPattern = 10009,
  kSelectionItemPattern = 10010,
  kTogglePattern = 10015,
};

enum PropertyId : int {
  kControlTypeProperty = 30003,
  kNameProperty = 30005,
  kHasKeyboardFocusProperty = 30008,
  kIsKeyboardFocusableProperty = 30009,
  kIsEnabledProperty = 30010,
  kAutomationIdProperty = 30011,
  kHelpTextProperty = 30013,
  kIsOffscreenProperty = 30022,
  kFrameworkIdProperty = 30024,
  kRangeValueValueProperty = 30047,
  kWindowIsModalProperty = 30077,
  kSelectionItemIsSelectedProperty = 30079,
  kToggleStateProperty = 30086,
  kPositionInSetProperty = 30152,
  kSizeOfSetProperty = 30153,
  kFullDescriptionProperty = 30159,
  kIsDialogProperty = 30174,
};

enum ControlTypeId : int {
  kButtonControl = 50000,
  kCheckBoxControl = 50002,
  kListItemControl = 50007,
  kListControl = 50008,
  kProgressBarControl = 50012,
  kTextControl = 50020,
  kWindowControl = 50032,
  kPaneControl = 50033,
};

enum EventId : int {
  kStructureChangedEvent = 20002,
  kFocusChangedEvent = 20005,
  kElementSelectedEvent = 20012,
  kWindowOpenedEvent = 20016,
  kSystemAlertEvent = 20023,
};

enum ToggleState : int { ToggleState_Off = 0, ToggleState_On = 1, ToggleState_Indeterminate = 2 };
enum WindowVisualState : int {
  WindowVisualState_Normal,
  WindowVisualState_Maximized,
  WindowVisualState_Minimized
};
enum WindowInteractionState : int {
  WindowInteractionState_Running,
  WindowInteractionState_Closing,
  WindowInteractionState_ReadyForUserInteraction,
  WindowInteractionState_BlockedByModalWindow,
  WindowInteractionState_NotResponding,
};
enum StructureChangeType : int { StructureChangeType_ChildrenInvalidated = 2 };

// --- the pattern interfaces -------------------------------------------------------------

// clang-format off
struct IInvokeProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Invoke() = 0;
};

struct ISelectionProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CanSelectMultiple(BOOL* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsSelectionRequired(BOOL* result) = 0;
};

struct ISelectionItemProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Select() = 0;
  virtual HRESULT STDMETHODCALLTYPE AddToSelection() = 0;
  virtual HRESULT STDMETHODCALLTYPE RemoveFromSelection() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsSelected(BOOL* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_SelectionContainer(IRawElementProviderSimple** result) = 0;
};

struct IToggleProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE Toggle() = 0;
  virtual HRESULT STDMETHODCALLTYPE get_ToggleState(ToggleState* result) = 0;
};

struct IRangeValueProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetValue(double value) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Value(double* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Maximum(double* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_Minimum(double* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_LargeChange(double* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_SmallChange(double* result) = 0;
};

struct IWindowProvider : public IUnknown {
  virtual HRESULT STDMETHODCALLTYPE SetVisualState(WindowVisualState state) = 0;
  virtual HRESULT STDMETHODCALLTYPE Close() = 0;
  virtual HRESULT STDMETHODCALLTYPE WaitForInputIdle(int milliseconds, BOOL* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CanMaximize(BOOL* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_CanMinimize(BOOL* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsModal(BOOL* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_WindowVisualState(WindowVisualState* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_WindowInteractionState(WindowInteractionState* result) = 0;
  virtual HRESULT STDMETHODCALLTYPE get_IsTopmost(BOOL* result) = 0;
};
// clang-format on

// The interfaces' identifiers (MinGW's uuid library lacks some).
inline constexpr IID kIidInvokeProvider = {
    0x54fcb24b, 0xe18e, 0x47a2, {0xb4, 0xd3, 0xec, 0xcb, 0xe7, 0x75, 0x99, 0xa2}};
inline constexpr IID kIidSelectionProvider = {
    0xfb8b03af, 0x3bdf, 0x48d4, {0xbd, 0x36, 0x1a, 0x65, 0x79, 0x3b, 0xe1, 0x68}};
inline constexpr IID kIidSelectionItemProvider = {
    0x2acad808, 0xb2d4, 0x452d, {0xa4, 0x07, 0x91, 0xff, 0x1a, 0xd1, 0x67, 0xb2}};
inline constexpr IID kIidToggleProvider = {
    0x56d00bd0, 0xc4f4, 0x433c, {0xa8, 0x36, 0x1a, 0x52, 0xa5, 0x7e, 0x08, 0x92}};
inline constexpr IID kIidRangeValueProvider = {
    0x36dc7aef, 0x33e6, 0x4691, {0xaf, 0xe1, 0x2b, 0xe7, 0x27, 0x4b, 0x3d, 0x33}};
inline constexpr IID kIidWindowProvider = {
    0x987df77b, 0xdb06, 0x4d77, {0x8f, 0x8a, 0x86, 0xa9, 0xc3, 0xbb, 0x90, 0xb9}};
inline constexpr IID kIidRawElementProviderSimple = {
    0xd6dd68d1, 0x86fd, 0x4332, {0x86, 0x66, 0x9a, 0xbe, 0xde, 0xa2, 0xd2, 0x4c}};
inline constexpr IID kIidRawElementProviderFragment = {
    0xf7063da8, 0x8359, 0x439c, {0x92, 0x97, 0xbb, 0xc5, 0x29, 0x9a, 0x7d, 0x87}};
inline constexpr IID kIidRawElementProviderFragmentRoot = {
    0x620ce2a5, 0xab8f, 0x40a9, {0x86, 0xcb, 0xde, 0x3c, 0x75, 0x59, 0x9b, 0x58}};

// --- the calls ----------------------------------------------------------------------------

// uiautomationcore.dll's provider side, looked up once; every member is null
// where the system lacks it.
struct Core {
  LRESULT(WINAPI* ReturnRawElementProvider)
  (HWND hwnd, WPARAM wParam, LPARAM lParam, IRawElementProviderSimple* provider) = nullptr;
  HRESULT(WINAPI* HostProviderFromHwnd)(HWND hwnd, IRawElementProviderSimple** provider) = nullptr;
  HRESULT(WINAPI* RaiseAutomationEvent)(IRawElementProviderSimple* provider, int id) = nullptr;
  HRESULT(WINAPI* RaiseAutomationPropertyChangedEvent)
  (IRawElementProviderSimple* provider, int id, VARIANT oldValue, VARIANT newValue) = nullptr;
  HRESULT(WINAPI* RaiseStructureChangedEvent)
  (IRawElementProviderSimple* provider, StructureChangeType type, int* runtimeId,
   int runtimeIdLength) = nullptr;
  BOOL(WINAPI* ClientsAreListening)() = nullptr;
  HRESULT(WINAPI* DisconnectProvider)(IRawElementProviderSimple* provider) = nullptr;
};

// The system's calls, or null when the DLL or its answer to WM_GETOBJECT is missing.
const Core* LoadCore();

}  // namespace vark::a11y::uia
