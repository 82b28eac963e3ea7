// The engine's position record, the mailbox geometry, piece codes and the
// tables built once at engine start (piece-square values, random keys,
// file/rank numbers, directions and square differences).
#pragma once

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------
// Colours and piece codes
// ---------------------------------------------------------------------------

constexpr int White = 1;
constexpr int Black = 2;

// Piece types (code AND 7); bishop comes before knight.
constexpr int Pawn = 2;
constexpr int Bishop = 3;
constexpr int Knight = 4;
constexpr int Rook = 5;
constexpr int Queen = 6;
constexpr int King = 7;

// Piece codes on the board: White = type, Black = type + 8, 8 = border.
constexpr int Empty = 0;
constexpr int WhitePawn = 2;
constexpr int WhiteBishop = 3;
constexpr int WhiteKnight = 4;
constexpr int WhiteRook = 5;
constexpr int WhiteQueen = 6;
constexpr int WhiteKing = 7;
constexpr int Border = 8;
constexpr int BlackOffset = 8;
constexpr int BlackPawn = 10;
constexpr int BlackBishop = 11;
constexpr int BlackKnight = 12;
constexpr int BlackRook = 13;
constexpr int BlackQueen = 14;
constexpr int BlackKing = 15;

constexpr int pieceType(int code) {
    return code & 7;
}
constexpr bool isWhitePiece(int code) {
    return code > 0 && code < 8;
}
constexpr bool isBlackPiece(int code) {
    return code > 8;
}
// Colour of a piece code: 1 White, 2 Black, 0 for empty and border.
constexpr int pieceColour(int code) {
    return code > 8 ? Black : (code > 0 && code < 8 ? White : 0);
}

// Letter of every code: "..PBNRQK..pbnrqk." (codes 0, 1, 8, 9 and 16 give '.').
extern const char pieceLetters[18];

// Piece values indexed by code; Black codes carry negated values.
constexpr int PawnValue = 100;
constexpr int BishopValue = 332;
constexpr int KnightValue = 315;
constexpr int RookValue = 510;
constexpr int QueenValue = 960;
constexpr int KingValue = 4000;
extern const int pieceValue[16];

// ---------------------------------------------------------------------------
// Squares: 22 + 10 * row + column, row 0 = rank 8, column 0 = file a.
// ---------------------------------------------------------------------------

// clang-format off
enum SquareName : int {
  A8 = 22, B8, C8, D8, E8, F8, G8, H8,
  A7 = 32, B7, C7, D7, E7, F7, G7, H7,
  A6 = 42, B6, C6, D6, E6, F6, G6, H6,
  A5 = 52, B5, C5, D5, E5, F5, G5, H5,
  A4 = 62, B4, C4, D4, E4, F4, G4, H4,
  A3 = 72, B3, C3, D3, E3, F3, G3, H3,
  A2 = 82, B2, C2, D2, E2, F2, G2, H2,
  A1 = 92, B1, C1, D1, E1, F1, G1, H1,
};
// clang-format on

static_assert(A8 == 22 && H8 == 29 && E8 == 26 && A1 == 92 && E1 == 96 && H1 == 99);

constexpr int BoardSquares = 120;
constexpr int NoSquare = 120; // epSquare when no en-passant capture is possible
constexpr int EmptySlot = 1;  // piece-list marker of a free slot (file and rank 0)

// Steps on the mailbox.
constexpr int StepNorth = -10; // towards rank 8
constexpr int StepSouth = 10;  // towards rank 1
constexpr int StepEast = 1;    // towards the h-file
constexpr int StepWest = -1;

constexpr int squareOf(int column, int row) {
    return 22 + column + 10 * row;
}
constexpr int columnOf(int square) {
    return (square - 22) % 10;
}
constexpr int rowOf(int square) {
    return (square - 22) / 10;
}

// Piece-list slots, the same for both colours.
constexpr int FirstPawnSlot = 0; // 0..7: pawns and extra pieces
constexpr int LastPawnSlot = 7;
constexpr int KnightSlot1 = 8;
constexpr int KnightSlot2 = 9;
constexpr int BishopSlot1 = 10;
constexpr int BishopSlot2 = 11;
constexpr int QueenRookSlot = 12; // the rook on a1/a8 while castling is possible
constexpr int KingRookSlot = 13;  // the rook on h1/h8 while castling is possible
constexpr int QueenSlot = 14;
constexpr int KingSlot = 15;
constexpr int SlotCount = 16;

// Lost castling rights (whiteCastling / blackCastling).
constexpr int QueenSideLost = 1;
constexpr int KingSideLost = 2;
constexpr int NoCastling = 3;

// ---------------------------------------------------------------------------
// The position record: pointer-free, copied and compared byte for byte.
// ---------------------------------------------------------------------------

struct Position {
    uint8_t board[120];          // piece code of every square 0..119
    uint8_t spare[2];            // always 8, like the border
    uint8_t sideToMove;          // 1 White, 2 Black; a move toggles it with XOR 3
    uint8_t epSquare;            // en-passant destination, 120 = none
    int32_t pawnKey;             // wrapping sum of the pawn-key values of the pawns
    uint32_t hashLock;           // second key, from Z2: check value of the table
    uint32_t hashKey;            // first key, from Z1: index key
    int16_t ply;                 // current half-move: 1 at the start with White to move
    int16_t lastIrreversiblePly; // ply after the last capture or pawn move, plus one
    int16_t pstSum;              // piece-square sum of all pieces except kings
    int16_t materialBalance;     // whiteMaterial - blackMaterial
    int16_t whiteMaterial;       // White's pieces other than the king, pawns included
    int16_t blackMaterial;       // the same for Black, positive
    uint8_t whiteCastling;       // lost rights: bit 0 queen side, bit 1 king side
    uint8_t blackCastling;       // the same for Black
    uint8_t whitePieceCount;     // White pieces other than pawns and king
    uint8_t blackPieceCount;     // Black pieces other than pawns and king
    uint8_t blackPawnCount;      // Black pawns
    uint8_t whitePawnCount;      // White pawns
    uint8_t blackMinorCount;     // Black bishops plus knights
    uint8_t whiteMinorCount;     // White bishops plus knights
    uint8_t blackSquares[16];    // Black piece list: square per slot, 1 = empty
    uint8_t whiteSquares[16];    // White piece list
};

static_assert(offsetof(Position, board) == 0);
static_assert(offsetof(Position, spare) == 120);
static_assert(offsetof(Position, sideToMove) == 122);
static_assert(offsetof(Position, epSquare) == 123);
static_assert(offsetof(Position, pawnKey) == 124);
static_assert(offsetof(Position, hashLock) == 128);
static_assert(offsetof(Position, hashKey) == 132);
static_assert(offsetof(Position, ply) == 136);
static_assert(offsetof(Position, lastIrreversiblePly) == 138);
static_assert(offsetof(Position, pstSum) == 140);
static_assert(offsetof(Position, materialBalance) == 142);
static_assert(offsetof(Position, whiteMaterial) == 144);
static_assert(offsetof(Position, blackMaterial) == 146);
static_assert(offsetof(Position, whiteCastling) == 148);
static_assert(offsetof(Position, blackCastling) == 149);
static_assert(offsetof(Position, whitePieceCount) == 150);
static_assert(offsetof(Position, blackPieceCount) == 151);
static_assert(offsetof(Position, blackPawnCount) == 152);
static_assert(offsetof(Position, whitePawnCount) == 153);
static_assert(offsetof(Position, blackMinorCount) == 154);
static_assert(offsetof(Position, whiteMinorCount) == 155);
static_assert(offsetof(Position, blackSquares) == 156);
static_assert(offsetof(Position, whiteSquares) == 172);
static_assert(sizeof(Position) == 188);

// The part of a Position after the board (spare bytes through whiteSquares):
// what a move changes besides at most four board squares, so saving it and
// the changed squares is enough to undo a move.
constexpr size_t PositionTailOffset = offsetof(Position, spare);
constexpr size_t PositionTailSize = sizeof(Position) - PositionTailOffset;
struct PositionTail {
    uint8_t bytes[PositionTailSize];
};
static_assert(PositionTailSize == 68);

// The board with the two spare bytes after it, as one run of 122 squares: a
// knight jump from h1 lands on the first spare byte, which holds the border
// code, so generators may look one step past the board array.
inline const uint8_t* boardBytes(const Position& position) {
    return reinterpret_cast<const uint8_t*>(&position);
}
inline uint8_t* boardBytes(Position& position) {
    return reinterpret_cast<uint8_t*>(&position);
}

void saveTail(const Position& position, PositionTail& tail);
void restoreTail(Position& position, const PositionTail& tail);

// The piece list of a colour (1 White, 2 Black).
inline uint8_t* pieceList(Position& position, int colour) {
    return colour == White ? position.whiteSquares : position.blackSquares;
}
inline const uint8_t* pieceList(const Position& position, int colour) {
    return colour == White ? position.whiteSquares : position.blackSquares;
}
inline int kingSquare(const Position& position, int colour) {
    return pieceList(position, colour)[KingSlot];
}

// Byte-for-byte comparison of whole positions.
bool samePosition(const Position& a, const Position& b);

// ---------------------------------------------------------------------------
// Tables, built once by initTables() at engine start.
// ---------------------------------------------------------------------------

// File number 1..8 (a..h) and rank number 1..8 of every square; 0 off the board.
extern uint8_t fileOf[120];
extern uint8_t rankOf[120];

// Piece-square values indexed [code][square], codes 0..15. White tables as
// given for the type; a Black table holds the negated value of the mirrored
// square. Pawns are all zero; the king tables are used by the evaluation only.
extern int16_t pieceSquare[16][120];

// Random key tables: index square * 16 + code; entry 8 is the side-to-move key.
constexpr int SideToMoveKeyIndex = 8;
extern uint32_t Z1[2048];
extern uint32_t Z2[2048];

// Pawn-key values per colour and square (pawnKey is their wrapping sum).
extern uint32_t whitePawnKeys[128];
extern uint32_t blackPawnKeys[128];
inline uint32_t pawnKeyValue(int colour, int square) {
    return colour == White ? whitePawnKeys[square] : blackPawnKeys[square];
}

// Direction [to][from]: the step from `from` towards `to` on a common line, else 0.
extern int8_t direction[128][128];

// Square-difference tables, indexed by difference + 128.
extern uint8_t kingStepTable[256];
extern uint8_t knightJumpTable[256];
extern uint8_t contactTable[256];
inline bool isKingStep(int difference) {
    return kingStepTable[difference + 128] != 0;
}
inline bool isKnightJump(int difference) {
    return knightJumpTable[difference + 128] != 0;
}
inline bool isContact(int difference) {
    return contactTable[difference + 128] != 0;
}

// Step kinds, indexed by step + 11 (steps -11..11).
extern uint8_t orthogonalStepTable[23];
extern uint8_t diagonalStepTable[23];
inline bool isOrthogonalStep(int step) {
    return step >= -11 && step <= 11 && orthogonalStepTable[step + 11];
}
inline bool isDiagonalStep(int step) {
    return step >= -11 && step <= 11 && diagonalStepTable[step + 11];
}

// Direction sets in the order they are tried.
extern const int knightSteps[8];
extern const int kingSteps[8];
extern const int queenSteps[8];
extern const int rookSteps[4];
extern const int bishopSteps[4];

// Builds every table above (idempotent; the random tables always come out the
// same) and then seeds the library generator with the tick count.
void initTables();

// ---------------------------------------------------------------------------
// Position set-up
// ---------------------------------------------------------------------------

// The empty-position reset. hashKey and hashLock are set to 0 so that equal
// set-ups compare equal byte for byte.
void clearPosition(Position& position);

// Places a piece during set-up; returns 1 if placed, else 0 and nothing changes.
int placePiece(Position& position, int column, int row, int code);

// Recomputes pstSum, the material sums, materialBalance and pawnKey.
void recomputeSums(Position& position);

// Validator: checks the border, the piece lists against the board, the
// counters and the material sums, recomputed from scratch. With exactSums it
// also checks pstSum and pawnKey, which a promotion leaves deliberately apart
// from the board. Returns 1 if valid; otherwise 0 with the reason in `why`.
int positionIsValid(const Position& position, bool exactSums, const char** why = nullptr);

// An en-passant square can only be the square a pawn of the side not to move
// has just passed: on the third rank seen from that side, empty, with the pawn
// right in front of it. NoSquare fits always.
bool epSquareFits(const Position& position);
