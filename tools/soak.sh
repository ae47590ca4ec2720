#!/bin/sh
# Runs test programs of a built tree again and again, several at once, to
# find what fails or hangs only now and then (a busy machine makes it
# likelier: run it beside other work, or with QL_SOAK_BUSY cores kept busy).
#   sh tools/soak.sh RUNS PARALLEL program [program...]
# Each run is bounded (15 min); a run that fails keeps its output in
# build/soak/.  Needs the built tree (tools/build.sh); the X display comes
# from DISPLAY or xvfb-run.  The runs have a Wine prefix and a Wine server of
# their own (build/soak/prefix), set up as the tests' one is: a ctest run in
# the same tree ends its own server when it finishes, and would take every
# program of a shared prefix with it.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
runs=$1 parallel=$2
shift 2
out="$top/build/soak"
summary="$out/summary-$(echo "$@" | tr ' ' '-').txt"
mkdir -p "$out"
export WINEPREFIX="$out/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  QL_BIN_DIR="$top/build/bin" QL_SOURCE_DIR="$top" QL_WINE64=/usr/lib/wine/wine64 \
  QL_ARTIFACT_DIR="$top/build/artifacts"
wine=/usr/lib/wine/wine64
# The prefix is made first and its server left to end; then one server for
# every run, kept until the last one ends, its messages in wineserver.log.  Wine manages the windows itself,
# a crash prints its backtrace and ends the program.
mkdir -p "$WINEPREFIX"
{ { [ -f "$WINEPREFIX/system.reg" ] || "$wine" wineboot -i; } && /usr/lib/wine/wineserver -w &&
  /usr/lib/wine/wineserver -p 2>>"$out/wineserver.log" &&
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
  "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
  "$wine" reg import "Z:$top/tools/fonts.reg"; } </dev/null >/dev/null 2>&1 ||
  { echo "soak: cannot set up the Wine prefix $WINEPREFIX and its server" >&2; exit 1; }
busy=""
for i in $(seq 1 "${QL_SOAK_BUSY:-0}"); do
  sh -c 'while :; do :; done' &
  busy="$busy $!"
done
jobs=""
for program in "$@"; do
  for i in $(seq 1 "$runs"); do jobs="$jobs $program:$i"; done
done
printf '%s\n' $jobs | xargs -P "$parallel" -I{} sh -c '
  program=${1%%:*} run=${1##*:}
  log="$2/$program-$run.log"
  # Pictures of pages each run its own: runs of one program write the same names.
  export QL_ARTIFACT_DIR="$2/artifacts-$program-$run"
  mkdir -p "$QL_ARTIFACT_DIR"
  start=$(date +%s)
  timeout -k 10 900 /usr/lib/wine/wine64 "$QL_BIN_DIR/$program.exe.so" >"$log" 2>&1
  rc=$?
  echo "$program run $run: exit $rc in $(($(date +%s) - start)) s, load $(cut -d" " -f1 /proc/loadavg)"
  [ $rc -eq 0 ] && rm -rf "$log" "$QL_ARTIFACT_DIR"
' soak {} "$out" | tee "$summary"
[ -n "$busy" ] && kill $busy
/usr/lib/wine/wineserver -k </dev/null >/dev/null 2>&1
failed=$(grep -vc 'exit 0 ' "$summary")
echo "soak: $(grep -c 'exit 0 ' "$summary") passed, $failed failed"
[ "$failed" -eq 0 ]
