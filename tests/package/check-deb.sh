#!/usr/bin/env bash
# Builds the Debian package with CPack and inspects it: contents, computed
# dependencies, and lintian without errors.
set -euo pipefail
build=$1 work=$2
rm -rf "$work"; mkdir -p "$work"
fail() { echo "FAIL: $*" >&2; exit 1; }
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" > cpack.log 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/quantorix_*.deb | head -1)
[ -f "$deb" ] || fail "no package written"
dpkg-deb -c "$deb" > "$work/contents.txt"
for f in ./usr/bin/quantorix ./usr/bin/qtx ./usr/share/applications/quantorix.desktop \
         ./usr/share/mime/packages/quantorix.xml ./usr/share/man/man1/qtx.1.gz \
         ./usr/share/metainfo/io.github.quantorix.Quantorix.metainfo.xml ./usr/share/doc/quantorix/copyright \
         ./usr/share/quantorix/skin/xpstyle/theme.ini ./usr/share/bash-completion/completions/qtx; do
  grep -q " $f\$" "$work/contents.txt" || fail "package lacks $f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libc6 fonts-wqy-microhei qt6-translations-l10n; do
  echo "$depends" | grep -q "$d" || fail "Depends lacks $d: $depends"
done
if command -v lintian > /dev/null; then
  lintian --fail-on error --tag-display-limit 0 "$deb" > "$work/lintian.txt" 2>&1 || { cat "$work/lintian.txt"; fail "lintian reports errors"; }
fi
echo "deb: ok ($(basename "$deb"))"
