#!/bin/sh
# Builds Quillory for Windows (64-bit) with Debian's mingw-w64 into build-win/:
# the libraries from Debian's source packages (tools/windows/libs.sh; built
# once and cached outside the clone), the program, its DLLs and its test
# programs, and build-win/dist/, the folder to copy to a Windows machine:
# quillory.exe, Glimmet.dll, the libraries' DLLs, the flag pictures (images\)
# and the scan sounds, with a README for the user, the licence texts of
# every library it ships (licences\) and the version of each as built
# (VERSIONS.txt); and build-win/quillory-<version>-win64.zip of that folder.
# Started from that folder, the program keeps its companies there.
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
version=$(sed -n 's/^#define QL_VERSION_TEXT "\(.*\)"/\1/p' "$top/resources/QlVersion.h")
dist=$out/dist
rm -rf "$dist"
mkdir -p "$dist/images" "$dist/licences"
for f in quillory.exe Glimmet.dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll; do
    cp "$out/bin/$f" "$dist/"
done
cp "$out/deps/bin/"*.dll "$dist/"
$host-strip --strip-debug "$dist/"*.exe "$dist/"*.dll
cp "$top/resources/images/"*.bmp "$dist/images/"
cp "$top/resources/sounds/"*.wav "$dist/"

# What the user reads, and the licences and versions of what the folder
# ships: the libraries (GoogleTest serves the tests only), the compiler's
# run-time DLLs (GCC's, under its run-time library exception, and
# mingw-w64's threads library).
crlf() { sed 's/\r*$/\r/' "$@"; }
sed "s/@VERSION@/$version/" "$top/tools/windows/README.txt" | crlf > "$dist/README.txt"
for lib in "$out/deps/licences/"*; do
    name=$(basename "$lib")
    [ "$name" = googletest ] && continue
    mkdir -p "$dist/licences/$name"
    for f in "$lib"/*; do
        file=$(basename "$f")
        case "$file" in *.txt) ;; *) file=$file.txt ;; esac
        crlf "$f" > "$dist/licences/$name/$file"
    done
done
mkdir -p "$dist/licences/gcc-runtime" "$dist/licences/mingw-w64"
crlf /usr/share/doc/gcc-mingw-w64-base/copyright > "$dist/licences/gcc-runtime/debian-copyright.txt"
crlf /usr/share/common-licenses/GPL-3 > "$dist/licences/gcc-runtime/GPL-3.txt"
crlf /usr/share/doc/mingw-w64-common/copyright > "$dist/licences/mingw-w64/debian-copyright.txt"
runtime() { dpkg-query -W -f='${Version}' "$1" 2>/dev/null || echo unknown; }
{
    echo "Quillory $version for Windows (64-bit), built $(date -u +%Y-%m-%d) from Debian's source packages:"
    echo
    grep -v '^GoogleTest ' "$out/deps/versions.txt"
    echo "GCC run-time $($host-g++-posix -dumpfullversion) (Debian gcc-mingw-w64 $(runtime gcc-mingw-w64-x86-64-posix-runtime)): libstdc++-6.dll and libgcc_s_seh-1.dll"
    echo "mingw-w64 winpthreads (Debian mingw-w64 $(runtime mingw-w64-x86-64-dev)): libwinpthread-1.dll"
} | crlf > "$dist/VERSIONS.txt"
echo "build-windows: the libraries in $dist:"
tr -d '\r' < "$dist/VERSIONS.txt" | sed 's/^/build-windows:   /'

# The folder as one file to hand over, under a folder of its name.
zip=$out/quillory-$version-win64.zip
python3 - "$dist" "$zip" "quillory-$version-win64" <<'PY'
import os, sys, zipfile
dist, target, root = sys.argv[1:]
with zipfile.ZipFile(target + ".new", "w", zipfile.ZIP_DEFLATED) as z:
    for folder, dirs, files in os.walk(dist):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(folder, name)
            z.write(path, os.path.join(root, os.path.relpath(path, dist)))
os.replace(target + ".new", target)
PY
echo "build-windows: $dist/quillory.exe, $zip"
