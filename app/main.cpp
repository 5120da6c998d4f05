// Program entry: the framework on the backend chosen here, the main window on the task bar, the
// event loop until the main window has closed. A failure before any window can show it (no display)
// is said on the standard error stream, and so is one while the system ends the program; either
// makes the exit status 1.
#include <cstdio>
#include <exception>

#include "app/ValdorLaunch.h"
#include "platform/backend/CreateBackend.h"
#include "platform/ui/Application.h"

int main() {
  try {
    Application->Initialize(vark::CreateBackend(), vark::CreateMemoryBackend);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "valdor-launcher: %s\n", e.what());
    return 1;
  }
  Application->SetMainFormOnTaskBar(true);
  Application->CreateForm(Form1);
  Application->Run();
  return Application->ExitCode();
}
