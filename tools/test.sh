#!/bin/sh
# Installs what is missing, builds, and runs every test under Wine with a
# virtual X display of its own.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
sh "$top/tools/deps.sh"
sh "$top/tools/build.sh"
cd "$top/build"
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --output-on-failure -j 2 "$@"
