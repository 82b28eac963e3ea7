#include "engine/core/position.h"

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <mutex>

const char pieceLetters[18] = "..PBNRQK..pbnrqk.";

const int pieceValue[16] = {
    0, 0, PawnValue,  BishopValue,  KnightValue,  RookValue,  QueenValue,  KingValue,
    0, 0, -PawnValue, -BishopValue, -KnightValue, -RookValue, -QueenValue, -KingValue,
};

const int knightSteps[8] = {-21, -19, -12, -8, 8, 12, 19, 21};
const int kingSteps[8] = {1, 9, 10, 11, -1, -9, -10, -11};
const int queenSteps[8] = {1, -1, 9, -9, -10, 10, -11, 11};
const int rookSteps[4] = {1, -1, -10, 10};
const int bishopSteps[4] = {9, -9, -11, 11};

uint8_t fileOf[120];
uint8_t rankOf[120];
int16_t pieceSquare[16][120];
uint32_t Z1[2048];
uint32_t Z2[2048];
uint32_t whitePawnKeys[128];
uint32_t blackPawnKeys[128];
int8_t direction[128][128];
uint8_t kingStepTable[256];
uint8_t knightJumpTable[256];
uint8_t contactTable[256];
uint8_t orthogonalStepTable[23];
uint8_t diagonalStepTable[23];

namespace {

// White's piece-square values, rank 8 first, files a..h.
// clang-format off
const int16_t knightTable[8][8] = {
    {-25, -12, -6, -6, -6, -6, -12, -25},
    {-15,   4,  8,  8,  8,  8,   4, -15},
    { -5,   5, 14, 18, 18, 14,   5,  -5},
    {-10,   2, 12, 14, 14, 12,   2, -10},
    {-13,   2,  7,  7,  7,  7,   2, -13},
    {-13,   0,  5,  3,  3,  5,   0, -13},
    {-15,   0,  0,  0,  0,  0,   0, -15},
    {-25, -14, -8, -8, -8, -8, -14, -25},
};
const int16_t bishopTable[8][8] = {
    {-10, -5, -5, -5, -5, -5, -5, -10},
    {-12,  5,  0,  0,  0,  0,  5, -12},
    { -5,  0,  7,  0,  0,  7,  0,  -5},
    { -5,  0,  5,  8,  8,  5,  0,  -5},
    { -5,  0,  5,  8,  8,  5,  0,  -5},
    { -5,  0,  5,  0,  0,  5,  0,  -5},
    {-10,  6,  0,  0,  0,  0,  6, -10},
    {-11, -9, -8, -8, -8, -8, -9, -11},
};
const int16_t rookTable[8][8] = {
    {15, 15, 15, 15, 15, 15, 15, 15},
    {28, 28, 28, 28, 28, 28, 28, 28},
    { 2,  5,  5,  6,  6,  5,  5,  2},
    { 2,  5,  5,  6,  6,  5,  5,  2},
    { 2,  5,  5,  6,  6,  5,  5,  2},
    { 2,  5,  5,  6,  6,  5,  5,  2},
    { 4,  8,  9,  9,  9,  9,  8,  4},
    { 0,  0,  3,  3,  3,  3,  0,  0},
};
const int16_t queenTable[8][8] = {
    {-12, -5,  5,  5,  5,  5, -5, -12},
    { -8, -5,  5,  5,  5,  5, -5,  -8},
    { -5, -5,  5, 12, 12,  5, -5,  -5},
    { -5, -5,  5, 12, 12,  5, -5,  -5},
    { -2,  0,  5, 12, 12,  5,  0,  -2},
    { -2,  3, 10, 10, 10, 10,  3,  -2},
    {  0,  5, 10, 10, 10, 10,  5,   0},
    { -2,  5,  8,  8,  8,  8,  5,  -2},
};
const int16_t kingTable[8][8] = {
    {-68, -68, -68, -68, -68, -68, -68, -68},
    {-65, -68, -68, -68, -68, -68, -68, -65},
    {-50, -50, -50, -50, -50, -50, -50, -50},
    {-40, -40, -40, -40, -40, -40, -40, -40},
    {-30, -35, -35, -35, -35, -35, -35, -30},
    {-15, -15, -17, -19, -19, -17, -15, -15},
    {  0,   0, -12, -14, -14, -12,   0,   0},
    {  0,  10,  -2, -14, -14,  -5,  10,   0},
};
// clang-format on

void buildPieceSquareTables() {
    std::memset(pieceSquare, 0, sizeof pieceSquare);
    const int16_t(*tables[8])[8] = {nullptr,     nullptr,   nullptr,    bishopTable,
                                    knightTable, rookTable, queenTable, kingTable};
    for (int type = Bishop; type <= King; ++type) {
        for (int row = 0; row < 8; ++row) {
            for (int column = 0; column < 8; ++column) {
                pieceSquare[type][squareOf(column, row)] = tables[type][row][column];
                pieceSquare[type + BlackOffset][squareOf(column, row)] =
                    static_cast<int16_t>(-tables[type][7 - row][column]);
            }
        }
    }
}

// The key generator: a linear congruential generator seeded with 1000, three
// steps per 32-bit key, so the tables are the same on every start.
struct KeyGenerator {
    uint32_t state = 1000;
    uint32_t next15() {
        state = state * 1103515245u + 12345u;
        int32_t signedState = static_cast<int32_t>(state);
        return static_cast<uint32_t>(signedState / 65536) & 0xFFFFu;
    }
    uint32_t key() {
        uint32_t r1 = next15();
        uint32_t r2 = next15();
        uint32_t r3 = next15();
        return r1 ^ ((r2 ^ (r3 << 10)) << 15);
    }
};

void buildKeyTables() {
    KeyGenerator generator;
    for (int i = 0; i < 128; ++i) {
        blackPawnKeys[i] = generator.key();
        whitePawnKeys[i] = generator.key();
        for (int j = 0; j < 16; ++j) {
            Z1[16 * i + j] = generator.key();
            Z2[16 * i + j] = generator.key();
        }
    }
}

void buildGeometryTables() {
    std::memset(fileOf, 0, sizeof fileOf);
    std::memset(rankOf, 0, sizeof rankOf);
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            fileOf[squareOf(column, row)] = static_cast<uint8_t>(column + 1);
            rankOf[squareOf(column, row)] = static_cast<uint8_t>(8 - row);
        }
    }

    // Line numbers per square; all four are 0 off the board.
    int falling[120] = {};
    int rising[120] = {};
    for (int s = 0; s < 120; ++s) {
        if (fileOf[s]) {
            falling[s] = 17 - fileOf[s] - rankOf[s];
            rising[s] = 8 + rankOf[s] - fileOf[s];
        }
    }
    std::memset(direction, 0, sizeof direction);
    for (int to = 10; to < 120; ++to) {
        for (int from = 10; from < 120; ++from) {
            if (to == from) continue;
            int8_t sign = to > from ? 1 : -1;
            if (rankOf[to] == rankOf[from]) direction[to][from] = sign;
            if (fileOf[to] == fileOf[from]) direction[to][from] = static_cast<int8_t>(10 * sign);
            if (falling[to] == falling[from]) direction[to][from] = static_cast<int8_t>(11 * sign);
            if (rising[to] == rising[from]) direction[to][from] = static_cast<int8_t>(9 * sign);
        }
    }

    std::memset(kingStepTable, 0, sizeof kingStepTable);
    std::memset(knightJumpTable, 0, sizeof knightJumpTable);
    std::memset(contactTable, 0, sizeof contactTable);
    for (int k = 0; k < 8; ++k) {
        kingStepTable[kingSteps[k] + 128] = 1;
        knightJumpTable[knightSteps[k] + 128] = 1;
        contactTable[kingSteps[k] + 128] = 1;
        contactTable[knightSteps[k] + 128] = 1;
    }
    std::memset(orthogonalStepTable, 0, sizeof orthogonalStepTable);
    std::memset(diagonalStepTable, 0, sizeof diagonalStepTable);
    for (int step : rookSteps) orthogonalStepTable[step + 11] = 1;
    for (int step : bishopSteps) diagonalStepTable[step + 11] = 1;
}

// The tables never change once built, so they are built once only: a second
// engine start must not rewrite them while the worker may be reading them.
void buildTablesOnce() {
    static std::once_flag built;
    std::call_once(built, [] {
        buildPieceSquareTables();
        buildKeyTables();
        buildGeometryTables();
    });
}

} // namespace

void initTables() {
    buildTablesOnce();
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    std::srand(static_cast<unsigned>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
}

// The tables are needed before any position is set up; building them at load
// time as well means a test or tool that never calls initTables still works.
namespace {
struct TablesAtLoad {
    TablesAtLoad() { buildTablesOnce(); }
} tablesAtLoad;
} // namespace

void saveTail(const Position& position, PositionTail& tail) {
    std::memcpy(tail.bytes, reinterpret_cast<const uint8_t*>(&position) + PositionTailOffset,
                PositionTailSize);
}

void restoreTail(Position& position, const PositionTail& tail) {
    std::memcpy(reinterpret_cast<uint8_t*>(&position) + PositionTailOffset, tail.bytes, PositionTailSize);
}

bool samePosition(const Position& a, const Position& b) {
    return std::memcmp(&a, &b, sizeof(Position)) == 0;
}

void clearPosition(Position& position) {
    std::memset(&position, 0, sizeof position);
    position.sideToMove = White;
    position.epSquare = NoSquare;
    position.ply = 1;
    position.lastIrreversiblePly = 1;
    std::memset(position.blackSquares, EmptySlot, sizeof position.blackSquares);
    std::memset(position.whiteSquares, EmptySlot, sizeof position.whiteSquares);
    std::memset(position.board, Border, sizeof position.board);
    position.spare[0] = position.spare[1] = Border;
    for (int row = 0; row < 8; ++row)
        for (int column = 0; column < 8; ++column) position.board[squareOf(column, row)] = Empty;
}

namespace {

int firstFreePawnSlot(const uint8_t* list) {
    for (int slot = FirstPawnSlot; slot <= LastPawnSlot; ++slot)
        if (list[slot] == EmptySlot) return slot;
    return -1;
}

// Stable exchange sort of slots 0..7 by file; empty slots (file 0) first.
void sortPawnSlots(uint8_t* list) {
    for (int pass = 0; pass < 8; ++pass)
        for (int slot = FirstPawnSlot; slot < LastPawnSlot; ++slot)
            if (fileOf[list[slot]] > fileOf[list[slot + 1]]) {
                uint8_t square = list[slot];
                list[slot] = list[slot + 1];
                list[slot + 1] = square;
            }
}

} // namespace

int placePiece(Position& position, int column, int row, int code) {
    if (column < 0 || column > 7 || row < 0 || row > 7) return 0;
    int type = pieceType(code);
    if (code <= 0 || code >= 16 || type < Pawn || code == Border) return 0;
    int square = squareOf(column, row);
    if (position.board[square] != Empty) return 0;
    bool white = code < 8;
    uint8_t* list = white ? position.whiteSquares : position.blackSquares;

    if (type == Pawn) {
        if (row == 0 || row == 7) return 0;
        int slot = firstFreePawnSlot(list);
        if (slot < 0) return 0;
        list[slot] = static_cast<uint8_t>(square);
        if (white)
            ++position.whitePawnCount;
        else
            ++position.blackPawnCount;
        position.board[square] = static_cast<uint8_t>(code);
        sortPawnSlots(list);
        recomputeSums(position);
        return 1;
    }

    int slot = -1;
    auto tryPair = [&](int first, int second) {
        if (list[first] == EmptySlot)
            slot = first;
        else if (second >= 0 && list[second] == EmptySlot)
            slot = second;
        else
            slot = firstFreePawnSlot(list);
    };
    switch (type) {
    case Knight:
        tryPair(KnightSlot1, KnightSlot2);
        break;
    case Bishop:
        tryPair(BishopSlot1, BishopSlot2);
        break;
    case Rook:
        tryPair(QueenRookSlot, KingRookSlot);
        break;
    case Queen:
        tryPair(QueenSlot, -1);
        break;
    case King:
        slot = list[KingSlot] == EmptySlot ? KingSlot : -1;
        break;
    default:
        return 0;
    }
    if (slot < 0) return 0;
    list[slot] = static_cast<uint8_t>(square);
    if (type != King) {
        if (white)
            ++position.whitePieceCount;
        else
            ++position.blackPieceCount;
        if (type == Bishop || type == Knight) {
            if (white)
                ++position.whiteMinorCount;
            else
                ++position.blackMinorCount;
        }
    }
    position.board[square] = static_cast<uint8_t>(code);
    recomputeSums(position);
    return 1;
}

void recomputeSums(Position& position) {
    int pst = 0, white = 0, black = 0;
    for (int row = 0; row < 8; ++row) {
        for (int column = 0; column < 8; ++column) {
            int square = squareOf(column, row);
            int code = position.board[square];
            if (code == Empty || pieceType(code) == King) continue;
            pst += pieceSquare[code][square];
            if (code >= WhitePawn && code <= WhiteQueen)
                white += pieceValue[code];
            else if (code >= BlackPawn && code <= BlackQueen)
                black += pieceValue[pieceType(code)];
        }
    }
    position.pstSum = static_cast<int16_t>(pst);
    position.whiteMaterial = static_cast<int16_t>(white);
    position.blackMaterial = static_cast<int16_t>(black);
    position.materialBalance = static_cast<int16_t>(white - black);
    uint32_t key = 0;
    for (int slot = FirstPawnSlot; slot <= LastPawnSlot; ++slot) {
        if (position.whiteSquares[slot] != EmptySlot) key += whitePawnKeys[position.whiteSquares[slot]];
        if (position.blackSquares[slot] != EmptySlot) key += blackPawnKeys[position.blackSquares[slot]];
    }
    position.pawnKey = static_cast<int32_t>(key);
}

bool epSquareFits(const Position& p) {
    const int ep = p.epSquare;
    if (ep == NoSquare) return true;
    if (ep >= BoardSquares || !fileOf[ep] || p.board[ep] != Empty) return false;
    // White to move: Black's pawn went from rank 7 to rank 5 over rank 6.
    if (p.sideToMove == White) return rankOf[ep] == 6 && p.board[ep + StepSouth] == BlackPawn;
    return rankOf[ep] == 3 && p.board[ep + StepNorth] == WhitePawn;
}

int positionIsValid(const Position& p, bool exactSums, const char** why) {
    auto fail = [why](const char* reason) {
        if (why) *why = reason;
        return 0;
    };
    if (p.spare[0] != Border || p.spare[1] != Border) return fail("spare bytes");
    for (int s = 0; s < 120; ++s) {
        bool onBoard = fileOf[s] != 0;
        int code = p.board[s];
        if (!onBoard && code != Border) return fail("border square");
        if (onBoard && (code == 1 || code == Border || code == 9 || code > BlackKing))
            return fail("piece code");
        if (onBoard && code == 9) return fail("piece code");
    }
    if (p.sideToMove != White && p.sideToMove != Black) return fail("side to move");
    if (!epSquareFits(p)) return fail("en-passant square");

    int pawns[3] = {}, pieces[3] = {}, minors[3] = {}, material[3] = {}, listed[3] = {}, onBoard[3] = {};
    for (int colour = White; colour <= Black; ++colour) {
        const uint8_t* list = pieceList(p, colour);
        for (int slot = 0; slot < SlotCount; ++slot) {
            int square = list[slot];
            if (square == EmptySlot) continue;
            if (square >= 120 || !fileOf[square]) return fail("slot square off the board");
            int code = p.board[square];
            if (pieceColour(code) != colour) return fail("slot square without a piece of its colour");
            for (int other = slot + 1; other < SlotCount; ++other)
                if (list[other] == square) return fail("square in two slots");
            if ((pieceType(code) == King) != (slot == KingSlot)) return fail("king outside slot 15");
            ++listed[colour];
        }
        if (list[KingSlot] == EmptySlot) return fail("no king");
    }
    for (int s = 0; s < 120; ++s) {
        int code = p.board[s];
        int colour = pieceColour(code);
        if (!colour || !fileOf[s]) continue;
        ++onBoard[colour];
        int type = pieceType(code);
        if (type == Pawn)
            ++pawns[colour];
        else if (type != King)
            ++pieces[colour];
        if (type == Bishop || type == Knight) ++minors[colour];
        if (type != King) material[colour] += pieceValue[type];
    }
    if (listed[White] != onBoard[White] || listed[Black] != onBoard[Black])
        return fail("piece not in its list");
    if (p.whitePawnCount != pawns[White] || p.blackPawnCount != pawns[Black]) return fail("pawn count");
    if (p.whitePieceCount != pieces[White] || p.blackPieceCount != pieces[Black]) return fail("piece count");
    if (p.whiteMinorCount != minors[White] || p.blackMinorCount != minors[Black]) return fail("minor count");
    if (p.whiteMaterial != material[White] || p.blackMaterial != material[Black]) return fail("material");
    if (p.materialBalance != p.whiteMaterial - p.blackMaterial) return fail("material balance");
    if (exactSums) {
        Position fresh = p;
        recomputeSums(fresh);
        if (fresh.pstSum != p.pstSum) return fail("piece-square sum");
        if (fresh.pawnKey != p.pawnKey) return fail("pawn key");
    }
    return 1;
}
