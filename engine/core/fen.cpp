#include "engine/core/fen.h"

#include <cstring>

#include "engine/core/attacks.h"

const char InitialFen[] = "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq -";

namespace {

int codeOfLetter(char c) {
    switch (c) {
    case 'P':
        return WhitePawn;
    case 'B':
        return WhiteBishop;
    case 'N':
        return WhiteKnight;
    case 'R':
        return WhiteRook;
    case 'Q':
        return WhiteQueen;
    case 'K':
        return WhiteKing;
    case 'p':
        return BlackPawn;
    case 'b':
        return BlackBishop;
    case 'n':
        return BlackKnight;
    case 'r':
        return BlackRook;
    case 'q':
        return BlackQueen;
    case 'k':
        return BlackKing;
    default:
        return 0;
    }
}

// Brings the rook standing on `corner` into `slot`, so that castling finds
// its rook where it expects it. Nothing happens when the corner holds no rook
// of that list (the right is then cancelled by the corner test).
void rookIntoSlot(Position& p, uint8_t* list, int slot, int corner, int rookCode) {
    if (list[slot] == corner || p.board[corner] != rookCode) return;
    for (int s = 0; s < SlotCount; ++s) {
        if (list[s] == corner) {
            uint8_t other = list[slot];
            list[slot] = list[s];
            list[s] = other;
            return;
        }
    }
}

} // namespace

int readFen(Position& target, const char* text, size_t length) {
    if (!text) return 0;
    Position p;
    clearPosition(p);
    int side = 0;

    // Board field.
    size_t i = 0;
    int n = 0;
    for (; i < length && text[i] != '\0' && n < 64; ++i) {
        char c = text[i];
        if (c >= '1' && c <= '8') {
            n += c - '0';
        } else if (int code = codeOfLetter(c)) {
            placePiece(p, n % 8, n / 8, code);
            n += 1;
        } else if (c == '/') {
            n = (n + 7) / 8 * 8;
        }
    }
    if (n < 64) return 0;

    // Side, castling and en-passant fields; counters after them are never read.
    p.whiteCastling = NoCastling;
    p.blackCastling = NoCastling;
    int fields = 0;
    for (; i < length && text[i] != '\0' && text[i] != ';' && fields < 2; ++i) {
        char c = text[i];
        if (c == 'w' && !side) {
            side = White;
        } else if (c == 'b' && !side) {
            side = Black;
            p.ply = static_cast<int16_t>(p.ply + 1);
        }
        switch (c) {
        case 'K':
            fields = 1;
            rookIntoSlot(p, p.whiteSquares, KingRookSlot, H1, WhiteRook);
            p.whiteCastling &= QueenSideLost;
            break;
        case 'Q':
            fields = 1;
            rookIntoSlot(p, p.whiteSquares, QueenRookSlot, A1, WhiteRook);
            p.whiteCastling &= KingSideLost;
            break;
        case 'k':
            fields = 1;
            rookIntoSlot(p, p.blackSquares, KingRookSlot, H8, BlackRook);
            p.blackCastling &= QueenSideLost;
            break;
        case 'q':
            fields = 1;
            rookIntoSlot(p, p.blackSquares, QueenRookSlot, A8, BlackRook);
            p.blackCastling &= KingSideLost;
            break;
        default:
            break;
        }
        if (i + 1 < length && c >= 'a' && c <= 'h' && text[i + 1] >= '1' && text[i + 1] <= '8') {
            p.epSquare = static_cast<uint8_t>(22 + (c - 'a') + 10 * (8 - (text[i + 1] - '0')));
            fields = 2;
        }
        if (c == '-') fields += 1;
    }

    // Castling rights follow the pieces.
    if (p.board[E1] != WhiteKing) p.whiteCastling = NoCastling;
    if (p.board[E8] != BlackKing) p.blackCastling = NoCastling;
    if (p.board[A1] != WhiteRook) p.whiteCastling |= QueenSideLost;
    if (p.board[H1] != WhiteRook) p.whiteCastling |= KingSideLost;
    if (p.board[A8] != BlackRook) p.blackCastling |= QueenSideLost;
    if (p.board[H8] != BlackRook) p.blackCastling |= KingSideLost;

    recomputeSums(p); // a rook moved between slots changes the slot-based pawn key

    if (!side) return 0;
    if (p.whiteSquares[KingSlot] == EmptySlot || p.blackSquares[KingSlot] == EmptySlot) return 0;
    p.sideToMove = static_cast<uint8_t>(side);
    // A square no pawn can just have passed would let a pawn capture a piece
    // that is not there, or promote by an en-passant capture.
    if (!epSquareFits(p)) p.epSquare = NoSquare;
    if (inCheck(p, side ^ 3)) return 0;
    target = p;
    return 1;
}

void setInitialPosition(Position& position) {
    readFen(position, InitialFen, sizeof InitialFen - 1);
}

int writeFen(char* buffer, Position position) {
    int n = 0;
    for (int row = 0; row < 8; ++row) {
        int empty = 0;
        for (int column = 0; column < 8; ++column) {
            int code = position.board[squareOf(column, row)];
            if (code == Empty || code >= 16) {
                ++empty;
                continue;
            }
            if (empty) buffer[n++] = static_cast<char>('0' + empty);
            empty = 0;
            buffer[n++] = pieceLetters[code];
        }
        if (empty) buffer[n++] = static_cast<char>('0' + empty);
        if (row < 7) buffer[n++] = '/';
    }
    buffer[n++] = ' ';
    buffer[n++] = position.sideToMove == White ? 'w' : 'b';
    buffer[n++] = ' ';
    if (position.whiteCastling >= NoCastling && position.blackCastling >= NoCastling) {
        buffer[n++] = '-';
    } else {
        static const char* const whiteParts[4] = {"KQ", "K", "Q", ""};
        static const char* const blackParts[4] = {"kq", "k", "q", ""};
        for (const char* s = whiteParts[position.whiteCastling & 3]; *s; ++s) buffer[n++] = *s;
        for (const char* s = blackParts[position.blackCastling & 3]; *s; ++s) buffer[n++] = *s;
    }
    buffer[n++] = ' ';
    buffer[n++] = '-';
    buffer[n] = '\0';
    return n;
}
