// Our AtkUtil: what ATK asks of the toolkit as a whole. The root object is the
// running bridge's application object; the ATK bridge's event listeners hang
// on the signals of ATK's types (and "window:" events on AtkWindow's), as
// GTK's own AtkUtil does. ATK takes these from its AtkUtil class, so they are
// set there once, before the ATK bridge starts.
#pragma once

namespace vark::a11y::atspi {

void InstallAtkUtil();

}  // namespace vark::a11y::atspi
