#!/usr/bin/env bash
# Umbrascope's one-command set-up.
#
#   ./dev.sh run    install what is missing, build, start the program with the
#                   meter simulator beside it
#   ./dev.sh test   install what is missing, build, run every test (also under
#                   AddressSanitizer and UndefinedBehaviorSanitizer)
#
# Packages come from Debian's own archive. As root the script installs them with
# apt; as anyone else it prints the apt line to run and stops.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

packages=(
  g++ cmake make pkg-config
  qt6-base-dev fonts-dejavu-core
  xvfb xdotool x11-apps
  libgtest-dev libgmock-dev libbenchmark-dev
)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Umbrascope needs these Debian packages. Install them, then run this command again:" >&2
    echo "  sudo apt-get install -y ${missing[*]}" >&2
    exit 1
  fi
  echo "Installing ${missing[*]}" >&2
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

build() {  # build DIR [extra cmake arguments]
  local dir=$1; shift
  cmake -S "$here" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" --parallel "$jobs"
}

case "${1:-}" in
  run)
    install_missing
    build "$here/build"
    # Without a meter at hand, the simulator stands in for one: it appears in
    # the port list as ".../umbrascope/ports/metersim". It ends with the window.
    "$here/build/tools/metersim/umbrascope-metersim" &
    simulator=$!
    trap 'kill "$simulator" 2>/dev/null; wait "$simulator" 2>/dev/null' EXIT
    "$here/build/app/umbrascope"
    ;;
  test)
    install_missing
    build "$here/build"
    build "$here/build-sanitize" -DUMBRASCOPE_SANITIZE=ON
    echo "== tests under AddressSanitizer and UndefinedBehaviorSanitizer"
    (cd "$here/build-sanitize" && ctest --output-on-failure --parallel "$jobs")
    echo "== tests"
    cd "$here/build" && exec ctest --output-on-failure --parallel "$jobs"
    ;;
  *)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
