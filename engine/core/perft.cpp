// Perft: the number of legal move sequences of a given depth. Legality is
// settled without making the move where the rules allow it (pin test, king
// destinations, legal evasions); the last ply is counted without being made.
#include <initializer_list>

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

// The last ply when the side to move is not in check: the legal moves are
// counted as they are found, without a list. A piece pinned to its king may
// only stay on the pin line; king steps must not be attacked; en passant is
// tested by making it.
template <int C, bool AllPromotions> uint64_t countLeaf(Position& p) {
    constexpr int off = C == White ? 0 : BlackOffset;
    constexpr int push = C == White ? -10 : 10;
    constexpr int startRow = C == White ? 6 : 1;
    constexpr int seventhRow = C == White ? 1 : 6;
    constexpr int promotionCount = AllPromotions ? 4 : 1;
    const uint8_t* b = boardBytes(p);
    const uint8_t* squares = pieceList(p, C);
    int king = squares[KingSlot];
    auto isEnemy = [](int code) { return C == White ? code > Border : code > Empty && code < Border; };
    auto isOwn = [](int code) { return C == White ? code > Empty && code < Border : code > Border; };

    // Pinned pieces: the first own piece on a line from the king with an
    // enemy slider of that line's kind behind it.
    int pinnedSquare[8], pinLine[8], pins = 0;
    for (int step : queenSteps) {
        int s = king + step;
        while (b[s] == Empty) s += step;
        if (!isOwn(b[s])) continue;
        int behind = s + step;
        while (b[behind] == Empty) behind += step;
        int code = b[behind];
        if (!isEnemy(code)) continue;
        int type = pieceType(code);
        bool orthogonal = isOrthogonalStep(step);
        if (type == Queen || (orthogonal ? type == Rook : type == Bishop)) {
            pinnedSquare[pins] = s;
            pinLine[pins++] = step;
        }
    }
    auto pinOf = [&](int square) {
        for (int k = 0; k < pins; ++k)
            if (pinnedSquare[k] == square) return pinLine[k];
        return 0;
    };
    auto staysOnLine = [&](int line, int to) { return line == 0 || direction[to][king] == line; };

    uint64_t nodes = 0;
    for (int slot = 0; slot < KingSlot; ++slot) {
        int from = squares[slot];
        if (from == EmptySlot) continue;
        int line = pinOf(from);
        int type = pieceType(b[from]);
        switch (type) {
        case Pawn: {
            int row = rowOf(from);
            int weight = row == seventhRow ? promotionCount : 1;
            int ahead = from + push;
            if (b[ahead] == Empty) {
                if (staysOnLine(line, ahead)) nodes += weight;
                if (row == startRow && b[ahead + push] == Empty && staysOnLine(line, ahead + push)) ++nodes;
            }
            for (int side : {-1, 1}) {
                int to = ahead + side;
                if (isEnemy(b[to])) {
                    if (staysOnLine(line, to)) nodes += weight;
                } else if (to == p.epSquare && b[to] == Empty) {
                    int32_t move = makeMoveWord(from, to, slot, 3);
                    if (legalByMaking(p, move, C)) ++nodes;
                }
            }
            break;
        }
        case Knight:
            if (line) break; // a pinned knight always leaves its line
            for (int step : knightSteps) nodes += !isOwn(b[from + step]) && b[from + step] != Border;
            break;
        default: {
            const int* steps = type == Bishop ? bishopSteps : type == Rook ? rookSteps : queenSteps;
            int count = type == Queen ? 8 : 4;
            for (int k = 0; k < count; ++k) {
                int step = steps[k];
                if (line && step != line && step != -line) continue;
                int to = from + step;
                for (; b[to] == Empty; to += step) ++nodes;
                if (isEnemy(b[to])) ++nodes;
            }
            break;
        }
        }
    }

    // King steps and castling.
    for (int step : kingSteps) {
        int to = king + step;
        int code = b[to];
        if (code == Border || isOwn(code)) continue;
        if (!squareAttacked(p, to, C)) ++nodes;
    }
    constexpr int kingFrom = C == White ? E1 : E8;
    int rights = C == White ? p.whiteCastling : p.blackCastling;
    if (rights != NoCastling && b[kingFrom] == WhiteKing + off) {
        constexpr int row = C == White ? 7 : 0;
        auto at = [](int column) { return squareOf(column, row); };
        int rook = WhiteRook + off;
        if (!(rights & KingSideLost) && b[at(5)] == Empty && b[at(6)] == Empty && b[at(7)] == rook &&
            !squareAttacked(p, at(5), C) && !squareAttacked(p, at(6), C))
            ++nodes;
        if (!(rights & QueenSideLost) && b[at(3)] == Empty && b[at(2)] == Empty && b[at(1)] == Empty &&
            b[at(0)] == rook && !squareAttacked(p, at(3), C) && !squareAttacked(p, at(2), C))
            ++nodes;
    }
    return nodes;
}

template <bool AllPromotions> uint64_t perftNode(Position& p, int depth) {
    int colour = p.sideToMove;
    MoveList list;
    int checkWord = computeCheckWord(p, list);
    if (depth == 1 && !checkWord)
        return colour == White ? countLeaf<White, AllPromotions>(p) : countLeaf<Black, AllPromotions>(p);
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
