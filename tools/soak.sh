#!/bin/sh
# Runs test programs of a built tree again and again, several at once, to
# find what fails or hangs only now and then (a busy machine makes it
# likelier: run it beside other work, or with QL_SOAK_BUSY cores kept busy).
#   sh tools/soak.sh RUNS PARALLEL program [program...]
# Each run is bounded (15 min); a run that fails keeps its output in
# build/soak/.  Needs the built tree (tools/build.sh) and its Wine prefix
# (one ctest run made it); the X display comes from DISPLAY or xvfb-run.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
runs=$1 parallel=$2
shift 2
out="$top/build/soak"
summary="$out/summary-$(echo "$@" | tr ' ' '-').txt"
mkdir -p "$out"
export WINEPREFIX="$top/build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" \
  QL_BIN_DIR="$top/build/bin" QL_SOURCE_DIR="$top" QL_WINE64=/usr/lib/wine/wine64 \
  QL_ARTIFACT_DIR="$top/build/artifacts"
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
failed=$(grep -vc 'exit 0 ' "$summary")
echo "soak: $(grep -c 'exit 0 ' "$summary") passed, $failed failed"
[ "$failed" -eq 0 ]
