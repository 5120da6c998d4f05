// The error state libjpeg's reader and writer share: libjpeg reports a fatal
// error by calling error_exit, which must not return; ours keeps the message
// and jumps back to the setjmp of the call that is decoding or encoding.
#pragma once

#include <csetjmp>
#include <cstdio>

#include <jpeglib.h>

namespace vark::jpeg {

struct ErrorState {
  jpeg_error_mgr manager;  // first, so libjpeg's pointer to it is a pointer to this
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

[[noreturn]] inline void OnError(j_common_ptr cinfo) {
  auto* state = reinterpret_cast<ErrorState*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, state->message);
  std::longjmp(state->jump, 1);
}

}  // namespace vark::jpeg
