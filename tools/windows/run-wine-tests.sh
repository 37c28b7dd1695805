#!/usr/bin/env bash
# Runs the Windows tests under Wine, in a Wine prefix of their own that is
# made fresh and removed afterwards.
#
#   tools/windows/run-wine-tests.sh [BUILD-DIR]     (default: build-windows-x64)
#
# Build first: cmake --preset windows-x64 && cmake --build --preset windows-x64
# Every *_tests.exe under BUILD-DIR runs. The serial tests get two COM ports
# whose far side tools/windows/PtyComPeer.cpp plays on pseudo-terminals:
# COM5 sends back every byte, COM6 goes away at the first byte it receives.
# With UMBRASCOPE_METERSIM naming the meter simulator (a program of this
# system, built by the Linux build), COM7 is the simulator, which leaves
# after its third reading as an unplugged meter would.
# The programs run on a virtual display of their own (Xvfb), where the tests
# of boxes and dialogs open real windows.
# With UMBRASCOPE_WINE_E2E naming the end-to-end test (a program of this
# system, built by the Linux build), it runs last: BUILD-DIR's Umbrascope.exe
# with the simulator as COM5 (the serial tests' ports are gone by then),
# driven with xdotool on the same display, and the installers: BUILD-DIR's
# umbrascope-*-x64.msi is installed and removed again.
# With UMBRASCOPE_X86_BUILD naming the 32-bit build folder, its program's
# manifest is read too and its installer read back (32-bit programs cannot
# run here).
# Ends with "N passed, N failed" and a non-zero status on any failure.
# Needs wine64, Xvfb and a host C++ compiler; only 64-bit programs run (no
# wine32).
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:-$here/build-windows-x64}" && pwd)
test_limit=300  # seconds one test program may take

. "$here/tools/windows/wine-session.sh"

mapfile -t programs < <(find "$build" -name '*_tests.exe' | sort)
if [ ${#programs[@]} -eq 0 ]; then
  echo "no *_tests.exe under $build: build it first (cmake --build --preset windows-x64)" >&2
  exit 2
fi

peer_pid='' peer_input='' meter_pid=''
cleanup() {
  if [ -n "$meter_pid" ]; then
    kill "$meter_pid" 2>/dev/null || true
    wait "$meter_pid" 2>/dev/null || true
  fi
  if [ -n "$peer_pid" ]; then
    exec {peer_input}>&-  # the peer ends when its input closes
    wait "$peer_pid" 2>/dev/null || true
  fi
  wine_session_stop
}
trap cleanup EXIT
trap 'exit 130' INT TERM

started=$SECONDS
wine_session_start

c++ -std=c++20 -O2 -Wall -Wextra -o "$work/pty-com-peer" "$here/tools/windows/PtyComPeer.cpp"
coproc PEER { exec "$work/pty-com-peer" "$WINEPREFIX/dosdevices" loopback:com5 hangup:com6 2>>"$work/wine.log"; }
# shellcheck disable=SC2153  # coproc sets PEER_PID
peer_pid=$PEER_PID peer_input=${PEER[1]}
if ! read -r -t 10 -u "${PEER[0]}" ready || [ "$ready" != ready ]; then
  cat "$work/wine.log" >&2
  echo "the COM port peer did not start" >&2
  exit 1
fi
export UMBRASCOPE_TEST_LOOPBACK_PORT='\\.\COM5' UMBRASCOPE_TEST_HANGUP_PORT='\\.\COM6'

# The built programs, whose resources the manifest tests read.
export UMBRASCOPE_TEST_EXE
UMBRASCOPE_TEST_EXE=$(windows_path "$build/app/Umbrascope.exe")
if [ -n "${UMBRASCOPE_X86_BUILD:-}" ]; then
  export UMBRASCOPE_TEST_EXE_X86
  UMBRASCOPE_TEST_EXE_X86=$(windows_path "$(cd "$UMBRASCOPE_X86_BUILD" && pwd)/app/Umbrascope.exe")
fi

if [ -n "${UMBRASCOPE_METERSIM:-}" ]; then
  "$UMBRASCOPE_METERSIM" --link "$WINEPREFIX/dosdevices/com7" --seed 7 --speed 60 --vanish-after 3 \
    >"$work/meter.out" 2>>"$work/wine.log" &
  meter_pid=$!
  # Its first line names the terminal, once the link is in place.
  for _ in $(seq 100); do
    [ -s "$work/meter.out" ] && break
    sleep 0.1
  done
  if ! grep -q '^/dev/' "$work/meter.out"; then
    cat "$work/wine.log" >&2
    echo "the meter simulator did not start" >&2
    exit 1
  fi
  export UMBRASCOPE_TEST_METER_PORT='\\.\COM7'
fi
echo "== prefix and ports ready after $((SECONDS - started)) s"

passed=0 failed=0 skipped=0
count() {  # count PATTERN FILE: N from GoogleTest's "[  ...  ] N tests" line
  # The program's own summary is its last: a test that starts a copy of its
  # program shows that copy's summary before it.
  sed -n "s/^\[  $1 *\] \([0-9]*\) tests\{0,1\}[.,].*/\1/p" "$2" | tail -n 1
}
run_counted() {  # run_counted NAME COMMAND...: runs a GoogleTest program and adds up its results
  local name=$1; shift
  echo "== $name"
  local log=$work/$(basename "$name").log status=0
  timeout "$test_limit" "$@" --gtest_color=no >"$log.raw" 2>&1 || status=$?
  tr -d '\r' <"$log.raw" | tee "$log"
  local ran_ok ran_failed ran_skipped
  ran_ok=$(count PASSED "$log")
  ran_failed=$(count FAILED "$log")
  ran_skipped=$(count SKIPPED "$log")
  passed=$((passed + ${ran_ok:-0}))
  skipped=$((skipped + ${ran_skipped:-0}))
  if [ -n "$ran_failed" ]; then
    failed=$((failed + ran_failed))
  elif [ "$status" -ne 0 ] || [ -z "$ran_ok" ]; then
    # Crashed, hung or never reached its summary: the program counts as one failure.
    echo "!! $name ended with status $status before its summary"
    failed=$((failed + 1))
  fi
}

for program in "${programs[@]}"; do
  run_counted "${program#"$build"/}" "$wine" "$program"
done

if [ -n "${UMBRASCOPE_WINE_E2E:-}" ]; then
  # COM5 becomes the simulator's: the loopback peer goes first.
  exec {peer_input}>&-
  wait "$peer_pid" 2>/dev/null || true
  peer_pid=''
  if [ -e "$build/app/Umbrascope.exe" ]; then
    msi=$(find "$build" -maxdepth 1 -name 'umbrascope-*-x64.msi' | head -n 1)
    msi_x86=''
    if [ -n "${UMBRASCOPE_X86_BUILD:-}" ]; then
      msi_x86=$(find "$UMBRASCOPE_X86_BUILD" -maxdepth 1 -name 'umbrascope-*-x86.msi' | head -n 1)
    fi
    UMBRASCOPE_WINE=$wine UMBRASCOPE_EXE=$build/app/Umbrascope.exe UMBRASCOPE_MSI=$msi UMBRASCOPE_MSI_X86=$msi_x86 \
      run_counted "$(basename "$UMBRASCOPE_WINE_E2E")" "$UMBRASCOPE_WINE_E2E"
  else
    echo "!! no Umbrascope.exe under $build for the end-to-end test"
    failed=$((failed + 1))
  fi
fi

if [ $((passed + failed)) -eq 0 ]; then
  echo "!! no test ran"
  failed=1
fi
echo "== Wine run took $((SECONDS - started)) s; $skipped skipped"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
