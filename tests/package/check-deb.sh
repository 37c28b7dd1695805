#!/bin/sh
# Makes the Debian package into a folder of its own and checks what a user
# installing it gets: the files under /usr and nothing else, dependencies
# that dpkg-shlibdeps worked out from the binaries, and a desktop entry and
# metainfo file that the validators accept.
#
# usage: check-deb.sh CPACK BUILD_DIR VERSION APP_ID
set -eu
cpack=$1 build=$2 version=$3 id=$4

for tool in dpkg-shlibdeps file; do
  if ! command -v "$tool" >/dev/null; then
    echo "skipped: $tool is not installed (./dev.sh test installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
status=0
fail() {
  echo "FAILED: $*"
  status=1
}

if ! (cd "$build" && "$cpack" -G DEB -B "$work/out") >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  echo "FAILED: cpack could not make the package"
  exit 1
fi
deb="$work/out/umbrascope_${version}_$(dpkg --print-architecture).deb"
if [ ! -f "$deb" ]; then
  echo "FAILED: no $(basename "$deb"); cpack made:"
  ls "$work/out"
  exit 1
fi

# Exactly these files, so that neither a missing one nor a stray test binary
# or header goes unnoticed.
dpkg-deb --contents "$deb" | awk '$1 ~ /^-/ { print $6 }' | sort >"$work/files"
sort >"$work/expected" <<LIST
./usr/bin/umbrascope
./usr/bin/umbrascope-metersim
./usr/share/applications/$id.desktop
./usr/share/icons/hicolor/256x256/apps/umbrascope.png
./usr/share/icons/hicolor/scalable/apps/umbrascope.svg
./usr/share/metainfo/$id.metainfo.xml
LIST
if ! diff -u "$work/expected" "$work/files"; then
  fail "the package's files differ from the list above (- missing, + unexpected)"
fi

[ "$(dpkg-deb -f "$deb" Package)" = umbrascope ] || fail "Package: $(dpkg-deb -f "$deb" Package)"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "Version: $(dpkg-deb -f "$deb" Version)"

# dpkg-shlibdeps writes each library package with the lowest version that
# has every symbol the binaries use; a hand-written list rarely has them.
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for package in libqt6widgets6 libqt6gui6 libqt6core6 libstdc++6 libc6; do
  echo "$depends" | tr ',' '\n' | awk -v p="$package" '$1 == p && $2 == "(>=" { found = 1 } END { exit !found }' ||
    fail "Depends lacks $package with a version worked out from the binaries"
done

dpkg-deb -x "$deb" "$work/root"
if ! "$work/root/usr/bin/umbrascope-metersim" --help >/dev/null; then
  fail "the packaged simulator does not run"
fi

# Both validators must have nothing at all to say.
if command -v desktop-file-validate >/dev/null; then
  report=$(desktop-file-validate "$work/root/usr/share/applications/$id.desktop" 2>&1) || true
  [ -z "$report" ] || fail "desktop-file-validate: $report"
else
  echo "not validated: desktop-file-validate is not installed"
fi
if command -v appstreamcli >/dev/null; then
  if ! report=$(appstreamcli validate --no-net --pedantic "$work/root/usr/share/metainfo/$id.metainfo.xml" 2>&1) ||
     echo "$report" | grep -Eq '^[IWEP]: '; then
    fail "appstreamcli validate: $report"
  fi
else
  echo "not validated: appstreamcli is not installed"
fi

exit "$status"
