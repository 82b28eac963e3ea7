#!/usr/bin/env python3
"""Checks of tools/strength/rate.py: the fit around held anchors, and its refusals."""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "..", "tools", "strength"))
import rate  # noqa: E402

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def games(a, b, won, drawn, lost):
    return ['%s %s %s %d "x" 80 e2e4\n' % (a, b, s, k % 2) for k, s in
            enumerate(["1.0"] * won + ["0.5"] * drawn + ["0.0"] * lost)]


with tempfile.TemporaryDirectory() as folder:
    path = os.path.join(folder, "games.txt")
    lines = (games("even", "stockfish1700@8", 40, 20, 40) + games("up", "stockfish1350@6", 60, 0, 20) +
             games("stockfish1700@8", "up", 10, 0, 10) + games("stockfish1350@6", "low", 40, 0, 0) +
             games("low", "lower", 40, 0, 0) + ["a broken line\n", 'even stockfish1700@8 7 1 "z" 3\n'])
    with open(path, "w") as f:
        f.writelines(lines)
    out = subprocess.run([sys.executable, rate.__file__, path], capture_output=True, text=True)
    check(out.returncode == 0, "the fit runs: " + out.stderr)
    rows = {}
    for line in out.stdout.split("Ratings")[-1].splitlines():
        cells = [c.strip() for c in line.split("|")]
        if len(cells) > 5 and cells[4].lstrip("-").isdigit():
            rows[cells[1]] = (int(cells[2]), int(cells[4]))
    # Both references hold their stated Elo; an even score against one sits on it.
    check(rows.get("stockfish1700@8", (0, 0))[1] == 1700, "anchor 1700 held: %s" % rows)
    check(rows.get("stockfish1350@6", (0, 0))[1] == 1350, "anchor 1350 held: %s" % rows)
    check(abs(rows.get("even", (0, 0))[1] - 1700) <= 2, "even score sits on its anchor: %s" % rows)
    # 75 % against 1350 and 50 % against 1700 pull "up" between them.
    check(1350 + 100 < rows.get("up", (0, 0))[1] < 1700 + 20, "up between its anchors: %s" % rows)
    check(rows.get("up", (0, 0))[0] == 100, "every game counted once: %s" % rows)
    # Clean sweeps stay finite and keep their order.
    check(1350 > rows.get("low", (0, 9999))[1] > rows.get("lower", (0, 9999))[1] > -2000,
          "sweeps finite and ordered: %s" % rows)
    # A game line with a score other than 0, ½, 1 is no game.
    check(rows.get("even", (0, 0))[0] == 100, "a broken line ignored: %s" % rows)

    # An anchor that met nobody linked to the others is refused, not guessed.
    with open(path, "a") as f:
        f.writelines(games("stockfish2500@15", "lonely", 1, 0, 1))
    out = subprocess.run([sys.executable, rate.__file__, path], capture_output=True, text=True)
    check(out.returncode != 0 and "linked" in out.stderr, "an unlinked anchor is refused: " + out.stderr)

for f in failures:
    print("FAILED:", f)
sys.exit(1 if failures else 0)
