#include "engine/core/notation.h"

#include <cstring>

#include "engine/core/attacks.h"
#include "engine/core/movegen.h"
#include "engine/search/searchdata.h"
#include "engine/session/session.h"

const char recordPieceLetters[9] = "..pBNRQK";

namespace {

inline char fileLetter(int square) {
    return static_cast<char>('a' + columnOf(square));
}
inline char rankDigit(int square) {
    return static_cast<char>('8' - rowOf(square));
}

bool isMarkerWord(int32_t move) {
    int low = move & 0xFF;
    return low == 0xFA || low == 0xFC || low == 0xFD || low == 0xFE || low == 0xFF;
}

// King squares of the castling codes.
void castlingSquares(int code, int& from, int& to) {
    switch (code) {
    case CastleWhiteKingSide:
        from = E1;
        to = G1;
        break;
    case CastleWhiteQueenSide:
        from = E1;
        to = C1;
        break;
    case CastleBlackKingSide:
        from = E8;
        to = G8;
        break;
    default:
        from = E8;
        to = C8;
        break;
    }
}

char promotionLetter(int promotionType) {
    if (promotionType < Bishop || promotionType > Queen) promotionType = Queen;
    return recordPieceLetters[promotionType];
}

// Shared by both record forms: piece letter, optional origin, capture mark,
// destination, promotion; returns the length. `check` adds '+' when room is left.
int recordText(char* buffer, int32_t move, const Position& before, int promotionType, bool withOrigin,
               bool withOriginFile) {
    int n = 0;
    if (move == -1) {
        const char* text = "Null   ";
        for (; text[n]; ++n) buffer[n] = text[n];
        buffer[n] = '\0';
        return n;
    }
    int origin = moveOrigin(move);
    if (origin >= CastleWhiteKingSide) {
        const char* text =
            (origin == CastleWhiteKingSide || origin == CastleBlackKingSide) ? "O-O    " : "O-O-O  ";
        for (; text[n]; ++n) buffer[n] = text[n];
        buffer[n] = '\0';
        return n;
    }
    int destination = moveDestination(move);
    int mover = before.board[origin];
    int type = pieceType(mover);
    if (type != Pawn && type >= Bishop && type <= King) buffer[n++] = recordPieceLetters[type];
    if (withOrigin) {
        buffer[n++] = fileLetter(origin);
        buffer[n++] = rankDigit(origin);
    } else if (withOriginFile) {
        buffer[n++] = fileLetter(origin);
    }
    bool capture = before.board[destination] != Empty;
    if (capture)
        buffer[n++] = 'x';
    else if (withOrigin)
        buffer[n++] = '-';
    buffer[n++] = fileLetter(destination);
    buffer[n++] = rankDigit(destination);
    int lastRow = pieceColour(mover) == White ? 0 : 7;
    if (type == Pawn && rowOf(destination) == lastRow) {
        buffer[n++] = '=';
        buffer[n++] = promotionLetter(promotionType);
    }
    buffer[n] = '\0';
    return n;
}

bool moveGivesCheck(int32_t move, const Position& before) {
    Position copy = before;
    int colour = pieceColour(before.board[moveOrigin(move)]);
    if (moveOrigin(move) >= CastleWhiteKingSide)
        colour = moveOrigin(move) <= CastleWhiteQueenSide ? White : Black;
    if (!colour) return false;
    return givesCheck(copy, colour, move) != 0;
}

} // namespace

void longMoveText(char* buffer, int32_t move, const Position& before, int promotionType) {
    int n = recordText(buffer, move, before, promotionType, true, false);
    if (move != -1 && moveOrigin(move) < CastleWhiteKingSide && n < 7 && moveGivesCheck(move, before))
        buffer[n++] = '+';
    while (n < 7) buffer[n++] = ' ';
    buffer[7] = '\0';
}

void shortMoveText(char* buffer, int32_t move, const Position& before, int promotionType, int disambiguate) {
    char longText[MoveTextSize];
    int longLength = recordText(longText, move, before, promotionType, true, false);
    int n = recordText(buffer, move, before, promotionType, false, disambiguate != 0);
    // The same '+' rule as the long form: only when the long text has room for it.
    if (move != -1 && moveOrigin(move) < CastleWhiteKingSide && longLength < 7 && n < 7 &&
        moveGivesCheck(move, before))
        buffer[n++] = '+';
    buffer[n] = '\0';
}

int disambiguationNeeded(int32_t move, const Position& position) {
    int result = 0;
    int origin = moveOrigin(move);
    if (origin < CastleWhiteKingSide) {
        int piece = position.board[origin];
        int colour = pieceColour(piece);
        int firstSlot = -1, lastSlot = -1;
        switch (pieceType(piece)) {
        case Pawn:
            firstSlot = FirstPawnSlot;
            lastSlot = LastPawnSlot;
            break;
        case Knight:
            firstSlot = KnightSlot1;
            lastSlot = KnightSlot2;
            break;
        case Bishop:
            firstSlot = BishopSlot1;
            lastSlot = BishopSlot2;
            break;
        case Rook:
            firstSlot = QueenRookSlot;
            lastSlot = KingRookSlot;
            break;
        default:
            break;
        }
        if (colour && firstSlot >= 0) {
            MoveList list;
            list[ListCheckWord] = 1; // no castling wanted
            generateMoves(position, list, colour);
            int destination = moveDestination(move);
            int total = list.count();
            for (int k = 0; k < total && !result; ++k) {
                int32_t m = list.move(k);
                int slot = moveSlot(m);
                if (slot >= firstSlot && slot <= lastSlot && moveDestination(m) == destination &&
                    moveOrigin(m) != origin)
                    result = 1;
            }
        }
    }
    engineSession.disambiguationFlag = static_cast<uint8_t>(result);
    return result;
}

int coordinateText(char* buffer, int32_t move) {
    int n = 0;
    if (isMarkerWord(move)) {
        buffer[0] = '\0';
        return 0;
    }
    int origin = moveOrigin(move);
    int destination = moveDestination(move);
    if (origin >= CastleWhiteKingSide) castlingSquares(origin, origin, destination);
    buffer[n++] = fileLetter(origin);
    buffer[n++] = rankDigit(origin);
    buffer[n++] = fileLetter(destination);
    buffer[n++] = rankDigit(destination);
    if (moveOrigin(move) < CastleWhiteKingSide && (rowOf(destination) == 0 || rowOf(destination) == 7)) {
        static const char letters[4] = {0, 'N', 'R', 'Q'};
        if (char letter = letters[movePromotionBits(move)]) buffer[n++] = letter;
    }
    buffer[n++] = ' ';
    buffer[n] = '\0';
    return n;
}

int coordinateTextLower(char* buffer, int32_t move) {
    int n = 0;
    int origin = moveOrigin(move);
    int destination = moveDestination(move);
    if (origin >= CastleWhiteKingSide) castlingSquares(origin, origin, destination);
    buffer[n++] = fileLetter(origin);
    buffer[n++] = rankDigit(origin);
    buffer[n++] = fileLetter(destination);
    buffer[n++] = rankDigit(destination);
    buffer[n] = '\0';
    return n;
}

int principalVariationText(char* buffer) {
    // The root node's variation is row 1 (the root fills ply-index 1).
    const int32_t* row = pvTable[1];
    int length = row[0];
    if (length < 0) length = 0;
    if (length > 50) length = 50;
    if (length > SearchPlies - 1) length = SearchPlies - 1;
    int n = 0;
    buffer[0] = '\0';
    for (int k = 1; k <= length; ++k) n += coordinateText(buffer + n, row[k]);
    return n;
}

ParsedMove parseMoveText(const char* c, const Position& position) {
    ParsedMove parsed{-1, -1, -1, -1, WhitePawn};
    if (!c) return parsed;
    int side = position.sideToMove;
    auto isO = [](char ch) { return ch == '0' || ch == 'O' || ch == 'o'; };

    // 1. Castling, by the king's squares.
    if (isO(c[0]) && c[1] == '-' && isO(c[2])) {
        int king = kingSquare(position, side);
        parsed.fromColumn = columnOf(king);
        parsed.fromRow = rowOf(king);
        parsed.toRow = parsed.fromRow;
        parsed.toColumn = (c[3] == '-' && isO(c[4])) ? parsed.fromColumn - 2 : parsed.fromColumn + 2;
        if (parsed.toColumn < 0 || parsed.toColumn > 7) parsed.toColumn = -1; // king too near the edge
        parsed.pieceCode = side == White ? WhiteKing : BlackKing;
        return parsed;
    }

    // 2. Piece letter.
    engineSession.promotionChoice = Queen;
    // Piece letters of move texts and the types they name ('p' is an explicit pawn).
    static constexpr char pieceLetters[] = "KNBQRp";
    static constexpr int pieceTypes[] = {King, Knight, Bishop, Queen, Rook, Pawn};
    int i = 0;
    if (c[0] != '\0') {
        if (const char* letter = std::strchr(pieceLetters, c[0])) {
            parsed.pieceCode = pieceTypes[letter - pieceLetters];
            i = 1;
        }
    }
    if (side == Black) parsed.pieceCode += BlackOffset;

    // 3. Squares: a second square turns the first into the origin.
    auto isSeparator = [](char ch) { return ch == 'x' || ch == '-'; };
    if (isSeparator(c[i])) ++i;
    if (c[i] >= 'a' && c[i] <= 'h') parsed.toColumn = c[i++] - 'a';
    if (isSeparator(c[i])) ++i;
    if (c[i] >= '1' && c[i] <= '8') parsed.toRow = '8' - c[i++];
    if (isSeparator(c[i])) ++i;
    if (c[i] >= 'a' && c[i] <= 'h') {
        parsed.fromColumn = parsed.toColumn;
        parsed.toColumn = c[i++] - 'a';
    }
    if (c[i] >= '1' && c[i] <= '8') {
        parsed.fromRow = parsed.toRow;
        parsed.toRow = '8' - c[i++];
    }

    // 4. Promotion letter; a king or pawn is never a promotion piece, so 'K'
    // and 'p' give the queen.
    if (c[i] == '=') ++i;
    switch (c[i]) {
    case 'B':
    case 'b':
        engineSession.promotionChoice = Bishop;
        break;
    case 'N':
    case 'n':
        engineSession.promotionChoice = Knight;
        break;
    case 'R':
    case 'r':
        engineSession.promotionChoice = Rook;
        break;
    default:
        break;
    }
    return parsed;
}
