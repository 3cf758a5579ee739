#!/usr/bin/env bash
# Start-up of the game to its first painted frame, and its peak memory, against a bare Qt
# window built the same way. Both programs end at their first frame; each is run several
# times and the median wall time and peak resident memory are printed.
#
#   bench/startup/startup.sh [build-dir] [runs]
#
# The build directory (default build-bench) is configured as a Release build of the game; the
# game starts with a saved game on its command line (made by tomtura-sim), so that it paints
# the main window with a game in progress rather than the new-game dialog.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build-bench}
runs=${2:-15}
jobs=${JOBS:-2}

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$jobs" --target tomtura tomtura-sim >/dev/null
cmake -S "$root/bench/startup" -B "$build/startup-baseline" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/startup-baseline" -j "$jobs" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tomtura-sim" --games 1 --players 4 --seed 1 --max-turns 20 --save "$work/start.tom" >/dev/null

# Median of the numbers on stdin.
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# Runs a program `runs` times; prints "<median ms> <median peak KiB>".
measure() {
  local times="$work/times" peaks="$work/peaks"
  : >"$times"
  : >"$peaks"
  "$@" >/dev/null 2>&1 || true  # warm the file cache and the desktop registration
  for _ in $(seq "$runs"); do
    local start end
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$work/peak" "$@" >/dev/null 2>&1
    end=$(date +%s%N)
    echo $(((end - start) / 1000000)) >>"$times"
    cat "$work/peak" >>"$peaks"
  done
  echo "$(median <"$times") $(median <"$peaks")"
}

export TOMTURA_EXIT_AFTER_FIRST_FRAME=1
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
read -r game_ms game_kib < <(measure "$build/tomtura" "$work/start.tom")
read -r bare_ms bare_kib < <(measure "$build/startup-baseline/bare_window")

awk -v gm="$game_ms" -v gk="$game_kib" -v bm="$bare_ms" -v bk="$bare_kib" \
    -v platform="$QT_QPA_PLATFORM" -v runs="$runs" 'BEGIN {
  printf "platform %s, median of %d runs\n", platform, runs
  printf "%-12s %8s %12s\n", "", "ms", "peak KiB"
  printf "%-12s %8d %12d\n", "tomtura", gm, gk
  printf "%-12s %8d %12d\n", "bare window", bm, bk
  printf "%-12s %8.2f %12.2f\n", "ratio", gm / bm, gk / bk
}'
