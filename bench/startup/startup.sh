#!/usr/bin/env bash
# Start-up of the game to its first painted frame against a bare Qt window built the same way:
# wall time, processor time (user and system) and peak resident memory. Both programs end at
# their first frame. They run in pairs, the game and then the window, so that both see the same
# machine; the medians of each are printed with their ratios.
#
#   bench/startup/startup.sh [build-dir] [pairs]
#
# The build directory (default build-bench) is configured as a Release build of the game; the
# game starts with a saved game of four players on its command line (made by tomtura-sim), so
# that it paints the main window with a game in progress rather than the new-game dialog. It
# runs with the default options (sound and music on) in an empty configuration folder, on SDL's
# silent audio driver unless SDL_AUDIODRIVER names another. Without QT_QPA_PLATFORM the pairs
# run on a virtual X server of 1366 x 768 (xvfb-run); QT_QPA_PLATFORM=offscreen runs them
# without one.
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build-bench}
pairs=${2:-15}
jobs=${JOBS:-2}

if [ -z "${QT_QPA_PLATFORM:-}" ] && [ -z "${TOMTURA_STARTUP_ON_XVFB:-}" ]; then
  export TOMTURA_STARTUP_ON_XVFB=1 QT_QPA_PLATFORM=xcb
  exec xvfb-run -a -s "-screen 0 1366x768x24" "$0" "$@"
fi

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j "$jobs" --target tomtura tomtura-sim >/dev/null
cmake -S "$root/bench/startup" -B "$build/startup-baseline" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build/startup-baseline" -j "$jobs" >/dev/null
measure=$build/startup-baseline/measure

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/tomtura-sim" --games 1 --players 4 --seed 1 --max-turns 20 --save "$work/start.tom" >/dev/null

export TOMTURA_EXIT_AFTER_FIRST_FRAME=1
export SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy}
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
game=("$build/tomtura" "$work/start.tom")
bare=("$build/startup-baseline/bare_window")

# Warms the file cache and the desktop registration of the game.
"$measure" "${game[@]}" >/dev/null || true
"$measure" "${bare[@]}" >/dev/null || true
for _ in $(seq "$pairs"); do
  "$measure" "${game[@]}" >>"$work/game"
  "$measure" "${bare[@]}" >>"$work/bare"
done

# Median of column $1 of a file.
median() { awk -v c="$1" '{ print $c }' "$2" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

awk -v gw="$(median 1 "$work/game")" -v gc="$(median 2 "$work/game")" \
    -v gp="$(median 3 "$work/game")" -v bw="$(median 1 "$work/bare")" \
    -v bc="$(median 2 "$work/bare")" -v bp="$(median 3 "$work/bare")" \
    -v platform="$QT_QPA_PLATFORM" -v audio="$SDL_AUDIODRIVER" -v pairs="$pairs" 'BEGIN {
  printf "platform %s, audio %s, median of %d pairs\n", platform, audio, pairs
  printf "%-12s %10s %10s %12s\n", "", "wall ms", "cpu ms", "peak MiB"
  printf "%-12s %10.0f %10.0f %12.1f\n", "tomtura", gw, gc, gp / 1024
  printf "%-12s %10.0f %10.0f %12.1f\n", "bare window", bw, bc, bp / 1024
  printf "%-12s %10.2f %10.2f %12.2f\n", "ratio", gw / bw, gc / bc, gp / bp
}'
