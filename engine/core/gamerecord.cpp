#include "engine/core/gamerecord.h"

#include <cstring>

#include "engine/core/attacks.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/core/notation.h"
#include "engine/search/ttable.h"
#include "engine/session/notify.h"
#include "engine/session/session.h"

GameRecord gameRecord;

namespace {

bool validCoordinate(int value) {
    return value >= -1 && value <= 7;
}

} // namespace

int playMove(Position& position, int fromColumn, int fromRow, int toColumn, int toRow, int colour,
             int pieceCode, int recordFlag, GameRecord* record, int* outOrigin, int* outDestination) {
    if (colour != White && colour != Black) return 0;
    if (!validCoordinate(fromColumn) || !validCoordinate(fromRow) || toColumn < 0 || toColumn > 7 ||
        toRow < 0 || toRow > 7)
        return 0;

    // 1. Moves of colour, and the squares given.
    MoveList list;
    generateMovesWithCheck(position, list, colour);
    bool originGiven = fromColumn >= 0 && fromRow >= 0;
    int origin = originGiven ? squareOf(fromColumn, fromRow) : 0;
    int destination = squareOf(toColumn, toRow);

    // 2. Castling given by the king's squares.
    int kingCode = colour == White ? WhiteKing : BlackKing;
    if (originGiven && position.board[origin] == kingCode && toRow == fromRow &&
        (toColumn == fromColumn + 2 || toColumn == fromColumn - 2)) {
        bool kingSide = toColumn == fromColumn + 2;
        if (colour == White) {
            origin = kingSide ? CastleWhiteKingSide : CastleWhiteQueenSide;
            destination = kingSide ? G1 : C1;
        } else {
            origin = kingSide ? CastleBlackKingSide : CastleBlackQueenSide;
            destination = kingSide ? G8 : C8;
        }
    }

    // 3. The last legal move that matches, tactical moves first.
    int32_t matched = -1;
    int total = list.count();
    for (int k = 0; k < total; ++k) {
        int32_t move = list.move(k);
        int from = moveOrigin(move);
        if (moveDestination(move) != destination) continue;
        bool matches;
        if (originGiven) {
            matches = from == origin;
        } else if (from >= CastleWhiteKingSide) {
            matches = false; // castling is only given by the king's squares or "O-O"
        } else if (fromColumn >= 0) {
            matches = fileOf[from] == fromColumn + 1 && position.board[from] == pieceCode;
        } else if (fromRow >= 0) {
            matches = rankOf[from] == 8 - fromRow && position.board[from] == pieceCode;
        } else {
            matches = position.board[from] == pieceCode;
        }
        if (!matches) continue;
        Position copy = position;
        uint32_t a, b;
        makeMove(copy, move, a, b, Queen);
        if (inCheck(copy, colour)) continue;
        matched = move;
    }

    // 4. Nothing matched.
    if (matched < 0) return 0;

    // 5. Out squares and the even-exchange square for time management.
    int from = moveOrigin(matched);
    int to = moveDestination(matched);
    if (outOrigin) *outOrigin = from;
    if (outDestination) *outDestination = to;
    int recapture = 0;
    if (from < CastleWhiteKingSide) {
        int capturedValue = pieceValue[position.board[to]];
        int moverValue = pieceValue[position.board[from]];
        if (capturedValue < 0) capturedValue = -capturedValue;
        if (moverValue < 0) moverValue = -moverValue;
        int difference = capturedValue - moverValue;
        if (capturedValue > 200 && difference < 70 && difference > -70) recapture = to;
    }
    engineSession.expectedRecapture = recapture;

    // 6. Play and record.
    Position before = position;
    uint32_t a, b;
    makeMove(position, matched, a, b, engineSession.promotionChoice);
    if (recordFlag == 1) recordMove(record, matched, before);
    return 1;
}

int playMoveText(const char* text, Position& position, int recordFlag, GameRecord* record) {
    if (!text) return 0;
    if (std::strncmp(text, "Null", 4) == 0) {
        position.sideToMove ^= 3;
        position.ply = static_cast<int16_t>(position.ply + 1);
        return 1;
    }
    ParsedMove m = parseMoveText(text, position);
    return playMove(position, m.fromColumn, m.fromRow, m.toColumn, m.toRow, position.sideToMove, m.pieceCode,
                    recordFlag, record, nullptr, nullptr);
}

void recordMove(GameRecord* record, int32_t move, const Position& before) {
    if (!record) record = &gameRecord;
    int p = before.ply;
    // 1. A full record stops recording. A move after a takeback replaces the
    // record's tail, however long the record was: only a ply beyond the
    // limit goes unrecorded.
    if (p > RecordStopPly) return;

    // 2. Clocks, repetition history and the result, for the game's own record.
    if (record == &gameRecord) {
        uint32_t now = tickCount();
        if (p >= record->plyCount) {
            uint32_t elapsed = now - engineSession.lastRecordTick;
            int32_t centiseconds = static_cast<int32_t>(static_cast<uint64_t>(elapsed) * 100 / 1000);
            if (p & 1)
                engineSession.whiteClock += centiseconds;
            else
                engineSession.blackClock += centiseconds;
        }
        engineSession.lastRecordTick = now;
        if (p >= 0 && p < RepetitionPlyLimit) {
            Position keyed = before;
            keyed.hashKey = computeHashKey(keyed);
            recordRepetition(p, fullIndexKey(keyed));
        }
        engineSession.gameResult = 4;
    }

    // A ply beyond the record's room (many null moves) is not recorded.
    if (p < 1 || p > RecordCapacity) return;

    // 3. This ply becomes the last one.
    record->plyCount = p;
    char* longText = record->longTexts[p - 1];
    char* shortText = record->shortTexts[p - 1];
    std::memset(longText, 0, MoveTextSize);
    std::memset(shortText, 0, MoveTextSize);

    // 4.-5. The texts.
    if (move == NullMove || isCastling(move)) {
        longMoveText(longText, move, before, Queen);
        std::memcpy(shortText, longText, MoveTextSize);
        return;
    }
    if (mainWindow.load())
        notifyMainWindow(DisambiguateMessage, move, reinterpret_cast<intptr_t>(&before));
    else
        disambiguationNeeded(move, before);
    int promotion = engineSession.promotionChoice;
    longMoveText(longText, move, before, promotion);
    shortMoveText(shortText, move, before, promotion, engineSession.disambiguationFlag);
}

void clearRecord(GameRecord* record) {
    if (!record) record = &gameRecord;
    std::memset(record, 0, sizeof *record);
}

int recordLength() {
    return gameRecord.plyCount;
}

const char* lastMoveText() {
    int n = gameRecord.plyCount;
    if (n < 1 || n > RecordCapacity) return "";
    return gameRecord.longTexts[n - 1];
}

const char* moveTextBack(int k, int shortForm) {
    int ply = engineSession.gamePosition.ply;
    if (k >= ply) return nullptr;
    int n = ply - k;
    if (n < 1 || n > RecordCapacity) return nullptr;
    return shortForm ? gameRecord.shortTexts[n - 1] : gameRecord.longTexts[n - 1];
}

void goToPly(Position& position, int n) {
    position = engineSession.startPosition;
    for (int i = 0; i < n - 1 && i < gameRecord.plyCount && i < RecordCapacity; ++i) {
        const char* text = gameRecord.longTexts[i];
        if (text[0] == '\0') continue;
        char copy[MoveTextSize + 1] = {};
        std::memcpy(copy, text, MoveTextSize);
        playMoveText(copy, position, 0, nullptr);
    }
}
