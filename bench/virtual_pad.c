/* A gamepad for the whole-program figures (launcher_figures.sh): loaded into
 * the real launcher with LD_PRELOAD, it connects SDL's virtual joystick, an
 * Xbox-like pad at rest, the moment the program opens SDL's game
 * controllers, so that the idle figures can be taken with a pad connected on
 * a machine that has none. */
#define _GNU_SOURCE
#include <SDL.h>
#include <dlfcn.h>

#include "tests/common/linux/VirtualXboxPad.h"

int SDL_InitSubSystem(Uint32 flags) {
  int (*next)(Uint32) = (int (*)(Uint32))dlsym(RTLD_NEXT, "SDL_InitSubSystem");
  int result = next(flags);
  if (result == 0 && (flags & SDL_INIT_GAMECONTROLLER) != 0) {
    SDL_VirtualJoystickDesc desc = VirtualXboxPadDesc();
    SDL_JoystickAttachVirtualEx(&desc);
  }
  return result;
}
