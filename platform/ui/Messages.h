// Window messages that controls send or answer through TControl::Perform: the
// size message, the non-client press that drags a window by its caption, the
// close request and the framework's notifications (mouse entered and left,
// dialog key). Numbers as the classic desktop API has them.
#pragma once

#include <cstdint>

#include "platform/ui/UITypes.h"

using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;

constexpr uint32_t WM_SIZE = 0x0005;
constexpr uint32_t WM_CLOSE = 0x0010;
constexpr uint32_t WM_NCLBUTTONDOWN = 0x00A1;
constexpr uint32_t WM_SYSCOMMAND = 0x0112;

// Hit-test codes.
constexpr int HTTRANSPARENT = -1;
constexpr int HTNOWHERE = 0;
constexpr int HTCLIENT = 1;
constexpr int HTCAPTION = 2;

// WM_SIZE kinds.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

// Framework notifications.
constexpr uint32_t CM_BASE = 0xB000;
constexpr uint32_t CM_DIALOGKEY = CM_BASE + 5;
constexpr uint32_t CM_MOUSEENTER = CM_BASE + 19;
constexpr uint32_t CM_MOUSELEAVE = CM_BASE + 20;

// The size message as the form's handler receives it.
struct TWMSize {
  uint32_t Msg = WM_SIZE;
  WPARAM SizeType = SIZE_RESTORED;  // SIZE_RESTORED, SIZE_MINIMIZED, SIZE_MAXIMIZED
  int Width = 0;                    // the new client size
  int Height = 0;
  LRESULT Result = 0;
};

// The dialog-key notification: a key the focused control does not want itself,
// offered to the form's controls. A control that acts on it sets Result to 1.
struct TCMDialogKey {
  uint32_t Msg = CM_DIALOGKEY;
  uint16_t CharCode = 0;
  TShiftState Shift;  // the modifier keys held (the classic key data)
  LRESULT Result = 0;
};
