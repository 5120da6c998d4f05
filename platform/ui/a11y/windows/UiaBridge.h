// Windows: the accessible objects through UI Automation.
//
// The bridge answers a window's WM_GETOBJECT with the window's provider, the
// root of a fragment tree whose fragments are the window's accessible
// objects, made on first use and kept while their object lives. It observes
// the objects and turns their changes into UI Automation's events, raised
// only while a client listens, so a program without a screen reader pays
// nothing. When an object goes its provider is disconnected; when a window
// goes, so is everything the system was given for it.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/backend/Backend.h"
#include "platform/ui/a11y/PlatformBridge.h"
#include "platform/ui/a11y/windows/Provider.h"

namespace vark::a11y::uia {

class UiaBridge final : public PlatformBridge, public Observer {
 public:
  // Observes the objects of this application; backend, when given, sends the
  // windows' requests and departures.
  UiaBridge(const Core& core, Backend* backend);
  ~UiaBridge() override;

  // WM_GETOBJECT for window: the answer, or nothing for requests that are not
  // UI Automation's.
  std::optional<intptr_t> ObjectAsked(WindowHandle window, uintptr_t wParam, intptr_t lParam);
  // The window is about to be destroyed.
  void WindowDestroying(WindowHandle window);

  // object's provider, made on first use; the bridge holds it while the object lives.
  Provider& ProviderFor(Accessible& object);
  const Core& System() const { return core_; }

  // What UI Automation's tree holds: the shown windows' objects, and in them
  // the objects that are visible (a hidden progress bar is not there).
  static std::vector<Accessible*> Present(Accessible& object);
  static bool IsWindow(const Accessible& object);
  // The window object lies in (itself for a window), or null.
  static Accessible* WindowOf(Accessible& object);

  void Changed(Accessible& object, Change change) override;
  void Destroyed(Accessible& object) override;

 private:
  // What a client was last told of an object, so that a change tells the old
  // value with the new.
  struct Entry {
    Provider* provider = nullptr;  // one reference, ours
    ToggleState toggle = ToggleState_Off;
    double value = 0;
    bool visible = false;
  };

  Entry& EntryFor(Accessible& object);
  bool Listening() const;
  void Raise(Accessible& object, EventId event);
  void RaiseProperty(Provider& provider, PropertyId property, VARIANT before, VARIANT now);
  void RaiseStructure(Accessible& object);
  void StatesChanged(Accessible& object);
  void WindowsChanged();
  void Disconnect(Entry& entry);

  const Core& core_;
  Backend* backend_;
  std::shared_ptr<const UiThread> thread_;
  std::unordered_map<const Accessible*, Entry> entries_;
  std::vector<Accessible*> windows_;  // the shown windows, as last known
  std::vector<HWND> served_;          // windows whose requests were answered
  int nextId_ = 1;
};

}  // namespace vark::a11y::uia
