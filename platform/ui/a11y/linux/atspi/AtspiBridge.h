// The AT-SPI bridge: the program's accessible objects on the accessibility
// bus, the way toolkits outside GTK do it. ATK is told the root of our tree
// (our AtkUtil: the application object), at-spi2's ATK bridge puts the ATK
// objects on the bus and turns their signals into the bus's events, and the
// GLib main context that carries the bus's traffic is run from our event
// loop (GLibLoop).
//
// The bridge keeps one ATK object for every accessible object an assistive
// technology has reached, with what it was last told of it (states, name,
// children), so that a change becomes the bus's events for exactly what
// changed. An object nobody reached yet has no ATK object and costs nothing.
#pragma once

#include <atk/atk.h>

#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ui/a11y/linux/BridgeHost.h"
#include "platform/ui/a11y/linux/atspi/GLibLoop.h"

namespace vark::a11y::atspi {

class AtspiBridge final : public Bridge, public Observer {
 public:
  explicit AtspiBridge(BridgeHost& host) : host_(host) {}
  ~AtspiBridge() override;
  // Puts the program on the accessibility bus; false with a reason if it cannot.
  bool Start(std::string& error);

  // The running bridge (ATK's callbacks carry no data of their own), or null.
  static AtspiBridge* Current();
  AtkObject* RootObject() { return Wrap(host_.Root()); }
  // The ATK object that shows object, made on first use; the bridge holds it
  // while object lives.
  AtkObject* Wrap(Accessible& object);
  // object's children as ATK objects, now; noted as what the assistive
  // technology knows of them.
  std::vector<AtkObject*> ShowChildren(Accessible& object);

  bool KeyTaken(bool pressed, const NativeKey& key) override;

  void Changed(Accessible& object, Change change) override;
  void Destroyed(Accessible& object) override;

 private:
  struct Shown {
    AtkObject* object = nullptr;  // one reference, ours
    States states;                // as last told
    std::string name;
    std::vector<AtkObject*> children;  // as last told, a reference each
    bool childrenKnown = false;
  };

  void TellStates(Shown& shown, const States& now);
  // Tells object's states, with news among the changed ones when it holds
  // now: the focus, a selection or an active window is news also to whoever
  // has not met the object yet, so it is made known for it.
  void TellNews(Accessible& object, State news);
  void TellChildren(Accessible& object, Shown& shown);
  // Tells of the active window and its focus as a window that has just been
  // activated does: the bridge has just come, and whoever listens has not
  // heard of either.
  void AnnounceActiveWindow();
  static void Release(Shown& shown);

  BridgeHost& host_;
  GLibLoop loop_;
  bool looping_ = false;
  bool onBus_ = false;
  // Until then (g_get_monotonic_time) keys go to the program without asking:
  // the screen reader answered too late.
  gint64 keysQuietUntil_ = 0;
  std::unordered_map<const Accessible*, Shown> shown_;
};

}  // namespace vark::a11y::atspi
