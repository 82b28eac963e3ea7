#!/usr/bin/env bash
# Plays the calibration schedule of tools/strength/README.md, two matches at a
# time, each game appended to OUT (default strength-games.txt), then prints
# the rating table. Usage: tools/strength/calibrate.sh [OUT] [LANES]
# The Stockfish pairings at the end place the scale on their stated Elo.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=$(realpath -m "${1:-strength-games.txt}")
lanes=${2:-2}
bin=${TAVISK_BIN:-$root/build/bin}
work=$(mktemp -d /tmp/tavisk-strength-XXXXXX)
cd "$work" # the Debian engines write their files into the current folder
# A B games [--adjudicate]: the longest match first, so that it runs beside all the others.
schedule() {
cat <<'LIST'
turnin5 turnin1 6 --adjudicate
novice1 random 100
novice1 greedy 100
greedy random 40
novice2 novice1 40
novice2 greedy 20
novice3 novice2 40
novice3 greedy 20
rank1 novice3 40
rank2 rank1 20 --adjudicate
rank3 rank2 20 --adjudicate
fairymax@3 rank3 16 --adjudicate
rank4 rank3 20 --adjudicate
sjeng@3 rank4 16 --adjudicate
phalanx@3 rank4 16 --adjudicate
rank5 rank4 20 --adjudicate
gnuchess@3 rank5 12 --adjudicate
rank6 rank5 20 --adjudicate
rank7 rank6 16 --adjudicate
fairymax@5 rank7 10 --adjudicate
rank8 rank7 12 --adjudicate
rank9 rank8 10 --adjudicate
rank10 rank9 10 --adjudicate
turnin1 rank10 8 --adjudicate
stockfish1350@6 novice3 40
stockfish1350@6 novice2 20
fairymax@1 novice1 20
fairymax@1 novice2 20
stockfish1350@6 stockfish1700@8 10 --adjudicate
stockfish1700@8 stockfish2100@10 10 --adjudicate
stockfish2100@10 stockfish2500@15 6 --adjudicate
stockfish1700@8 rank1 40 --adjudicate
stockfish1700@8 rank2 20 --adjudicate
stockfish1700@8 rank3 16 --adjudicate
stockfish1700@8 rank4 12 --adjudicate
stockfish1700@8 rank5 12 --adjudicate
stockfish2100@10 rank3 12 --adjudicate
stockfish2100@10 rank4 12 --adjudicate
stockfish2100@10 rank5 32 --adjudicate
stockfish2100@10 rank6 12 --adjudicate
stockfish2500@15 rank7 8 --adjudicate
rank9 stockfish2500@15 6 --adjudicate
rank9 stockfish2100@10 4 --adjudicate
rank10 stockfish2100@10 6 --adjudicate
rank10 stockfish2500@15 4 --adjudicate
rank8 stockfish2500@15 2 --adjudicate
turnin1 stockfish2100@10 4 --adjudicate
turnin5 stockfish2100@10 2 --adjudicate
turnin5 stockfish2500@15 2 --adjudicate
LIST
}
start=$(date +%s)
export STRENGTH_OUT="$out"
schedule | nice -n 15 xargs -P "$lanes" -L 1 sh -c \
  '"$0" match "$1" "$2" "$3" --seed 2026 --out "$STRENGTH_OUT" $4 >/dev/null' "$bin/tavisk-strength" || true
echo "calibration took $(( $(date +%s) - start )) s"
python3 "$root/tools/strength/rate.py" "$out"
