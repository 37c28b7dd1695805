#!/usr/bin/env bash
# Umbrascope's one-command set-up.
#
#   ./dev.sh run      install what is missing, build the program and the meter
#                     simulator, start both; the simulator plays a night from
#                     dusk, 30 simulated seconds to the real one
#   ./dev.sh test     install what is missing, build everything, run every test
#                     plainly and again under AddressSanitizer and
#                     UndefinedBehaviorSanitizer, build the Windows targets and
#                     run their tests under Wine, and end with how each pass went
#   ./dev.sh package  install what is missing, build the program and the
#                     simulator and make the Debian package umbrascope_<version>_<arch>.deb
#                     in this folder
#   ./dev.sh bench    install what is missing, build the benchmarks for Linux
#                     and for 64-bit Windows, run them on Linux and under Wine,
#                     and print one table of their figures, each platform's in
#                     a column, with the chart's goals
#   ./dev.sh windows  install what is missing, cross-compile Umbrascope.exe for
#                     64-bit and 32-bit Windows and pack each with its read-me as
#                     umbrascope-<version>-windows-x64.zip and -x86.zip, and as the
#                     installers umbrascope-<version>-x64.msi and -x86.msi, in this folder
#
# Packages come from Debian's own archive. As root the script installs them with
# apt; as anyone else it prints the apt line to run and stops.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

# What configuring build/ needs. Every command configures it alike, so one
# build folder serves them all and none of them rebuilds what another built.
build_packages=(
  g++ cmake make pkg-config
  qt6-base-dev fonts-dejavu-core
  libgtest-dev libgmock-dev libbenchmark-dev
)
# The package's dependencies are read off the binaries by dpkg-shlibdeps, which
# CPack finds ELF files for with `file`.
package_packages=(dpkg-dev file)
# The end-to-end test drives the real program on a virtual display; the package
# test builds the package and validates its desktop entry and metainfo.
test_packages=(
  xvfb xdotool x11-apps
  "${package_packages[@]}" desktop-file-utils appstream
)
# The Windows build: MinGW-w64 for both Windows targets, GoogleTest's source
# (Debian has no MinGW build of it), wixl for the installers, and Wine to run
# the 64-bit tests with msitools to read the installers back; this kind of
# machine cannot run 32-bit programs, so the 32-bit build is only compiled
# and linked.
# Google Benchmark for Windows is built from Debian's source package, which
# dpkg-source unpacks.
benchmark_source_packages=(dpkg-dev)
windows_build_packages=(
  cmake make g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix googletest wixl
)
windows_packages=("${windows_build_packages[@]}" wine64 msitools "${benchmark_source_packages[@]}")
# The benchmarks run under Wine on a virtual display; python3 prints their table.
bench_packages=("${windows_build_packages[@]}" "${benchmark_source_packages[@]}" wine64 xvfb python3)

install_missing() {  # install_missing PACKAGE...
  local missing=()
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    # No sudo in the line: a fresh machine may not have it, and whoever has
    # it knows to put it in front.
    echo "Umbrascope needs these Debian packages. Install them as root (or with sudo in front):" >&2
    echo "  apt-get install -y --no-install-recommends ${missing[*]}" >&2
    echo "then run this command again." >&2
    exit 1
  fi
  echo "Installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

configure() {  # configure DIR [extra cmake arguments]
  local dir=$1; shift
  # A compiler cache where there is one; nothing depends on it, and a cache
  # removed since the last run is dropped from the configuration again.
  local launcher=
  command -v ccache >/dev/null && launcher=ccache
  cmake -S "$here" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher" "$@" >/dev/null
}

build_programs() {  # the monitor and the simulator, nothing else
  configure "$here/build"
  cmake --build "$here/build" --parallel "$jobs" --target umbrascope umbrascope-metersim
}

windows_configure() {  # windows_configure PRESET [extra cmake arguments]
  local preset=$1; shift
  local launcher=
  command -v ccache >/dev/null && launcher=ccache
  (cd "$here" && cmake --preset "$preset" -DCMAKE_CXX_COMPILER_LAUNCHER="$launcher" "$@" >/dev/null)
}

windows_build() {  # windows_build PRESET [cmake --build arguments]
  local preset=$1; shift
  windows_configure "$preset" && (cd "$here" && cmake --build --preset "$preset" --parallel "$jobs" "$@")
}

# Debian builds Google Benchmark for the host only. The Windows benchmarks
# build it from Debian's source package of the host's version, fetched once
# into build-windows-src/ through a source list of its own there, which
# leaves the system's apt configuration alone. Prints the tree's path.
benchmark_source() {
  local version
  version=$(dpkg-query -W -f='${Version}' libbenchmark-dev)
  local dir="$here/build-windows-src" tree="$here/build-windows-src/benchmark-${version%-*}"
  if [ ! -f "$tree/CMakeLists.txt" ]; then
    mkdir -p "$dir/lists/partial" "$dir/cache/archives/partial"
    local codename
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    printf '%s\n' "Types: deb-src" "URIs: http://deb.debian.org/debian" "Suites: $codename" "Components: main" \
      "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" >"$dir/source.sources"
    local apt=(-o Dir::Etc::SourceList="$dir/source.sources" -o Dir::Etc::SourceParts=/dev/null
      -o Dir::State::Lists="$dir/lists" -o Dir::Cache="$dir/cache" -o APT::Sandbox::User="$(id -un)")
    echo "Fetching Google Benchmark $version's source from Debian" >&2
    apt-get "${apt[@]}" -qq update >&2
    (cd "$dir" && apt-get "${apt[@]}" -qq source "benchmark=$version" >&2)
  fi
  echo "$tree"
}

summary=()
failed=0

# windows_pass: builds the Windows program and tests and runs the tests under
# Wine, Umbrascope.exe end to end last, noted in the summary like the other
# passes.
windows_pass() {
  local name="Windows pass (MinGW-w64, tests under Wine)" preset source
  # The 64-bit build builds the benchmarks too, so that they keep building
  # for Windows; ./dev.sh bench runs them.
  if ! source=$(benchmark_source) || ! windows_configure windows-x64 -DUMBRASCOPE_BENCHMARK_SOURCE="$source"; then
    summary+=("$name: FAILED, Google Benchmark's source could not be fetched or the build not configured")
    failed=1
    return 0
  fi
  for preset in windows-x64 windows-x86; do
    echo "== $name: build $preset"
    if ! windows_build "$preset" --target all umbrascope_msi; then
      summary+=("$name: FAILED, the $preset build failed")
      failed=1
      return 0
    fi
  done
  # The Windows driver test talks to the meter simulator, a Linux program,
  # and the end-to-end test of Umbrascope.exe drives it from Linux.
  echo "== $name: the meter simulator and the end-to-end test"
  if ! { configure "$here/build" &&
    cmake --build "$here/build" --parallel "$jobs" --target umbrascope-metersim e2e_wine_tests; }; then
    summary+=("$name: FAILED, the meter simulator or the end-to-end test did not build")
    failed=1
    return 0
  fi
  echo "== $name: tests"
  local log="$here/build-windows-x64/wine-tests.log"
  if UMBRASCOPE_METERSIM="$here/build/tools/metersim/umbrascope-metersim" \
    UMBRASCOPE_WINE_E2E="$here/build/tests/e2e/e2e_wine_tests" UMBRASCOPE_X86_BUILD="$here/build-windows-x86" \
    "$here/tools/windows/run-wine-tests.sh" "$here/build-windows-x64" 2>&1 | tee "$log"; then
    summary+=("$name: passed, $(tail -1 "$log")")
    return 0
  fi
  summary+=("$name: FAILED, $(tail -1 "$log")")
  failed=1
}

# test_pass NAME DIR [extra cmake arguments]: builds everything in DIR and runs
# its tests, and notes how it went in the summary. A failure of either step
# fails the pass but not the script, so the other pass still runs.
test_pass() {
  local name=$1 dir=$2; shift 2
  echo "== $name: build"
  if ! { configure "$dir" "$@" && cmake --build "$dir" --parallel "$jobs"; }; then
    summary+=("$name: FAILED, the build failed")
    failed=1
    return
  fi
  echo "== $name: tests"
  local log="$dir/Testing/dev-sh-ctest.log"
  mkdir -p "$dir/Testing"
  if (cd "$dir" && ctest --output-on-failure --parallel "$jobs") 2>&1 | tee "$log"; then
    summary+=("$name: passed, $(grep -E 'tests passed' "$log" | tail -1 || true)")
    return
  fi
  failed=1
  local counts names
  counts=$(grep -E 'tests passed' "$log" | tail -1 || true)
  # ctest lists the failed tests here as "number:name", one a line.
  names=$(cut -d: -f2- "$dir/Testing/Temporary/LastTestsFailed.log" 2>/dev/null | paste -sd ' ' || true)
  summary+=("$name: FAILED, ${counts:-ctest ended without its summary}")
  [ -n "$names" ] && summary+=("  failed: $names")
  return 0
}

case "${1:-}" in
  run)
    install_missing "${build_packages[@]}"
    build_programs
    # Without a meter at hand, the simulator stands in for one: it appears in
    # the port list as "sim". It starts at sunset and runs at 30 times the
    # real pace, with the moon up at 23:00, so the sky darkens within minutes,
    # clouds pass and the moon rises; by the real clock daytime readings would
    # sit below the chart and a night would take a night. It ends with the
    # window.
    "$here/build/tools/metersim/umbrascope-metersim" --start 20:00 --speed 30 --moonrise 23:00 &
    simulator=$!
    trap 'kill "$simulator" 2>/dev/null; wait "$simulator" 2>/dev/null' EXIT
    "$here/build/app/umbrascope"
    ;;
  test)
    install_missing "${build_packages[@]}" "${test_packages[@]}" "${windows_packages[@]}"
    test_pass "plain pass" "$here/build"
    test_pass "sanitizer pass (AddressSanitizer and UndefinedBehaviorSanitizer)" "$here/build-sanitize" \
      -DUMBRASCOPE_SANITIZE=ON
    windows_pass
    echo "== summary"
    printf '%s\n' "${summary[@]}"
    exit "$failed"
    ;;
  package)
    install_missing "${build_packages[@]}" "${package_packages[@]}"
    build_programs
    (cd "$here/build" && cpack -G DEB -B "$here/build/package")
    mv "$here"/build/package/umbrascope_*.deb "$here/"
    ls "$here"/umbrascope_*.deb
    ;;
  bench)
    install_missing "${build_packages[@]}" "${bench_packages[@]}"
    configure "$here/build"
    cmake --build "$here/build" --parallel "$jobs" --target SeriesBench CanvasBench ChartBench serial_bench
    windows_configure windows-x64 -DUMBRASCOPE_BENCHMARK_SOURCE="$(benchmark_source)"
    windows_build windows-x64 --target SeriesBench CanvasBench ChartBench
    results=$here/build/bench-results
    rm -rf "$results"
    "$here/tools/bench/run-benchmarks.sh" linux "$here/build" "$results/linux"
    "$here/tools/bench/run-benchmarks.sh" wine "$here/build-windows-x64" "$results/wine"
    echo "== the benchmarks' figures (Wine's are not Windows' figures: see the README)"
    python3 "$here/tools/bench/bench-table.py" Linux="$results/linux" Wine="$results/wine"
    ;;
  windows)
    install_missing "${windows_build_packages[@]}"
    for preset in windows-x64 windows-x86; do
      windows_build "$preset" --target umbrascope_zip umbrascope_msi
      cp "$here/build-$preset"/umbrascope-*-"${preset#windows-}".{zip,msi} "$here/"
    done
    ls "$here"/umbrascope-*-windows-*.zip "$here"/umbrascope-*-x*.msi
    ;;
  *)
    echo "usage: $0 run|test|bench|package|windows" >&2
    exit 2
    ;;
esac
