#!/usr/bin/env bash
# Network games between tomtura-sim processes over loopback, seeded, one after another.
# Usage: bench/net_games.sh [GAMES] [BUILD_DIR] [MODE]
#   plain     a host and two clients play; the games whose saved games agree on all three
#             computers, those that ended with a winner, and the wall time per game.
#   rejoin    the same, but client Bo is killed with SIGKILL at a throw of his drawn from the
#             seed (1..30) and started again with his name; the host waits for him (--grace 120
#             --on-drop wait). Also: how many were killed, and the longest rejoin (from his
#             second Join to the moment his computer has caught up with the game).
#   computer  the host seats a computer player (--computers 1, four players), Bo is killed the
#             same way and not started again, and the host's computer plays his seat
#             (--on-drop computer); the games that ended with a winner.
# Who sits where differs by computer by design: each record's isComputer field and its reserved
# bytes (the host's strength mark) are left out of the comparison.
set -euo pipefail
games=${1:-100}
build=${2:-build}
mode=${3:-plain}
sim="$build/tomtura-sim"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

strip() {
  python3 -c "import sys
b = bytearray(open(sys.argv[1], 'rb').read())
for i in range(6):
    r = 2 + 34 * i
    b[r:r + 2] = b'\0\0'
    b[r + 16:r + 18] = b'\0\0'
sys.stdout.buffer.write(b)" "$1"
}
agree() {
  local first=$1
  shift
  for other in "$@"; do
    [ -s "$other" ] && cmp -s <(strip "$first") <(strip "$other") || return 1
  done
}
wait_for() {  # file pattern
  for _ in $(seq 1 2000); do
    grep -q "$2" "$1" 2>/dev/null && return 0
    sleep 0.01
  done
  return 1
}

same=0
ended=0
killed=0
longest=0
start=$(date +%s.%N)
for seed in $(seq 1 "$games"); do
  rm -f "$work"/*
  RANDOM=$seed
  throw=$((RANDOM % 30 + 1))
  host_args=(--host --port 0 --players 3 --seed "$seed" --save "$work/h.tom")
  bo_args=()
  case "$mode" in
    plain) ;;
    rejoin) host_args+=(--grace 120 --on-drop wait); bo_args=(--drop-after "$throw") ;;
    computer)
      host_args=(--host --port 0 --players 4 --computers 1 --seed "$seed" --save "$work/h.tom"
                 --grace 120 --on-drop computer)
      bo_args=(--drop-after "$throw") ;;
    *) echo "unknown mode $mode" >&2; exit 2 ;;
  esac
  "$sim" "${host_args[@]}" >"$work/h.out" 2>&1 &
  host=$!
  wait_for "$work/h.out" '^port '
  port=$(awk '/^port /{print $2; exit}' "$work/h.out")
  "$sim" --join 127.0.0.1 --port "$port" --name Anna --seed $((seed + 1000)) \
    --save "$work/a.tom" >"$work/a.out" 2>&1 &
  anna=$!
  wait_for "$work/h.out" '^joined Anna'
  # In a subshell, so that the shell's note of the kill goes nowhere.
  ("$sim" --join 127.0.0.1 --port "$port" --name Bo --seed $((seed + 2000)) \
    --save "$work/b.tom" "${bo_args[@]}" >"$work/b.out" 2>&1 || true) 2>/dev/null
  if grep -q '^killed' "$work/b.out"; then
    killed=$((killed + 1))
    if [ "$mode" = rejoin ]; then
      "$sim" --join 127.0.0.1 --port "$port" --name Bo --seed $((seed + 2000)) \
        --save "$work/b.tom" >"$work/b2.out" 2>&1 || true
      ms=$(awk '/^caught up in /{print $4; exit}' "$work/b2.out")
      [ -n "$ms" ] && [ "$ms" -gt "$longest" ] && longest=$ms
    fi
  fi
  wait "$host" || true
  wait "$anna" || true
  grep -q '^game over' "$work/h.out" && ended=$((ended + 1))
  others=("$work/a.tom")
  if [ "$mode" != computer ] || ! grep -q '^killed' "$work/b.out"; then others+=("$work/b.tom"); fi
  agree "$work/h.tom" "${others[@]}" && same=$((same + 1))
done
end=$(date +%s.%N)
echo "mode $mode: games $games, the same game on every computer $same, ended with a winner $ended"
if [ "$mode" != plain ]; then echo "clients killed $killed"; fi
if [ "$mode" = rejoin ]; then echo "longest rejoin $longest ms"; fi
echo "wall time per game $(echo "scale=1; ($end - $start) * 1000 / $games" | bc) ms"
