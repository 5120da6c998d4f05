#!/usr/bin/env bash
# Each layer may include only itself and the layers below it:
#   platform < support < controls < app. Tools, tests and benchmarks may include any.
set -u
root=${1:-$(dirname "$0")/..}
cd "$root" || exit 2
status=0
check() {  # layer, then the include prefixes it must not use
  local layer=$1; shift
  for up in "$@"; do
    hits=$(grep -rnE "^\s*#\s*include\s*\"$up/" "$layer" 2>/dev/null)
    if [ -n "$hits" ]; then
      echo "$layer reaches up into $up:"; echo "$hits"; status=1
    fi
  done
}
check platform support controls app
check support controls app
check controls app
# The toolkit never depends on a concrete backend's headers outside platform/backend.
hits=$(grep -rnE '#\s*include\s*[<"]SDL' platform --include=*.cpp --include=*.h | grep -v '^platform/backend/sdl/')
if [ -n "$hits" ]; then echo "SDL used outside platform/backend/sdl:"; echo "$hits"; status=1; fi
# The toolkit reaches its backend only through the interface: the backends,
# and the chooser that makes them, sit above it, and each program's main
# chooses one and hands it to the application.
hits=$(grep -rnE '#\s*include\s*"platform/backend/' platform/ui --include=*.cpp --include=*.h |
  grep -v '"platform/backend/Backend\.h"')
if [ -n "$hits" ]; then echo "platform/ui includes more of platform/backend than its interface:"; echo "$hits"; status=1; fi
# The Windows headers only in Windows files (their macros clash with our names).
hits=$(grep -rnE '#\s*include\s*<windows\.h>' app controls support platform tools \
  --include=*.cpp --include=*.h | grep -vE '^platform/(.*/)?windows/')
if [ -n "$hits" ]; then echo "windows.h outside a windows/ folder:"; echo "$hits"; status=1; fi
[ $status -eq 0 ] && echo "layering ok"
exit $status
