// Putting a finished temporary file in place of a list, on a system where a
// virus scanner or the search indexer opens a file for a moment as soon as it
// changes, often sharing it for deletion with no one: the system then refuses
// to replace the file until they let go. Such refusals pass, so a save waits
// them out for a short while before it gives up.
#pragma once

#include <string>

#include "platform/os/windows/Win32.h"

namespace vark::os::win32 {

// One save's patience with refusals that pass: a few more tries, each after a
// longer wait, well under a second in all.
class PassingRefusals {
 public:
  // After a failed step whose reason is error: whether to try it again, having
  // waited, or to give up (another reason, or the waits are used up). The
  // last error is error again when it returns.
  bool WaitAfter(DWORD error);

 private:
  int waits_ = 0;
};

// ReplaceFileW, or what a test puts in its place.
using ReplaceFileCall = decltype(&ReplaceFileW);

// Moves the temporary file (written, flushed and closed, in the target's
// folder) to the target's name, in place of the target when it exists,
// waiting out passing refusals. Returns false, with the reason as the last
// error, when it cannot; the target is then the old file as it was and the
// temporary file is removed. The one exception: when the system has already
// taken the old file from its name and cannot put the new one there, the
// temporary file holds the only copy of the new contents and is kept.
bool PutInPlace(const std::wstring& temporary, const std::wstring& target, bool targetExists,
                ReplaceFileCall replace = ReplaceFileW);

}  // namespace vark::os::win32
