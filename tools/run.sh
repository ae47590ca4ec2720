#!/bin/sh
# Installs what is missing, builds, and starts Quillory in a window.
# The company data lives in the working folder: the first argument, or
# ~/Quillory, where the flag pictures and the scan sounds are copied.  The
# first start in an empty folder asks for a company.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
sh "$top/tools/deps.sh"
sh "$top/tools/build.sh"
work=${1:-$HOME/Quillory}
mkdir -p "$work"
cp -rn "$top/resources/images" "$work/" 2>/dev/null || true
cp -n "$top/resources/sounds/"*.wav "$work/" 2>/dev/null || true
export WINEPREFIX="${WINEPREFIX:-$top/build/runprefix}" WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="mscoree,mshtml="
cd "$work"
if [ -n "$DISPLAY" ]; then
  exec /usr/lib/wine/wine64 "$top/build/bin/quillory.exe.so"
fi
echo "No DISPLAY is set: starting Quillory on a virtual display (xvfb-run)." >&2
exec xvfb-run -a -s "-screen 0 1280x1024x24" /usr/lib/wine/wine64 "$top/build/bin/quillory.exe.so"
