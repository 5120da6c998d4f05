#include "platform/backend/windows/Input.h"

#include "platform/os/windows/WideString.h"
#include "platform/os/windows/Win32.h"
#include "platform/ui/Keys.h"

namespace vark::win32 {

TShiftState KeyboardShift() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

TShiftState MouseShift(uintptr_t keyFlags) {
  TShiftState s;
  if (keyFlags & MK_SHIFT) s.Include(ssShift);
  if (keyFlags & MK_CONTROL) s.Include(ssCtrl);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);  // not among the flags
  if (keyFlags & MK_LBUTTON) s.Include(ssLeft);
  if (keyFlags & MK_RBUTTON) s.Include(ssRight);
  if (keyFlags & MK_MBUTTON) s.Include(ssMiddle);
  return s;
}

namespace {

// The IDC_* names are integer resources, the same in the wide functions.
const wchar_t* Shape(const char* id) {
  return reinterpret_cast<const wchar_t*>(id);
}

}  // namespace

const wchar_t* CursorResource(TCursor cursor) {
  switch (cursor) {
    case crNone:
      return nullptr;
    case crHandPoint:
      return Shape(IDC_HAND);
    case crIBeam:
      return Shape(IDC_IBEAM);
    case crHourGlass:
      return Shape(IDC_WAIT);
    case crAppStart:
      return Shape(IDC_APPSTARTING);
    case crCross:
      return Shape(IDC_CROSS);
    case crSizeAll:
      return Shape(IDC_SIZEALL);
    case crSizeNS:
      return Shape(IDC_SIZENS);
    case crSizeWE:
      return Shape(IDC_SIZEWE);
    case crSizeNESW:
      return Shape(IDC_SIZENESW);
    case crSizeNWSE:
      return Shape(IDC_SIZENWSE);
    case crNo:
      return Shape(IDC_NO);
    case crHelp:
      return Shape(IDC_HELP);
    case crUpArrow:
      return Shape(IDC_UPARROW);
    default:
      return Shape(IDC_ARROW);
  }
}

bool IsToolkitKey(uintptr_t virtualKey) {
  return virtualKey != 0 && virtualKey < 0xFF && virtualKey != VK_PROCESSKEY &&
         virtualKey != VK_PACKET;
}

std::string CharAssembler::Add(wchar_t unit) {
  const bool high = unit >= 0xD800 && unit <= 0xDBFF;
  const bool low = unit >= 0xDC00 && unit <= 0xDFFF;
  const wchar_t pending = high_;
  high_ = high ? unit : 0;
  if (high) return {};
  if (low) {
    if (pending == 0) return {};
    const wchar_t pair[2] = {pending, unit};
    return os::win32::Narrow(std::wstring_view(pair, 2));
  }
  if (unit < 0x20 || unit == 0x7F) return {};
  return os::win32::Narrow(std::wstring_view(&unit, 1));
}

}  // namespace vark::win32
