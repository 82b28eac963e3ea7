#!/usr/bin/env bash
# Installs the Debian packages Tavisk needs to build, test and run; only what is missing.
set -euo pipefail
packages=(
  g++ cmake ninja-build pkg-config
  libgtest-dev libgmock-dev
  qt6-base-dev qt6-svg-dev qt6-multimedia-dev libgl-dev
  fonts-dejavu-core fonts-noto-cjk qt6-translations-l10n
  xvfb xauth
  python3
  pgn-extract fairymax sjeng phalanx
  clang libclang-rt-14-dev
  dpkg-dev file appstream desktop-file-utils man-db xboard polyglot imagemagick xdotool
  fairymax phalanx sjeng gnuchess stockfish
)
# node and npm run the chess.js checks of tools/pgn-check; some machines have
# them from outside Debian.
command -v node >/dev/null || packages+=(nodejs)
command -v npm >/dev/null || packages+=(npm)
missing=()
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
