/* A gamepad for the whole-program figures (launcher_figures.sh): loaded into
 * the real launcher with LD_PRELOAD, it connects SDL's virtual joystick, an
 * Xbox-like pad at rest, the moment the program opens SDL's game
 * controllers, so that the idle figures can be taken with a pad connected on
 * a machine that has none. */
#define _GNU_SOURCE
#include <SDL.h>
#include <dlfcn.h>

int SDL_InitSubSystem(Uint32 flags) {
  int (*next)(Uint32) = (int (*)(Uint32))dlsym(RTLD_NEXT, "SDL_InitSubSystem");
  int result = next(flags);
  if (result == 0 && (flags & SDL_INIT_GAMECONTROLLER) != 0) {
    SDL_VirtualJoystickDesc desc;
    SDL_memset(&desc, 0, sizeof desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.vendor_id = 0x045e;
    desc.product_id = 0x028e;
    desc.name = "Virtual pad";
    SDL_JoystickAttachVirtualEx(&desc);
  }
  return result;
}
