#include "engine/core/attacks.h"

#include "engine/core/movegen.h"

namespace {

// Attacks of colour C's pieces other than the king on a square. White pawns
// attack towards rank 8, so a White pawn attacking s stands on s + 9 or s + 11.
template <int C> inline int attackedBy(const Position& p, int square) {
    constexpr int off = C == White ? 0 : BlackOffset;
    constexpr int pawnFrom1 = C == White ? 9 : -9;
    constexpr int pawnFrom2 = C == White ? 11 : -11;
    const uint8_t* b = boardBytes(p);
    if (b[square + pawnFrom1] == WhitePawn + off || b[square + pawnFrom2] == WhitePawn + off) return 1;
    for (int step : knightSteps)
        if (b[square + step] == WhiteKnight + off) return 1;
    for (int step : rookSteps) {
        int s = square + step;
        while (b[s] == Empty) s += step;
        if (b[s] == WhiteRook + off || b[s] == WhiteQueen + off) return 1;
    }
    for (int step : bishopSteps) {
        int s = square + step;
        while (b[s] == Empty) s += step;
        if (b[s] == WhiteBishop + off || b[s] == WhiteQueen + off) return 1;
    }
    return 0;
}

// First non-empty square met walking from `from` along `step`.
inline int firstPieceFrom(const Position& p, int from, int step) {
    int s = from + step;
    while (p.board[s] == Empty) s += step;
    return s;
}

// Whether the slider of colour C on `square` attacks along a line of kind `step`.
template <int C> inline bool sliderHits(int code, int step) {
    constexpr int off = C == White ? 0 : BlackOffset;
    if (isOrthogonalStep(step)) return code == WhiteRook + off || code == WhiteQueen + off;
    return code == WhiteBishop + off || code == WhiteQueen + off;
}

template <int C> int exposesKingT(Position& p, int32_t move) {
    constexpr int enemy = C == White ? Black : White;
    int origin = moveOrigin(move);
    if (origin >= CastleWhiteKingSide) return 0;
    int destination = moveDestination(move);
    int king = kingSquare(p, C);
    int d = direction[origin][king];
    if (d == 0 || d == direction[destination][king]) return 0;

    int removedSquare = 0;
    uint8_t removedCode = 0;
    uint8_t mover = p.board[origin];
    if (destination == p.epSquare && pieceType(mover) == Pawn) {
        removedSquare = C == White ? destination + 10 : destination - 10;
        removedCode = p.board[removedSquare];
        p.board[removedSquare] = Empty;
    }
    p.board[origin] = Empty;
    int s = firstPieceFrom(p, king, d);
    int result = sliderHits<enemy>(p.board[s], d) ? 1 : 0;
    p.board[origin] = mover;
    if (removedSquare) p.board[removedSquare] = removedCode;
    return result;
}

// Discovered check on the enemy king `target` through `through`, unless the
// line is the one the mover now stands on (`moverLine`).
template <int C> int discoveredThrough(const Position& p, int through, int target, int moverLine) {
    int d = direction[through][target];
    if (d == 0 || d == moverLine) return 0;
    int s = firstPieceFrom(p, target, d);
    return sliderHits<C>(p.board[s], d) ? s : 0;
}

template <int C> int givesCheckT(Position& p, int32_t move) {
    constexpr int off = C == White ? 0 : BlackOffset;
    constexpr int enemy = C == White ? Black : White;
    int target = kingSquare(p, enemy);
    int origin = moveOrigin(move);
    uint8_t* b = boardBytes(p);

    // 1. Castling: only the rook on its new square can give check.
    if (origin >= CastleWhiteKingSide) {
        bool kingSide = origin == CastleWhiteKingSide || origin == CastleBlackKingSide;
        int kingFrom = C == White ? E1 : E8;
        int rookTo = C == White ? (kingSide ? F1 : D1) : (kingSide ? F8 : D8);
        uint8_t kingCode = b[kingFrom];
        uint8_t rookSquareCode = b[rookTo];
        b[kingFrom] = Empty;
        b[rookTo] = static_cast<uint8_t>(WhiteRook + off);
        int result = 0;
        int d = direction[rookTo][target];
        if (isOrthogonalStep(d) && firstPieceFrom(p, target, d) == rookTo) result = rookTo;
        b[kingFrom] = kingCode;
        b[rookTo] = rookSquareCode;
        return result;
    }

    // 2. Put the mover on its destination.
    int destination = moveDestination(move);
    uint8_t mover = b[origin];
    uint8_t captured = b[destination];
    int moverType = pieceType(mover);
    int placedType = moverType;
    int lastRow = C == White ? 0 : 7;
    if (moverType == Pawn && rowOf(destination) == lastRow) placedType = movePromotionType(move);
    b[origin] = Empty;
    b[destination] = static_cast<uint8_t>(placedType + off);
    int c = direction[destination][target];

    // 3. Direct check by the piece on the destination.
    int direct = 0;
    switch (placedType) {
    case Pawn:
        if (C == White ? (destination == target + 9 || destination == target + 11)
                       : (destination == target - 9 || destination == target - 11))
            direct = destination;
        break;
    case Knight:
        if (isKnightJump(destination - target)) direct = destination;
        break;
    case Bishop:
        if (isDiagonalStep(c) && firstPieceFrom(p, target, c) == destination) direct = destination;
        break;
    case Rook:
        if (isOrthogonalStep(c) && firstPieceFrom(p, target, c) == destination) direct = destination;
        break;
    case Queen:
        if (c != 0 && firstPieceFrom(p, target, c) == destination) direct = destination;
        break;
    default:
        break;
    }
    if (!direct && moverType == Pawn && destination == p.epSquare && captured == Empty) {
        int capturedSquare = C == White ? destination + 10 : destination - 10;
        uint8_t capturedCode = b[capturedSquare];
        b[capturedSquare] = Empty;
        direct = discoveredThrough<C>(p, capturedSquare, target, c);
        b[capturedSquare] = capturedCode;
    }

    // 4. Discovered check through the origin (not looked for on queen moves).
    int discovered = 0;
    if (moverType != Queen) discovered = discoveredThrough<C>(p, origin, target, c);

    // 5. Restore.
    b[destination] = captured;
    b[origin] = mover;
    if (direct && discovered) return DoubleCheck;
    return direct ? direct : discovered;
}

} // namespace

int attackedByWhite(const Position& position, int square) {
    return attackedBy<White>(position, square);
}
int attackedByBlack(const Position& position, int square) {
    return attackedBy<Black>(position, square);
}

int squareAttacked(const Position& position, int square, int colour) {
    if (colour == White) {
        if (isKingStep(position.blackSquares[KingSlot] - square)) return 1;
        return attackedBy<Black>(position, square);
    }
    if (isKingStep(position.whiteSquares[KingSlot] - square)) return 1;
    return attackedBy<White>(position, square);
}

int inCheck(const Position& position, int colour) {
    int whiteKing = position.whiteSquares[KingSlot];
    int blackKing = position.blackSquares[KingSlot];
    // A side without a king (only met while a set-up is being judged) is never in check.
    if (whiteKing == EmptySlot || blackKing == EmptySlot) return 0;
    if (isKingStep(whiteKing - blackKing)) return 1;
    return colour == White ? attackedBy<Black>(position, whiteKing) : attackedBy<White>(position, blackKing);
}

int exposesKing(Position& position, int colour, int32_t move) {
    return colour == White ? exposesKingT<White>(position, move) : exposesKingT<Black>(position, move);
}

int givesCheck(Position& position, int colour, int32_t move) {
    return colour == White ? givesCheckT<White>(position, move) : givesCheckT<Black>(position, move);
}
