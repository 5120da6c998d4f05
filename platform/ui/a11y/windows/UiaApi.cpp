#include "platform/ui/a11y/windows/UiaApi.h"

namespace vark::a11y::uia {

namespace {

template <typename Function>
void Find(HMODULE dll, const char* name, Function& function) {
  function = reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(dll, name)));
}

Core Load() {
  Core core;
  HMODULE dll = LoadLibraryExW(L"uiautomationcore.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
  if (dll == nullptr) return core;
  // Stays loaded: providers handed out live as long as their clients hold them.
  Find(dll, "UiaReturnRawElementProvider", core.ReturnRawElementProvider);
  Find(dll, "UiaHostProviderFromHwnd", core.HostProviderFromHwnd);
  Find(dll, "UiaRaiseAutomationEvent", core.RaiseAutomationEvent);
  Find(dll, "UiaRaiseAutomationPropertyChangedEvent", core.RaiseAutomationPropertyChangedEvent);
  Find(dll, "UiaRaiseStructureChangedEvent", core.RaiseStructureChangedEvent);
  Find(dll, "UiaClientsAreListening", core.ClientsAreListening);
  Find(dll, "UiaDisconnectProvider", core.DisconnectProvider);
  return core;
}

}  // namespace

const Core* LoadCore() {
  static const Core core = Load();
  return core.ReturnRawElementProvider != nullptr ? &core : nullptr;
}

}  // namespace vark::a11y::uia
