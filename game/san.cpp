#include "game/san.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "engine/core/attacks.h"
#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/core/notation.h"
#include "engine/pgn/pgnwrite.h"
#include "engine/search/results.h"
#include "engine/session/session.h"
#include "game/controller.h"

namespace {

char fileLetter(int square) {
    return static_cast<char>('a' + columnOf(square));
}
char rankDigit(int square) {
    return static_cast<char>('8' - rowOf(square));
}

// The king's origin of a castling word.
int moveFrom(const Position& position, int32_t move) {
    if (!isCastling(move)) return moveOrigin(move);
    return kingSquare(position, moveOrigin(move) <= CastleWhiteQueenSide ? White : Black);
}

Position played(const Position& before, int32_t move, int promotionType) {
    Position after = before;
    uint32_t changed = 0, former = 0;
    makeMove(after, move, changed, former, promotionType);
    return after;
}

// Origin, destination and promotion of a record's long text: [piece] from '-'|'x' to
// ['=' letter] or a castling; false when the text is none of these.
bool readLongText(const char* text, const Position& position, int& from, int& to, int& promotion) {
    promotion = Queen;
    const int colour = position.sideToMove;
    if (std::strncmp(text, "O-O-O", 5) == 0 || std::strncmp(text, "O-O", 3) == 0) {
        const bool queenSide = std::strncmp(text, "O-O-O", 5) == 0;
        from = kingSquare(position, colour);
        to = from + (queenSide ? -2 : 2);
        return true;
    }
    const char* p = text;
    if (*p >= 'A' && *p <= 'Z') ++p;
    auto square = [](const char* s, int& result) {
        if (s[0] < 'a' || s[0] > 'h' || s[1] < '1' || s[1] > '8') return false;
        result = squareOf(s[0] - 'a', '8' - s[1]);
        return true;
    };
    if (!square(p, from) || (p[2] != '-' && p[2] != 'x') || !square(p + 3, to)) return false;
    if (p[5] == '=') {
        switch (p[6]) {
        case 'N': promotion = Knight; break;
        case 'B': promotion = Bishop; break;
        case 'R': promotion = Rook; break;
        default: promotion = Queen; break;
        }
    }
    return true;
}

const char* const pieceSanLetters = "..PBNRQK";

} // namespace

std::vector<int32_t> legalMoves(const Position& position) {
    std::vector<int32_t> moves;
    MoveList list;
    const int colour = position.sideToMove;
    generateMovesWithCheck(position, list, colour);
    const int total = list.count();
    for (int k = 0; k < total; ++k) {
        const int32_t move = list.move(k);
        if (!inCheck(played(position, move, Queen), colour)) moves.push_back(move);
    }
    return moves;
}

std::string sanOf(const Position& before, int32_t move, int promotionType) {
    std::string san;
    const int to = moveDestination(move);
    if (isCastling(move)) {
        san = (moveOrigin(move) == CastleWhiteKingSide || moveOrigin(move) == CastleBlackKingSide) ? "O-O" : "O-O-O";
    } else {
        const int from = moveOrigin(move);
        const int type = pieceType(before.board[from]);
        const bool capture = before.board[to] != Empty || (type == Pawn && columnOf(from) != columnOf(to));
        if (type == Pawn) {
            if (capture) san += fileLetter(from);
        } else {
            san += pieceSanLetters[type];
            // Another piece of the kind that reaches the square names the origin's file,
            // its rank, or both.
            bool clash = false, sameFile = false, sameRank = false;
            for (int32_t other : legalMoves(before)) {
                if (isCastling(other) || moveDestination(other) != to) continue;
                const int otherFrom = moveOrigin(other);
                if (otherFrom == from || before.board[otherFrom] != before.board[from]) continue;
                clash = true;
                sameFile |= columnOf(otherFrom) == columnOf(from);
                sameRank |= rowOf(otherFrom) == rowOf(from);
            }
            if (clash && (!sameFile || sameRank)) san += fileLetter(from);
            if (clash && sameFile) san += rankDigit(from);
        }
        if (capture) san += 'x';
        san += fileLetter(to);
        san += rankDigit(to);
        if (type == Pawn && (rowOf(to) == 0 || rowOf(to) == 7)) {
            san += '=';
            san += pieceSanLetters[promotionType >= Bishop && promotionType <= Queen ? promotionType : Queen];
        }
    }
    const Position after = played(before, move, promotionType);
    const int opponent = before.sideToMove ^ 3;
    if (inCheck(after, opponent)) {
        Position next = after;
        next.sideToMove = static_cast<uint8_t>(opponent);
        san += legalMoves(next).empty() ? '#' : '+';
    }
    return san;
}

std::vector<PlayedPly> replayRecord(int untilPly) {
    std::vector<PlayedPly> plies;
    Position position = engineSession.startPosition;
    const int last = std::min({untilPly - 1, static_cast<int>(gameRecord.plyCount), RecordCapacity});
    for (int i = 0; i < last; ++i) {
        char text[MoveTextSize] = {};
        std::memcpy(text, gameRecord.longTexts[i], MoveTextSize - 1);
        if (text[0] == '\0') continue; // before a set-up start
        int from = 0, to = 0, promotion = Queen;
        if (!readLongText(text, position, from, to, promotion)) break;
        int32_t found = -1;
        for (int32_t move : legalMoves(position))
            if (moveFrom(position, move) == from && moveDestination(move) == to) found = move;
        if (found < 0) break;
        PlayedPly ply;
        ply.san = sanOf(position, found, promotion);
        ply.from = from;
        ply.to = to;
        ply.after = played(position, found, promotion);
        ply.after.sideToMove = static_cast<uint8_t>(position.sideToMove ^ 3);
        position = ply.after;
        plies.push_back(ply);
    }
    return plies;
}

std::string fullFen(const Position& position) {
    char buffer[FenBufferSize];
    const int length = writeFen(buffer, position);
    // The engine's text ends with "-" for the en-passant field: the square a pawn has
    // just passed goes there.
    const int ep = position.epSquare;
    if (length > 0 && ep != NoSquare && ep >= A8 && ep <= H1 && (rowOf(ep) == 2 || rowOf(ep) == 5)) {
        buffer[length - 1] = fileLetter(ep);
        buffer[length] = rankDigit(ep);
        buffer[length + 1] = '\0';
    }
    // lastIrreversiblePly is one past the ply that followed the pawn move or capture.
    int halfMoves = position.ply - position.lastIrreversiblePly + 1;
    if (halfMoves > position.ply - 1) halfMoves = position.ply - 1;
    if (halfMoves < 0) halfMoves = 0;
    const int fullMove = position.ply > 0 ? (position.ply + 1) / 2 : 1;
    return std::string(buffer) + " " + std::to_string(halfMoves) + " " + std::to_string(fullMove);
}

std::string resultToken() {
    // The controller's judgement, as the saved game's Result tag.
    return resultText(gameController().gameResultCode());
}

std::string gamePgn() {
    const std::vector<PlayedPly> plies = replayRecord(engineSession.gamePosition.ply);
    const std::string result = resultToken();
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char date[48];
    std::snprintf(date, sizeof date, "%04d.%02d.%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    std::string white = engineSession.opponentName, black = engineSession.opponentName;
    if (engineSession.engineColour == 1) black = engineSession.engineName;
    if (engineSession.engineColour == 2) white = engineSession.engineName;

    std::string text;
    auto tag = [&text](const char* name, const std::string& value) {
        text += "[";
        text += name;
        text += " \"";
        for (char c : value) {
            if (c == '"' || c == '\\') text += '\\';
            text += c;
        }
        text += "\"]\n";
    };
    tag("Event", "Tavisk game");
    tag("Site", "?");
    tag("Date", date);
    tag("Round", "-");
    tag("White", white);
    tag("Black", black);
    tag("Result", result);
    Position initial;
    setInitialPosition(initial);
    const Position& start = engineSession.startPosition;
    if (std::memcmp(&initial, &start, sizeof(Position)) != 0) {
        tag("SetUp", "1");
        tag("FEN", fullFen(start));
    }
    text += "\n";

    // Move text: numbers before White's moves and before a Black move that starts it.
    std::string line;
    auto word = [&](const std::string& w) {
        if (!line.empty() && line.size() + 1 + w.size() > 79) {
            text += line + "\n";
            line.clear();
        }
        if (!line.empty()) line += ' ';
        line += w;
    };
    int ply = start.ply;
    bool first = true;
    for (const PlayedPly& p : plies) {
        const int number = (ply + 1) / 2;
        if (ply % 2 == 1)
            word(std::to_string(number) + ". " + p.san);
        else if (first)
            word(std::to_string(number) + "... " + p.san);
        else
            word(p.san);
        first = false;
        ++ply;
    }
    word(result);
    text += line + "\n";
    return text;
}
