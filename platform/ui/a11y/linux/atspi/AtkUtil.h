// Our AtkUtil: what ATK asks of the toolkit as a whole. The root object is the
// running bridge's application object; the ATK bridge's event listeners hang
// on the signals of ATK's types (and "window:" events on AtkWindow's), as
// GTK's own AtkUtil does. ATK takes these from its AtkUtil class, so they are
// set there once, before the ATK bridge starts.
//
// Keys: the ATK bridge adds a key listener that hands each key to the
// registry, and so to a screen reader, and says whether the reader took it.
// OfferKey calls the listeners as GTK's key snooper does.
#pragma once

#include <atk/atk.h>

namespace vark::a11y::atspi {

void InstallAtkUtil();
// Runs ready from GLib's main context once the ATK bridge has hung its
// listeners on our types. It does so only after it has registered the
// application with the registry, from the main loop: what is signalled
// before then reaches no one.
void WhenListened(void (*ready)());
// Whether anyone listens to keys.
bool KeyListened();
// Gives event to every key listener; true when one of them took it.
bool OfferKey(AtkKeyEventStruct& event);

}  // namespace vark::a11y::atspi
