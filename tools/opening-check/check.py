#!/usr/bin/env python3
"""Checks the opening book source (data/opening.pgn) before it is shipped.

Every game must start with an Event tag (the book's reader splits games at "[Even"),
carry White (opening) and Black (variation, or a text beginning with "?") tags of at
most 63 characters, and hold 6 to 16 plies of legal, unambiguous standard algebraic
moves. The script also counts the distinct positions the book will store, so the
file stays well inside the book's table.

Usage: check.py [--names] [file.pgn]   (exit status 1 on any fault)
--names lists the games whose positions the book will name after an earlier game
of another opening (transpositions).
"""
import re
import sys
from collections import Counter

FILES = "abcdefgh"
KNIGHT = [(1, 2), (2, 1), (2, -1), (1, -2), (-1, -2), (-2, -1), (-2, 1), (-1, 2)]
KING = [(1, 0), (1, 1), (0, 1), (-1, 1), (-1, 0), (-1, -1), (0, -1), (1, -1)]
ROOK = [(1, 0), (-1, 0), (0, 1), (0, -1)]
BISHOP = [(1, 1), (1, -1), (-1, 1), (-1, -1)]


class Board:
    """Square (f, r) with f, r in 0..7; pieces are 'PNBRQK' for White, lower case for Black."""

    def __init__(self):
        self.sq = {}
        back = "RNBQKBNR"
        for f in range(8):
            self.sq[(f, 0)] = back[f]
            self.sq[(f, 1)] = "P"
            self.sq[(f, 6)] = "p"
            self.sq[(f, 7)] = back[f].lower()
        self.white = True
        self.castle = set("KQkq")
        self.ep = None

    def copy(self):
        b = Board.__new__(Board)
        b.sq = dict(self.sq)
        b.white = self.white
        b.castle = set(self.castle)
        b.ep = self.ep
        return b

    def own(self, p, white):
        return p is not None and (p.isupper() == white)

    def attacked(self, target, by_white):
        tf, tr = target
        for (f, r), p in self.sq.items():
            if p.isupper() != by_white:
                continue
            t = p.upper()
            df, dr = tf - f, tr - r
            if t == "P":
                d = 1 if by_white else -1
                if dr == d and abs(df) == 1:
                    return True
            elif t == "N":
                if (df, dr) in KNIGHT:
                    return True
            elif t == "K":
                if max(abs(df), abs(dr)) == 1:
                    return True
            else:
                dirs = (ROOK if t == "R" else BISHOP if t == "B" else ROOK + BISHOP)
                for sf, sr in dirs:
                    x, y = f + sf, r + sr
                    while 0 <= x < 8 and 0 <= y < 8:
                        if (x, y) == target:
                            return True
                        if (x, y) in self.sq:
                            break
                        x, y = x + sf, y + sr
        return False

    def king(self, white):
        k = "K" if white else "k"
        for s, p in self.sq.items():
            if p == k:
                return s
        raise ValueError("no king")

    def pseudo_moves(self):
        """(from, to, promotion, castle flag) for the side to move."""
        w = self.white
        out = []
        for (f, r), p in list(self.sq.items()):
            if p.isupper() != w:
                continue
            t = p.upper()
            if t == "P":
                d = 1 if w else -1
                last = 7 if w else 0
                start = 1 if w else 6
                one = (f, r + d)
                if one not in self.sq and 0 <= one[1] < 8:
                    out += self._pawn_to((f, r), one, last)
                    two = (f, r + 2 * d)
                    if r == start and two not in self.sq:
                        out.append(((f, r), two, None, None))
                for df in (-1, 1):
                    to = (f + df, r + d)
                    if not (0 <= to[0] < 8 and 0 <= to[1] < 8):
                        continue
                    if (to in self.sq and not self.own(self.sq[to], w)) or to == self.ep:
                        out += self._pawn_to((f, r), to, last)
            elif t in "NK":
                for df, dr in (KNIGHT if t == "N" else KING):
                    to = (f + df, r + dr)
                    if 0 <= to[0] < 8 and 0 <= to[1] < 8 and not self.own(self.sq.get(to), w):
                        out.append(((f, r), to, None, None))
            else:
                dirs = (ROOK if t == "R" else BISHOP if t == "B" else ROOK + BISHOP)
                for sf, sr in dirs:
                    x, y = f + sf, r + sr
                    while 0 <= x < 8 and 0 <= y < 8:
                        if self.own(self.sq.get((x, y)), w):
                            break
                        out.append(((f, r), (x, y), None, None))
                        if (x, y) in self.sq:
                            break
                        x, y = x + sf, y + sr
        rank = 0 if w else 7
        if self.sq.get((4, rank)) == ("K" if w else "k") and not self.attacked((4, rank), not w):
            rk = "R" if w else "r"
            if ("K" if w else "k") in self.castle and self.sq.get((7, rank)) == rk \
                    and (5, rank) not in self.sq and (6, rank) not in self.sq \
                    and not self.attacked((5, rank), not w) and not self.attacked((6, rank), not w):
                out.append(((4, rank), (6, rank), None, "K"))
            if ("Q" if w else "q") in self.castle and self.sq.get((0, rank)) == rk \
                    and all((x, rank) not in self.sq for x in (1, 2, 3)) \
                    and not self.attacked((3, rank), not w) and not self.attacked((2, rank), not w):
                out.append(((4, rank), (2, rank), None, "Q"))
        return out

    def _pawn_to(self, frm, to, last):
        if to[1] == last:
            return [(frm, to, q, None) for q in "QRBN"]
        return [(frm, to, None, None)]

    def play(self, m):
        frm, to, promo, castle = m
        w = self.white
        p = self.sq.pop(frm)
        if p.upper() == "P" and to == self.ep:
            self.sq.pop((to[0], frm[1]), None)
        self.ep = None
        if p.upper() == "P" and abs(to[1] - frm[1]) == 2:
            self.ep = (frm[0], (frm[1] + to[1]) // 2)
        if promo:
            p = promo if w else promo.lower()
        self.sq[to] = p
        if castle:
            rank = frm[1]
            rf, rt = ((7, 5) if castle == "K" else (0, 3))
            self.sq[(rt, rank)] = self.sq.pop((rf, rank))
        for s, rights in (((4, 0), "KQ"), ((4, 7), "kq"), ((0, 0), "Q"), ((7, 0), "K"),
                          ((0, 7), "q"), ((7, 7), "k")):
            if frm == s or to == s:
                self.castle -= set(rights)
        self.white = not w

    def legal_moves(self):
        res = []
        for m in self.pseudo_moves():
            b = self.copy()
            b.play(m)
            if not b.attacked(b.king(self.white), b.white):
                res.append(m)
        return res

    def in_check(self):
        return self.attacked(self.king(self.white), not self.white)

    def key(self):
        """Placement and side to move: the book's key leaves out castling and en passant."""
        return (tuple(sorted(self.sq.items())), self.white)


SAN = re.compile(r"^([NBRQK])?([a-h])?([1-8])?(x)?([a-h][1-8])(=[NBRQ])?([+#])?$")


def play_san(board, text):
    """Plays one move; returns an error text or None."""
    legal = board.legal_moves()
    core = text.rstrip("!?")
    if core.rstrip("+#") in ("O-O", "O-O-O"):
        side = "K" if core.rstrip("+#") == "O-O" else "Q"
        cand = [m for m in legal if m[3] == side]
        if not cand:
            return "castling not legal"
        m = cand[0]
    else:
        g = SAN.match(core)
        if not g:
            return "not a move text"
        piece, ff, fr, cap, dest, promo, _ = g.groups()
        piece = piece or "P"
        to = (FILES.index(dest[0]), int(dest[1]) - 1)
        cand = []
        for m in legal:
            frm = m[0]
            if m[1] != to or board.sq[frm].upper() != piece or m[3]:
                continue
            if ff and frm[0] != FILES.index(ff):
                continue
            if fr and frm[1] != int(fr) - 1:
                continue
            if (m[2] or None) != (promo[1] if promo else None):
                continue
            cand.append(m)
        if len(cand) != 1:
            return "no legal match" if not cand else "ambiguous"
        m = cand[0]
        is_cap = to in board.sq or (piece == "P" and to == board.ep)
        if bool(cap) != is_cap:
            return "capture mark wrong"
        if piece == "P" and is_cap and not ff:
            return "pawn capture without file"
    board.play(m)
    gives = board.in_check()
    if text.rstrip("!?").endswith(("+", "#")) != gives:
        return "check mark wrong"
    return None


def parse_games(text):
    games = []
    blocks = re.split(r"\n(?=\[Event )", text.strip("\n"))
    for i, block in enumerate(blocks):
        tags = dict(re.findall(r'^\[(\w+) "([^"]*)"\]$', block, re.M))
        body = "\n".join(l for l in block.splitlines() if not l.startswith("["))
        games.append((i + 1, block, tags, body))
    return games


def main():
    args = [a for a in sys.argv[1:] if not a.startswith("--")]
    path = args[0] if args else "data/opening.pgn"
    text = open(path, encoding="ascii").read()
    faults = []
    if not text.startswith("[Event "):
        faults.append("file must begin with an Event tag")
    if "\r" in text:
        faults.append("file must use LF line ends")
    names = {}
    crossings = []
    positions = set()
    lines = set()
    eco = Counter()
    games = parse_games(text)
    for n, block, tags, body in games:
        where = f"game {n} ({tags.get('White', '?')}: {tags.get('Black', '?')})"
        first = block.splitlines()[0]
        if not first.startswith("[Event "):
            faults.append(f"{where}: does not begin with an Event tag")
        for tag in ("White", "Black", "ECO", "Result"):
            if tag not in tags:
                faults.append(f"{where}: no {tag} tag")
        for tag in ("White", "Black"):
            if len(tags.get(tag, "")) > 63 or not tags.get(tag):
                faults.append(f"{where}: {tag} tag empty or longer than 63 characters")
        if re.search(r'(White|Black|Event|Result|FEN|TimeControl) "', tags.get("White", "") + tags.get("Black", "")):
            faults.append(f"{where}: tag value would be read as another tag")
        code = tags.get("ECO", "")
        if not re.fullmatch(r"[A-E][0-9][0-9]", code):
            faults.append(f"{where}: bad ECO code {code!r}")
        else:
            eco[code[0]] += 1
        tokens = body.split()
        if not tokens or tokens[-1] != tags.get("Result"):
            faults.append(f"{where}: move text does not end with the result")
        moves = []
        expect = 1
        white = True
        for tok in tokens[:-1]:
            m = re.fullmatch(r"(\d+)\.", tok)
            if m:
                if int(m.group(1)) != expect or not white:
                    faults.append(f"{where}: move number {tok} out of order")
                continue
            moves.append(tok)
            if not white:
                expect += 1
            white = not white
        if not 6 <= len(moves) <= 16:
            faults.append(f"{where}: {len(moves)} plies (6 to 16 wanted)")
        seq = " ".join(moves)
        if seq in lines:
            faults.append(f"{where}: line repeated")
        lines.add(seq)
        board = Board()
        for ply, mv in enumerate(moves):
            err = play_san(board, mv)
            if err:
                faults.append(f"{where}: ply {ply + 1} {mv}: {err}")
                break
            positions.add(board.key())
            first = names.setdefault(board.key(), (n, tags.get("White", "")))
            if first[1] != tags.get("White", "") and first[0] != n and ply >= 3:
                crossings.append(f"{where}: from ply {ply + 1} on named by game {first[0]} ({first[1]})")
    for f in faults:
        print(f)
    if "--names" in sys.argv:
        # The book names a position after the first game that reaches it, so a
        # transposition into another opening shows that opening's name.
        shown = set()
        for c in crossings:
            if c.split(":")[0] not in shown:
                shown.add(c.split(":")[0])
                print(c)
    print(f"{len(games)} games, {len(positions)} distinct positions, by ECO volume: "
          + ", ".join(f"{v} {eco[v]}" for v in "ABCDE"))
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main())
