#!/usr/bin/env bash
# Plays a match of tavisk-engine against another engine (fairymax by default,
# TAVISK_OPPONENT names another) under the xboard
# interface, headless under Xvfb, and prints the score. A benchmark run by hand,
# not part of the test suite.
#
#   tools/xboard-match/run-match.sh [games] [minutes] [moves-per-control]
#
# Defaults: 20 games at 40 moves in 1 minute. TAVISK_BIN names the program
# folder (default build/bin). TAVISK_PROTOCOL=uci drives the engine in its UCI
# mode instead, through xboard's UCI adapter (Debian's polyglot). The games, xboard's log and the engine's own
# game records are left in the work folder it prints.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
games=${1:-20}
minutes=${2:-1}
mps=${3:-40}
bin=${TAVISK_BIN:-$root/build/bin}
protocol=${TAVISK_PROTOCOL:-xboard}
opponent=${TAVISK_OPPONENT:-fairymax}
export PATH="$PATH:/usr/games"

missing=()
packages=(xboard "$opponent" xvfb xauth)
[ "$protocol" = uci ] && packages+=(polyglot)
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo_cmd apt-get update -qq
  $sudo_cmd apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

if [ ! -x "$bin/tavisk-engine" ]; then
  cmake -S "$root" -B "$root/build" -G Ninja -DTAVISK_GUI=OFF
  cmake --build "$root/build" --target tavisk-engine
fi
opponentProgram=$(command -v "$opponent" || echo "/usr/games/$opponent")
xboard=$(command -v xboard || echo /usr/games/xboard)

work=$(mktemp -d /tmp/tavisk-match-XXXXXX)
echo "work folder: $work"
# A fresh home, so that no saved xboard settings take part.
export HOME="$work"
# Worst case per game: both clocks used up in every control of a long game.
limit=$(( games * (minutes * 60 * 2 * 4 + 60) + 120 ))
start=$(date +%s)
set +e
timeout "$limit" xvfb-run -a "$xboard" \
  -noGUI \
  -fcp ./tavisk-engine -fd "$bin" $([ "$protocol" = uci ] && echo -fUCI) \
  -scp "$opponentProgram" -sd "$(dirname "$opponentProgram")" \
  -matchGames "$games" -timeControl "$minutes" -movesPerSession "$mps" -inc -1 \
  -saveGameFile "$work/match.pgn" \
  -autoCallFlag true -testClaims true -checkMates true -xponder \
  -showThinking true -pgnExtendedInfo true \
  -popupExitMessage false -saveSettingsOnExit false \
  -debugMode true -nameOfDebugFile "$work/xboard.debug" \
  >"$work/xboard.out" 2>&1
status=$?
set -e
end=$(date +%s)
echo "xboard ended with status $status after $(( end - start )) s"

# Score from the saved games: Tavisk's engine calls itself "CPU".
awk '
  /^\[White "/ { white = $0; sub(/^\[White "/, "", white); sub(/"\]$/, "", white) }
  /^\[Black "/ { black = $0; sub(/^\[Black "/, "", black); sub(/"\]$/, "", black) }
  /^\[Result "/ {
    result = $0; sub(/^\[Result "/, "", result); sub(/"\]$/, "", result)
    games++
    ours = (white ~ /^CPU/) ? "w" : "b"
    if (result == "1-0") { if (ours == "w") won++; else lost++ }
    else if (result == "0-1") { if (ours == "b") won++; else lost++ }
    else if (result == "1/2-1/2") drawn++
    else unfinished++
  }
  END {
    printf "games %d: Tavisk won %d, lost %d, drew %d, unfinished %d; score %.1f of %d\n",
           games, won, lost, drawn, unfinished, won + drawn / 2, games
  }' "$work/match.pgn" 2>/dev/null || echo "no games were saved"
# How the games ended: the comment before each result.
echo "endings:"
grep -h -o -E '\{[^}]*\} +(1-0|0-1|1/2-1/2|\*)' "$work/match.pgn" 2>/dev/null |
  sed -E 's/ +(1-0|0-1|1\/2-1\/2|\*)$//' | sort | uniq -c | sort -rn || true
# The time Tavisk used per control, from the clock xboard reported to it.
echo "time used by Tavisk:"
python3 "$root/tools/xboard-match/time-per-control.py" "$work/xboard.debug" "$mps" "$minutes" || true
# Thinking lines that reached xboard ("ply score time nodes pv").
echo "thinking lines from Tavisk: $(grep -cE '<first : [0-9]+ -?[0-9]+ [0-9]+ [0-9]+ ' "$work/xboard.debug" || true)"
