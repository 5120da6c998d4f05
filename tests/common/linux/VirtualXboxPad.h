/* SDL's virtual joystick described as an Xbox 360 pad (its USB ids), with
 * every button and axis of a game controller, so that SDL's controller layer
 * maps it as a real one. C and C++: the figures' preloaded pad and the pad
 * test attach the same pad. */
#pragma once

#include <SDL.h>

static inline SDL_VirtualJoystickDesc VirtualXboxPadDesc(void) {
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
  return desc;
}
