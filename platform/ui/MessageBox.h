// The framework's message box: a modal window with an icon by kind (error,
// warning, information, question), the text word-wrapped beside it and an OK
// button that answers Return and Escape. The application's error report is one.
#pragma once

#include <cstdint>
#include <string>

namespace vark::ui {

// Shows the box and returns its modal result (mrOk, or mrCancel when closed
// another way).
int ShowMessageBox(const std::string& text, const std::string& caption, uint32_t flags);

}  // namespace vark::ui
