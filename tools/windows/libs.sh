#!/bin/sh
# The libraries of the Windows build (SQLite, libharu with zlib and libpng,
# FreeImage with libjpeg-turbo, OpenSSL, GoogleTest), built with mingw-w64
# from Debian's own source packages and kept outside the clone, one folder a
# library and version, so that a later run reuses them.
#
#   sh tools/windows/libs.sh <deps folder>
#
# fills <deps folder> with include/, lib/ (import libraries), bin/ (DLLs),
# licences/ (each library's licence texts, one folder a library) and
# versions.txt (the version of each library as built, and where it is not
# Debian's newest, why).  A file already there with the same content is left
# as it is, so that a build over it recompiles nothing.
# The cache is $QL_WIN_CACHE, else ${XDG_CACHE_HOME:-$HOME/.cache}/quillory-win;
# QL_JOBS sets the parallel jobs (default: every core).
#
# Sources come through apt with a private index (the machine's own APT
# configuration is not touched): a deb-src entry for each Debian archive the
# machine already uses.  Every file is checked against the checksums of its
# .dsc (apt checks the .dsc against the signed index) before it is unpacked.
set -e
here=$(cd "$(dirname "$0")" && pwd)
top=$(cd "$here/../.." && pwd)
out=${1:?usage: libs.sh <deps folder>}
mkdir -p "$out"
out=$(cd "$out" && pwd)
cache=${QL_WIN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/quillory-win}
jobs=${QL_JOBS:-$(nproc)}
host=x86_64-w64-mingw32
cc=$host-gcc-posix
cxx=$host-g++-posix
toolchain=$top/cmake/mingw.cmake
# A change to how a library is built changes this, so that cached builds of
# the old recipe are not taken.
recipe=r2

say() { echo "build-windows: $*" >&2; }
die() { say "$*"; exit 1; }

mkdir -p "$cache"
cache=$(cd "$cache" && pwd)

# ---------------------------------------------------------------------------
# Private APT index of Debian's sources

aptdir=$cache/apt
aptopts="-o Dir::State::Lists=$aptdir/lists -o Dir::Cache=$aptdir/cache \
 -o Dir::Etc::SourceList=$aptdir/sources.list -o Dir::Etc::SourceParts=- \
 -o Dir::State::Status=/var/lib/dpkg/status -o Debug::NoLocking=1 -qq"
[ "$(id -u)" = 0 ] && aptopts="$aptopts -o APT::Sandbox::User=root"

# One deb-src line for every Debian suite of this release among the
# machine's own entries (one-line .list files and deb822 .sources files).
write_sources() {
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    [ -n "$codename" ] || die "no VERSION_CODENAME in /etc/os-release"
    files=""
    [ -f /etc/apt/sources.list ] && files=/etc/apt/sources.list
    for f in /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; do
        [ -f "$f" ] && files="$files $f"
    done
    [ -n "$files" ] || die "no APT sources on this machine"
    # shellcheck disable=SC2086
    awk -v codename="$codename" '
        function ours(suite) { return suite == codename || index(suite, codename "-") == 1 }
        function emit(uri, suite, comps, opts) {
            if (!ours(suite)) return
            line = "deb-src " (opts != "" ? "[" opts "] " : "") uri " " suite " " comps
            if (!(line in seen)) { seen[line] = 1; print line }
        }
        function flush(   n, u, s, i, j, uris, suites) {
            if (types ~ /(^| )deb( |$)/ && enabled != "no") {
                n = split(uris_, uris, " "); split(suites_, suites, " ")
                for (i = 1; i <= n; i++) for (j in suites)
                    emit(uris[i], suites[j], comps_, signed != "" ? "signed-by=" signed : "")
            }
            types = uris_ = suites_ = comps_ = signed = enabled = ""
        }
        FILENAME ~ /\.sources$/ {
            if (FILENAME != last) { flush(); last = FILENAME }
            if ($0 ~ /^[ \t]*$/) { flush(); next }
            if ($0 ~ /^#/) next
            key = tolower($1); sub(/:$/, "", key); $1 = ""; sub(/^ +/, "")
            if (key == "types") types = $0
            else if (key == "uris") uris_ = $0
            else if (key == "suites") suites_ = $0
            else if (key == "components") comps_ = $0
            else if (key == "signed-by") signed = $0
            else if (key == "enabled") enabled = tolower($0)
            next
        }
        FILENAME !~ /\.sources$/ && $1 == "deb" {
            opts = ""; i = 2
            if ($2 ~ /^\[/) {
                while (i <= NF) { opts = opts (opts != "" ? " " : "") $i; if ($i ~ /\]$/) break; i++ }
                gsub(/^\[|\]$/, "", opts); i++
            }
            comps = ""; for (j = i + 2; j <= NF; j++) comps = comps (comps != "" ? " " : "") $j
            emit($i, $(i + 1), comps, opts)
        }
        END { flush() }' $files
}

apt_ready=""
apt_setup() {
    [ -n "$apt_ready" ] && return 0
    mkdir -p "$aptdir/lists/partial" "$aptdir/cache/archives/partial"
    write_sources > "$aptdir/sources.list.new"
    [ -s "$aptdir/sources.list.new" ] || die "no Debian archive of this release among the APT sources"
    mv "$aptdir/sources.list.new" "$aptdir/sources.list"
    # shellcheck disable=SC2086
    if ! apt-get $aptopts update >"$aptdir/update.log" 2>&1; then
        ls "$aptdir/lists/"*Sources* >/dev/null 2>&1 || { cat "$aptdir/update.log" >&2; die "apt-get update failed"; }
        say "apt-get update failed; using the source index of an earlier run"
    fi
    # apt's own caches, made once here rather than by the builds side by side.
    # shellcheck disable=SC2086
    apt-cache $aptopts showsrc zlib >/dev/null 2>&1 || true
    apt_ready=1
}

# The versions of a source package in the index, newest first.
versions() {
    # shellcheck disable=SC2086
    list=$(apt-cache $aptopts showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -u)
    [ -n "$list" ] || die "Debian has no source package $1"
    sorted=""
    for v in $list; do
        rest="" placed=""
        for s in $sorted; do
            if [ -z "$placed" ] && dpkg --compare-versions "$v" gt "$s"; then
                rest="$rest $v"; placed=1
            fi
            rest="$rest $s"
        done
        [ -z "$placed" ] && rest="$rest $v"
        sorted=$rest
    done
    echo $sorted
}

# Checks every file that the .dsc names and that is present against its
# SHA-256; prints the names of the missing ones.
check_dsc() {
    dsc=$1 dir=$(dirname "$1")
    sed -n '/^Checksums-Sha256:/,/^[^ ]/{/^ /p}' "$dsc" | while read -r sum size name; do
        if [ -f "$dir/$name" ]; then
            echo "$sum  $dir/$name" | sha256sum -c --status || die "$name does not match its checksum in $(basename "$dsc")"
            [ "$(stat -c %s "$dir/$name")" = "$size" ] || die "$name has the wrong size"
        else
            echo "$name"
        fi
    done
}

# fetch <package> <version> <dir>: downloads and unpacks the source package
# into <dir>/src.  Answers 0 with Debian's changes applied, 1 when only the
# upstream part could be had (unpacked without them), 2 when nothing usable.
fetch() {
    pkg=$1 ver=$2 dir=$3
    rm -rf "$dir" && mkdir -p "$dir/dl"
    # shellcheck disable=SC2086
    (cd "$dir/dl" && apt-get $aptopts source --download-only "$pkg=$ver" >"$dir/fetch.log" 2>&1) || true
    dsc=$(ls "$dir/dl/"*.dsc 2>/dev/null | head -n 1)
    [ -n "$dsc" ] || return 2
    missing=$(check_dsc "$dsc") || exit 1
    if [ -z "$missing" ]; then
        dpkg-source -q -x "$dsc" "$dir/src" >"$dir/unpack.log" 2>&1 || { cat "$dir/unpack.log" >&2; die "dpkg-source could not unpack $pkg $ver"; }
        return 0
    fi
    # The Debian part is missing: the upstream tarball alone, if that came.
    case "$missing" in *orig*) return 2 ;; esac
    orig=$(ls "$dir/dl/"*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | head -n 1)
    [ -n "$orig" ] || return 2
    mkdir -p "$dir/src"
    tar -xf "$orig" -C "$dir/src" --strip-components=1
    return 1
}

# ensure <name> <package> <key suffix> <build function>: sets $prefix to the
# cached build of the newest version of <package> that can be had.  The build
# function gets the unpacked source in $src and installs into $dest.
ensure() {
    name=$1 pkg=$2 extra=$3 build=$4
    apt_setup
    all=$(versions "$pkg")
    newest=${all%% *}
    for ver in $all; do
        built_version=$ver
        for kind in "" "-upstream"; do
            key=$name-$(echo "$ver" | tr ':~' '_-')$kind$extra-$recipe
            if [ -f "$cache/$key/.complete" ]; then
                prefix=$cache/$key
                built_kind=$kind
                say "$name $ver$kind: cached ($prefix)"
                return 0
            fi
        done
        # A version that could not be fetched is not asked for again for a day.
        mark=$cache/unfetchable/$pkg=$ver
        if [ -n "$(find "$mark" -mmin -1440 2>/dev/null)" ]; then
            say "$name $ver: could not be fetched lately, taking an older version"
            continue
        fi
        work=$cache/work/$name
        status=0
        fetch "$pkg" "$ver" "$work" || status=$?
        if [ $status = 2 ]; then
            say "$name $ver: could not be fetched, trying an older version"
            mkdir -p "$cache/unfetchable" && touch "$mark"
            continue
        fi
        kind=""
        if [ $status = 1 ]; then
            kind="-upstream"
            say "WARNING: Debian's changes to $pkg $ver could not be fetched; building its upstream source (checked against the .dsc) without them"
        fi
        key=$name-$(echo "$ver" | tr ':~' '_-')$kind$extra-$recipe
        dest=$cache/$key.part
        rm -rf "$dest" && mkdir -p "$dest/include" "$dest/lib" "$dest/bin"
        src=$work/src
        say "$name $ver$kind: building"
        started=$(date +%s)
        (cd "$src" && $build) >"$work/build.log" 2>&1 || { tail -n 40 "$work/build.log" >&2; die "$name $ver did not build (log: $work/build.log)"; }
        keep_licences
        echo "$pkg $ver$kind" > "$dest/.complete"
        rm -rf "${cache:?}/$key"
        mv "$dest" "$cache/$key"
        rm -rf "$work"
        prefix=$cache/$key
        built_kind=$kind
        say "$name $ver$kind: built in $(($(date +%s) - started)) s"
        return 0
    done
    die "no version of $pkg could be fetched"
}

# The licence texts of the source in $src, kept with the build in
# $dest/licences: the upstream files and Debian's copyright file.
keep_licences() {
    mkdir -p "$dest/licences"
    for f in "$src"/LICENSE* "$src"/LICENCE* "$src"/COPYING* "$src"/COPYRIGHT* "$src"/license* "$src"/README.ijg; do
        if [ -f "$f" ]; then cp "$f" "$dest/licences/"; fi
    done
    if [ -f "$src/debian/copyright" ]; then cp "$src/debian/copyright" "$dest/licences/debian-copyright"; fi
    # A source without such a file (libharu upstream) states it in its README.
    if [ -z "$(ls "$dest/licences")" ]; then cp "$src/README" "$dest/licences/"; fi
}

# record <name> <what it is>: a line of versions.txt for the build that
# ensure chose last.
record() {
    line="$1 $built_version"
    if [ "$built_kind" = "-upstream" ]; then
        line="$line, upstream source without Debian's changes (they could not be fetched)"
    fi
    if [ "$built_version" != "$newest" ]; then line="$line (Debian's newest, $newest, could not be fetched)"; fi
    echo "$line: $2" >> "$out/versions.new"
    say "version: $line"
}

cmake_build() {
    # cmake_build <source dir> <cmake options...>: configure, build, install into $dest.
    srcdir=$1; shift
    cmake -S "$srcdir" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_INSTALL_PREFIX="$dest" "$@"
    cmake --build "$work/build" -j "$jobs"
    cmake --install "$work/build"
}

# ---------------------------------------------------------------------------
# The libraries

# zlib as a static library (Debian's source has no Windows makefile).
build_zlib() {
    for f in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate inftrees trees \
        uncompr zutil; do
        "$cc" -O2 -c "$f.c" -o "$work/$f.o" &
    done
    wait
    "$host-ar" rcs "$dest/lib/libz.a" "$work"/*.o
    cp zlib.h zconf.h "$dest/include/"
}

build_png() {
    cmake_build . -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
        -DZLIB_INCLUDE_DIR="$zlib/include" -DZLIB_LIBRARY="$zlib/lib/libz.a" -DSKIP_INSTALL_PROGRAMS=ON
}

build_jpeg() {
    cmake_build . -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_TURBOJPEG=OFF -DWITH_SIMD=OFF \
        -DWITH_JAVA=OFF
}

# libharu as libhpdf.dll with zlib and libpng inside.
build_hpdf() {
    cmake_build . -DLIBHPDF_SHARED=ON -DLIBHPDF_STATIC=OFF -DLIBHPDF_EXAMPLES=OFF \
        -DZLIB_INCLUDE_DIR="$zlib/include" -DZLIB_LIBRARY="$zlib/lib/libz.a" \
        -DPNG_PNG_INCLUDE_DIR="$png/include" -DPNG_LIBRARY="$png/lib/libpng16.a"
    # One name on every machine: libhpdf.dll with its import library libhpdf.dll.a.
    for f in "$dest"/bin/*hpdf*.dll; do [ "$f" = "$dest/bin/libhpdf.dll" ] || mv "$f" "$dest/bin/libhpdf.dll"; done
    for f in "$dest"/lib/*hpdf*.a; do [ "$f" = "$dest/lib/libhpdf.dll.a" ] || mv "$f" "$dest/lib/libhpdf.dll.a"; done
    [ -f "$dest/bin/libhpdf.dll" ] && [ -f "$dest/lib/libhpdf.dll.a" ]
}

# FreeImage as FreeImage.dll with the BMP, GIF, JPEG and PNG plugins: Debian's
# source comes without the codec libraries FreeImage bundles; those of
# libjpeg-turbo, libpng and zlib are linked in.
build_freeimage() {
    cmake_build "$here/freeimage" -DFREEIMAGE_SOURCE="$src" -DZLIB_ROOT="$zlib" -DPNG_ROOT="$png" \
        -DJPEG_ROOT="$jpeg"
}

# SQLite's own sqlite3.dll: the amalgamation is generated with the native
# tools (tclsh, a host compiler), then compiled for Windows with the
# compile-time options of Debian's library that change what SQL does.
build_sqlite() {
    mkdir -p "$work/native"
    (cd "$work/native" && "$src/configure" --disable-tcl --disable-readline >configure.log 2>&1 && make sqlite3.c)
    "$cc" -O2 -shared -o "$dest/bin/sqlite3.dll" "$work/native/sqlite3.c" \
        "-DSQLITE_API=__declspec(dllexport)" -DSQLITE_THREADSAFE=1 -DSQLITE_SECURE_DELETE \
        -DSQLITE_ENABLE_COLUMN_METADATA -DSQLITE_LIKE_DOESNT_MATCH_BLOBS -DSQLITE_MAX_SCHEMA_RETRY=25 \
        -DSQLITE_MAX_VARIABLE_NUMBER=250000 -DSQLITE_ALLOW_ROWID_IN_VIEW -DSQLITE_USE_URI=1 \
        -Wl,--out-implib,"$dest/lib/libsqlite3.dll.a"
    cp "$work/native/sqlite3.h" "$dest/include/"
}

# OpenSSL's two libraries as DLLs, nothing else: no programs, tests, engines
# or modules, no static libraries (the build would compile everything
# twice), and none of the algorithms and protocols that a mail client has no
# use for.  The folders the DLLs carry (OPENSSLDIR, where the library would
# look for openssl.cnf and cert.pem, and those of engines and modules) are
# OpenSSL's own Windows defaults under "C:\Program Files", which only an
# administrator can write, never this machine's build folder (a path without
# a drive letter names a folder on the program's drive, which any user can
# make); and the library reads no configuration file unless asked
# (no-autoload-config).  The program asks for none and takes its trust
# anchors from the Windows ROOT store (netmail/ZrSslEngine.cpp).
build_openssl() {
    ./Configure mingw64 --cross-compile-prefix="$host-" CC=gcc-posix CXX=g++-posix --prefix="$dest" \
        shared no-autoload-config no-tests no-engine no-module no-legacy no-idea no-mdc2 no-rc5 no-seed \
        no-whirlpool no-camellia no-aria no-sm2 no-sm3 no-sm4 no-srp no-dtls no-ssl3 no-comp no-ts no-cmp no-ct \
        no-cms no-siphash
    set -- "OPENSSLDIR=C:/Program Files/Common Files/SSL" "ENGINESDIR=C:/Program Files/OpenSSL/lib/engines-3" \
        "MODULESDIR=C:/Program Files/OpenSSL/lib/ossl-modules"
    make build_generated "$@"
    make -j "$jobs" libcrypto-3-x64.dll libssl-3-x64.dll "$@"
    if grep -aqF "$dest" libcrypto-3-x64.dll libssl-3-x64.dll; then
        echo "the DLLs name the build folder $dest" >&2
        return 1
    fi
    mkdir -p "$dest/include/openssl"
    cp include/openssl/*.h "$dest/include/openssl/"
    cp libcrypto-3-x64.dll libssl-3-x64.dll "$dest/bin/"
    cp libcrypto.dll.a libssl.dll.a "$dest/lib/"
}

build_gtest() {
    cmake_build . -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -Dgtest_force_shared_crt=ON
}

# ---------------------------------------------------------------------------

# The libraries that need no other build side by side (each one's configure
# and its last link run on one core); zlib, libpng and libharu in turn
# meanwhile, then FreeImage over libpng and libjpeg.
apt_setup
(ensure sqlite sqlite3 "" build_sqlite) &
others=$!
(ensure openssl openssl "" build_openssl) &
others="$others $!"
(ensure googletest googletest "" build_gtest) &
others="$others $!"
(ensure libjpeg libjpeg-turbo "" build_jpeg) &
jpeg_job=$!

rm -f "$out/versions.new"
ensure zlib zlib "" build_zlib;                  zlib=$prefix; zlibkey=$(basename "$zlib" "-$recipe")
record zlib "inside libhpdf.dll and FreeImage.dll"
ensure libpng libpng1.6 "+$zlibkey" build_png;   png=$prefix;  pngkey=$(basename "$png" "-$recipe")
record libpng "inside libhpdf.dll and FreeImage.dll"
ensure libharu libharu "+$pngkey" build_hpdf;    hpdf=$prefix
record libharu "libhpdf.dll"
wait $jpeg_job || die "libjpeg-turbo did not build"
ensure libjpeg libjpeg-turbo "" build_jpeg;      jpeg=$prefix; jpegkey=$(basename "$jpeg" "-$recipe")
record libjpeg-turbo "inside FreeImage.dll"
ensure freeimage freeimage "+$pngkey+$jpegkey" build_freeimage; freeimage=$prefix
record FreeImage "FreeImage.dll"
for job in $others; do
    wait "$job" || die "a library did not build (see above)"
done
ensure sqlite sqlite3 "" build_sqlite;           sqlite=$prefix
record SQLite "sqlite3.dll"
ensure openssl openssl "" build_openssl;         openssl=$prefix
record OpenSSL "libcrypto-3-x64.dll and libssl-3-x64.dll"
ensure googletest googletest "" build_gtest;     gtest=$prefix
record GoogleTest "the test programs only"

# The deps folder: the headers, import libraries and DLLs the program and its
# tests build against, with the licences and versions.  They are put together
# in a staging folder and only what differs is copied over: a header copied
# again with a new time would recompile every file that includes it.
stage=$out/.stage
rm -rf "$stage"
mkdir -p "$stage/include" "$stage/lib" "$stage/bin" "$stage/licences"
for p in "$hpdf" "$freeimage" "$sqlite" "$openssl" "$gtest"; do
    for part in include lib bin; do
        cp -R "$p/$part/." "$stage/$part/"
    done
done
# zlib, libpng and libjpeg-turbo are linked into the DLLs: their licences only.
for p in "$hpdf" "$freeimage" "$sqlite" "$openssl" "$gtest" "$zlib" "$png" "$jpeg"; do
    lib=$(basename "$p"); lib=${lib%%-[0-9]*}
    mkdir -p "$stage/licences/$lib"
    cp -R "$p/licences/." "$stage/licences/$lib/"
done
mv "$out/versions.new" "$stage/versions.txt"
(cd "$stage" && find . -type f) | while IFS= read -r f; do
    if ! cmp -s "$stage/$f" "$out/$f"; then
        mkdir -p "$(dirname "$out/$f")"
        cp "$stage/$f" "$out/$f"
    fi
done
for part in include lib bin licences; do
    [ -d "$out/$part" ] || continue
    (cd "$out" && find "$part" -type f) | while IFS= read -r f; do
        [ -e "$stage/$f" ] || rm -f "$out/$f"
    done
done
rm -rf "$stage"
say "libraries ready in $out"
