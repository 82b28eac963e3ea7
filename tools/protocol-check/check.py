#!/usr/bin/env python3
"""Protocol conformance check of tavisk-engine, as UCI and xboard interfaces drive it.

    tools/protocol-check/check.py [--quick] [--engine build/bin/tavisk-engine]

Runs the engine as a child process, sends the commands a GUI sends and checks
the replies, their form and their timing. Prints one line per check and exits
with 1 when one fails. --quick shortens the waits (the form the test suite runs).
"""
import argparse
import os
import re
import select
import subprocess
import sys
import time

MOVE = r"[a-h][1-8][a-h][1-8][qrbn]?"
BESTMOVE = re.compile(r"^bestmove (%s|0000)( ponder (%s))?$" % (MOVE, MOVE))
UCI_INFO = re.compile(r"^info depth (\d+) score (cp -?\d+|mate -?\d+) nodes (\d+) nps (\d+) time (\d+) pv( %s)+$" % MOVE)
THINKING = re.compile(r"^(\d+) (-?\d+) (\d+) (\d+) (%s( %s)*)$" % (MOVE, MOVE))
XB_MOVE = re.compile(r"^move \S+$")

failures = []
# A middle game out of the opening book, so that every search really searches.
MIDGAME = "r4rk1/pp1b1ppp/2n1pn2/q7/2BP4/2N1BN2/PP3PPP/R2Q1RK1 w - - 3 12"


class Engine:
    """The engine as a child process, read line by line with time-outs."""

    def __init__(self, path):
        folder = os.path.dirname(os.path.abspath(path))
        self.proc = subprocess.Popen([os.path.abspath(path)], cwd=folder, stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
        self.pending = b""
        self.seen = []

    def send(self, line):
        self.proc.stdin.write((line + "\n").encode())
        self.proc.stdin.flush()

    def line(self, timeout):
        """The next line, or None when none comes within timeout seconds."""
        deadline = time.monotonic() + timeout
        while b"\n" not in self.pending:
            left = deadline - time.monotonic()
            if left <= 0:
                return None
            ready, _, _ = select.select([self.proc.stdout], [], [], left)
            if not ready:
                return None
            chunk = os.read(self.proc.stdout.fileno(), 65536)
            if not chunk:
                return None
            self.pending += chunk
        text, self.pending = self.pending.split(b"\n", 1)
        text = text.decode(errors="replace").rstrip("\r")
        self.seen.append(text)
        return text

    def until(self, pattern, timeout):
        """Lines until one matches; returns (matching line or None, lines before it, seconds)."""
        start = time.monotonic()
        before = []
        while True:
            left = timeout - (time.monotonic() - start)
            text = self.line(max(left, 0))
            if text is None:
                return None, before, time.monotonic() - start
            if re.search(pattern, text):
                return text, before, time.monotonic() - start
            before.append(text)

    def quiet(self, seconds):
        """The lines that came within seconds (the engine should say nothing of note)."""
        lines = []
        end = time.monotonic() + seconds
        while True:
            text = self.line(max(end - time.monotonic(), 0))
            if text is None:
                return lines
            lines.append(text)

    def close(self):
        try:
            self.send("quit")
            self.proc.stdin.close()
        except OSError:
            pass
        try:
            self.proc.wait(5)
        except subprocess.TimeoutExpired:
            self.proc.kill()


def check(name, ok, detail=""):
    print("%s  %s%s" % ("PASS" if ok else "FAIL", name, ("  (" + detail + ")") if detail else ""))
    if not ok:
        failures.append(name)


def uci_engine(path):
    engine = Engine(path)
    engine.send("uci")
    engine.until("^uciok$", 5)
    engine.send("ucinewgame")
    return engine


def best_of(line):
    match = BESTMOVE.match(line or "")
    return match.group(1) if match else None


def check_uci(path, quick):
    hold = 1.0 if quick else 3.0
    engine = Engine(path)
    engine.send("uci")
    line, before, _ = engine.until("^uciok$", 5)
    check("uci: handshake lists the id, the options and uciok",
          line == "uciok" and before == ["id name CPU", "id author Pellimor",
                                         "option name Hash type spin default 24 min 2 max 196",
                                         "option name Clear Hash type button",
                                         "option name Ponder type check default false"], repr(before))
    for option in ("setoption name Hash value 64", "setoption name Ponder value true",
                   "setoption name Clear Hash", "setoption name Hash value 2"):
        engine.send(option)
    engine.send("isready")
    line, before, _ = engine.until("^readyok$", 5)
    check("setoption Hash, Ponder, Clear Hash answer nothing; isready answers readyok",
          line == "readyok" and before == [], repr(before))

    # Each "go" sets its own limits: a node count after a depth, not the old target.
    engine.send("position fen " + MIDGAME)
    engine.send("go depth 2")
    line, infos, _ = engine.until("^bestmove", 10)
    check("go depth 2: info after each iteration, then bestmove",
          best_of(line) is not None and [UCI_INFO.match(i) is not None for i in infos] == [True, True]
          and [int(UCI_INFO.match(i).group(1)) for i in infos] == [1, 2], repr(infos + [line]))
    engine.send("go nodes 5000")
    line, infos, seconds = engine.until("^bestmove", 5)
    nodes = [int(UCI_INFO.match(i).group(3)) for i in infos if UCI_INFO.match(i)]
    check("go nodes 5000 after go depth 2 answers on its own, near the count",
          best_of(line) is not None and all(n <= 5000 for n in nodes), "%.2f s, nodes %s" % (seconds, nodes))
    engine.send("position fen r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4")
    engine.send("go mate 1")
    line, infos, seconds = engine.until("^bestmove", 10)
    check("go mate 1 finds the mate and reports it as mate 1",
          best_of(line) == "h5f7" and any(" score mate 1 " in i for i in infos), repr(infos[-1:] + [line]))
    engine.send("position fen 7k/8/8/8/8/8/R7/1R5K w - - 0 1")
    engine.send("go mate 2")
    line, infos, seconds = engine.until("^bestmove", 20)
    check("go mate 2 finds the mate in two", best_of(line) == "a2a7" and " score mate 2 " in infos[-1],
          repr(infos[-1:] + [line]))

    # A bare go plays a move of the level's game; movetime is kept.
    engine.send("level 0 1 0")
    engine.send("position fen " + MIDGAME)
    engine.send("go")
    line, _, seconds = engine.until("^bestmove", 10)
    check("bare go uses the level (1 minute: about 1.3 s)", best_of(line) is not None and 0.3 < seconds < 4,
          "%.2f s" % seconds)
    engine.send("go movetime 400")
    line, _, seconds = engine.until("^bestmove", 5)
    check("go movetime 400 answers within its time", best_of(line) is not None and 0.1 < seconds < 0.9,
          "%.2f s" % seconds)
    engine.send("position fen " + MIDGAME)
    engine.send("go wtime 10000 btime 10000 movestogo 1")
    line, _, seconds = engine.until("^bestmove", 10)
    long_move = seconds
    engine.send("position fen " + MIDGAME)
    engine.send("go wtime 10000 btime 10000 movestogo 40")
    line2, _, seconds = engine.until("^bestmove", 10)
    check("movestogo shares the clock out over the moves to the control",
          best_of(line) and best_of(line2) and long_move > 2.5 and seconds < 0.6 and long_move < 5.5,
          "1 to go: %.2f s, 40 to go: %.2f s" % (long_move, seconds))
    engine.send("position fen " + MIDGAME)
    engine.send("go wtime 2000 btime 2000 winc 100 binc 100")
    line, _, seconds = engine.until("^bestmove", 5)
    check("go wtime/btime/winc/binc leaves time on the clock", best_of(line) is not None and seconds < 1.0,
          "%.2f s" % seconds)

    # Infinite and ponder searches answer only after stop or ponderhit, then at once.
    engine.send("position startpos moves e2e4 e7e5 g1f3")
    engine.send("go infinite")
    early = engine.quiet(hold)
    engine.send("stop")
    line, _, seconds = engine.until("^bestmove", 2)
    check("go infinite: no bestmove before stop, at once after it",
          not any(l.startswith("bestmove") for l in early) and best_of(line) is not None and seconds < 0.3,
          "%.2f s" % seconds)
    engine.send("position fen 7k/8/5K2/8/8/8/8/6R1 b - - 0 1")  # one legal move: the search ends at once
    engine.send("go infinite")
    early = engine.quiet(hold)
    engine.send("stop")
    line, _, seconds = engine.until("^bestmove", 2)
    check("go infinite with a finished search still waits for stop",
          not any(l.startswith("bestmove") for l in early) and best_of(line) == "h8h7" and seconds < 0.3,
          repr(early[-1:] + [line]))
    engine.send("position fen " + MIDGAME)
    engine.send("go ponder wtime 3000 btime 3000")
    early = engine.quiet(hold)
    engine.send("ponderhit")
    line, _, seconds = engine.until("^bestmove", 5)
    check("go ponder: no bestmove before ponderhit; then the clock's budget",
          not any(l.startswith("bestmove") for l in early) and best_of(line) is not None and seconds < 1.5,
          "%.2f s after ponderhit" % seconds)
    engine.send("position startpos moves e2e4 e7e5 g1f3 b8c6")
    engine.send("go ponder wtime 60000 btime 60000")
    early = engine.quiet(0.5)
    engine.send("stop")
    line, _, seconds = engine.until("^bestmove", 2)
    check("go ponder then stop (ponder miss): bestmove at once",
          not any(l.startswith("bestmove") for l in early) and best_of(line) is not None and seconds < 0.3,
          "%.2f s" % seconds)
    engine.send("position fen " + MIDGAME)
    engine.send("go depth 5")
    line, _, _ = engine.until("^bestmove", 20)
    check("bestmove names the expected reply to ponder on",
          BESTMOVE.match(line or "") is not None and BESTMOVE.match(line).group(3) is not None, repr(line))

    # A legal move in positions the GUI will call drawn; none only without a legal move.
    engine.send("position startpos moves g1f3 g8f6 f3g1 f6g8 g1f3 g8f6 f3g1 f6g8")
    engine.send("go movetime 200")
    line, _, _ = engine.until("^bestmove", 5)
    check("threefold repetition: still a legal move", best_of(line) not in (None, "0000"), repr(line))
    engine.send("position fen 8/8/3k4/8/8/3K4/8/8 w - - 0 1")
    engine.send("go movetime 200")
    line, _, _ = engine.until("^bestmove", 5)
    check("insufficient material: still a legal move", best_of(line) not in (None, "0000"), repr(line))
    engine.send("position fen k7/1Q6/1K6/8/8/8/8/8 b - -")
    engine.send("go movetime 100")
    line, _, _ = engine.until("^bestmove", 5)
    check("checkmated: bestmove 0000", line == "bestmove 0000", repr(line))

    engine.send("position startpos moves e2e4 e7e5")
    engine.send("go searchmoves a2a3 h2h4 depth 4")
    line, _, _ = engine.until("^bestmove", 10)
    check("go searchmoves keeps to the moves given", best_of(line) in ("a2a3", "h2h4"), repr(line))
    engine.close()


def check_xboard(path, quick):
    engine = Engine(path)
    for line in ("xboard", "protover 2"):
        engine.send(line)
    line, before, _ = engine.until("^feature done=1$", 5)
    check("xboard: protover 2 lists its features", line is not None and before[0].startswith("feature myname="),
          repr(before))
    engine.send("new")
    engine.send("evaluate")
    engine.send("ping 3")
    first, second = engine.line(5), engine.line(5)
    check("Evaluation: %d ends its line", re.match(r"^Evaluation: -?\d+$", first or "") is not None
          and second == "pong 3", repr([first, second]))

    for line in ("new", "post", "level 0 1 0", "time 6000", "otim 6000", "force",
                 "setboard " + MIDGAME, "go"):
        engine.send(line)
    start = time.monotonic()
    line, thinking, seconds = engine.until("^move ", 10)
    parsed = [THINKING.match(t) for t in thinking]
    ok = line is not None and thinking and all(parsed)
    if ok:
        plies = [int(p.group(1)) for p in parsed]
        centis = [int(p.group(3)) for p in parsed]
        ok = plies == sorted(plies) and centis[-1] <= seconds * 100 + 5 and centis == sorted(centis)
    check("post: one line 'ply score time nodes pv' per iteration, time in centiseconds",
          bool(ok), repr(thinking[-2:]) + " in %.2f s" % seconds)
    for line in ("nopost", "force", "setboard " + MIDGAME,
                 "time 6000", "go"):
        engine.send(line)
    line, thinking, _ = engine.until("^move ", 10)
    check("nopost: no thinking lines", line is not None and thinking == [], repr(thinking[:2]))

    # The moves to the next control set the budget: one move left takes half the clock.
    timings = {}
    for moves in (1, 40):
        for line in ("new", "force", "setboard " + MIDGAME,
                     "level %d 1 0" % moves, "time 600", "otim 600", "go"):
            engine.send(line)
        line, _, seconds = engine.until("^move ", 10)
        timings[moves] = seconds if line else None
    check("level: the budget follows the moves to the next control",
          timings[1] is not None and timings[40] is not None and 1.5 < timings[1] < 3.5 and timings[40] < 0.6,
          "6 s left, 1 move to go: %s s, 40 to go: %s s" % tuple(
              ("%.2f" % timings[m]) if timings[m] is not None else "none" for m in (1, 40)))
    engine.close()


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--engine", default=os.path.join(os.path.dirname(__file__), "../../build/bin/tavisk-engine"))
    parser.add_argument("--quick", action="store_true")
    args = parser.parse_args()
    start = time.monotonic()
    check_uci(args.engine, args.quick)
    check_xboard(args.engine, args.quick)
    print("%d checks failed, %.1f s" % (len(failures), time.monotonic() - start))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
