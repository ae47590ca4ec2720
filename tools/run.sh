#!/bin/sh
# Installs what is missing, builds the program (only the program and what it
# loads: the tests are built by tools/test.sh), and starts Quillory in a
# window.  The company data lives in the working folder: the first argument,
# or ~/Quillory, where the flag pictures and the scan sounds are copied.  The
# first start in an empty folder asks for a company.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
sh "$top/tools/deps.sh"
# Configure once; later builds configure again by themselves when a
# CMakeLists.txt changed.
[ -f "$top/build/CMakeCache.txt" ] || cmake -S "$top" -B "$top/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$top/build" -j "$(nproc)" --target quillory
work=${1:-$HOME/Quillory}
mkdir -p "$work"
cp -rn "$top/resources/images" "$work/" 2>/dev/null || true
cp -n "$top/resources/sounds/"*.wav "$work/" 2>/dev/null || true
export WINEPREFIX="${WINEPREFIX:-$top/build/runprefix}" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
# The faces the program asks for, mapped to the Liberation fonts (once: the
# prefix keeps them).  The first call also makes the prefix.
if ! grep -qs '"MS Sans Serif"="Liberation Sans"' "$WINEPREFIX/user.reg"; then
  /usr/lib/wine/wine64 reg import "Z:$top/tools/fonts.reg" >/dev/null 2>&1
fi
cd "$work"
if [ -n "$DISPLAY" ]; then
  exec /usr/lib/wine/wine64 "$top/build/bin/quillory.exe.so"
fi
echo "No DISPLAY is set: starting Quillory on a virtual display (xvfb-run)." >&2
exec xvfb-run -a -s "-screen 0 1280x1024x24" /usr/lib/wine/wine64 "$top/build/bin/quillory.exe.so"
