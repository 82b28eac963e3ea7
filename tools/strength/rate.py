#!/usr/bin/env python3
"""Ratings from the games tavisk-strength wrote: one Elo scale for all players.

    tools/strength/rate.py GAMES.txt... [--anchor NAME=ELO]...
    tools/strength/rate.py docs/strength-games.txt.gz   (the committed calibration)

Each game line is "A B scoreA aWhite "reason" plies moves...". The ratings are
the maximum-likelihood fit of the logistic Elo model to every game (a draw
counts half a win), with one virtual draw added to every pairing so that a
clean sweep still gives a finite difference.

The anchors place the scale: every Stockfish player held to a stated Elo
("stockfish1700@8") is one unless --anchor names others (random = 0 when there
is none). The fit of all games gives the differences; those ratings are then
mapped piecewise-linearly through the anchors' (fitted, stated) points, so an
anchor lands on its stated Elo, a player between two anchors in proportion,
and one beyond them keeps its fitted distance from the nearest. The map never
reorders players. Errors are 95 % intervals (1.96 standard errors from the
fit's information matrix) of a player's difference to its nearest anchor,
through the map. Prints markdown tables: the pairings, the anchors, the
ratings.
"""
import gzip
import math
import re
import sys
from collections import OrderedDict

LINE = re.compile(r'^(\S+) (\S+) (1\.0|0\.5|0\.0) (\d) "([^"]*)" (\d+)')


def expected(d):
    return 1.0 / (1.0 + 10.0 ** (-d / 400.0))


def solve(matrix, vector):
    n = len(vector)
    a = [row[:] + [vector[i]] for i, row in enumerate(matrix)]
    for c in range(n):
        p = max(range(c, n), key=lambda r: abs(a[r][c]))
        a[c], a[p] = a[p], a[c]
        for r in range(n):
            if r != c and a[c][c] != 0:
                f = a[r][c] / a[c][c]
                for k in range(c, n + 1):
                    a[r][k] -= f * a[c][k]
    return [a[i][n] / a[i][i] for i in range(n)]


def invert(matrix):
    n = len(matrix)
    columns = [solve(matrix, [1.0 if i == j else 0.0 for i in range(n)]) for j in range(n)]
    return [[columns[j][i] for j in range(n)] for i in range(n)]


def fit(pairs, players, fixed):
    """Ratings and 95 % errors of the players, those in `fixed` held at their value."""
    free = [p for p in players if p not in fixed]
    index = {p: k for k, p in enumerate(free)}
    rating = {p: fixed.get(p, sum(fixed.values()) / len(fixed)) for p in players}
    scale = math.log(10) / 400.0
    hessian = []
    for _ in range(100):
        n = len(free)
        gradient = [0.0] * n
        hessian = [[0.0] * n for _ in range(n)]
        for (a, b), (games, points, *_rest) in pairs.items():
            if a not in rating or b not in rating:
                continue
            g, s = games + 1, points + 0.5  # the virtual draw
            e = expected(rating[a] - rating[b])
            da = scale * (s - g * e)
            w = scale * scale * g * e * (1 - e)
            for p, sign in ((a, 1), (b, -1)):
                if p in index:
                    gradient[index[p]] += sign * da
            for p in (a, b):
                for q in (a, b):
                    if p in index and q in index:
                        hessian[index[p]][index[q]] += w if p == q else -w
        if not free:
            break
        step = solve(hessian, gradient)
        # Far from the answer a full Newton step can overshoot into a flat
        # region where the matrix is singular; long steps are shortened.
        longest = max(abs(x) for x in step)
        if longest > 200:
            step = [x * 200 / longest for x in step]
        for p, k in index.items():
            rating[p] += step[k]
        if longest < 0.01:
            break
    covariance = invert(hessian) if free else []

    def covar(p, q):
        return covariance[index[p]][index[q]] if p in index and q in index else 0.0

    return rating, covar


def calibration(points):
    """The piecewise-linear map through (rating by the games, stated Elo)
    points, sorted; beyond the ends it keeps the games' own differences."""

    def place(x):
        if x <= points[0][0]:
            return points[0][1] + x - points[0][0]
        for (x0, y0), (x1, y1) in zip(points, points[1:]):
            if x <= x1:
                return y0 + (x - x0) * (y1 - y0) / (x1 - x0)
        return points[-1][1] + x - points[-1][0]

    return place


def main():
    args = sys.argv[1:]
    anchors = OrderedDict()  # name -> stated rating
    files = []
    i = 0
    while i < len(args):
        if args[i] == "--anchor" and i + 1 < len(args):
            name, value = args[i + 1].split("=")
            anchors[name] = float(value)
            i += 2
        else:
            files.append(args[i])
            i += 1
    pairs = OrderedDict()  # (a, b) -> [games, points of a, wins, draws, losses]
    for path in files:
        with (gzip.open(path, "rt") if path.endswith(".gz") else open(path)) as f:
            for line in f:
                m = LINE.match(line)
                if not m:
                    continue
                a, b, s = m.group(1), m.group(2), float(m.group(3))
                entry = pairs.setdefault((a, b), [0, 0.0, 0, 0, 0])
                entry[0] += 1
                entry[1] += s
                entry[2 if s == 1.0 else 3 if s == 0.5 else 4] += 1
    players = []
    for a, b in pairs:
        for p in (a, b):
            if p not in players:
                players.append(p)
    if not anchors:
        for p in players:
            m = re.match(r"stockfish(\d+)@", p)
            if m:
                anchors[p] = float(m.group(1))
    if not anchors:
        anchors["random"] = 0.0
    for name in anchors:
        if name not in players:
            sys.exit("the anchor %s played no game" % name)
    # The fit holds one anchor still; the scale is placed by all of them afterwards.
    anchor, anchor_value = next(iter(anchors.items()))
    # Only players linked to the anchor by games can be rated.
    linked = {anchor}
    grew = True
    while grew:
        grew = False
        for a, b in pairs:
            if (a in linked) != (b in linked):
                linked |= {a, b}
                grew = True
    for name in anchors:
        if name not in linked:
            sys.exit("the anchor %s is linked to %s by no game" % (name, anchor))
    unlinked = [p for p in players if p not in linked]
    players = [p for p in players if p in linked]
    # One fit of all games with one anchor held gives every difference; the
    # anchors then place that scale: a rating between two of them lands
    # between their stated Elo in proportion, one beyond them keeps its
    # distance from the nearest.
    alone, covar = fit(pairs, players, {anchor: anchor_value})
    points = sorted((alone[name], value) for name, value in anchors.items())
    for (x0, y0), (x1, y1) in zip(points, points[1:]):
        if y1 <= y0 or x1 - x0 < 1:
            sys.exit("the anchors' games put them in another order than their stated Elo: play more games")
    place = calibration(points)
    rating, error = {}, {}
    for p in players:
        rating[p] = place(alone[p])
        # The error is that of the difference to the nearest anchor, through the map.
        near = min(anchors, key=lambda name: abs(alone[name] - alone[p]))
        spread = 1.96 * math.sqrt(max(covar(p, p) + covar(near, near) - 2 * covar(p, near), 0.0))
        error[p] = (place(alone[p] + spread) - place(alone[p] - spread)) / 2

    total = sum(e[0] for e in pairs.values())
    print("Pairings (%d games; score of the first player):\n" % total)
    print("| pairing | games | +won =drawn -lost | score | Elo difference |")
    print("|---|---:|---:|---:|---:|")
    for (a, b), (games, points, won, drawn, lost) in pairs.items():
        share = points / games
        if 0 < share < 1:
            d = -400 * math.log10(1 / share - 1)
            sd = math.sqrt(max(won * (1 - share) ** 2 + drawn * (0.5 - share) ** 2 + lost * share**2, 1e-9) / games)
            se = sd / math.sqrt(games) * 400 / math.log(10) / (share * (1 - share))
            diff = "%+.0f ± %.0f" % (d, 1.96 * se)
        else:
            diff = "> +%.0f" % (-400 * math.log10(1 / ((games + 0.5) / (games + 1)) - 1)) if share == 1 else \
                "< %.0f" % (-400 * math.log10(1 / (0.5 / (games + 1)) - 1))
        print("| %s – %s | %d | +%d =%d -%d | %.1f (%.0f %%) | %s |" % (a, b, games, won, drawn, lost, points,
                                                                      100 * share, diff))
    if len(anchors) > 1:
        print("\nAnchors: their stated Elo, and where each lands by the games alone with %s held:\n" % anchor)
        print("| anchor | stated | by the games |")
        print("|---|---:|---:|")
        for name, value in anchors.items():
            print("| %s | %.0f | %.0f |" % (name, value, alone[name]))
    print("\nRatings (placed by %s; 95 %% error of the difference to the nearest anchor):\n"
          % ", ".join("%s = %.0f" % (name, value) for name, value in anchors.items()))
    print("| player | games | by the games | estimate | error |")
    print("|---|---:|---:|---:|---:|")
    played = {p: sum(e[0] for (a, b), e in pairs.items() if p in (a, b)) for p in players}
    for p in sorted(players, key=lambda p: rating[p]):
        print("| %s | %d | %.0f | %.0f | ± %.0f |" % (p, played[p], alone[p], rating[p], error[p]))
    if unlinked:
        print("\nNot linked to the anchor by any game: %s" % ", ".join(unlinked))


if __name__ == "__main__":
    main()
