// Program entry. The main window is not built yet: this placeholder only says so.
#include <cstdio>

int main() {
  std::puts("Valdor III Launcher: the main window is not built yet.");
  return 0;
}
