#!/usr/bin/env bash
# Network games between tomtura-sim processes over loopback: a host and two clients play
# seeded games; counts the games whose three saved games hold the same game (who sits where
# aside, which differs by computer by design), and the wall time per game.
# Usage: bench/net_games.sh [GAMES] [BUILD_DIR]
set -euo pipefail
games=${1:-100}
build=${2:-build}
sim="$build/tomtura-sim"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

same=0
ended=0
start=$(date +%s.%N)
for seed in $(seq 1 "$games"); do
  "$sim" --host --port 0 --players 3 --seed "$seed" --save "$work/h.tom" >"$work/h.out" 2>&1 &
  host=$!
  until grep -q '^port ' "$work/h.out" 2>/dev/null; do sleep 0.01; done
  port=$(awk '/^port /{print $2; exit}' "$work/h.out")
  "$sim" --join 127.0.0.1 --port "$port" --name Anna --seed $((seed + 1000)) \
    --save "$work/a.tom" >"$work/a.out" 2>&1 &
  anna=$!
  until grep -q '^joined Anna' "$work/h.out" 2>/dev/null; do sleep 0.01; done
  "$sim" --join 127.0.0.1 --port "$port" --name Bo --seed $((seed + 2000)) \
    --save "$work/b.tom" >"$work/b.out" 2>&1 || true
  wait "$host" || true
  wait "$anna" || true
  grep -q '^game over' "$work/h.out" && ended=$((ended + 1))
  # The saved games with each player's isComputer field (bytes 16-17 of his record) cleared.
  strip() { python3 -c "import sys
b = bytearray(open(sys.argv[1], 'rb').read())
for i in range(6): b[2 + 34 * i + 16:2 + 34 * i + 18] = b'\0\0'
sys.stdout.buffer.write(b)" "$1"; }
  if cmp -s <(strip "$work/h.tom") <(strip "$work/a.tom") &&
     cmp -s <(strip "$work/h.tom") <(strip "$work/b.tom"); then
    same=$((same + 1))
  fi
done
end=$(date +%s.%N)
echo "games $games, identical on all three computers $same, ended with a winner $ended"
echo "wall time per game $(echo "scale=1; ($end - $start) * 1000 / $games" | bc) ms"
