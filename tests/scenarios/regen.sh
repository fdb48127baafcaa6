#!/usr/bin/env bash
# Rewrites NAME.out for the given scenario scripts (review the diff!).
# usage: tests/scenarios/regen.sh build/bin/qtx tests/scenarios/NAME.qtxs ...
set -u
qtx=$(realpath "$1"); shift
for script in "$@"; do
  script=$(realpath "$script")
  work=$(mktemp -d)
  out="${script%.qtxs}.out"
  (cd "$work" && QUANTORIX_SETTINGS="$work/settings.ini" XDG_CACHE_HOME="$work/cache" QT_QPA_PLATFORM=offscreen \
     "$qtx" run "$script" > "$out"; echo "exit=$?" >> "$out"
   if [ -f "${script%.qtxs}.then" ]; then
     while IFS= read -r line; do
       echo "\$ qtx $line" >> "$out"
       eval "\"$qtx\" $line" >> "$out" 2>&1; echo "exit=$?" >> "$out"
     done < "${script%.qtxs}.then"
   fi)
  rm -rf "$work"
done
