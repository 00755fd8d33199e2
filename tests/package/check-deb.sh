#!/usr/bin/env bash
# Installs the Debian package into a temporary root with dpkg -x (no root rights, nothing touches
# the system), starts both programs from there, and validates the desktop entry, the MIME types and
# the AppStream metainfo it carries. Usage: check-deb.sh BUILD_DIR
set -euo pipefail
build=$1
src=$(cd "$(dirname "$0")/../.." && pwd)
deb=$(ls -t "$build"/package/kavio-studio_*.deb 2>/dev/null | head -n 1 || true)
# A package older than anything it holds is made again.
if [ -z "$deb" ] || [ -n "$(find "$src/dist" "$build/bin/kavio" "$build/bin/kavio-studio" "$build/lib" \
                              "$build/share/kavio" -type f -newer "$deb" -print -quit)" ]; then
  flock /tmp/kavio-build.lock cpack --config "$build/CPackConfig.cmake" -B "$build/package" >/dev/null
  deb=$(ls -t "$build"/package/kavio-studio_*.deb | head -n 1)
fi
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"
fail() { echo "FAIL: $*" >&2; exit 1; }

# The package depends on the libraries its programs load.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt5webenginewidgets5 libqt5widgets5 libquazip1-qt5-1; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done
# Nothing of the build tree: the libraries and plug-in are found next to the programs.
for f in "$root"/usr/bin/kavio "$root"/usr/bin/kavio-studio "$root"/usr/lib/kavio/plugins/libdesigner.so; do
  [ -f "$f" ] || fail "missing ${f#"$root"}"
  if readelf -d "$f" | grep -E 'R(UN)?PATH' | grep -q "$build"; then fail "${f#"$root"} looks into the build tree"; fi
done

help=$("$root/usr/bin/kavio" --help 2>&1) || fail "kavio --help: $help"
grep -q "export" <<<"$help" || fail "kavio --help lists no export: $help"
version=$(QT_QPA_PLATFORM=offscreen QTWEBENGINE_DISABLE_SANDBOX=1 "$root/usr/bin/kavio-studio" --version 2>&1) \
  || fail "kavio-studio --version: $version"
grep -q "designer" <<<"$version" || fail "kavio-studio --version loaded no designer plug-in: $version"
[ -f "$root/usr/share/kavio/resources/canvas/player/kvplayer.js" ] || fail "the player is not installed"

desktop-file-validate "$root/usr/share/applications/studio.kavio.KavioStudio.desktop"
appstreamcli validate --no-net "$root/usr/share/metainfo/studio.kavio.KavioStudio.metainfo.xml"
# The MIME types name the extensions, and each icon they name is installed.
mime="$root/usr/share/mime/packages/kavio-studio.xml"
for glob in '*.kavio' '*.kaviopack'; do grep -qF "pattern=\"$glob\"" "$mime" || fail "no MIME glob $glob"; done
for icon in apps/studio.kavio.KavioStudio mimetypes/application-x-kavio mimetypes/application-x-kaviopack; do
  [ -f "$root/usr/share/icons/hicolor/scalable/$icon.svg" ] || fail "missing icon $icon"
done
echo "checked $(basename "$deb") ($(stat -c %s "$deb") bytes)"
