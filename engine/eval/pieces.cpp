#include "engine/eval/pieces.h"

#include "engine/core/position.h"
#include "engine/eval/evalbase.h"

using namespace evalbase;

namespace {

// clang-format off
// By free squares along the rank, 0..6.
constexpr int rookMobilityOpen[7]    = { -16, -6, 0, 2, 4, 6, 8 };    // no own pawn on the file
constexpr int rookMobilityOwnPawn[7] = { -16, -14, -2, 0, 2, 4, 6 };  // own pawn on the file
// Advanced rook defended by a pawn, by rank 6, 7, 8 from its own side.
constexpr int advancedRookValue[3] = { 9, 15, 20 };
// King attack of a rook by file distance to the enemy king (4 and more: 0).
constexpr int rookOpenFileAttack[5] = { 22, 12, 6, 3, 0 };
constexpr int rookHalfOpenAttack[5] = { 11, 6, 2, 1, 0 };
// King attack by manhattan distance 0..14.
constexpr int knightAttack[15] = { 12, 11, 11, 14, 12, 10, 7, 6, 4, 2, 0, 0, 0, 0, 0 };
// Bishop: by diagonal number difference 0..3+, by king distance 0..7, by free squares 0..6.
constexpr int bishopDiagonalAttack[4] = { 9, 6, 2, 0 };
constexpr int bishopDistanceAttack[8] = { 7, 10, 10, 8, 4, 2, 0, 0 };
constexpr int bishopMobility[7] = { -12, -6, -2, 0, 2, 4, 5 };

// Knight outpost when defended by an own pawn, White's view, [8 - rank][file - 1].
constexpr int8_t knightOutpostTable[8][8] = {
    { 0, 0,  0,  0,  0,  0, 0, 0 },
    { 5, 6,  9,  9,  9,  9, 6, 5 },
    { 6, 8, 10, 12, 12, 10, 8, 6 },
    { 3, 6,  7,  8,  8,  7, 6, 3 },
    { 2, 3,  4,  4,  4,  4, 3, 2 },
    { 0, 2,  2,  2,  2,  2, 2, 2 },
    { 0, 0,  0,  0,  0,  0, 0, 0 },
    { 0, 0,  0,  0,  0,  0, 0, 0 },
};
// clang-format on

constexpr int RookOpenFile = 21;
constexpr int RookHalfOpenFile = 10;
constexpr int TrappedRook = -29;
constexpr int KnightHitByPawn = -22;
constexpr int KnightBlockedAdvance = -8;
constexpr int BishopBlocksCentrePawn = -8;
constexpr int BishopBlockedByPawn = -6;
constexpr int BishopShutIn = -150;
constexpr int TrappedBishopFull = 150;
constexpr int TrappedBishopHalf = 75;

inline int absValue(int v) {
    return v < 0 ? -v : v;
}
inline int capped(int v, int limit) {
    return v < limit ? v : limit;
}

inline int diagDown(int square) {
    return 17 - fileAt(square) - rankAt(square);
}
inline int diagUp(int square) {
    return 8 - fileAt(square) + rankAt(square);
}

inline bool fileBit(uint8_t mask, int file) {
    return (mask >> (file - 1)) & 1;
}

// Pieces a rook counts as passable along its rank: the enemy's rooks, queen and king.
inline bool rookPassable(int code, bool white) {
    if (code == Empty) return true;
    if (white) return code == BlackRook || code == BlackQueen || code == BlackKing;
    return code == WhiteRook || code == WhiteQueen || code == WhiteKing;
}

// Free squares on one side of a rook along its rank, 0..3.
inline int rankFreedom(const Position& position, int square, int step, bool white) {
    if (!rookPassable(position.board[square + step], white)) return 0;
    if (position.board[square + 2 * step] != Empty) return 1;
    if (position.board[square + 3 * step] != Empty) return 2;
    return 3;
}

} // namespace

int evaluateRook(const Position& position, int square, int enemyKingSquare, uint8_t ownPawnFiles,
                 uint8_t enemyPawnFiles, uint8_t enemyWeakFiles, int& attack) {
    const bool white = position.board[square] == WhiteRook;
    const int ownPawn = white ? WhitePawn : BlackPawn;
    const int forward = white ? StepNorth : StepSouth;
    const int file = fileAt(square);
    const int rank = white ? rankAt(square) : 9 - rankAt(square); // rank from its own side

    // 1. Freedom along the rank.
    int n = rankFreedom(position, square, StepEast, white) + rankFreedom(position, square, StepWest, white);

    // 2. An advanced rook defended by a pawn.
    int value = 0;
    if (rank >= 6 &&
        (position.board[square - forward - 1] == ownPawn || position.board[square - forward + 1] == ownPawn))
        value += advancedRookValue[rank - 6];

    // 3. The file.
    if (fileBit(ownPawnFiles, file)) {
        value += rookMobilityOwnPawn[n];
    } else {
        int distance = capped(absValue(file - fileAt(enemyKingSquare)), 4);
        if (!fileBit(enemyPawnFiles, file) || fileBit(enemyWeakFiles, file)) {
            value += RookOpenFile;
            attack += rookOpenFileAttack[distance];
        } else {
            value += RookHalfOpenFile;
            attack += rookHalfOpenAttack[distance];
        }
        int queen = (white ? position.whiteSquares : position.blackSquares)[QueenSlot];
        if (slotFilled(queen) && fileAt(queen) == file) attack += rookHalfOpenAttack[distance];
        value += rookMobilityOpen[n];
    }

    // 4. A rook shut in by its own king in the corner, on a file with pawns.
    if (fileBit(ownPawnFiles | enemyPawnFiles, file)) {
        int king = (white ? position.whiteSquares : position.blackSquares)[KingSlot];
        int s = white ? square : mirrorSquare(square);
        int k = white ? king : mirrorSquare(king);
        if (((s == A1 || s == B1 || s == A2) && (k == B1 || k == C1)) ||
            ((s == G1 || s == H1 || s == H2) && (k == F1 || k == G1)))
            value += TrappedRook;
    }
    return value;
}

int evaluateKnight(const Position& position, int square, int enemyKingSquare, int& attack) {
    const bool white = position.board[square] == WhiteKnight;
    const int ownPawn = white ? WhitePawn : BlackPawn;
    const int enemyPawn = white ? BlackPawn : WhitePawn;
    const int forward = white ? StepNorth : StepSouth;
    const int rank = white ? rankAt(square) : 9 - rankAt(square);

    int value = 0;
    // 1. Attacked by an enemy pawn.
    if (position.board[square + forward - 1] == enemyPawn ||
        position.board[square + forward + 1] == enemyPawn)
        value += KnightHitByPawn;
    // 2. Outpost defended by an own pawn.
    if (position.board[square - forward - 1] == ownPawn || position.board[square - forward + 1] == ownPawn)
        value += knightOutpostTable[8 - rank][fileAt(square) - 1];
    // 3. An enemy pawn three ranks ahead will drive it away.
    if (rank <= 4 && position.board[square + 3 * forward] == enemyPawn) value += KnightBlockedAdvance;
    // 4. King attack.
    attack += knightAttack[manhattan(square, enemyKingSquare)];
    return value;
}

int evaluateBishop(const Position& position, int square, int enemyKingSquare, int& attack) {
    const bool white = position.board[square] == WhiteBishop;
    const int ownPawn = white ? WhitePawn : BlackPawn;
    const int enemyPawn = white ? BlackPawn : WhitePawn;
    const int sign = white ? 1 : -1; // White's offsets, turned round for Black
    const int left = -11 * sign;     // forward along the a8-h1 line (diagDown constant)
    const int right = -9 * sign;     // forward along the a1-h8 line (diagUp constant)
    const uint8_t* b = position.board;
    const int own = white ? square : mirrorSquare(square);

    int p = 0, m = 0;
    // 1. Standing in front of an own centre pawn that has not moved.
    if ((own == D3 || own == E3) && b[square + 10 * sign] == ownPawn) p = BishopBlocksCentrePawn;

    // 2. and 3. The two forward diagonals.
    const int diffLeft = absValue(diagDown(square) - diagDown(enemyKingSquare));
    const int diffRight = absValue(diagUp(square) - diagUp(enemyKingSquare));
    for (int side = 0; side < 2; ++side) {
        const int step = side == 0 ? left : right;
        const int first = b[square + step];
        if (isPawnCode(first)) {
            p += BishopBlockedByPawn;
            continue;
        }
        attack += bishopDiagonalAttack[capped(side == 0 ? diffLeft : diffRight, 3)];
        if (first == Empty) {
            const int second = b[square + 2 * step];
            if (second == Empty) {
                m += 2;
            } else {
                m += 1;
                if (isPawnCode(second)) p += BishopBlockedByPawn;
            }
        }
    }

    // 4. Closeness to the enemy king.
    attack += bishopDistanceAttack[dist(square, enemyKingSquare)];

    // 5. The two backward squares.
    if (b[square - left] == Empty) ++m;
    if (b[square - right] == Empty) ++m;

    // 6. No free square and enemy pawns in front on both lines: shut in. A pawn
    // in front means the bishop is below its last rank, so the squares two
    // ranks ahead are on the board.
    if (m == 0) {
        if (b[square + right] == enemyPawn &&
            (b[square - 20 * sign] == enemyPawn || b[square - 18 * sign] == enemyPawn))
            p += BishopShutIn;
        if (b[square + left] == enemyPawn &&
            (b[square - 22 * sign] == enemyPawn || b[square - 20 * sign] == enemyPawn))
            p += BishopShutIn;
    }

    // 7. Mobility.
    return p + bishopMobility[m];
}

void trappedBishops(const Position& position, int& score) {
    // White: a bishop that took a pawn on a7/h7 (or strayed to b8/g8) and is cut off.
    int square = position.whiteSquares[BishopSlot1];
    auto whiteTrap = [](int s) { return s == A7 || s == B8 || s == H7 || s == G8; };
    if (!whiteTrap(square)) square = position.whiteSquares[BishopSlot2];
    if (whiteTrap(square)) {
        const uint8_t* b = position.board;
        if (square == A7 && b[B6] == BlackPawn)
            score -= b[C7] == BlackPawn ? TrappedBishopFull : TrappedBishopHalf;
        if (square == B8 && b[B6] == BlackPawn && b[C7] == BlackPawn) score -= TrappedBishopHalf;
        if (square == H7 && b[G6] == BlackPawn)
            score -= b[F7] == BlackPawn ? TrappedBishopFull : TrappedBishopHalf;
        if (square == G8 && b[G6] == BlackPawn && b[F7] == BlackPawn) score -= TrappedBishopHalf;
    }
    square = position.blackSquares[BishopSlot1];
    auto blackTrap = [](int s) { return s == A2 || s == B1 || s == H2 || s == G1; };
    if (!blackTrap(square)) square = position.blackSquares[BishopSlot2];
    if (blackTrap(square)) {
        const uint8_t* b = position.board;
        if (square == A2 && b[B3] == WhitePawn)
            score += b[C2] == WhitePawn ? TrappedBishopFull : TrappedBishopHalf;
        if (square == B1 && b[B3] == WhitePawn && b[C2] == WhitePawn) score += TrappedBishopHalf;
        if (square == H2 && b[G3] == WhitePawn)
            score += b[F2] == WhitePawn ? TrappedBishopFull : TrappedBishopHalf;
        if (square == G1 && b[G3] == WhitePawn && b[F2] == WhitePawn) score += TrappedBishopHalf;
    }
}
