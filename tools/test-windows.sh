#!/bin/sh
# Runs tests of the Windows build (build-win/, made by tools/build-windows.sh)
# as Windows programs under wine64, on a virtual display of their own: the
# program test (the real quillory.exe started as a Windows program: a first
# start that creates a company, an invoice saved and written as PDF), the
# data store's tests, the money, date and platform tests, and the mail
# client's trust in certificates (netmail_trust: the ROOT store and
# SSL_CERT_FILE only, nothing from OpenSSL's own folder, whose name must be
# no build folder).  These are the only test programs the Windows build
# builds (tests/CMakeLists.txt).  A Windows program cannot run poppler: the PDF files the tests leave in
# build-win/artifacts with the texts they must hold (<name>.pdf.expect) are
# read back here with pdftotext.
set -e
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top/build-win"
rm -f artifacts/*.pdf artifacts/*.pdf.expect
xvfb-run -a -s "-screen 0 1280x1024x24" \
    ctest --output-on-failure -R '^(program_tests|datastore_tests|common_money_date_platform|netmail_trust)$' "$@"

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
exit $status
