// Program entry: the framework, the main window on the task bar, the event
// loop until the main window has closed.
#include "app/ValdorLaunch.h"
#include "platform/ui/Application.h"

int main() {
  Application->Initialize();
  Application->SetMainFormOnTaskBar(true);
  Application->CreateForm(Form1);
  Application->Run();
  return 0;
}
