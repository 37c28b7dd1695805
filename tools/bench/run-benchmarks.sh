#!/usr/bin/env bash
# Runs the benchmarks of one build and keeps each program's results as
# Google Benchmark's JSON in OUT-DIR, for tools/bench/bench-table.py.
#
#   tools/bench/run-benchmarks.sh linux BUILD-DIR OUT-DIR   (build/)
#   tools/bench/run-benchmarks.sh wine BUILD-DIR OUT-DIR    (build-windows-x64/, under Wine)
#
# The process' memory is measured in a run of its own, so that its peak is
# that of the chart alone and not of the benchmarks before it.
# Under Wine the programs run in a prefix of their own on a virtual display:
# the chart is a control, and Wine creates its window on a display.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
platform=${1:?linux or wine}
build=$(cd "${2:?the build folder}" && pwd)
out=${3:?the folder for the results}
mkdir -p "$out"
out=$(cd "$out" && pwd)

case "$platform" in
  linux)
    suffix=''
    export QT_QPA_PLATFORM=offscreen
    run() { "$@"; }
    out_path() { echo "$1"; }
    ;;
  wine)
    suffix=.exe
    . "$here/tools/windows/wine-session.sh"
    trap wine_session_stop EXIT
    trap 'exit 130' INT TERM
    wine_session_start
    run() { "$wine" "$@"; }
    out_path() { windows_path "$1"; }
    ;;
  *)
    echo "usage: $0 linux|wine BUILD-DIR OUT-DIR" >&2
    exit 2
    ;;
esac

# program, filter (- in front: all but those), results file
runs=(
  "SeriesBench . SeriesBench"
  "CanvasBench . CanvasBench"
  "ChartBench -BM_ProcessMemory ChartBench"
  "ChartBench BM_ProcessMemory ChartMemory"
  "serial_bench . SerialBench"
)
for entry in "${runs[@]}"; do
  read -r program filter name <<<"$entry"
  executable=$build/bench/$program$suffix
  if [ ! -e "$executable" ]; then
    # The serial driver's benchmarks need a pseudo-terminal: Linux only.
    [ "$program" = serial_bench ] && continue
    echo "no $executable: build the benchmarks first" >&2
    exit 2
  fi
  echo "== $platform: $program $filter"
  run "$executable" --benchmark_filter="$filter" \
    --benchmark_out="$(out_path "$out/$name.json")" --benchmark_out_format=json
done
