#!/usr/bin/env bash
# The PGN check, run by hand:
#  1. the corpus of games written by other programs (xboard's saved games in
#     corpus/, and the same games exported by pgn-extract in standard and in
#     long algebraic notation) is read by Tavisk and by chess.js, which must
#     reach the same final position in every game;
#  2. every game of the corpus is replayed into Tavisk and saved as Tavisk saves
#     games (Save/autosave, and the engine's WinboardGames.pgn form); pgn-extract
#     and chess.js must read every file without a warning, keep every tag, and
#     reach the position Tavisk had.
#
#   tools/pgn-check/run.sh        (TAVISK_BIN names the program folder, default build/bin)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
bin=${TAVISK_BIN:-$root/build/bin}
export PATH="$PATH:/usr/games"

# Debian's pgn-extract, node and npm (node and npm may come from elsewhere), and chess.js from npm.
missing=()
dpkg-query -W -f='${Status}' pgn-extract 2>/dev/null | grep -q 'install ok installed' || missing+=(pgn-extract)
command -v node >/dev/null || missing+=(nodejs)
command -v npm >/dev/null || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
[ -d "$here/node_modules/chess.js" ] || (cd "$here" && npm install --no-audit --no-fund --silent)
if [ ! -x "$bin/tavisk-pgn-tool" ]; then
  cmake -S "$root" -B "$root/build" -G Ninja -DTAVISK_GUI=OFF
  cmake --build "$root/build" --target tavisk-pgn-tool
fi

work=$(mktemp -d /tmp/tavisk-pgn-check-XXXXXX)
echo "work folder: $work"
faults=0

# 1. Other programs' files.
cat "$here"/corpus/*.pgn >"$work/xboard.pgn"
pgn-extract -s -o "$work/pgn-extract-san.pgn" "$work/xboard.pgn" 2>"$work/extract-san.err"
pgn-extract -s -Wlalg -o "$work/pgn-extract-lalg.pgn" "$work/xboard.pgn" 2>"$work/extract-lalg.err"
for name in xboard pgn-extract-san pgn-extract-lalg; do
  file="$work/$name.pgn"
  "$bin/tavisk-pgn-tool" fens "$file" | awk '{ print $1, $2, $3, $4, $5 }' >"$work/$name.tavisk"
  node "$here/check.js" fens "$file" >"$work/$name.chessjs" || true
  games=$(wc -l <"$work/$name.chessjs")
  differ=$(diff "$work/$name.tavisk" "$work/$name.chessjs" | grep -c '^<' || true)
  echo "$name: $games games read by chess.js, $(wc -l <"$work/$name.tavisk") by Tavisk; $differ differ"
  [ "$differ" -eq 0 ] && [ "$games" -gt 0 ] || faults=$((faults + 1))
done

# 2. Tavisk's files.
mkdir -p "$work/written"
"$bin/tavisk-pgn-tool" write "$work/xboard.pgn" "$work/written" | awk '{ print $1, $2, $3, $4, $5 }' >"$work/written.tavisk"
count=$(wc -l <"$work/written.tavisk")
files=()
for ((i = 1; i <= count; i++)); do files+=("$work/written/game-$i.pgn"); done
node "$here/check.js" tags "${files[@]}" >"$work/written.chessjs" || true
node "$here/check.js" tags "$work/written/engine-games.pgn" >"$work/engine.chessjs" || true
for form in written engine; do
  refused=$(grep -c FAULT "$work/$form.chessjs" || true)
  differ=$(grep -v FAULT "$work/$form.chessjs" | diff "$work/written.tavisk" - | grep -c '^[<>]' || true)
  echo "Tavisk's $form games: $count written; chess.js faults $refused, positions differing $differ"
  [ "$refused" -eq 0 ] && [ "$differ" -eq 0 ] || faults=$((faults + 1))
done
# pgn-extract: no warning, the same number of games, every tag kept.
cat "${files[@]}" >"$work/written-all.pgn"
for form in written-all engine; do
  input="$work/$form.pgn"
  [ "$form" = engine ] && input="$work/written/engine-games.pgn"
  pgn-extract -s -o "$work/$form.extracted" "$input" 2>"$work/$form.extract-err"
  warnings=$(grep -c . "$work/$form.extract-err" || true)
  out=$(grep -c '^\[Event ' "$work/$form.extracted" || true)
  lost=$(comm -23 <(grep -h '^\[' "$input" | tr -d '\r' | sort -u) \
                  <(grep -h '^\[' "$work/$form.extracted" | tr -d '\r' | sort -u) | wc -l)
  echo "pgn-extract on Tavisk's $form games: $out of $count out, $warnings warning lines, $lost tag lines lost"
  [ "$warnings" -eq 0 ] && [ "$out" -eq "$count" ] && [ "$lost" -eq 0 ] || faults=$((faults + 1))
done
echo "$faults checks failed"
[ "$faults" -eq 0 ]
