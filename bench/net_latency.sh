#!/usr/bin/env bash
# How long a decision taken at one computer takes to reach the others over loopback (the
# replay wait of the windows left out): three tomtura-sim processes write the time of every
# decision as it is taken or arrives; the games are in lockstep, so line k of each file is the
# same decision. Prints the median, 95th percentile and maximum in microseconds.
# Usage: bench/net_latency.sh [GAMES] [BUILD_DIR]
set -euo pipefail
games=${1:-10}
build=${2:-build}
sim="$build/tomtura-sim"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

: >"$work/latencies"
for seed in $(seq 1 "$games"); do
  "$sim" --host --port 0 --players 3 --seed "$seed" --decision-times "$work/h.t" >"$work/h.out" 2>&1 &
  host=$!
  until grep -q '^port ' "$work/h.out" 2>/dev/null; do sleep 0.01; done
  port=$(awk '/^port /{print $2; exit}' "$work/h.out")
  "$sim" --join 127.0.0.1 --port "$port" --name Anna --seed 1 --decision-times "$work/a.t" \
    >/dev/null 2>&1 &
  anna=$!
  until grep -q '^joined Anna' "$work/h.out" 2>/dev/null; do sleep 0.01; done
  "$sim" --join 127.0.0.1 --port "$port" --name Bo --seed 2 --decision-times "$work/b.t" \
    >/dev/null 2>&1 || true
  wait "$host" "$anna" || true
  # For each decision: from the computer where it was taken to each computer it reached.
  paste -d' ' "$work/h.t" "$work/a.t" "$work/b.t" | awk '{
    n = 0; for (i = 1; i <= 5; i += 2) if ($(i + 1) == 0) { t = $i; n++ }
    if (n != 1) next
    for (i = 1; i <= 5; i += 2) if ($(i + 1) == 1) print ($i - t) / 1000
  }' >>"$work/latencies"
done
sort -n "$work/latencies" | awk '{ v[NR] = $1 } END {
  printf "decisions %d, median %.0f us, 95th percentile %.0f us, max %.0f us\n",
         NR, v[int(NR * 0.5) + 1], v[int(NR * 0.95) + 1], v[NR] }'
