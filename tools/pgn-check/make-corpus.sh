#!/usr/bin/env bash
# Makes the corpus of real games for the PGN check: Debian's fairymax and sjeng
# playing each other under xboard from the openings of data/opening.pgn, at a
# fixed search depth, saved by xboard in its PGN (with its score/depth/time
# comments and its adjudication comments). Run by hand; the result is committed
# as tools/pgn-check/corpus/xboard-games.pgn.
#
#   tools/pgn-check/make-corpus.sh [games] [depth]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
games=${1:-160}
depth=${2:-3}
export PATH="$PATH:/usr/games"
missing=()
for p in xboard fairymax sjeng xvfb xauth; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
work=$(mktemp -d /tmp/tavisk-corpus-XXXXXX)
export HOME="$work" # no saved xboard settings take part
mkdir -p "$here/corpus"
timeout $(( games * 60 + 120 )) xvfb-run -a "$(command -v xboard)" -noGUI \
  -fcp "$(command -v fairymax)" -fd "$work" -scp "$(command -v sjeng)" -sd "$work" \
  -matchGames "$games" -lgf "$root/data/opening.pgn" -lgi -1 \
  -searchDepth "$depth" -timeControl 2 -movesPerSession 0 -inc 1 \
  -autoCallFlag true -testClaims true -checkMates true -xponder \
  -pgnExtendedInfo true -showThinking true \
  -saveGameFile "$work/games.pgn" -popupExitMessage false -saveSettingsOnExit false \
  >"$work/xboard.out" 2>&1 || true
cp "$work/games.pgn" "$here/corpus/xboard-games.pgn"
echo "$(grep -c '^\[Event ' "$here/corpus/xboard-games.pgn") games in $here/corpus/xboard-games.pgn"

# Games from set-up positions (both sides to move, castling rights, an
# en-passant square): xboard saves them with SetUp and FEN tags.
timeout $(( 24 * 60 + 120 )) xvfb-run -a "$(command -v xboard)" -noGUI \
  -fcp "$(command -v fairymax)" -fd "$work" -scp "$(command -v sjeng)" -sd "$work" \
  -matchGames 24 -lpf "$here/positions.fen" -lpi -1 \
  -searchDepth "$depth" -timeControl 2 -movesPerSession 0 -inc 1 \
  -autoCallFlag true -testClaims true -checkMates true -xponder \
  -pgnExtendedInfo true -showThinking true \
  -saveGameFile "$work/setup-games.pgn" -popupExitMessage false -saveSettingsOnExit false \
  >"$work/xboard-setup.out" 2>&1 || true
cp "$work/setup-games.pgn" "$here/corpus/xboard-setup-games.pgn"
echo "$(grep -c '^\[Event ' "$here/corpus/xboard-setup-games.pgn") games in $here/corpus/xboard-setup-games.pgn"
