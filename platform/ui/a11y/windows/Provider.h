// One accessible object as UI Automation sees it: a fragment of its window's
// tree, and for a window the fragment root, with the patterns its role calls
// for (a list's selection, an item's selection item, a button's invoke, a
// check box's toggle, a progress bar's read-only range value, a window's
// window pattern).
//
// UI Automation calls a provider on threads of its own and may hold it after
// its object is gone. Every call therefore runs on the interface thread
// (UiThread) and first asks whether the object still exists: once the bridge
// forgot it, every call answers UIA_E_ELEMENTNOTAVAILABLE. Only the
// reference count is touched off that thread.
#pragma once

#include <atomic>
#include <functional>
#include <memory>

#include "platform/ui/a11y/Accessible.h"
#include "platform/ui/a11y/windows/UiThread.h"
#include "platform/ui/a11y/windows/UiaApi.h"

namespace vark::a11y::uia {

class UiaBridge;

class Provider final : public IRawElementProviderSimple,
                       public IRawElementProviderFragment,
                       public IRawElementProviderFragmentRoot,
                       public IInvokeProvider,
                       public ISelectionProvider,
                       public ISelectionItemProvider,
                       public IToggleProvider,
                       public IRangeValueProvider,
                       public IWindowProvider {
 public:
  // Made on the interface thread with one reference, the caller's.
  Provider(UiaBridge& bridge, Accessible& object, int id, std::shared_ptr<const UiThread> thread);

  // The interface thread's side, for the bridge.
  Accessible* Object() const { return object_; }
  // The object is gone (or the bridge is): every call fails from now on.
  void Forget() {
    object_ = nullptr;
    bridge_ = nullptr;
  }
  // A window's handle, as last asked for through it; null for the others.
  void SetWindow(HWND hwnd) { hwnd_ = hwnd; }
  HWND Window() const { return hwnd_; }
  IRawElementProviderSimple* Simple() { return this; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;

  // IRawElementProviderSimple
  HRESULT STDMETHODCALLTYPE get_ProviderOptions(ProviderOptions* result) override;
  HRESULT STDMETHODCALLTYPE GetPatternProvider(PATTERNID pattern, IUnknown** result) override;
  HRESULT STDMETHODCALLTYPE GetPropertyValue(PROPERTYID property, VARIANT* result) override;
  HRESULT STDMETHODCALLTYPE get_HostRawElementProvider(IRawElementProviderSimple** result) override;

  // IRawElementProviderFragment
  HRESULT STDMETHODCALLTYPE Navigate(NavigateDirection direction,
                                     IRawElementProviderFragment** result) override;
  HRESULT STDMETHODCALLTYPE GetRuntimeId(SAFEARRAY** result) override;
  HRESULT STDMETHODCALLTYPE get_BoundingRectangle(UiaRect* result) override;
  HRESULT STDMETHODCALLTYPE GetEmbeddedFragmentRoots(SAFEARRAY** result) override;
  HRESULT STDMETHODCALLTYPE SetFocus() override;
  HRESULT STDMETHODCALLTYPE get_FragmentRoot(IRawElementProviderFragmentRoot** result) override;

  // IRawElementProviderFragmentRoot (windows only)
  HRESULT STDMETHODCALLTYPE ElementProviderFromPoint(double x, double y,
                                                     IRawElementProviderFragment** result) override;
  HRESULT STDMETHODCALLTYPE GetFocus(IRawElementProviderFragment** result) override;

  // The patterns (ProviderPatterns.cpp).
  HRESULT STDMETHODCALLTYPE Invoke() override;
  HRESULT STDMETHODCALLTYPE GetSelection(SAFEARRAY** result) override;
  HRESULT STDMETHODCALLTYPE get_CanSelectMultiple(BOOL* result) override;
  HRESULT STDMETHODCALLTYPE get_IsSelectionRequired(BOOL* result) override;
  HRESULT STDMETHODCALLTYPE Select() override;
  HRESULT STDMETHODCALLTYPE AddToSelection() override;
  HRESULT STDMETHODCALLTYPE RemoveFromSelection() override;
  HRESULT STDMETHODCALLTYPE get_IsSelected(BOOL* result) override;
  HRESULT STDMETHODCALLTYPE get_SelectionContainer(IRawElementProviderSimple** result) override;
  HRESULT STDMETHODCALLTYPE Toggle() override;
  HRESULT STDMETHODCALLTYPE get_ToggleState(ToggleState* result) override;
  HRESULT STDMETHODCALLTYPE SetValue(double value) override;
  HRESULT STDMETHODCALLTYPE get_Value(double* result) override;
  HRESULT STDMETHODCALLTYPE get_IsReadOnly(BOOL* result) override;
  HRESULT STDMETHODCALLTYPE get_Maximum(double* result) override;
  HRESULT STDMETHODCALLTYPE get_Minimum(double* result) override;
  HRESULT STDMETHODCALLTYPE get_LargeChange(double* result) override;
  HRESULT STDMETHODCALLTYPE get_SmallChange(double* result) override;
  HRESULT STDMETHODCALLTYPE SetVisualState(WindowVisualState state) override;
  HRESULT STDMETHODCALLTYPE Close() override;
  HRESULT STDMETHODCALLTYPE WaitForInputIdle(int milliseconds, BOOL* result) override;
  HRESULT STDMETHODCALLTYPE get_CanMaximize(BOOL* result) override;
  HRESULT STDMETHODCALLTYPE get_CanMinimize(BOOL* result) override;
  HRESULT STDMETHODCALLTYPE get_IsModal(BOOL* result) override;
  HRESULT STDMETHODCALLTYPE get_WindowVisualState(WindowVisualState* result) override;
  HRESULT STDMETHODCALLTYPE get_WindowInteractionState(WindowInteractionState* result) override;
  HRESULT STDMETHODCALLTYPE get_IsTopmost(BOOL* result) override;

  // The pattern ids an object of this role and these facts offers.
  static bool Offers(PATTERNID pattern, const Facts& facts, bool isWindow);

 private:
  ~Provider() = default;

  // work, on the interface thread, while the object exists.
  HRESULT Live(const std::function<HRESULT(Accessible& object)>& work);
  // Runs action on the object if it offers pattern.
  HRESULT Act(PATTERNID pattern, const char* action);
  bool IsWindow() const;

  std::atomic<ULONG> refs_{1};
  std::shared_ptr<const UiThread> thread_;
  // The interface thread's alone.
  UiaBridge* bridge_;
  Accessible* object_;
  HWND hwnd_ = nullptr;
  const int id_;
};

}  // namespace vark::a11y::uia
