#!/usr/bin/env bash
# Rewrites NAME.out for the given scenario scripts (review the diff!), or with
# --check only compares what the scripts print now with NAME.out.
# usage: tests/scenarios/regen.sh [--check] build/bin/qtx tests/scenarios/NAME.qtxs ...
set -u
check=0
if [ "${1:-}" = "--check" ]; then check=1; shift; fi
qtx=$(realpath "$1"); shift
status=0
for script in "$@"; do
  script=$(realpath "$script")
  work=$(mktemp -d)
  expected="${script%.qtxs}.out"
  out=$expected
  [ $check -eq 1 ] && out="$work/actual.out"
  (cd "$work" && QUANTORIX_SETTINGS="$work/settings.ini" XDG_CACHE_HOME="$work/cache" QT_QPA_PLATFORM=offscreen \
     "$qtx" run "$script" | sed "s|$work|<work>|g" > "$out"; echo "exit=${PIPESTATUS[0]}" >> "$out"
   if [ -f "${script%.qtxs}.then" ]; then
     while IFS= read -r line; do
       echo "\$ qtx $line" >> "$out"
       eval "\"$qtx\" $line" 2>&1 | sed "s|$work|<work>|g" >> "$out"; echo "exit=${PIPESTATUS[0]}" >> "$out"
     done < "${script%.qtxs}.then"
   fi)
  if [ $check -eq 1 ]; then
    if ! diff -u "$expected" "$out" > "$work/diff"; then
      echo "differs: $(basename "$script")"; cat "$work/diff"; status=1
    fi
  fi
  rm -rf "$work"
done
exit $status
