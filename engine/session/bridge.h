#pragma once
// The game controller's handle on the engine: command lines for the
// interpreter, a few direct operations on the game position, and the square
// lists of the legal-move display. Squares are (column, row) pairs, column
// 0..7 = files a..h, row 0..7 = ranks 8..1.

#include <cstdint>

constexpr int BridgeListSize = 100;

struct EngineBridge {
    std::int32_t destinations[BridgeListSize];  // square numbers of the selected piece's targets
    std::int32_t destinationCount;              // entries in use
    std::int32_t destinationCursor;             // read position, -1 = before the first
    std::int32_t movablePieces[BridgeListSize]; // square numbers of pieces with a legal move
    std::int32_t movableCount;
    std::int32_t movableCursor;
    std::int32_t levelMode; // as last given to setLevel
    long levelValue;        // mode 0: level number; modes 1, 2: ms; mode 3: beginner level 0..2
    std::int32_t clockUsedMs[2]; // time White and Black have been to move, as the game's clocks show
    // Called by go() once the engine has stopped and before it may think: the
    // game as it stands is complete (the controller writes it then). May be null.
    void (*beforeSearch)();

    // Empties both lists, then starts the engine.
    void resetBridge();
    // "new", an empty principal variation and no opening name.
    void newEngineGame();
    // Sends the depth and level lines for a level mode and value.
    void setLevel(int mode, long value);
    // The time each side has used so far: a game time ("Game In") budgets
    // every engine move from what is left of it.
    void setClocksUsed(std::int32_t whiteMs, std::int32_t blackMs);
    // Stops any search, sets the time limits and lets the engine move for the
    // side to move; nothing when the game is over.
    void go();
    // Plays the move for the side to move if legal (a pawn reaching the last
    // rank becomes a queen) and records it. Nonzero if played.
    int tryUserMove(int fromColumn, int fromRow, int toColumn, int toRow);
    // Hands the move to the engine (not busy) or stops it (busy).
    void toggleEngineSide(bool busy);
    // Busy: stop and go back one ply; otherwise back two plies.
    void takeBackMove(bool busy);
    // The same for a given number of plies.
    void takeBackPlies(bool busy, int plies);
    // Back to the start of the record; with a colour (1 White, 2 Black), to the
    // first position of the record where that colour is to move.
    void takeBackAllMoves(bool busy, int colour = 0);
    // Busy: stop and go forward one ply; otherwise forward two plies.
    void forwardMove(bool busy);
    void forwardAllMoves(bool busy);
    // Piece code on a square of the game position, and before the last move.
    int pieceAt(int column, int row);
    int pieceBeforeLastMove(int column, int row);
    // The move the engine expects from the user: 0 if none, else 1 with its squares.
    int predictedReply(int& fromColumn, int& fromRow, int& toColumn, int& toRow);
    // Origins of the colour's legal moves, each once; also empties the destinations.
    void computeMovablePieces(int colour);
    int nextMovablePiece(int& column, int& row);
    void clearDestinations();
    // Destinations of the colour's legal moves from the square (castling as
    // the king's target square).
    void computeDestinations(int column, int row, int colour);
    int nextDestination(int& column, int& row);
    // Empties the engine's principal variation (the line the panel shows).
    // A worker that a stop could not bring to rest within its waits still
    // owns the table, unless it is waiting for the caller to handle its
    // notification (workerWaiting); otherwise the table is left to the next
    // search.
    void clearPrincipalVariation(bool workerWaiting = false);
};

// The one bridge, created on first use with all fields zero.
EngineBridge& engineBridge();

// Square number of the mailbox board for a (column, row) pair, and back.
constexpr int bridgeSquare(int column, int row) {
    return 22 + 10 * row + column;
}
constexpr int bridgeColumn(int square) {
    return (square - 22) % 10;
}
constexpr int bridgeRow(int square) {
    return (square - 22) / 10;
}
