# Sourced by the Wine runners: a Wine prefix of its own, made fresh in a
# temporary folder, and a virtual display (Xvfb) for the programs' windows,
# on which Wine creates every window, hidden ones too.
#
#   wine_session_start   checks for Wine and Xvfb, then sets wine, wineserver
#                        and work (the temporary folder), and exports
#                        WINEPREFIX, HOME and DISPLAY
#   wine_session_stop    ends the Wine server and the display, removes work
#   windows_path PATH    the Windows name of a Linux path (drive Z: is /)

wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver64 || command -v wineserver || echo /usr/lib/wine/wineserver64)
work='' wine_display_pid=''

wine_session_start() {
  if [ ! -x "$wine" ] || [ ! -x "$wineserver" ]; then
    echo "Wine is missing: apt-get install --no-install-recommends wine64" >&2
    exit 2
  fi
  if ! command -v Xvfb >/dev/null; then
    echo "Xvfb is missing: apt-get install --no-install-recommends xvfb" >&2
    exit 2
  fi
  work=$(mktemp -d "${TMPDIR:-/tmp}/umbrascope-wine-XXXXXX")
  export WINEPREFIX=$work/prefix WINEDEBUG=-all
  # A home of their own: a new prefix links its Documents to the home's,
  # where the programs would otherwise write.
  export HOME=$work/home
  mkdir -p "$HOME"
  # No installers for Mono and Gecko, which a new prefix would offer.
  export WINEDLLOVERRIDES="mscoree,mshtml="

  # The server picks a free display number and writes it once it listens.
  # Its screen is one a 200 % window fits on, as dense screens are large.
  Xvfb -displayfd 3 -screen 0 2560x1600x24 -nolisten tcp 3>"$work/display" 2>>"$work/xvfb.log" &
  wine_display_pid=$!
  for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    sleep 0.1
  done
  if [ ! -s "$work/display" ]; then
    cat "$work/xvfb.log" >&2
    echo "Xvfb did not start" >&2
    exit 1
  fi
  export DISPLAY=":$(head -n 1 "$work/display")"

  echo "== making a Wine prefix in $WINEPREFIX"
  # The server started here writes its diagnostics to this log too.
  if ! timeout 300 "$wine" wineboot -i >"$work/wine.log" 2>&1; then
    cat "$work/wine.log" >&2
    echo "wineboot failed" >&2
    exit 1
  fi
}

wine_session_stop() {
  [ -n "$work" ] || return 0
  # The prefix goes, so nothing of the server's is worth the few seconds it
  # would wait before ending by itself.
  "$wineserver" -k 2>/dev/null || true
  if [ -n "$wine_display_pid" ]; then
    kill "$wine_display_pid" 2>/dev/null || true
    wait "$wine_display_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
  work=''
}

windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
