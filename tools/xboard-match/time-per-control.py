#!/usr/bin/env python3
"""Time the first engine used per time control, from an xboard debug file.

    time-per-control.py xboard.debug MOVES_PER_CONTROL MINUTES

xboard sends "time N" (centiseconds left) before each of the engine's moves;
the clock is filled up by MINUTES at each control. Prints, per game, the
seconds used in each complete control and by the move before the control's
last five moves (move 35 of 40).
"""
import re
import sys


def games(path):
    game = None
    with open(path, errors="replace") as log:
        for line in log:
            if re.search(r">first : new\b", line):
                if game:
                    yield game
                game = []
            match = re.search(r">first : time (\d+)", line)
            if match and game is not None:
                game.append(int(match.group(1)))
    if game:
        yield game


def main():
    path, mps, minutes = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
    full = int(minutes * 6000)
    controls, early = [], []
    for number, times in enumerate(games(path), 1):
        used = []
        for start in range(0, len(times), mps):
            if start + mps < len(times):
                used.append((times[start] - (times[start + mps] - full)) / 100.0)
        if len(times) > mps - 5:
            early.append((times[0] - times[mps - 5]) / 100.0)
        controls += used
        print("game %d: %d moves; used per complete control: %s s; by move %d: %s s" % (
            number, len(times), ", ".join("%.1f" % u for u in used) or "-", mps - 5,
            "%.1f" % early[-1] if len(times) > mps - 5 else "-"))
    if controls:
        print("controls %d: mean %.1f s of %.0f s, least %.1f, most %.1f" % (
            len(controls), sum(controls) / len(controls), minutes * 60, min(controls), max(controls)))
    if early:
        print("by move %d: mean %.1f s" % (mps - 5, sum(early) / len(early)))


if __name__ == "__main__":
    main()
