#!/usr/bin/env bash
# Pictures of the real game window under Xvfb for the README: the splash, the Language
# dialog, the game on a portrait and a landscape screen, an open menu and the dialogs;
# the New Game dialog and the tutor's question in every language (languages/); and the
# game screen of the two small screens, flat and isometric, mid-game and at a mate (small/).
# Usage: scripts/screenshots.sh [OUT_FOLDER]   (default docs/screenshots)
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshots}
cmake --build build --target window-shots tavisk tavisk-screenshots pictures -j2
shots=build/tools/window-shots/window-shots
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
export QT_QPA_PLATFORM=xcb
run() { xvfb-run -a -s "-screen 0 1600x1200x24" "$shots" build/bin "$out" "$scratch" "$@"; }
run --screen 240x320 --zoom 2 --shots first
run --screen 640x480 --zoom 1 --shots second
run --screen 320x240 --zoom 2 --shots second
run --screen 176x220 --zoom 2 --shots second
run --screen 220x176 --zoom 2 --shots second
rm -rf "$scratch"/*
run --screen 240x320 --zoom 2 --shots languages
mkdir -p "$out/languages" "$out/small"
mv "$out"/language-*.png "$out/languages/"
QT_QPA_PLATFORM=offscreen build/bin/tavisk-screenshots "$scratch/rendered" >/dev/null
cp "$scratch"/rendered/small-*.png "$out/small/"
run --screen 480x640 --zoom 1 --shots promotion
run --screen 640x480 --zoom 1 --shots review
run --screen 480x640 --zoom 1 --shots check
