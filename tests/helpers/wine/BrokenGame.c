// Started through Wine in place of an edition's game that cannot run: it
// writes two lines to its error output, as a game missing a DLL would, and
// ends at once with status 3.
#include <stdio.h>

int main(void) {
  fputs("broken game: cannot load valdor3.dll\n", stderr);
  fputs("broken game: giving up\n", stderr);
  return 3;
}
