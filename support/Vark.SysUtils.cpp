#include "support/Vark.SysUtils.h"

#include "platform/os/FileSystem.h"
#include "platform/os/SystemInfo.h"
#include "platform/os/SystemPaths.h"
#include "platform/ui/Form.h"
#include "platform/ui/Screen.h"

bool EqualApprox(int number1, int number2, double span) {
  const double n1 = number1, n2 = number2;
  return n2 - span <= n1 && n1 <= n2 + span;
}

namespace {

vark::os::AppDataBranch AppDataBranchOf(CAddDataType foldertype) {
  switch (foldertype) {
    case adtRoaming:
      return vark::os::AppDataBranch::Roaming;
    case adtLocalLow:
      return vark::os::AppDataBranch::LocalLow;
    default:
      return vark::os::AppDataBranch::Local;
  }
}

}  // namespace

std::string AppDataRoot(float version, std::string_view user, CAddDataType foldertype) {
  if (version < 6.0f) {
    return "C:\\Documents and Settings\\" + std::string(user) + "\\Application Data\\";
  }
  std::string path = "C:\\Users\\" + std::string(user) + "\\AppData\\";
  switch (foldertype) {
    case adtLocal:
      return path + "Local\\";
    case adtRoaming:
      return path + "Roaming\\";
    case adtLocalLow:
      return path + "LocalLow\\";
  }
  return path + "Local\\";
}

std::string GetPathInAppData(std::string_view appname, bool varksoft, bool create,
                             CAddDataType foldertype) {
  // From version 6 on the system says where the user's folder is; the
  // assembled "C:\Users\<logon>\AppData\" would miss a profile folder named
  // otherwise or on another drive.
  const float version = NTKernelVersion();
  std::string path = version < 6.0f ? AppDataRoot(version, GetUserNm(), foldertype)
                                    : vark::os::UserAppDataFolder(AppDataBranchOf(foldertype));
  if (varksoft) {
    path += "VarkelSoftware\\";
    if (create && !DirectoryExists(path)) ForceDirectories(path);
  }
  path += appname;
  path += "\\";
  if (create && !DirectoryExists(path)) ForceDirectories(path);
  return path;
}

float NTKernelVersion() {
  const vark::os::TOSVersion v = vark::os::SystemVersion();
  // Summed in the widest type, then stored as a float, so 6.1 compares as
  // the float 6.1 everywhere.
  return static_cast<float>(static_cast<long double>(v.Major) +
                            static_cast<long double>(v.Minor) / 10);
}

std::string GetUserNm() {
  return vark::os::LogonName();
}

void CenterFormOnScreen(TCustomForm* form) {
  if (form == nullptr) return;
  // The primary screen need not start at the desktop's origin: with a screen
  // left of or above it, its middle lies further along.
  const TRect primary = Screen->MonitorCount() > 0 ? Screen->MonitorBounds(0) : TRect{};
  form->SetBounds(primary.Left + Screen->Width() / 2 - form->Width() / 2,
                  primary.Top + Screen->Height() / 2 - form->Height() / 2, form->Width(),
                  form->Height());
}
