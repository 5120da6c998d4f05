// System functions whose names our framework also uses, with other types
// (MessageBeep here; MulDiv and ReleaseCapture are the same kind). A file that
// sees our declaration cannot see the system's, so these wrappers live in a
// file that includes only the system headers.
#pragma once

namespace vark::os::win32 {

// The system's MessageBeep; true when it played.
bool SystemMessageBeep(unsigned type);

}  // namespace vark::os::win32
