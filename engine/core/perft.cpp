// Perft: the number of legal move sequences of a given depth. Legality is
// settled without making the move where the rules allow it (pin test, king
// destinations, legal evasions); the last ply is counted without being made.
#include "engine/core/attacks.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"

namespace {

inline bool isEnPassant(const Position& p, int32_t move) {
    int to = moveDestination(move);
    return to == p.epSquare && moveOrigin(move) < CastleWhiteKingSide &&
           pieceType(p.board[moveOrigin(move)]) == Pawn && p.board[to] == Empty;
}

inline bool isPromotion(const Position& p, int32_t move) {
    int from = moveOrigin(move);
    if (from >= CastleWhiteKingSide || pieceType(p.board[from]) != Pawn) return false;
    int row = rowOf(moveDestination(move));
    return row == 0 || row == 7;
}

// Full test by making the move; used for the rare en-passant captures, whose
// removed pawn can open lines the pin test does not look at.
bool legalByMaking(Position& p, int32_t move, int colour) {
    PositionTail tail;
    saveTail(p, tail);
    uint32_t a, b;
    makeMove(p, move, a, b, Queen);
    bool legal = !inCheck(p, colour);
    unmakeMove(p, tail, a, b);
    return legal;
}

// Legality of a pseudo-legal move when the side to move is not in check.
inline bool legalQuiet(Position& p, int32_t move, int colour) {
    int from = moveOrigin(move);
    if (from >= CastleWhiteKingSide || moveSlot(move) == KingSlot)
        return !squareAttacked(p, moveDestination(move), colour);
    if (isEnPassant(p, move)) return legalByMaking(p, move, colour);
    return !exposesKing(p, colour, move);
}

template <bool AllPromotions> uint64_t perftNode(Position& p, int depth) {
    int colour = p.sideToMove;
    MoveList list;
    int checkWord = computeCheckWord(p, list);
    list[ListCheckWord] = checkWord;
    if (checkWord)
        generateEvasions(p, list, colour);
    else
        generateMoves(p, list, colour);

    int tactical = list.tacticalCount();
    int total = tactical + list.quietCount();
    uint64_t nodes = 0;
    for (int k = 0; k < total; ++k) {
        int32_t move = k < tactical ? list.tactical(k) : list.quiet(k - tactical);
        bool legal = checkWord ? (!isEnPassant(p, move) || legalByMaking(p, move, colour))
                               : legalQuiet(p, move, colour);
        if (!legal) continue;
        int promotions = AllPromotions && isPromotion(p, move) ? 4 : 1;
        if (depth == 1) {
            nodes += promotions;
            continue;
        }
        for (int type = Queen; type > Queen - promotions; --type) {
            PositionTail tail;
            saveTail(p, tail);
            uint32_t a, b;
            makeMove(p, move, a, b, type);
            nodes += perftNode<AllPromotions>(p, depth - 1);
            unmakeMove(p, tail, a, b);
        }
    }
    return nodes;
}

} // namespace

uint64_t perft(Position& position, int depth) {
    return depth <= 0 ? 1 : perftNode<false>(position, depth);
}

uint64_t perftAllPromotions(Position& position, int depth) {
    return depth <= 0 ? 1 : perftNode<true>(position, depth);
}
