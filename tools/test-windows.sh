#!/bin/sh
# Runs tests of the Windows build (build-win/, made by tools/build-windows.sh)
# as Windows programs under wine64, on a virtual display of their own: the
# program test (the real quillory.exe started as a Windows program: a first
# start that creates a company, an invoice saved and written as PDF), the
# data store's tests, the money, date and platform tests (core_tests), the
# money in controls and list cells (ui_tests), and the mail client's trust in
# certificates (netmail_trust: the ROOT store and SSL_CERT_FILE only, nothing
# from OpenSSL's own folder, whose name must be no build folder).  These are
# the only test programs the Windows build builds (tests/CMakeLists.txt).  A Windows program cannot run poppler: the PDF files the tests leave in
# build-win/artifacts with the texts they must hold (<name>.pdf.expect) are
# read back here with pdftotext.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top/build-win"
rm -f artifacts/*.pdf artifacts/*.pdf.expect
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --output-on-failure -R '^(program_tests|datastore_tests|core_money_date_platform|ui_money_controls|netmail_trust)$' "$@"

status=0
found=0
for expect in artifacts/*.pdf.expect; do
    [ -f "$expect" ] || continue
    found=$((found + 1))
    pdf=${expect%.expect}
    if ! text=$(pdftotext -layout "$pdf" - 2>&1); then
        echo "test-windows: pdftotext cannot read $pdf: $text" >&2
        status=1
        continue
    fi
    while IFS= read -r line; do
        case "$text" in
        *"$line"*) ;;
        *) echo "test-windows: $pdf lacks \"$line\"" >&2; status=1 ;;
        esac
    done < "$expect"
    [ $status = 0 ] && echo "test-windows: $pdf holds its $(wc -l < "$expect") texts (pdftotext)"
done
if [ $found = 0 ]; then
    echo "test-windows: the Windows program test left no PDF file to read back" >&2
    status=1
fi

# The release folder: every DLL it ships has its library's licence texts and
# its version in VERSIONS.txt (Glimmet.dll is the program's own), a README,
# and the zip holds the folder's files.
fail() { echo "test-windows: dist: $*" >&2; status=1; }
shipped="sqlite3.dll:sqlite:SQLite libhpdf.dll:libharu:libharu libhpdf.dll:zlib:zlib libhpdf.dll:libpng:libpng
 FreeImage.dll:freeimage:FreeImage FreeImage.dll:libjpeg:libjpeg-turbo libcrypto-3-x64.dll:openssl:OpenSSL
 libssl-3-x64.dll:openssl:OpenSSL libstdc++-6.dll:gcc-runtime:GCC libgcc_s_seh-1.dll:gcc-runtime:GCC
 libwinpthread-1.dll:mingw-w64:mingw-w64"
for dll in dist/*.dll; do
    name=$(basename "$dll")
    [ "$name" = Glimmet.dll ] && continue
    case " $(echo $shipped) " in *" $name:"*) ;; *) fail "$name has no licence or version entry" ;; esac
done
for entry in $shipped; do
    dll=${entry%%:*} rest=${entry#*:}
    licence=${rest%%:*} library=${rest#*:}
    [ -f "dist/$dll" ] || fail "$dll is missing"
    [ -n "$(ls "dist/licences/$licence" 2>/dev/null)" ] || fail "no licence texts of $licence for $dll"
    grep -q "^$library " dist/VERSIONS.txt || fail "VERSIONS.txt does not name $library ($dll)"
done
[ -s dist/README.txt ] || fail "no README.txt"
zip=$(ls quillory-*-win64.zip 2>/dev/null | head -n 1)
if [ -z "$zip" ]; then
    fail "no quillory-<version>-win64.zip"
elif ! python3 - "$zip" dist <<'PY'
import os, sys, zipfile
zip_path, dist = sys.argv[1:]
names = {n.split("/", 1)[1] for n in zipfile.ZipFile(zip_path).namelist()}
files = {os.path.relpath(os.path.join(d, f), dist) for d, _, fs in os.walk(dist) for f in fs}
sys.exit(0 if names == files else 1)
PY
then
    fail "$zip does not hold the folder's files"
fi
[ $status = 0 ] && echo "test-windows: dist holds a licence and a version for each of its DLLs, a README and its zip"
exit $status
