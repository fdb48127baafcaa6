#!/usr/bin/env bash
# Installs the build into a temporary prefix and runs the installed programs
# from there, with the build tree out of reach.
set -euo pipefail
build=$1 work=$2
rm -rf "$work"; mkdir -p "$work"
prefix=$work/prefix
cmake --install "$build" --prefix "$prefix" > "$work/install.log"
fail() { echo "FAIL: $*" >&2; exit 1; }
for f in bin/quantorix bin/qtx share/applications/quantorix.desktop share/mime/packages/quantorix.xml \
         share/icons/hicolor/scalable/apps/quantorix.svg share/metainfo/io.github.quantorix.Quantorix.metainfo.xml \
         share/man/man1/qtx.1.gz share/man/man1/quantorix.1.gz share/bash-completion/completions/qtx \
         share/quantorix/examples/sample.qtx share/doc/quantorix/copyright share/quantorix/skin/xpstyle/theme.ini; do
  [ -e "$prefix/$f" ] || fail "not installed: $f"
done
# Nothing installed may name the build tree.
if grep -rl --binary-files=text -F "$build" "$prefix" > "$work/build-paths.txt"; then
  fail "installed files name the build tree: $(cat "$work/build-paths.txt")"
fi
cd "$work"
export QUANTORIX_SETTINGS=$work/settings.ini
"$prefix/bin/quantorix" --version | grep -Eq '^quantorix \(Quantorix\) [0-9]+\.[0-9]+' || fail "quantorix --version"
"$prefix/bin/qtx" --version | grep -Eq '^qtx \(Quantorix\) [0-9]+\.[0-9]+' || fail "qtx --version"
[ "$("$prefix/bin/qtx" calc "1+2*3")" = "1+2*3=7.00" ] || fail "qtx calc"
"$prefix/bin/qtx" dump "$prefix/share/quantorix/examples/sample.qtx" | grep -q '^layout=150' || fail "qtx dump of the installed example"
"$prefix/bin/qtx" calc --help | grep -q '^usage: qtx calc' || fail "qtx calc --help"
"$prefix/bin/qtx" --help | grep -q 'qtx run' || fail "qtx --help"
set +e; "$prefix/bin/qtx" frobnicate 2>/dev/null; rc=$?; set -e
[ $rc -eq 2 ] || fail "unknown subcommand exits $rc, not 2"
zcat "$prefix/share/man/man1/qtx.1.gz" | man -l - > /dev/null 2>&1 || fail "qtx(1) does not render"
bash -c "source '$prefix/share/bash-completion/completions/qtx'; COMP_WORDS=(qtx ca); COMP_CWORD=1; _qtx; [ \"\${COMPREPLY[*]}\" = calc ]" \
  || fail "bash completion of 'qtx ca'"
echo "install: ok"
