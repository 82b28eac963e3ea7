#include "engine/search/alphabeta.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "engine/core/attacks.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/eval/evaluate.h"
#include "engine/search/ordering.h"
#include "engine/search/quiesce.h"
#include "engine/search/rootsearch.h"
#include "engine/search/searchdata.h"
#include "engine/search/timecontrol.h"
#include "engine/search/ttable.h"
#include "engine/session/session.h"

namespace {

// kind of a child result: how the score came about (also the variation's marker).
constexpr int KindSearched = 0;
constexpr int KindNotSearched = 1; // from the transposition table
constexpr int KindDraw = 2;
constexpr int KindMateThreat = 4;

constexpr int NullMoveMargin = 200;
constexpr int FrontierMargin = 350;
constexpr int FullExtension = 32; // one ply in 1/32 ply

inline bool isKingMove(int move) {
    return moveSlot(move) == KingSlot;
}

inline int nonPawnMaterial(const Position& pos, int colour) {
    return colour == White ? pos.whiteMaterial - PawnValue * pos.whitePawnCount
                           : pos.blackMaterial - PawnValue * pos.blackPawnCount;
}

// Fields of a position read from its saved tail.
inline int tailByte(const PositionTail& tail, size_t offset) {
    return tail.bytes[offset - PositionTailOffset];
}
inline int tailBalance(const PositionTail& tail) {
    int16_t value;
    std::memcpy(&value, tail.bytes + (offsetof(Position, materialBalance) - PositionTailOffset), sizeof value);
    return value;
}
inline size_t pieceListOffset(int colour) {
    return colour == White ? offsetof(Position, whiteSquares) : offsetof(Position, blackSquares);
}

inline int fiftyMoveCount(const Position& pos) {
    return pos.ply - pos.lastIrreversiblePly;
}

// Is colour's opponent's queen pinned against its king by a rook or bishop of colour?
bool enemyQueenPinned(const Position& pos, int colour) {
    int enemy = 3 - colour;
    int q = pieceList(pos, enemy)[QueenSlot];
    if (q == EmptySlot) return false;
    int k = kingSquare(pos, enemy);
    int step = direction[q][k];
    if (step == 0) return false;
    int s = k + step;
    while (pos.board[s] == Empty) s += step;
    if (s != q) return false;
    s += step;
    while (pos.board[s] == Empty) s += step;
    int code = pos.board[s];
    if (pieceColour(code) != colour) return false;
    return isOrthogonalStep(step) ? pieceType(code) == Rook : pieceType(code) == Bishop;
}

// The depth of a child searched at full width, with the fraction carried in
// 1/32 ply (Extensions). Writes the fraction for the grandchildren and the
// child's frontier allowance.
int childDepthFor(int depth, int d, int move, int moveCount) {
    PlyMoveList& here = plyMoves[d];
    const PlyMoveList& parent = plyMoves[d - 1];
    int c = here.moveClass;
    int f = parent.moves[ExtensionWord];
    int childDepth = depth - 1;
    bool childInCheck = plyMoves[d + 1].moves[ListCheckWord] != 0;
    if (c == ClassLastPiece && parent.moveClass < ClassPawnCapture) {
        // Going into a pawn ending after an exchange: look much deeper.
        childDepth = d < 4 ? depth + 2 : depth + 1;
    } else if (c >= ClassSeventhRank || childInCheck) {
        f += FullExtension;
    } else if (moveCount == 1) {
        f += isKingMove(move) && moveDestination(move) == here.moves[ListCheckWord] ? 8 : 24;
    } else if (moveDestination(move) != parent.moveClass) {
        f += c == ClassMateThreat ? 16 : (moveCount < 3 ? 8 : 0);
    } else {
        // Recapture on the square of an even exchange; the next ply does not extend again.
        here.moveClass = ClassQuiet;
        if (searchPosition.whitePieceCount == 1 && searchPosition.blackPieceCount == 1)
            f += FullExtension;
        else
            f += here.moves[ListCheckWord] != 0 ? 8 : 24;
    }
    if (f >= FullExtension) {
        f -= FullExtension;
        childDepth += 1;
    }
    here.moves[ExtensionWord] = f;
    plyMoves[d + 1].frontier = (childDepth < 1 && here.moveClass > 30993) ? 1 : 2;
    return childDepth;
}

} // namespace

int alphaBeta(int colour, int ply, int depth, int alpha, int beta, int& bestMove, int noNull) {
    EngineSession& session = engineSession;
    Position& pos = searchPosition;
    const int d = ply + 1;
    const int other = 3 - colour;
    const bool white = colour == White;
    PlyMoveList& here = plyMoves[d];
    PlyMoveList& child = plyMoves[d + 1];
    MoveList& list = here.moves;

    // 1. Abort test.
    if (session.stopRequest > 0 || session.ponderState == 3) return AbortScore;
    if (nodeCount > nextTimeCheck && timeIsUp()) return AbortScore;

    const bool inCheckHere = list[ListCheckWord] != 0;

    // 2. Null move: if passing still holds the bound, the node is not worth a search.
    if (noNull == 0 && depth >= 3 && !inCheckHere && nullMoveEnabled) {
        int material = nonPawnMaterial(pos, colour);
        if (material >= 500) {
            int eval = evaluate(pos, alpha - 210, beta + 210);
            if (white ? eval + NullMoveMargin >= beta : eval - NullMoveMargin <= alpha) {
                int reduced = (depth > 6 && material > 900) ? depth - 4 : depth - 3;
                if (reduced < 2) reduced = 0;
                child.moves[ListCheckWord] = 0;
                child.frontier = 2;
                int childBest = NoMove;
                bool enoughMoves = true;
                if (depth > 3 && material < 1000) {
                    // Few moves left: zugzwang is likely, passing proves nothing.
                    generateMoves(pos, list, colour);
                    enoughMoves = list[ListTacticalCount] + list[ListQuietCount] >= 10;
                }
                if (enoughMoves) {
                    here.moves[ExtensionWord] = plyMoves[d - 1].moves[ExtensionWord];
                    here.moveClass = ClassQuiet;
                    saveTail(pos, plySnapshots[d]); // the child's frontier test reads it
                    makeNullMove(pos);
                    int nullAlpha = white ? beta - 1 : alpha;
                    int nullBeta = white ? beta : alpha + 1;
                    TableBucket& bucket = bucketOf(fullIndexKey(pos));
                    int score =
                        probe(bucket, pos.hashLock, reduced, d, nullAlpha, nullBeta, 0, other, childBest);
                    if (score == NoTableScore) {
                        score = alphaBeta(other, d, reduced, nullAlpha, nullBeta, childBest, 1);
                        if (score != AbortScore)
                            store(bucket, pos.hashLock, score, childBest, reduced, d, nullAlpha, nullBeta,
                                  fiftyMoveCount(pos));
                    }
                    makeNullMove(pos);
                    if (score == AbortScore) return AbortScore;
                    if (white && score >= beta) return beta;
                    if (!white && score <= alpha) return alpha;
                }
            }
        }
    }

    // 3. Internal iterative deepening: find a move to try first.
    if (bestMove == NoMove && depth > 2) {
        int score = alphaBeta(colour, ply, depth - 2, alpha, beta, bestMove, 0);
        if (score == AbortScore) return AbortScore;
    }

    // 4.
    int best = white ? -NoBestYet : NoBestYet;

    // 5. Mate-distance bound and move generation (the root list is prepared once).
    if (d != 1) {
        int result = orderMoves(colour, d, alpha, beta, bestMove);
        if (result != ListReady) return result;
    }

    // 6. Fifty-move rule.
    if (fiftyMoveCount(pos) >= 100) {
        setPvMarker(d, PvMarkerDraw);
        return drawScore;
    }

    // 7. Frontier allowance: a node far outside the window drops more moves into quiescence.
    if (d <= 1) {
        here.frontier -= 1;
    } else {
        int balance = tailBalance(plySnapshots[d - 1]);
        if ((!white && beta + FrontierMargin < balance) || (white && balance < alpha - FrontierMargin))
            here.frontier -= 1;
    }

    // 8. Snapshot for unmaking, and this position in the repetition history.
    saveTail(pos, plySnapshots[d]);
    if (pos.ply < RepetitionPlyLimit) recordRepetition(pos.ply, fullIndexKey(pos));

    const int moveCount = list[OrderedTotal];
    int pvFound = 0;
    int firstScore = 0;

    // 9. The moves.
    for (int i = 0; i < list[OrderedTotal]; ++i) {
        // a. Quiet moves by history once the search reaches them.
        if (depth > 1 && d < 11 && i == list[HistoryStart]) sortQuietByHistory(here, colour);
        const int move = orderedMove(here, i);
        // b. Root trouble: the first move's score fell.
        if (d == 1 && i == 1 && depth > 5) rootTroubleTest(firstScore);
        // c. Legality (evasions are legal by construction).
        if (!inCheckHere) {
            if (isKingMove(move) ? squareAttacked(pos, moveDestination(move), colour)
                                 : exposesKing(pos, colour, move))
                continue;
        }
        // d. Make the move.
        const int check = givesCheck(pos, colour, move);
        child.moves[ListCheckWord] = check;
        uint32_t changed, former;
        int moveClass = makeMove(pos, move, changed, former, movePromotionType(move));
        here.moveClass = moveClass;
        ++nodeCount;
        if (d == 1) reportRootMove(i, move, best, bestMove);

        // e.
        int kind = KindNotSearched;
        int score = 0;
        int repetitions = 0;

        // f. Threat tests.
        if (check == 0 && (pos.whitePieceCount > 1 || pos.blackPieceCount > 1)) {
            if (queenMateThreat(pos, other, depth)) {
                // The opponent mates at once: refuted without a search.
                score = white ? ply - MateThreatScore : MateThreatScore - ply;
                kind = KindMateThreat;
                ++nodeCount;
            }
            if (here.moveClass <= ClassQuiet) {
                // Taking back the queen on the square of the previous even exchange.
                int destination = moveDestination(move);
                if (destination == plyMoves[d - 1].moveClass &&
                    tailByte(plySnapshots[d], pieceListOffset(other) + QueenSlot) == destination)
                    here.moveClass = ClassSearchFully;
                if (depth > 1 && queenMateThreat(pos, colour, depth)) here.moveClass = ClassMateThreat;
            }
            if (depth == 1 || noNull == 1 || (inCheckHere && depth == 0)) {
                if (enemyQueenPinned(pos, colour)) here.moveClass = ClassSearchFully;
            }
        }

        // g. A result by search, by draw, or from the table.
        if (kind == KindNotSearched) {
            updateKeysForMove(pos, changed, former);
            uint32_t key = fullIndexKey(pos);
            repetitions = repetitionCount(key, pos);
            const bool childInCheck = check != 0;
            if (repetitions >= 2 || (repetitions >= 1 && d > 2)) {
                score = drawScore;
                kind = KindDraw;
            } else if (!childInCheck && insufficientMaterial(pos)) {
                score = drawScore;
                kind = KindDraw;
            } else if ((depth <= 1 && !childInCheck && here.moveClass <= ClassQuiet &&
                        here.frontier < moveCount) ||
                       d > maxPly) {
                kind = KindSearched;
                if (white)
                    score = alpha > 9899 ? alpha : -quiesce(Black, -beta, -alpha, d + 1);
                else
                    score = beta <= -9900 ? beta : quiesce(White, alpha, beta, d + 1);
            } else {
                int childDepth = childDepthFor(depth, d, move, moveCount);
                int childBest = NoMove;
                TableBucket& bucket = bucketOf(key);
                score = probe(bucket, pos.hashLock, childDepth, d, alpha, beta, pvFound, other, childBest);
                if (score == NoTableScore) {
                    int searchedAlpha = alpha, searchedBeta = beta;
                    if (pvFound) {
                        // Null window first; search again only if the move beats the bound.
                        int previousRootMove = rootMove;
                        int nullAlpha = white ? alpha : beta - 1;
                        int nullBeta = white ? alpha + 1 : beta;
                        score = alphaBeta(other, d, childDepth, nullAlpha, nullBeta, childBest, 0);
                        searchedAlpha = nullAlpha;
                        searchedBeta = nullBeta;
                        bool better = white ? score > alpha : score < beta;
                        if (better && score != AbortScore) {
                            if (d == 1) {
                                rootMove = move;
                                completedIterations = 0;
                                rootMoveChanged = 1;
                                updatePv(d, move, KindSearched, check);
                            }
                            score = alphaBeta(other, d, childDepth, alpha, beta, childBest, 0);
                            searchedAlpha = alpha;
                            searchedBeta = beta;
                            bool stillBetter = white ? score > alpha : score < beta;
                            if (stillBetter || score == AbortScore)
                                bestMove = move;
                            else if (d == 1)
                                rootMove = previousRootMove;
                        }
                    } else {
                        score = alphaBeta(other, d, childDepth, alpha, beta, childBest, 0);
                    }
                    if (score == AbortScore) return AbortScore;
                    store(bucket, pos.hashLock, score, childBest, childDepth, d, searchedAlpha, searchedBeta,
                          fiftyMoveCount(pos));
                    kind = KindSearched;
                }
            }
            // A position seen once before is likely to be repeated: pull its score towards the draw.
            if (repetitions == 1 && score != drawScore && std::abs(score) < 9000)
                score = (score >> 1) + (score >> 2) + (score >> 3);
        }

        // h. Unmake.
        unmakeMove(pos, plySnapshots[d], changed, former);
        if (i == 0) firstScore = score;

        // i. Bounds and cutoffs.
        if (white) {
            if (score > best) {
                bestMove = move;
                if (score >= beta || score == BestPossible - d) {
                    recordCutoff(move, depth, d, colour);
                    if (d == 1) rootBestScore = score;
                    updatePv(d, move, kind, check);
                    return score;
                }
                best = score;
                if (score > alpha) {
                    updatePv(d, move, kind, check);
                    pvFound = 1;
                    alpha = score;
                }
            }
        } else {
            if (score < best) {
                bestMove = move;
                if (score <= alpha || score == d - BestPossible) {
                    recordCutoff(move, depth, d, colour);
                    if (d == 1) rootBestScore = score;
                    updatePv(d, move, kind, check);
                    return score;
                }
                best = score;
                if (score < beta) {
                    updatePv(d, move, kind, check);
                    pvFound = 1;
                    beta = score;
                }
            }
        }
    }

    // 10. No legal move searched and not in check: stalemate.
    if (d == 1) {
        rootBestScore = best;
    } else if (std::abs(best) == NoBestYet) {
        setPvMarker(d, PvMarkerDraw);
        return drawScore;
    }
    recordCutoff(bestMove, depth, d, colour);
    return best;
}
