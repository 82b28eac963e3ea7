#include "engine/core/movegen.h"

#include "engine/core/attacks.h"

namespace {

// Writes into a caller's list. Real games never fill a section, but a set-up
// position with many queens can: a move that finds its section full goes to
// the other one, and a move for which neither has room is dropped, so the
// list is never overrun.
struct Adder {
    int32_t* words;
    int quiet;
    int tactical;
    void addQuiet(int32_t move) {
        if (quiet < MaxQuietMoves)
            words[ListSlotOffset + FirstQuietSlot + quiet++] = move;
        else if (tactical < MaxTacticalMoves)
            words[ListSlotOffset + FirstTacticalSlot + tactical++] = move;
    }
    void addTactical(int32_t move) {
        if (tactical < MaxTacticalMoves)
            words[ListSlotOffset + FirstTacticalSlot + tactical++] = move;
        else if (quiet < MaxQuietMoves)
            words[ListSlotOffset + FirstQuietSlot + quiet++] = move;
    }
};

inline void beginList(MoveList& list, Adder& adder) {
    adder.words = list.words;
    adder.quiet = 0;
    adder.tactical = 0;
    list[ListEndWord] = 0;
}

inline void endList(MoveList& list, const Adder& adder) {
    list[ListQuietCount] = adder.quiet;
    list[ListTacticalCount] = adder.tactical;
}

template <int C> constexpr bool isEnemy(int code) {
    if constexpr (C == White)
        return code > Border;
    else
        return code > Empty && code < Border;
}

// Steps and squares of colour C's pawns.
template <int C> struct PawnGeometry;
template <> struct PawnGeometry<White> {
    static constexpr int push = -10, captureA = -11, captureB = -9;
    static constexpr int startRow = 6, seventhRow = 1; // rows: rank 2 and rank 7
};
template <> struct PawnGeometry<Black> {
    static constexpr int push = 10, captureA = 11, captureB = 9;
    static constexpr int startRow = 1, seventhRow = 6;
};

template <int C> inline void pawnMoves(const Position& p, Adder& a, int from, int32_t base) {
    using G = PawnGeometry<C>;
    const uint8_t* b = boardBytes(p);
    int row = rowOf(from);
    int ahead = from + G::push;
    if (b[ahead] == Empty) {
        if (row == G::seventhRow) {
            a.addTactical(base + (ahead << 7));
        } else {
            a.addQuiet(base + (ahead << 7));
            if (row == G::startRow && b[ahead + G::push] == Empty)
                a.addQuiet(base + ((ahead + G::push) << 7));
        }
    }
    int t = from + G::captureA;
    if (isEnemy<C>(b[t]) || t == p.epSquare) a.addTactical(base + (t << 7));
    t = from + G::captureB;
    if (isEnemy<C>(b[t]) || t == p.epSquare) a.addTactical(base + (t << 7));
}

template <int C>
inline void stepMoves(const Position& p, Adder& a, int from, int32_t base, const int* steps, int count) {
    const uint8_t* b = boardBytes(p);
    for (int k = 0; k < count; ++k) {
        int t = from + steps[k];
        int code = b[t];
        if (code == Empty)
            a.addQuiet(base + (t << 7));
        else if (isEnemy<C>(code))
            a.addTactical(base + (t << 7));
    }
}

template <int C>
inline void slideMoves(const Position& p, Adder& a, int from, int32_t base, const int* steps, int count) {
    const uint8_t* b = boardBytes(p);
    for (int k = 0; k < count; ++k) {
        int step = steps[k];
        int t = from + step;
        for (; b[t] == Empty; t += step) a.addQuiet(base + (t << 7));
        if (isEnemy<C>(b[t])) a.addTactical(base + (t << 7));
    }
}

template <int C> inline void pieceMoves(const Position& p, Adder& a, int from, int slot) {
    int type = pieceType(p.board[from]);
    int32_t base = from + (slot << SlotShift);
    switch (type) {
    case Pawn:
        pawnMoves<C>(p, a, from, base + QueenPromotionBits);
        break;
    case Knight:
        stepMoves<C>(p, a, from, base, knightSteps, 8);
        break;
    case Bishop:
        slideMoves<C>(p, a, from, base, bishopSteps, 4);
        break;
    case Rook:
        slideMoves<C>(p, a, from, base, rookSteps, 4);
        break;
    case Queen:
        slideMoves<C>(p, a, from, base, queenSteps, 8);
        break;
    case King:
        stepMoves<C>(p, a, from, base, kingSteps, 8);
        break;
    default:
        break;
    }
}

// Castling: rights, empty squares, the rook in its corner, no enemy king next
// to the square the king crosses and no attack on it. The king's destination
// is tested after the move is made.
template <int C> inline void castlingMoves(const Position& p, Adder& a) {
    const uint8_t* b = boardBytes(p);
    if constexpr (C == White) {
        int rights = p.whiteCastling;
        if (rights == NoCastling || b[E1] != WhiteKing) return;
        int enemyKing = p.blackSquares[KingSlot];
        if (!(rights & KingSideLost) && b[F1] == Empty && b[G1] == Empty && b[H1] == WhiteRook &&
            !isKingStep(enemyKing - F1) && !attackedByBlack(p, F1))
            a.addQuiet(WhiteKingSideMove);
        if (!(rights & QueenSideLost) && b[D1] == Empty && b[C1] == Empty && b[B1] == Empty &&
            b[A1] == WhiteRook && !isKingStep(enemyKing - D1) && !attackedByBlack(p, D1))
            a.addQuiet(WhiteQueenSideMove);
    } else {
        int rights = p.blackCastling;
        if (rights == NoCastling || b[E8] != BlackKing) return;
        int enemyKing = p.whiteSquares[KingSlot];
        if (!(rights & KingSideLost) && b[F8] == Empty && b[G8] == Empty && b[H8] == BlackRook &&
            !isKingStep(enemyKing - F8) && !attackedByWhite(p, F8))
            a.addQuiet(BlackKingSideMove);
        if (!(rights & QueenSideLost) && b[D8] == Empty && b[C8] == Empty && b[B8] == Empty &&
            b[A8] == BlackRook && !isKingStep(enemyKing - D8) && !attackedByWhite(p, D8))
            a.addQuiet(BlackQueenSideMove);
    }
}

template <int C> void generateMovesT(const Position& p, MoveList& list) {
    Adder a;
    beginList(list, a);
    if (list[ListCheckWord] == 0) castlingMoves<C>(p, a);
    const uint8_t* squares = pieceList(p, C);
    for (int slot = 0; slot < SlotCount; ++slot) {
        int from = squares[slot];
        if (from != EmptySlot) pieceMoves<C>(p, a, from, slot);
    }
    endList(list, a);
}

template <int C>
inline void captureSteps(const Position& p, Adder& a, int from, int32_t base, const int* steps, int count) {
    for (int k = 0; k < count; ++k) {
        int t = from + steps[k];
        if (isEnemy<C>(boardBytes(p)[t])) a.addTactical(base + (t << 7));
    }
}

template <int C>
inline void captureSlides(const Position& p, Adder& a, int from, int32_t base, const int* steps, int count) {
    const uint8_t* b = boardBytes(p);
    for (int k = 0; k < count; ++k) {
        int step = steps[k];
        int t = from + step;
        while (b[t] == Empty) t += step;
        if (isEnemy<C>(b[t])) a.addTactical(base + (t << 7));
    }
}

template <int C> void generateTacticalT(const Position& p, MoveList& list) {
    using G = PawnGeometry<C>;
    Adder a;
    beginList(list, a);
    const uint8_t* b = boardBytes(p);
    const uint8_t* squares = pieceList(p, C);
    for (int slot = 0; slot < SlotCount; ++slot) {
        int from = squares[slot];
        if (from == EmptySlot) continue;
        int32_t base = from + (slot << SlotShift);
        switch (pieceType(b[from])) {
        case Pawn: {
            base += QueenPromotionBits;
            int t = from + G::captureA;
            if (isEnemy<C>(b[t]) || t == p.epSquare) a.addTactical(base + (t << 7));
            t = from + G::captureB;
            if (isEnemy<C>(b[t]) || t == p.epSquare) a.addTactical(base + (t << 7));
            if (rowOf(from) == G::seventhRow && b[from + G::push] == Empty)
                a.addTactical(base + ((from + G::push) << 7));
            break;
        }
        case Knight:
            // A knight in a pawn slot (a promotion) is generated in full.
            if (slot <= LastPawnSlot)
                stepMoves<C>(p, a, from, base, knightSteps, 8);
            else
                captureSteps<C>(p, a, from, base, knightSteps, 8);
            break;
        case Bishop:
            captureSlides<C>(p, a, from, base, bishopSteps, 4);
            break;
        case Rook:
            captureSlides<C>(p, a, from, base, rookSteps, 4);
            break;
        case Queen:
            captureSlides<C>(p, a, from, base, queenSteps, 8);
            break;
        case King:
            captureSteps<C>(p, a, from, base, kingSteps, 8);
            break;
        default:
            break;
        }
    }
    endList(list, a);
}

// Slot of the piece on `square` for generateMovesTo: the first of 0..13, else 14.
inline int slotOfSquare(const uint8_t* squares, int square) {
    for (int slot = 0; slot < QueenSlot; ++slot)
        if (squares[slot] == square) return slot;
    return QueenSlot;
}

template <int C> void generateMovesToT(Position& p, Adder& a, int target, int mode) {
    using G = PawnGeometry<C>;
    constexpr int off = C == White ? 0 : BlackOffset;
    const uint8_t* b = boardBytes(p);
    const uint8_t* squares = pieceList(p, C);
    int32_t found[40];
    int count = 0;

    // 1. Pawns.
    if (mode != MovesOntoEmpty) {
        int from = target - G::captureA;
        if (b[from] == WhitePawn + off) found[count++] = from + (target << 7) + QueenPromotionBits;
        from = target - G::captureB;
        if (b[from] == WhitePawn + off) found[count++] = from + (target << 7) + QueenPromotionBits;
        if (p.epSquare != NoSquare && target == p.epSquare - G::push) {
            if (b[target - 1] == WhitePawn + off) found[count++] = (target - 1) + (p.epSquare << 7);
            if (b[target + 1] == WhitePawn + off) found[count++] = (target + 1) + (p.epSquare << 7);
        }
    } else {
        int from = target - G::push;
        if (b[from] == WhitePawn + off) found[count++] = from + (target << 7) + QueenPromotionBits;
        int fourthRank = C == White ? 4 : 5;
        if (rankOf[target] == fourthRank && b[from] == Empty && b[from - G::push] == WhitePawn + off)
            found[count++] = (from - G::push) + (target << 7) + QueenPromotionBits;
    }
    // 2. Knights.
    for (int step : knightSteps)
        if (b[target + step] == WhiteKnight + off) found[count++] = (target + step) + (target << 7);
    // 3. Sliders, the first piece on each ray.
    for (int step : bishopSteps) {
        int s = target + step;
        while (b[s] == Empty) s += step;
        if (b[s] == WhiteBishop + off || b[s] == WhiteQueen + off) found[count++] = s + (target << 7);
    }
    for (int step : rookSteps) {
        int s = target + step;
        while (b[s] == Empty) s += step;
        if (b[s] == WhiteRook + off || b[s] == WhiteQueen + off) found[count++] = s + (target << 7);
    }
    // 4. Slots and the pin test.
    for (int k = 0; k < count; ++k) {
        int32_t move = found[k] + (slotOfSquare(squares, moveOrigin(found[k])) << SlotShift);
        if (mode != AttackersOfTarget && exposesKing(p, C, move)) continue;
        if (mode == MovesOntoEmpty)
            a.addQuiet(move);
        else
            a.addTactical(move);
    }
}

template <int C> void generateEvasionsT(Position& p, MoveList& list) {
    Adder a;
    beginList(list, a);
    int king = kingSquare(p, C);
    int checker = list[ListCheckWord];
    // A check word that names no square (the 1 of generateMovesWithCheck) is
    // worked out here, so the walks below always start on the board.
    if (checker != DoubleCheck && (checker < A8 || checker > H1 || fileOf[checker] == 0)) {
        MoveList scratch;
        Adder attackers{scratch.words, 0, 0};
        generateMovesToT<C == White ? Black : White>(p, attackers, king, AttackersOfTarget);
        // One attacker gives its square; none or several leave only king steps.
        checker = attackers.tactical == 1 ? moveOrigin(scratch.words[ListSlotOffset + FirstTacticalSlot])
                                          : DoubleCheck;
    }
    if (checker != DoubleCheck) generateMovesToT<C>(p, a, checker, CapturesOnTarget);

    // King steps, tested with the king lifted off its square so that it does
    // not shield the squares behind it from the checking slider.
    uint8_t kingCode = p.board[king];
    p.board[king] = Empty;
    int32_t base = king + (KingSlot << SlotShift);
    for (int step : kingSteps) {
        int t = king + step;
        int code = p.board[t];
        if (code != Empty && !isEnemy<C>(code)) continue;
        if (squareAttacked(p, t, C)) continue;
        if (code == Empty)
            a.addQuiet(base + (t << 7));
        else
            a.addTactical(base + (t << 7));
    }
    p.board[king] = kingCode;

    if (checker != DoubleCheck && !isContact(checker - king)) {
        int step = direction[king][checker];
        for (int s = checker + step; s != king && p.board[s] == Empty; s += step)
            generateMovesToT<C>(p, a, s, MovesOntoEmpty);
    }
    endList(list, a);
}

template <int C> void generateRookQueenMovesT(const Position& p, MoveList& list) {
    Adder a;
    beginList(list, a);
    const uint8_t* squares = pieceList(p, C);
    for (int slot = QueenRookSlot; slot <= QueenSlot; ++slot) {
        int from = squares[slot];
        if (from != EmptySlot) pieceMoves<C>(p, a, from, slot);
    }
    endList(list, a);
}

} // namespace

void generateMoves(const Position& position, MoveList& list, int colour) {
    if (colour == White)
        generateMovesT<White>(position, list);
    else
        generateMovesT<Black>(position, list);
}

void generateMovesWithCheck(const Position& position, MoveList& list, int colour) {
    list[ListCheckWord] = inCheck(position, colour);
    generateMoves(position, list, colour);
}

void generateTactical(const Position& position, MoveList& list, int colour) {
    if (colour == White)
        generateTacticalT<White>(position, list);
    else
        generateTacticalT<Black>(position, list);
}

void generateEvasions(Position& position, MoveList& list, int colour) {
    if (colour == White)
        generateEvasionsT<White>(position, list);
    else
        generateEvasionsT<Black>(position, list);
}

void generateRookQueenMoves(const Position& position, MoveList& list, int colour) {
    if (colour == White)
        generateRookQueenMovesT<White>(position, list);
    else
        generateRookQueenMovesT<Black>(position, list);
}

void generateMovesTo(Position& position, MoveList& list, int target, int mode, int colour) {
    Adder a{list.words, list[ListQuietCount], list[ListTacticalCount]};
    if (colour == White)
        generateMovesToT<White>(position, a, target, mode);
    else
        generateMovesToT<Black>(position, a, target, mode);
    endList(list, a);
}

int computeCheckWord(Position& position, MoveList& scratch) {
    int side = position.sideToMove;
    if (!inCheck(position, side)) return 0;
    scratch[ListQuietCount] = 0;
    scratch[ListTacticalCount] = 0;
    scratch[ListEndWord] = 0;
    int enemy = side ^ 3;
    generateMovesTo(position, scratch, kingSquare(position, side), AttackersOfTarget, enemy);
    // One attacker gives its square; two, or none (kings side by side), give 2.
    if (scratch.tacticalCount() == 1) return moveOrigin(scratch.tactical(0));
    return DoubleCheck;
}
