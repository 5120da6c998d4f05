// System utilities shared by the launcher and the control library: the
// per-user application-data folder, the system queries behind it, and a
// tolerant integer comparison for animations.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Which branch of the per-user application-data tree a folder lives in.
enum CAddDataType : uint8_t { adtLocal, adtRoaming, adtLocalLow };

// True when number2 - span <= number1 <= number2 + span, compared in floating
// point with both ends included.
bool EqualApprox(int number1, int number2, double span);

// The application's per-user data folder as a Windows path ending in "\":
// the user's "Local\" / "Roaming\" / "LocalLow\" application-data folder
// as the system names it on version 6.0 and later (on Linux
// "C:\Users\<logon>\AppData\Local\" and so on, which the file layer maps),
// "C:\Documents and Settings\<logon>\Application Data\" before, then
// "VarkelSoftware\" when varksoft, then appname and "\". With create the
// missing folders are made on the way; a creation the system refuses is not
// reported (the path is returned all the same and the failure shows in the
// operations on the folder), while an invalid path raises EInOutError. A logon
// name that cannot be read raises EOSError before anything is created.
std::string GetPathInAppData(std::string_view appname, bool varksoft, bool create,
                             CAddDataType foldertype);

// The profile part of the above for a given system version and logon name:
// everything up to and including the application-data branch.
std::string AppDataRoot(float version, std::string_view user, CAddDataType foldertype);

// The system's version as major + minor / 10 (10.0 here).
float NTKernelVersion();

// The logon name of the current user; EOSError when it cannot be read.
std::string GetUserNm();

class TCustomForm;

// Places a top-level window in the middle of the primary screen: its left
// becomes (screen width div 2) - (window width div 2) and its top likewise,
// each half truncated on its own, with the screen's full size (not the work
// area) and the window's outer size. A null form is left alone.
void CenterFormOnScreen(TCustomForm* form);
