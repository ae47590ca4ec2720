#!/bin/sh
# Builds Quillory for Windows (64-bit) with Debian's mingw-w64 into build-win/:
# the libraries from Debian's source packages (tools/windows/libs.sh; built
# once and cached outside the clone), the program, its DLLs and its test
# programs, and build-win/dist/, the folder to copy to a Windows machine:
# quillory.exe, Glimmet.dll, the libraries' DLLs, the flag pictures (images\)
# and the scan sounds.  Started from that folder, the program keeps its
# companies there.
#
# Installs the Debian packages that are missing first (tools/deps.sh, as
# root).  QL_JOBS sets the parallel jobs (default: every core).
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
out=$top/build-win
jobs=${QL_JOBS:-$(nproc)}
host=x86_64-w64-mingw32

sh "$top/tools/deps.sh"
QL_JOBS=$jobs sh "$top/tools/windows/libs.sh" "$out/deps"
cmake -S "$top" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw.cmake" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQL_WIN_DEPS="$out/deps" >/dev/null
cmake --build "$out" -j "$jobs"

# The folder for Windows: the program and its DLLs without their debugging
# information, and the files it reads from its working folder.
dist=$out/dist
rm -rf "$dist"
mkdir -p "$dist/images"
for f in quillory.exe Glimmet.dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
    cp "$out/bin/$f" "$dist/"
done
cp "$out/deps/bin/"*.dll "$dist/"
$host-strip --strip-debug "$dist/"*.exe "$dist/"*.dll
cp "$top/resources/images/"*.bmp "$dist/images/"
cp "$top/resources/sounds/"*.wav "$dist/"
echo "build-windows: $dist/quillory.exe"
