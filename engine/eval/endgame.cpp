#include "engine/eval/endgame.h"

#include "engine/core/position.h"
#include "engine/eval/evalbase.h"
#include "engine/eval/pawns.h"

using namespace evalbase;

namespace {

// clang-format off
// Drives a bare king to the edge; [row][file - 1], row 0 for ranks 8 and 1 up
// to row 3 for ranks 5 and 4.
constexpr int8_t edgeTable[4][8] = {
    { -45, -38, -30, -28, -28, -30, -38, -45 },
    { -38, -28, -20, -18, -18, -20, -28, -38 },
    { -30, -22, -15, -10, -10, -15, -22, -30 },
    { -28, -18, -10,   0,   0, -10, -18, -28 },
};

// For a bishop of colour 2: high in the a8 and h1 corners. [8 - rank][file - 1].
constexpr int8_t bishopCornerTable[8][8] = {
    { 72, 62, 52, 42, 32, 22, 12,  5 },
    { 62, 50, 40, 28, 20, 10,  5, 12 },
    { 52, 40, 26, 20, 10,  0, 10, 22 },
    { 42, 28, 20,  0, -5, 10, 18, 32 },
    { 32, 20, 10, -5,  0, 16, 28, 42 },
    { 22,  8,  0, 10, 16, 26, 40, 52 },
    { 12,  5, 10, 18, 28, 40, 50, 62 },
    {  5, 12, 22, 32, 42, 52, 62, 72 },
};

// Passed pawns with at most one piece each; rank from the pawn's side.
constexpr int minorSupportedValue[9] = { 0, 0, 0, 0, 0, 45, 95, 120, 0 };
constexpr int minorBlockadeValue[9]  = { 0, 0, 0, 0, 8, 15, 20, 35, 0 };
// By the defending king's distance measure 0..9.
constexpr int minorFarValue[10]      = { 0, 0, 2, 12, 20, 28, 36, 40, 44, 44 };
// clang-format on

constexpr int RaceWon = 495;
constexpr int NoRace = 10;
constexpr int RookBehindPasser = 14;
constexpr int RookInFrontOfPasser = 6;
constexpr int UnstoppablePair = 460;
constexpr int TwoKnights = 2 * KnightValue; // 630
constexpr int RookBishop = RookValue + BishopValue;

inline int absValue(int v) {
    return v < 0 ? -v : v;
}
inline int maxOf(int a, int b) {
    return a > b ? a : b;
}
inline int minOf(int a, int b) {
    return a < b ? a : b;
}

int edgeValue(int square) {
    int rank = rankAt(square);
    int row = rank >= 5 ? 8 - rank : rank - 1;
    return edgeTable[row][fileAt(square) - 1];
}

// Corner value for a king against a bishop of the given colour.
int bishopCornerValue(int kingSquare, int bishopColour) {
    int square = bishopColour == 1 ? mirrorSquare(kingSquare) : kingSquare;
    return bishopCornerTable[8 - rankAt(square)][fileAt(square) - 1];
}

// Corner regions: 1 a8/b8/a7/b7, 2 g8/h8/g7/h7, 3 a2/b2/a1/b1, 4 g2/h2/g1/h1.
int cornerRegion(int square) {
    int f = fileAt(square), r = rankAt(square);
    if (f == 0) return 0;
    bool left = f <= 2, right = f >= 7, top = r >= 7, bottom = r <= 2;
    if (top && left) return 1;
    if (top && right) return 2;
    if (bottom && left) return 3;
    if (bottom && right) return 4;
    return 0;
}

inline bool onlyMinorOrNone(int pieces, int minors) {
    return pieces == 0 || (pieces == 1 && minors == 1);
}

int firstRook(const uint8_t* list) {
    return slotFilled(list[QueenRookSlot]) ? list[QueenRookSlot] : list[KingRookSlot];
}

// The square of the first piece of the given code in a list, or EmptySlot.
int findPiece(const Position& position, const uint8_t* list, int code) {
    for (int slot = 0; slot < SlotCount; ++slot)
        if (slotFilled(list[slot]) && position.board[list[slot]] == code) return list[slot];
    return EmptySlot;
}

inline bool isBlocker(int code, bool whiteBlocks) {
    if (whiteBlocks)
        return code == WhiteBishop || code == WhiteKnight || code == WhiteRook || code == WhiteKing;
    return code == BlackBishop || code == BlackKnight || code == BlackRook || code == BlackKing;
}

// Kings outside the span of files that hold pawns: +1 when White's king is
// outside and Black's is the nearer, -1 for the reverse, 0 when neither or both.
int kingsOutsideSpan(const Position& position, int whiteKing, int blackKing, const PawnEntry& entry) {
    const int t = position.sideToMove == White ? 1 : 0;
    const int wf = fileAt(whiteKing), bf = fileAt(blackKing);
    const int lo = entry.minFile, hi = entry.maxFile;
    int count = 0;
    if ((wf + 1 < lo && absValue(bf - lo) + t < absValue(wf - lo)) ||
        (hi < wf - 1 && absValue(bf - hi) + t < absValue(wf - hi)))
        count += 1;
    if ((bf + 1 < lo && absValue(wf - lo) - t + 1 < absValue(bf - lo)) ||
        (hi < bf - 1 && absValue(wf - hi) - t + 1 < absValue(bf - hi)))
        count -= 1;
    return count;
}

// Fewest moves in which one side's passed pawn promotes unstoppably (NoRace
// when none does). `white` picks the side whose passers race.
int raceSteps(const Position& position, int whiteKing, int blackKing, const PawnEntry& entry, bool white) {
    const uint8_t* passers = white ? entry.whitePassers : entry.blackPassers;
    const int ownKing = white ? whiteKing : blackKing;
    const int enemyKing = white ? blackKing : whiteKing;
    const int ownSide = white ? White : Black;
    const int t = position.sideToMove == ownSide ? 0 : 1; // the defender moves first
    int best = NoRace;
    int count = 0, firstSteps = 0, lastSteps = 0, firstFile = 0, lastFile = 0;
    for (int i = 0; i < 4 && passers[i]; ++i) {
        const int s = passers[i];
        const int file = fileAt(s);
        const int rank = rankAt(s);
        const int promotion = squareAt(file, white ? 8 : 1);
        const bool kingInFront =
            fileAt(ownKing) == file && (white ? rankAt(ownKing) > rank : rankAt(ownKing) < rank);
        int steps = minOf(white ? 8 - rank : rank - 1, 5);
        if (kingInFront) ++steps;
        const int dDefender = dist(promotion, enemyKing);
        const int dOwn = dist(promotion, ownKing);
        const bool outsideSquare = t + steps < dDefender;
        const bool escorted =
            (dOwn == 1 && steps < 4) ||
            (steps < 3 && dOwn < 3 && (dDefender > 1 || (dDefender == 1 && steps == 1 && t == 0)));
        const bool cornered = kingInFront && (file == 1 || file == 8);
        if (outsideSquare || (escorted && !cornered)) best = minOf(best, steps);
        if (count == 0) {
            firstSteps = steps;
            firstFile = file;
        }
        lastSteps = steps;
        lastFile = file;
        ++count;
    }
    // Two passers far apart: one king cannot stop both.
    if (count > 0) {
        const int m = maxOf(firstSteps, lastSteps);
        int span = lastFile - firstFile;
        if (firstSteps != lastSteps && m > 0 && position.sideToMove == ownSide) ++span;
        if (m < span && m < best) best = m;
    }
    return best;
}

} // namespace

int pawnRace(const Position& position, int& score, int whiteKing, int blackKing, const PawnEntry& entry) {
    const int bestWhite =
        position.blackPieceCount == 0 ? raceSteps(position, whiteKing, blackKing, entry, true) : NoRace;
    const int bestBlack =
        position.whitePieceCount == 0 ? raceSteps(position, whiteKing, blackKing, entry, false) : NoRace;
    int w = 2 * bestWhite, b = 2 * bestBlack;
    if (position.sideToMove == White)
        ++b;
    else
        ++w;
    if (w < b - 1) {
        score += RaceWon;
        return 1;
    }
    if (b < w - 1) {
        score -= RaceWon;
        return 2;
    }
    return 0;
}

int evaluatePawnless(const Position& position, int whiteKing, int blackKing, int score) {
    const int balance = position.materialBalance;
    const int wp = position.whitePieceCount, bp = position.blackPieceCount;
    const int wm = position.whiteMinorCount, bm = position.blackMinorCount;

    // 1. A single minor piece (or nothing) cannot win.
    if (balance <= 0 && onlyMinorOrNone(bp, bm)) return 0;
    if (balance >= 0 && onlyMinorOrNone(wp, wm)) return 0;

    // 2. Black has a bare king: drive it to the edge, or to the bishop's corner.
    if (bp == 0) {
        if (wp == 2 && wm == 2) {
            if (position.whiteMaterial == TwoKnights) return 1;
            score += 3 * bishopCornerValue(blackKing, squareColour(bishopSquare(position, true, true))) + 50;
        } else {
            score += 300 - 2 * edgeValue(blackKing);
        }
        return score - 8 * dist(whiteKing, blackKing);
    }

    // 3. White has a bare king.
    if (wp == 0) {
        if (bp == 2 && bm == 2) {
            if (position.blackMaterial == TwoKnights) return -1;
            score -= 3 * bishopCornerValue(whiteKing, squareColour(bishopSquare(position, false, true))) + 50;
        } else {
            score += 2 * edgeValue(whiteKing) - 300;
        }
        return score + 8 * dist(whiteKing, blackKing);
    }

    // 4. Pieces on both sides.
    if (balance > 40) score -= 16 * dist(whiteKing, blackKing);
    if (balance < -40) score += 16 * dist(whiteKing, blackKing);
    const int whiteCentre = kingCentre(whiteKing), blackCentre = kingCentre(blackKing);
    score += whiteCentre + (whiteCentre >> 1) - blackCentre - (blackCentre >> 1);

    int q = score;
    if (q <= 0) {
        if (position.blackMaterial == TwoKnights) return -1;
        if (bp == wp + 1 && bm == wm + 1 && balance > -400) {
            q = score >> 1;
            if (bp < 3) {
                q = score >> 2;
                if (position.blackMaterial != RookBishop && position.blackMaterial <= QueenValue &&
                    balance != -349)
                    q = score >> 3;
            }
        }
        if (position.blackMaterial == RookValue && wp == 1) {
            if (position.whiteMaterial == KnightValue) {
                int knight = findPiece(position, position.whiteSquares, WhiteKnight);
                return (q - 16 * dist(whiteKing, knight)) >> 2;
            }
            return (q >> 4) + (q >> 3);
        }
        return q;
    }
    if (position.whiteMaterial == TwoKnights) return 1;
    if (wp == bp + 1 && wm == bm + 1 && balance < 400) {
        q = score >> 1;
        if (wp < 3) {
            q = score >> 2;
            if (position.whiteMaterial != RookBishop && position.whiteMaterial <= QueenValue &&
                balance != 349)
                q = score >> 3;
        }
    }
    if (position.whiteMaterial == RookValue && bp == 1) {
        if (position.blackMaterial == KnightValue) {
            int knight = findPiece(position, position.blackSquares, BlackKnight);
            return (q + 16 * dist(blackKing, knight)) >> 2;
        }
        return (q >> 4) + (q >> 3);
    }
    return q;
}

int evaluatePawnEnding(const Position& position, int score, int whiteKing, int blackKing,
                       const PawnEntry& entry) {
    // 1. The pawn terms weigh more without pieces; centralised kings.
    score += (entry.connectedPassers >> 2) + (entry.structureScore >> 2) + (entry.structureScore >> 1) +
             entry.generalSum + ((kingCentre(whiteKing) - kingCentre(blackKing)) >> 2);
    if (position.blackPawnCount == 0) score += 100;
    if (position.whitePawnCount == 0) score -= 100;

    // 2. An unstoppable pawn decides.
    if (pawnRace(position, score, whiteKing, blackKing, entry)) return score;

    // 3. Outside pawns, or kings standing off the pawns.
    const int flags = entry.pawnFlags;
    if ((flags & WhiteOutside) && !(flags & BlackOutside)) {
        score += 110;
    } else if ((flags & BlackOutside) && !(flags & WhiteOutside)) {
        score -= 110;
    } else {
        int net = kingsOutsideSpan(position, whiteKing, blackKing, entry);
        if (net > 0)
            score -= 100;
        else if (net < 0)
            score += 100;
        else if (position.whitePawnCount > position.blackPawnCount)
            score += 25;
        else if (position.blackPawnCount > position.whitePawnCount)
            score -= 25;
    }

    // 4. Rook pawns with the defending king in or near the corner.
    const int h = score >> 1;
    if (score <= 0) {
        if (flags & BlackPawnsOnlyA) {
            if (cornerRegion(whiteKing) == 3) return 0;
            if (dist(whiteKing, A1) <= dist(blackKing, A1) + 1) score = h;
        }
        if (flags & BlackPawnsOnlyH) {
            if (cornerRegion(whiteKing) == 4) return 0;
            if (dist(whiteKing, H1) <= dist(blackKing, H1) + 1) score = h;
        }
    } else {
        if (flags & WhitePawnsOnlyA) {
            if (cornerRegion(blackKing) == 1) return 0;
            if (dist(blackKing, A8) <= dist(whiteKing, A8) + 1) score = h;
        }
        if (flags & WhitePawnsOnlyH) {
            if (cornerRegion(blackKing) == 2) return 0;
            if (dist(blackKing, H8) <= dist(whiteKing, H8) + 1) score = h;
        }
    }
    return score;
}

int evaluateMinorEnding(const Position& position, int score, int whiteKing, int blackKing,
                        const PawnEntry& entry, int whiteNonPawn, int blackNonPawn) {
    const uint8_t* b = position.board;
    const int flags = entry.pawnFlags;
    const int whitePawns = position.whitePawnCount, blackPawns = position.blackPawnCount;
    const int pawns = whitePawns + blackPawns;
    const int wb = bishopSquare(position, true, false);
    const int bb = bishopSquare(position, false, false);
    const bool whiteHasPiece = position.whitePieceCount > 0;
    const bool blackHasPiece = position.blackPieceCount > 0;

    // 1. Pawn tables and king centralisation.
    score += entry.connectedPassers + entry.generalSum;
    int centre = kingCentre(whiteKing) - kingCentre(blackKing);
    if (pawns < 7) centre >>= 1;
    score += centre;

    // 2. Rook pawns whose promotion square the bishop does not cover.
    if (score > 0) {
        if ((!whiteHasPiece || squareColour(wb) == 1) && (flags & WhitePawnsOnlyA)) {
            if (cornerRegion(blackKing) == 1) return 0;
            if (dist(blackKing, A8) <= dist(whiteKing, A8)) score >>= 1;
        }
        if ((!whiteHasPiece || squareColour(wb) == 2) && (flags & WhitePawnsOnlyH)) {
            if (cornerRegion(blackKing) == 2) return 0;
            if (dist(blackKing, H8) <= dist(whiteKing, H8)) score >>= 1;
        }
    } else if (score < 0) {
        if ((!blackHasPiece || squareColour(bb) == 2) && (flags & BlackPawnsOnlyA)) {
            if (cornerRegion(whiteKing) == 3) return 0;
            if (dist(whiteKing, A1) <= dist(blackKing, A1)) score >>= 1;
        }
        if ((!blackHasPiece || squareColour(bb) == 1) && (flags & BlackPawnsOnlyH)) {
            if (cornerRegion(whiteKing) == 4) return 0;
            if (dist(whiteKing, H1) <= dist(blackKing, H1)) score >>= 1;
        }
    }

    // 3. A king in front of its own pawns.
    if (b[whiteKing + 20] == WhitePawn) score += 8;
    if (b[whiteKing + 11] == WhitePawn || isPawnCode(b[whiteKing + 1])) score += 8;
    if (b[whiteKing + 9] == WhitePawn || isPawnCode(b[whiteKing - 1])) score += 8;
    if (b[blackKing - 20] == BlackPawn) score -= 8;
    if (b[blackKing - 11] == BlackPawn || isPawnCode(b[blackKing - 1])) score -= 8;
    if (b[blackKing - 9] == BlackPawn || isPawnCode(b[blackKing + 1])) score -= 8;

    // 4. Passed pawns against a single piece.
    if (position.whitePieceCount == 1 && blackPawns > 0) {
        const int rook = firstRook(position.blackSquares);
        for (int i = 0; i < 4 && entry.blackPassers[i]; ++i) {
            const int s = entry.blackPassers[i];
            const int r = rankAt(s);
            if (isBlocker(b[s + 10], true)) score += minorBlockadeValue[9 - r];
            if (r < 4 && (whiteNonPawn == RookValue || whiteNonPawn == KnightValue)) {
                int p = squareAt(fileAt(s), 1);
                if (b[p - 9] == BlackPawn || (b[p - 9] == Empty && b[p - 19] == BlackPawn)) {
                    if (fileAt(p) < fileAt(whiteKing)) ++p;
                    const int c = (r == 2 && b[s + 1] == BlackPawn) ? 0 : (b[p - 10] == BlackPawn ? 1 : 2);
                    if (c + (position.sideToMove == White ? 1 : 0) < dist(p, whiteKing))
                        score -= UnstoppablePair;
                }
            }
            const int d = maxOf(absValue(fileAt(whiteKing) - fileAt(s)), rankAt(whiteKing) - rankAt(s));
            if (r < 5 && absValue(fileAt(blackKing) - fileAt(s)) <= 1 && rankAt(blackKing) <= r + 1) {
                int v = minorSupportedValue[9 - r];
                if (whiteNonPawn == RookValue) v *= 2;
                if (d > 2)
                    score -= v;
                else if (d == 2)
                    score -= v >> 1;
            } else {
                score -= minorFarValue[d];
            }
            if (slotFilled(rook)) {
                const int step = direction[s][rook];
                if (step == StepSouth) score -= RookBehindPasser;
                if (step == StepNorth) score += RookInFrontOfPasser;
            }
        }
    }
    if (position.blackPieceCount == 1 && whitePawns > 0) {
        const int rook = firstRook(position.whiteSquares);
        for (int i = 0; i < 4 && entry.whitePassers[i]; ++i) {
            const int s = entry.whitePassers[i];
            const int r = rankAt(s);
            if (isBlocker(b[s - 10], false)) score -= minorBlockadeValue[r];
            if (r > 5 && (blackNonPawn == RookValue || blackNonPawn == KnightValue)) {
                int p = squareAt(fileAt(s), 8);
                if (b[p + 11] == WhitePawn || (b[p + 11] == Empty && b[p + 21] == WhitePawn)) {
                    if (fileAt(p) < fileAt(blackKing)) ++p;
                    const int c = (r == 7 && b[s + 1] == WhitePawn) ? 0 : (b[p + 10] == WhitePawn ? 1 : 2);
                    if (c + (position.sideToMove == Black ? 1 : 0) < dist(p, blackKing))
                        score += UnstoppablePair;
                }
            }
            const int d = maxOf(absValue(fileAt(blackKing) - fileAt(s)), rankAt(s) - rankAt(blackKing));
            if (r >= 5 && absValue(fileAt(whiteKing) - fileAt(s)) <= 1 && rankAt(whiteKing) >= r - 1) {
                int v = minorSupportedValue[r];
                if (blackNonPawn == RookValue) v *= 2;
                if (d > 2)
                    score += v;
                else if (d == 2)
                    score += v >> 1;
            } else {
                score += minorFarValue[d];
            }
            if (slotFilled(rook)) {
                const int step = direction[s][rook];
                if (step == StepNorth) score += RookBehindPasser;
                if (step == StepSouth) score -= RookInFrontOfPasser;
            }
        }
    }

    // 5. Kings off the pawns.
    const int net = kingsOutsideSpan(position, whiteKing, blackKing, entry);
    if (net > 0) score -= 40;
    if (net < 0) score += 40;

    // 6. A piece against pawns, and outside pawns against a piece.
    if (blackNonPawn == KnightValue) {
        if (whiteNonPawn == RookValue) score += 42;
        if ((flags & WhiteOutside) && !(flags & BlackOutside) && whitePawns > 1) score += 40;
    } else if (blackNonPawn == BishopValue) {
        if (whiteNonPawn == RookValue) score += 30;
        if ((flags & WhiteFarOutside) && !(flags & BlackOutside) && whitePawns > 1) score += 24;
    } else {
        if ((flags & WhiteFarOutside) && !(flags & BlackOutside) && whitePawns > 1) score += 38;
    }
    if (whiteNonPawn == KnightValue) {
        if (blackNonPawn == RookValue) score -= 42;
        if ((flags & BlackOutside) && !(flags & WhiteOutside) && blackPawns > 1) score -= 40;
    } else if (whiteNonPawn == BishopValue) {
        if (blackNonPawn == RookValue) score -= 30;
        if ((flags & BlackFarOutside) && !(flags & WhiteOutside) && blackPawns > 1) score -= 24;
    } else {
        if ((flags & BlackFarOutside) && !(flags & WhiteOutside) && blackPawns > 1) score -= 38;
    }

    // 7. Bishops of opposite colours.
    if (slotFilled(wb) && slotFilled(bb) && squareColour(wb) != squareColour(bb)) {
        if (whitePawns == 2 && blackPawns < 2) {
            if (blackPawns == 0 &&
                ((squareColour(wb) == 1 && entry.minFile == 1 && cornerRegion(blackKing) == 1) ||
                 (entry.maxFile == 8 && cornerRegion(blackKing) == 2 && squareColour(wb) == 2)))
                score >>= 4;
            else if (entry.maxFile - entry.minFile < 3 && fileAt(blackKing) >= entry.minFile &&
                     fileAt(blackKing) <= entry.maxFile && rankAt(blackKing) > 5)
                score >>= 4;
        } else if (blackPawns == 2 && whitePawns < 2) {
            if (whitePawns == 0 &&
                ((squareColour(bb) == 2 && entry.minFile == 1 && cornerRegion(whiteKing) == 3) ||
                 (entry.maxFile == 8 && cornerRegion(whiteKing) == 4 && squareColour(bb) == 1)))
                score >>= 4;
            else if (entry.maxFile - entry.minFile < 3 && fileAt(whiteKing) >= entry.minFile &&
                     fileAt(whiteKing) <= entry.maxFile && rankAt(whiteKing) < 4)
                score >>= 4;
        }
        if (pawns == 1)
            score >>= 4;
        else if (absValue(whitePawns - blackPawns) < 2)
            score = (score >> 4) + (score >> 3) + (score >> 2);
        else if (pawns > 2)
            score = (score >> 2) + (score >> 1);
    }

    // 8. Equal pieces.
    if (absValue(whiteNonPawn - blackNonPawn) < 50) {
        if (whiteNonPawn == QueenValue) {
            if (pawns < 4)
                score = (score >> 3) + (score >> 1);
            else if (pawns < 8)
                score = (score >> 2) + (score >> 1);
            else
                score = (score >> 2) + (score >> 3) + (score >> 1);
        }
        if (blackPawns == 0 && whitePawns == 1) {
            const int pawn = findPiece(position, position.whiteSquares, WhitePawn);
            if (fileAt(blackKing) == fileAt(pawn) && rankAt(blackKing) > rankAt(pawn))
                score = 1;
            else if (whiteNonPawn == RookValue && (fileAt(pawn) == 1 || fileAt(pawn) == 8) &&
                     rankAt(pawn) - 1 <= rankAt(blackKing) && absValue(fileAt(blackKing) - fileAt(pawn)) <= 3)
                score >>= 1;
        } else if (whitePawns == 0 && blackPawns == 1) {
            const int pawn = findPiece(position, position.blackSquares, BlackPawn);
            if (fileAt(whiteKing) == fileAt(pawn) && rankAt(whiteKing) < rankAt(pawn))
                score = -1;
            else if (blackNonPawn == RookValue && (fileAt(pawn) == 1 || fileAt(pawn) == 8) &&
                     rankAt(pawn) + 1 >= rankAt(whiteKing) && absValue(fileAt(whiteKing) - fileAt(pawn)) <= 3)
                score >>= 1;
        }
    }

    // 9. Bare kings, and the race when a side has no piece.
    if (position.blackMaterial == 0) score += 100;
    if (position.whiteMaterial == 0) score -= 100;
    if (!whiteHasPiece || !blackHasPiece) pawnRace(position, score, whiteKing, blackKing, entry);

    // 10. Without pawns a single minor (or less) does not win.
    if (score > 0 && whitePawns == 0) {
        if (whiteNonPawn < RookValue)
            score = -blackPawns;
        else if (whiteNonPawn == RookValue && position.blackMinorCount == 1)
            score >>= 2;
    }
    if (score < 0 && blackPawns == 0) {
        if (blackNonPawn < RookValue)
            score = whitePawns;
        else if (blackNonPawn == RookValue && position.whiteMinorCount == 1)
            score >>= 2;
    }
    return score;
}

bool noWhitePawnsScale(const Position& position, int& score) {
    const int material = position.whiteMaterial;
    if (material < 400) {
        score = -position.blackPawnCount;
        return true;
    }
    if (material == TwoKnights) {
        score >>= 3;
        return true;
    }
    const int whiteNonPawn = material;
    const int blackNonPawn = position.blackMaterial - PawnValue * position.blackPawnCount;
    if (position.whitePieceCount == position.blackPieceCount + 1 &&
        position.whiteMinorCount == position.blackMinorCount + 1 && whiteNonPawn - blackNonPawn < 400) {
        if (position.whitePieceCount > 2)
            score >>= 1;
        else if (material == RookBishop)
            score >>= 2;
        else
            score >>= 3;
        return true;
    }
    return false;
}

bool noBlackPawnsScale(const Position& position, int& score) {
    const int material = position.blackMaterial;
    if (material < 400) {
        score = position.whitePawnCount;
        return true;
    }
    if (material == TwoKnights) {
        score >>= 3;
        return true;
    }
    const int blackNonPawn = material;
    const int whiteNonPawn = position.whiteMaterial - PawnValue * position.whitePawnCount;
    if (position.blackPieceCount == position.whitePieceCount + 1 &&
        position.blackMinorCount == position.whiteMinorCount + 1 && whiteNonPawn - blackNonPawn > -400) {
        if (position.blackPieceCount > 2)
            score >>= 1;
        else if (material == RookBishop)
            score >>= 2;
        else
            score >>= 3;
        return true;
    }
    return false;
}
