// The one way into the Windows headers for our Windows implementation files
// (never for a shared header). The system headers define macros for many of
// the names our framework uses as the classic framework does (RGB, MB_OK,
// SW_SHOW, VK_RETURN, WM_SIZE, HTCAPTION, TextOut, MessageBox, CreateWindow,
// ...); they are undefined here, so our names mean ours. Code below this
// header calls the wide functions by their full names (MessageBoxW,
// CreateWindowExW) and takes the constants from our headers, whose values are
// the system's. A system header a Windows file needs is added here, before
// the list, so no file meets the macros again.
#pragma once

// clang-format off
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>
#include <shellscalingapi.h>
#include <shlobj.h>
#include <uiautomationcore.h>
#include <usp10.h>
#include <wincodec.h>
#include <dbt.h>
#include <xinput.h>
// clang-format on

// clang-format off
#undef ALTERNATE
#undef ANSI_CHARSET
#undef CMYK
#undef CreateWindow
#undef DEFAULT_CHARSET
#undef DrawText
#undef GetBValue
#undef GetGValue
#undef GetRValue
#undef GetTextExtentPoint
#undef HTCAPTION
#undef HTCLIENT
#undef HTNOWHERE
#undef HTTRANSPARENT
#undef MB_ICONASTERISK
#undef MB_ICONERROR
#undef MB_ICONEXCLAMATION
#undef MB_ICONHAND
#undef MB_ICONINFORMATION
#undef MB_ICONMASK
#undef MB_ICONQUESTION
#undef MB_ICONSTOP
#undef MB_ICONWARNING
#undef MB_OK
#undef MessageBox
#undef RGB
#undef SE_ERR_ACCESSDENIED
#undef SE_ERR_FNF
#undef SE_ERR_NOASSOC
#undef SE_ERR_OOM
#undef SE_ERR_PNF
#undef SIZE_MAXIMIZED
#undef SIZE_MINIMIZED
#undef SIZE_RESTORED
#undef SW_HIDE
#undef SW_MAXIMIZE
#undef SW_MINIMIZE
#undef SW_NORMAL
#undef SW_RESTORE
#undef SW_SHOW
#undef SW_SHOWDEFAULT
#undef SW_SHOWMAXIMIZED
#undef SW_SHOWMINIMIZED
#undef SW_SHOWMINNOACTIVE
#undef SW_SHOWNA
#undef SW_SHOWNOACTIVATE
#undef SW_SHOWNORMAL
#undef TextOut
#undef WINDING
#undef VK_ADD
#undef VK_APPS
#undef VK_BACK
#undef VK_CANCEL
#undef VK_CAPITAL
#undef VK_CLEAR
#undef VK_CONTROL
#undef VK_DECIMAL
#undef VK_DELETE
#undef VK_DIVIDE
#undef VK_DOWN
#undef VK_END
#undef VK_ESCAPE
#undef VK_EXECUTE
#undef VK_F1
#undef VK_F10
#undef VK_F12
#undef VK_F24
#undef VK_F4
#undef VK_HOME
#undef VK_INSERT
#undef VK_LBUTTON
#undef VK_LEFT
#undef VK_LWIN
#undef VK_MBUTTON
#undef VK_MENU
#undef VK_MULTIPLY
#undef VK_NEXT
#undef VK_NUMPAD0
#undef VK_PAUSE
#undef VK_PRIOR
#undef VK_RBUTTON
#undef VK_RETURN
#undef VK_RIGHT
#undef VK_RWIN
#undef VK_SHIFT
#undef VK_SPACE
#undef VK_SUBTRACT
#undef VK_TAB
#undef VK_UP
#undef WM_CLOSE
#undef WM_NCLBUTTONDOWN
#undef WM_SIZE
#undef WM_SYSCOMMAND
// clang-format on
