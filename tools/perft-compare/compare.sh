#!/usr/bin/env bash
# Compares tavisk-bench's perft with Debian's stockfish package: the node counts
# of a set of positions (every promotion piece counted, as stockfish counts)
# and the speed of perft 6 from the initial position, measured in the same run.
# Run by hand; installs the stockfish package if it is missing.
#   tools/perft-compare/compare.sh [path/to/tavisk-bench]
set -euo pipefail
cd "$(dirname "$0")/../.."

bench=${1:-build/bin/tavisk-bench}
if [ ! -x "$bench" ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build --target tavisk-bench
fi

stockfish=$(command -v stockfish || true)
[ -z "$stockfish" ] && [ -x /usr/games/stockfish ] && stockfish=/usr/games/stockfish
if [ -z "$stockfish" ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get install -y -qq --no-install-recommends stockfish >/dev/null 2>&1 ||
    { $sudo_cmd apt-get update -qq && $sudo_cmd apt-get install -y -qq --no-install-recommends stockfish >/dev/null; }
  stockfish=/usr/games/stockfish
fi

# Node count of stockfish for "FEN" at depth N.
stockfish_nodes() {
  printf 'position fen %s\ngo perft %s\nquit\n' "$1" "$2" | "$stockfish" 2>/dev/null |
    awk '/^Nodes searched/ {print $3}'
}

now() { date +%s.%N; }
calc() { awk "BEGIN { print $1 }"; }

positions=(
  "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1|5"
  "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1|4"
  "8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - - 0 1|6"
  "r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1|5"
  "rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8|4"
  "r4rk1/1pp1qppp/p1np1n2/2b1p1B1/2B1P1b1/P1NP1N2/1PP1QPPP/R4RK1 w - - 0 10|4"
  "n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1|5"
  "8/8/8/K2Pp2r/8/8/8/4k3 w - e6 0 1|5"
  "4k3/8/8/8/1b6/8/8/r3K3 w - - 0 1|5"
)

failures=0
echo "position counts (all promotion pieces):"
for row in "${positions[@]}"; do
  fen=${row%|*}
  depth=${row#*|}
  ours=$("$bench" perft "$depth" "$fen" --all-promotions | awk '/^nodes/ {print $2}')
  theirs=$(stockfish_nodes "$fen" "$depth")
  if [ "$ours" = "$theirs" ]; then
    status=ok
  else
    status=DIFFERENT
    failures=$((failures + 1))
  fi
  printf '  %-9s depth %s  tavisk %12s  stockfish %12s  %s\n' "$status" "$depth" "$ours" "$theirs" "$fen"
done

echo "speed, perft 6 from the initial position:"
start=$(now)
stockfish_nodes "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" 1 >/dev/null
startup=$(calc "$(now) - $start")
start=$(now)
sf_nodes=$(stockfish_nodes "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1" 6)
sf_seconds=$(calc "$(now) - $start - $startup")
ours=$("$bench" perft 6)
our_nodes=$(echo "$ours" | awk '/^nodes/ {print $2}')
our_seconds=$(echo "$ours" | awk '/^seconds/ {print $2}')
sf_nps=$(calc "int($sf_nodes / $sf_seconds)")
our_nps=$(calc "int($our_nodes / $our_seconds)")
ratio=$(awk "BEGIN { printf \"%.3f\", $our_nps / $sf_nps }")
printf '  stockfish %s nodes in %.3f s (start-up of %.3f s taken off): %s nodes/s\n' "$sf_nodes" "$sf_seconds" "$startup" "$sf_nps"
printf '  tavisk    %s nodes in %.3f s: %s nodes/s\n' "$our_nodes" "$our_seconds" "$our_nps"
printf '  ratio %s (goal: at least 0.25)\n' "$ratio"

[ "$our_nodes" = "$sf_nodes" ] || { echo "perft 6 counts differ"; failures=$((failures + 1)); }
if [ "$(calc "$ratio < 0.25")" = 1 ]; then
  echo "slower than a quarter of stockfish"
  failures=$((failures + 1))
fi
[ "$failures" -eq 0 ] && echo "all equal" || { echo "$failures difference(s)"; exit 1; }
