#include "engine/session/bridge.h"

#include <cstdio>
#include <cstring>

#include "engine/core/attacks.h"
#include "engine/core/gamerecord.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/core/position.h"
#include "engine/search/book.h"
#include "engine/search/novice.h"
#include "engine/search/results.h"
#include "engine/search/searchdata.h"
#include "engine/search/timecontrol.h"
#include "engine/search/worker.h"
#include "engine/session/commands.h"
#include "engine/session/session.h"

namespace {

// No time limit for the fixed-depth levels: the depth ends the search.
constexpr float UnlimitedSeconds = 1000000.0f;

bool onBoard(int column, int row) {
    return column >= 0 && column < 8 && row >= 0 && row < 8;
}

// The engine's two clocks hold what is left of the game time, in centiseconds
// (the unit of "time" and "otim"): the game time less what each side has used,
// never below zero.
void setRemainingClocks(long gameMs, const std::int32_t usedMs[2]) {
    const auto left = [gameMs](std::int32_t used) {
        const long remaining = gameMs - static_cast<long>(used);
        return static_cast<int32_t>(remaining > 0 ? remaining / 10 : 0);
    };
    engineSession.whiteClock = left(usedMs[0]);
    engineSession.blackClock = left(usedMs[1]);
}

// The position n plies before (negative n: after) the current one, rebuilt
// from the record; forward steps stop at the record's end.
void stepPlies(int n) {
    Position& position = engineSession.gamePosition;
    int target = position.ply - n;
    if (target < 1) target = 1;
    goToPly(position, target);
}

// Calls visit(move) for every legal move of colour in the game position.
template <typename Visit> void forEachLegalMove(int colour, Visit visit) {
    Position work = engineSession.gamePosition;
    if (work.sideToMove != colour) {
        // The user's pieces while the engine is to move: the moves they would
        // have, without an en-passant right that belongs to the other side.
        work.sideToMove = static_cast<uint8_t>(colour);
        work.epSquare = NoSquare;
    }
    MoveList list;
    generateMovesWithCheck(work, list, colour);
    auto consider = [&](int32_t move) {
        Position copy = work;
        uint32_t changed = 0, former = 0;
        makeMove(copy, move, changed, former, Queen);
        if (!inCheck(copy, colour)) visit(move);
    };
    for (int k = 0; k < list.tacticalCount(); ++k) consider(list.tactical(k));
    for (int k = 0; k < list.quietCount(); ++k) consider(list.quiet(k));
}

// Squares of a move as the user sees them; a castling move is the king's
// step from its start square.
void moveSquares(int32_t move, int& fromColumn, int& fromRow, int& toColumn, int& toRow) {
    const int origin = moveOrigin(move);
    const int destination = moveDestination(move);
    toColumn = columnOf(destination);
    toRow = rowOf(destination);
    if (origin >= CastleWhiteKingSide) {
        fromColumn = 4;
        fromRow = toRow;
    } else {
        fromColumn = columnOf(origin);
        fromRow = rowOf(origin);
    }
}

int nextSquare(const int32_t* squares, int count, int32_t& cursor, int& column, int& row) {
    ++cursor;
    if (cursor < count) {
        column = columnOf(squares[cursor]);
        row = rowOf(squares[cursor]);
        return 1;
    }
    cursor = -1;
    return 0;
}

} // namespace

EngineBridge& engineBridge() {
    static EngineBridge bridge{};
    return bridge;
}

void EngineBridge::resetBridge() {
    destinationCount = 0;
    destinationCursor = -1;
    movableCount = 0;
    movableCursor = -1;
    startEngine();
}

void EngineBridge::newEngineGame() {
    processCommand("new");
    clearPrincipalVariation();
    resetOpeningName(openingBook);
}

void EngineBridge::setLevel(int mode, long value) {
    levelMode = mode;
    levelValue = value;
    // Mode 3 is a beginner level 0..2: its own move choice, no clock.
    noviceLevel = mode == 3 ? static_cast<int>(value < 0 ? 1 : value > 2 ? 3 : value + 1) : 0;
    char line[64];
    if (mode == 0 || mode == 3) {
        if (mode == 3) value = 0;
        std::snprintf(line, sizeof line, "sd %ld", value + 2);
        processCommand(line);
        processCommand("level 0 99 0");
        return;
    }
    const long minutes = value / 60000;
    const long seconds = value / 1000 - minutes * 60;
    processCommand("sd 99");
    std::snprintf(line, sizeof line, "level 0 %ld %ld", minutes, seconds);
    processCommand(line);
    if (mode == 2) setRemainingClocks(value, clockUsedMs);
}

void EngineBridge::setClocksUsed(std::int32_t whiteMs, std::int32_t blackMs) {
    clockUsedMs[0] = whiteMs;
    clockUsedMs[1] = blackMs;
}

void EngineBridge::go() {
    // 1. Nothing may be searching while the limits change.
    stopSearch();
    if (beforeSearch) beforeSearch();
    // 2. A finished game gets no engine move.
    if (gameOver(engineSession.gamePosition)) return;
    // 3. The time limits of the level.
    switch (levelMode) {
    case 0:
    case 3:
        allocateTime(UnlimitedSeconds, 0);
        break;
    case 1:
        allocateTime(0.0f, static_cast<int>(levelValue / 1000));
        break;
    default: {
        setRemainingClocks(levelValue, clockUsedMs);
        const int clock = engineSession.gamePosition.sideToMove == Black ? engineSession.blackClock.load()
                                                                         : engineSession.whiteClock.load();
        allocateTime(static_cast<float>(clock) * 0.01f, 0);
        break;
    }
    }
    // 4. The engine takes the side to move.
    processCommand("go");
}

int EngineBridge::tryUserMove(int fromColumn, int fromRow, int toColumn, int toRow) {
    if (!onBoard(fromColumn, fromRow) || !onBoard(toColumn, toRow)) return 0;
    engineSession.promotionChoice = Queen;
    Position& position = engineSession.gamePosition;
    int origin = 0, destination = 0;
    return playMove(position, fromColumn, fromRow, toColumn, toRow, position.sideToMove, 0, 1, nullptr,
                    &origin, &destination);
}

void EngineBridge::toggleEngineSide(bool busy) {
    if (gameOver(engineSession.gamePosition)) return;
    if (busy)
        stopSearch();
    else
        go();
}

void EngineBridge::takeBackMove(bool busy) {
    takeBackPlies(busy, busy ? 1 : 2);
}

void EngineBridge::takeBackPlies(bool busy, int plies) {
    const uint8_t colour = engineSession.engineColour;
    if (busy) {
        // The engine must not answer the position it is being taken out of.
        engineSession.engineColour = EnginePlaysNone;
        stopSearch();
    }
    stepPlies(plies);
    engineSession.engineColour = colour;
    engineSession.expectedReply = 0;
}

void EngineBridge::takeBackAllMoves(bool busy, int colour) {
    if (busy) stopSearch();
    // Step back while that gets somewhere: a game set up with Black to move
    // never reaches ply 1.
    while (engineSession.gamePosition.ply > 1) {
        const int before = engineSession.gamePosition.ply;
        stepPlies(1);
        if (engineSession.gamePosition.ply >= before) break;
    }
    // One ply on when the colour's first turn comes after the start and the
    // record holds the move before it.
    Position& position = engineSession.gamePosition;
    if (colour != 0 && position.sideToMove != colour && position.ply <= recordLength() &&
        gameRecord.longTexts[position.ply - 1][0] != '\0')
        goToPly(position, position.ply + 1);
    engineSession.expectedReply = 0;
}

void EngineBridge::forwardMove(bool busy) {
    if (busy) {
        stopSearch();
        stepPlies(-1);
    } else {
        stepPlies(-2);
    }
}

void EngineBridge::forwardAllMoves(bool busy) {
    if (busy) stopSearch();
    // Going forward stops at the record's end, so one step past it reaches it.
    goToPly(engineSession.gamePosition, recordLength() + 1);
}

int EngineBridge::pieceAt(int column, int row) {
    if (!onBoard(column, row)) return Empty;
    return engineSession.gamePosition.board[squareOf(column, row)];
}

int EngineBridge::pieceBeforeLastMove(int column, int row) {
    if (!onBoard(column, row)) return Empty;
    // The earlier position is rebuilt on a copy; the game position stays.
    Position earlier = engineSession.gamePosition;
    const int target = earlier.ply - 1;
    goToPly(earlier, target < 1 ? 1 : target);
    return earlier.board[squareOf(column, row)];
}

int EngineBridge::predictedReply(int& fromColumn, int& fromRow, int& toColumn, int& toRow) {
    const int32_t move = engineSession.expectedReply;
    if (move == 0) return 0;
    moveSquares(move, fromColumn, fromRow, toColumn, toRow);
    return 1;
}

void EngineBridge::computeMovablePieces(int colour) {
    movableCount = 0;
    movableCursor = -1;
    clearDestinations();
    forEachLegalMove(colour, [this](int32_t move) {
        const int origin = moveOrigin(move);
        if (origin >= CastleWhiteKingSide) return;
        for (int i = 0; i < movableCount; ++i)
            if (movablePieces[i] == origin) return;
        if (movableCount < BridgeListSize) movablePieces[movableCount++] = origin;
    });
}

int EngineBridge::nextMovablePiece(int& column, int& row) {
    return nextSquare(movablePieces, movableCount, movableCursor, column, row);
}

void EngineBridge::clearDestinations() {
    destinationCount = 0;
    destinationCursor = -1;
}

void EngineBridge::computeDestinations(int column, int row, int colour) {
    clearDestinations();
    if (!onBoard(column, row)) return;
    const int selected = squareOf(column, row);
    const bool kingOnE = column == 4 && pieceType(pieceAt(column, row)) == King;
    forEachLegalMove(colour, [&](int32_t move) {
        const int origin = moveOrigin(move);
        int target = -1;
        if (origin >= CastleWhiteKingSide) {
            if (kingOnE) target = moveDestination(move);
        } else if (origin == selected) {
            target = moveDestination(move);
        }
        if (target >= 0 && destinationCount < BridgeListSize) destinations[destinationCount++] = target;
    });
}

int EngineBridge::nextDestination(int& column, int& row) {
    return nextSquare(destinations, destinationCount, destinationCursor, column, row);
}

void EngineBridge::clearPrincipalVariation(bool workerWaiting) {
    // The root's line: the search fills row 1.
    if (workerWaiting || engineSession.searchState == 0) pvTable[1][0] = 0;
}
