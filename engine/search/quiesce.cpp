#include "engine/search/quiesce.h"

#include "engine/core/attacks.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/eval/evaluate.h"
#include "engine/search/ordering.h"
#include "engine/search/searchdata.h"

namespace {

// Extra gain of a pawn capture by the rank the pawn captures from (index rank 1..8):
// a capture from the seventh rank also promotes (960 - 100).
constexpr int whitePawnGain[9] = {0, 0, 0, 0, 0, 0, 85, 860, 0};
constexpr int blackPawnGain[9] = {0, 0, 860, 85, 0, 0, 0, 0, 0};

inline bool isKingMove(int move) {
    return moveSlot(move) == KingSlot;
}

int staticScore(int colour, int alpha, int beta) {
    if (colour == White) return evaluate(searchPosition, alpha, beta);
    return -evaluate(searchPosition, -beta, -alpha);
}

} // namespace

int quiesce(int colour, int alpha, int beta, int p) {
    Position& pos = searchPosition;
    // 1. Stand pat.
    int stand = staticScore(colour, alpha, beta);
    // 2. The tables end here.
    if (p >= QuiescePlyLimit) {
        setPvMarker(p, PvMarkerLeaf);
        return stand;
    }
    // 3. Captures, or the evasions when in check.
    MoveList& list = plyMoves[p].moves;
    bool inCheckHere = list[ListCheckWord] != 0;
    if (!inCheckHere) {
        if (stand >= beta) return stand;
        generateTactical(pos, list, colour);
    } else {
        generateEvasions(pos, list, colour);
        if (list[ListTacticalCount] + list[ListQuietCount] < 3)
            return quiesceEvasions(colour, alpha, beta, p);
        if (stand >= beta) return stand;
    }
    // 4.
    if (stand > alpha) alpha = stand;
    setPvMarker(p, PvMarkerLeaf);
    // 5.
    int count = list[ListTacticalCount];
    if (count == 0) return alpha;
    // 6.
    sortTacticalMoves(pos, list);
    saveTail(pos, plySnapshots[p]);
    // 7. Delta margin: what a capture must win to reach alpha; none against a bare king.
    int margin = alpha - stand - 130;
    int opponentPieces = colour == White ? pos.blackPieceCount : pos.whitePieceCount;
    if (opponentPieces == 2 && margin > 230) margin = 230;
    if (opponentPieces < 2) margin = 0;
    const int* pawnGain = colour == White ? whitePawnGain : blackPawnGain;
    int other = 3 - colour;
    MoveList& child = plyMoves[p + 1].moves;
    // 8.
    for (int i = 0; i < count; ++i) {
        int move = list.tactical(i);
        int origin = moveOrigin(move), destination = moveDestination(move);
        ++nodeCount;
        int gain = orderValue(pos.board[destination]);
        if (pieceType(pos.board[origin]) == Pawn) gain += pawnGain[rankOf[origin]];
        if (gain == PawnValue && margin > 100) continue;
        int check = givesCheck(pos, colour, move);
        if (check == 0 && gain < margin) continue;
        if (!inCheckHere) {
            if (isKingMove(move) ? squareAttacked(pos, destination, colour) : exposesKing(pos, colour, move))
                continue;
        }
        child[ListCheckWord] = check;
        uint32_t a, b;
        makeMove(pos, move, a, b, Queen);
        int score = -quiesce(other, -beta, -alpha, p + 1);
        unmakeMove(pos, plySnapshots[p], a, b);
        if (score >= beta) return score;
        if (score > alpha) {
            alpha = score;
            updatePv(p, move, 0, check);
        }
    }
    return alpha;
}

int quiesceEvasions(int colour, int alpha, int beta, int p) {
    Position& pos = searchPosition;
    MoveList& list = plyMoves[p].moves;
    int tactical = list[ListTacticalCount], quiet = list[ListQuietCount];
    // 1. No reply: the side to move is mated here.
    if (tactical + quiet == 0) {
        setPvMarker(p, PvMarkerMate);
        return p - MateScore;
    }
    // 2. Every reply, without pruning.
    saveTail(pos, plySnapshots[p]);
    int other = 3 - colour;
    MoveList& child = plyMoves[p + 1].moves;
    for (int i = 0; i < tactical + quiet; ++i) {
        int move = i < tactical ? list.tactical(i) : list.quiet(i - tactical);
        int check = givesCheck(pos, colour, move);
        child[ListCheckWord] = check;
        uint32_t a, b;
        makeMove(pos, move, a, b, Queen);
        int score = -quiesce(other, -beta, -alpha, p + 1);
        unmakeMove(pos, plySnapshots[p], a, b);
        if (score >= beta) return beta;
        if (score > alpha) {
            alpha = score;
            updatePv(p, move, 0, check);
        }
    }
    return alpha;
}

int mateInOneByRookOrQueen(Position& pos, int colour, int p) {
    MoveList& list = plyMoves[p].moves;
    MoveList& replies = plyMoves[p + 1].moves;
    // 1.
    generateRookQueenMoves(pos, list, colour);
    saveTail(pos, plySnapshots[p]);
    int other = 3 - colour;
    int tactical = list[ListTacticalCount], quiet = list[ListQuietCount];
    // 2. A checking move after which the opponent has no evasion.
    for (int i = 0; i < tactical + quiet; ++i) {
        int move = i < tactical ? list.tactical(i) : list.quiet(i - tactical);
        if (exposesKing(pos, colour, move)) continue;
        int check = givesCheck(pos, colour, move);
        replies[ListCheckWord] = check;
        if (check == 0) continue;
        uint32_t a, b;
        pos.sideToMove = static_cast<uint8_t>(colour); // the test may ask for the side not to move
        makeMove(pos, move, a, b, Queen);
        generateEvasions(pos, replies, other);
        bool mated = replies[ListTacticalCount] == 0 && replies[ListQuietCount] == 0;
        unmakeMove(pos, plySnapshots[p], a, b);
        if (mated) return move;
    }
    return 0;
}

namespace {

// Edge step of a king square: the step from the edge towards the middle of
// the board (0 when the king is not on the edge).
int edgeStep(int k) {
    int row = rowOf(k), column = columnOf(k);
    if (row == 0) return column == 0 ? 11 : column == 7 ? 9 : 10;
    if (row == 7) return column == 0 ? -9 : column == 7 ? -11 : -10;
    if (column == 0) return 1;
    if (column == 7) return -1;
    return 0;
}

// Can colour's queen on q move to x next to the enemy king and stand there
// protected and safe from the king's side?
bool queenContact(Position& pos, int colour, int q, int x) {
    int code = pos.board[x];
    if (pieceColour(code) == colour || code == Border) return false;
    int r = direction[q][x];
    if (r == 0) return false;
    int s = x + r;
    while (pos.board[s] == Empty) s += r;
    if (s != q) return false;
    int ownKing = kingSquare(pos, colour);
    uint8_t queenCode = pos.board[q];
    pos.board[q] = Empty;
    bool protectedSquare =
        isKingStep(x - ownKing) || (colour == White ? attackedByWhite(pos, x) : attackedByBlack(pos, x));
    bool defended = colour == White ? attackedByBlack(pos, x) : attackedByWhite(pos, x);
    pos.board[q] = queenCode;
    if (!protectedSquare || defended) return false;
    return !exposesKing(pos, colour, makeMoveWord(q, x, QueenSlot, 0));
}

} // namespace

int queenMateThreat(Position& pos, int colour, int depth) {
    // 1. Deep enough to afford the full mate-in-one test.
    if (depth > 4) return mateInOneByRookOrQueen(pos, colour, ScratchPly) != 0;
    // 2.
    int q = pieceList(pos, colour)[QueenSlot];
    if (q == EmptySlot) return 0;
    int k = kingSquare(pos, 3 - colour);
    int e = edgeStep(k);
    if (e == 0) return 0;
    // 3. The square in front of the king.
    if (queenContact(pos, colour, q, k + e)) return 1;
    int enemy = 3 - colour;
    if (colour == White) {
        // 4. Corners.
        if (e == 9 || e == 11) {
            if (queenContact(pos, colour, q, e == 9 ? k - 1 : k + 1)) return 1;
            return queenContact(pos, colour, q, k + 10);
        }
        // 5. Back rank.
        if (e == 10) {
            if ((pieceColour(pos.board[k + 9]) == enemy || pos.board[k + 20] == WhitePawn) &&
                queenContact(pos, colour, q, k + 1))
                return 1;
            if (pieceColour(pos.board[k - 1]) == enemy &&
                (pos.board[k + 10] == Empty || pieceColour(pos.board[k + 9]) == enemy))
                return queenContact(pos, colour, q, k + 11);
        }
        return 0;
    }
    if (e == -9 || e == -11) {
        if (queenContact(pos, colour, q, e == -9 ? k + 1 : k - 1)) return 1;
        return queenContact(pos, colour, q, k - 10);
    }
    if (e == -10) {
        if ((pieceColour(pos.board[k - 9]) == enemy || pos.board[k - 20] == BlackPawn) &&
            queenContact(pos, colour, q, k - 1))
            return 1;
        if (pieceColour(pos.board[k - 1]) == enemy &&
            (pos.board[k - 10] == Empty || pieceColour(pos.board[k - 11]) == enemy))
            return queenContact(pos, colour, q, k - 9);
    }
    return 0;
}
