#include "engine/core/makemove.h"

#include <cstdio>
#include <cstring>

#include "engine/core/attacks.h"
#include "engine/core/fen.h"
#include "engine/core/movegen.h"
#include "engine/session/session.h"

namespace {

inline void addPawnKey(Position& p, int colour, int square, int sign) {
    uint32_t key = static_cast<uint32_t>(p.pawnKey);
    uint32_t value = pawnKeyValue(colour, square);
    key = sign > 0 ? key + value : key - value;
    p.pawnKey = static_cast<int32_t>(key);
}

inline uint32_t fourBytes(int b0, int b1, int b2, int b3) {
    return static_cast<uint32_t>(b0) | static_cast<uint32_t>(b1) << 8 | static_cast<uint32_t>(b2) << 16 |
           static_cast<uint32_t>(b3) << 24;
}

// Castling: king and rook squares per code (king from, king to, rook from, rook to).
struct CastlingSquares {
    int kingFrom, kingTo, rookFrom, rookTo, rookSlot;
};
constexpr CastlingSquares castlingSquares[4] = {
    {E1, G1, H1, F1, KingRookSlot},
    {E1, C1, A1, D1, QueenRookSlot},
    {E8, G8, H8, F8, KingRookSlot},
    {E8, C8, A8, D8, QueenRookSlot},
};

int makeCastling(Position& p, int code, uint32_t& a, uint32_t& b) {
    const CastlingSquares& c = castlingSquares[code - CastleWhiteKingSide];
    bool white = code <= CastleWhiteQueenSide;
    uint8_t* board = p.board;
    a = fourBytes(c.kingFrom, c.kingTo, c.rookFrom, c.rookTo);
    b = fourBytes(board[c.kingFrom], board[c.kingTo], board[c.rookFrom], board[c.rookTo]);
    int rook = white ? WhiteRook : BlackRook;
    board[c.kingFrom] = Empty;
    board[c.rookFrom] = Empty;
    board[c.rookTo] = static_cast<uint8_t>(rook);
    board[c.kingTo] = static_cast<uint8_t>(white ? WhiteKing : BlackKing);
    uint8_t* list = white ? p.whiteSquares : p.blackSquares;
    list[KingSlot] = static_cast<uint8_t>(c.kingTo);
    list[c.rookSlot] = static_cast<uint8_t>(c.rookTo);
    if (white)
        p.whiteCastling = NoCastling;
    else
        p.blackCastling = NoCastling;
    p.pstSum = static_cast<int16_t>(p.pstSum + pieceSquare[rook][c.rookTo] - pieceSquare[rook][c.rookFrom]);
    return ClassCastling;
}

inline void updateCastlingRights(Position& p, int origin, int destination) {
    if (p.whiteCastling < NoCastling) {
        if (origin == E1) p.whiteCastling = NoCastling;
        if (origin == H1 || destination == H1) p.whiteCastling |= KingSideLost;
        if (origin == A1 || destination == A1) p.whiteCastling |= QueenSideLost;
    }
    if (p.blackCastling < NoCastling) {
        if (origin == E8) p.blackCastling = NoCastling;
        if (origin == H8 || destination == H8) p.blackCastling |= KingSideLost;
        if (origin == A8 || destination == A8) p.blackCastling |= QueenSideLost;
    }
}

template <int C> int makeMoveT(Position& p, int32_t move, uint32_t& a, uint32_t& b, int promotionType) {
    constexpr int enemy = C == White ? Black : White;
    constexpr int off = C == White ? 0 : BlackOffset;
    constexpr int enemyOff = C == White ? BlackOffset : 0;
    constexpr int forward = C == White ? -10 : 10;
    uint8_t* board = p.board;
    int origin = moveOrigin(move);
    int destination = moveDestination(move);
    int slot = moveSlot(move);

    // 1. The changed-square record, side and ply.
    p.sideToMove ^= 3;
    p.ply = static_cast<int16_t>(p.ply + 1);

    // 2. Castling.
    if (origin >= CastleWhiteKingSide) {
        p.epSquare = NoSquare;
        return makeCastling(p, origin, a, b);
    }
    int mover = board[origin];
    int captured = board[destination];
    a = fourBytes(destination, origin, 0, 0);
    b = fourBytes(captured, mover, 0, 0);

    // 3. A king capture means the search met an impossible position.
    if (pieceType(captured) == King) logInvalidPosition(p, move);

    // 4. Castling rights.
    updateCastlingRights(p, origin, destination);

    // 5.-7. Captures.
    int moveClass = ClassQuiet;
    uint8_t* ownList = C == White ? p.whiteSquares : p.blackSquares;
    uint8_t* enemyList = C == White ? p.blackSquares : p.whiteSquares;
    int16_t& enemyMaterial = C == White ? p.blackMaterial : p.whiteMaterial;
    if (captured != Empty) {
        p.lastIrreversiblePly = static_cast<int16_t>(p.ply + 1);
        int capturedType = pieceType(captured);
        if (capturedType == Pawn) {
            addPawnKey(p, enemy, destination, -1);
            if (C == White)
                --p.blackPawnCount;
            else
                --p.whitePawnCount;
            moveClass = ClassPawnCapture;
            if (slot == QueenSlot && pieceType(mover) == Queen) {
                if (C == White && destination == H6 && board[G8] == BlackKing && board[G7] != BlackPawn)
                    moveClass = ClassQueenTakesH6;
                if (C == Black && destination == H3 && board[G1] == WhiteKing && board[G2] != WhitePawn)
                    moveClass = ClassQueenTakesH6;
            }
        } else {
            if (capturedType == Bishop || capturedType == Knight) {
                if (C == White)
                    --p.blackMinorCount;
                else
                    --p.whiteMinorCount;
            }
            int difference = pieceValue[captured] + pieceValue[mover];
            moveClass = (difference < 70 && difference > -70) ? destination : ClassUnequalCapture;
            if (p.whitePieceCount + p.blackPieceCount == 1) moveClass = ClassLastPiece;
            if (slot == KingSlot && destination == (C == White ? H2 : H7) &&
                enemyList[QueenSlot] != EmptySlot)
                moveClass = ClassKingTakesOnH2;
            if (C == White)
                --p.blackPieceCount;
            else
                --p.whitePieceCount;
        }
        enemyMaterial = static_cast<int16_t>(enemyMaterial - pieceValue[capturedType]);
        p.pstSum = static_cast<int16_t>(p.pstSum - pieceSquare[captured][destination]);
        for (int s = 0; s < SlotCount; ++s)
            if (enemyList[s] == destination) {
                enemyList[s] = EmptySlot;
                break;
            }
    } else if (destination == p.epSquare && pieceType(mover) == Pawn) {
        int pawnSquare = destination - forward;
        a |= static_cast<uint32_t>(pawnSquare) << 16;
        b |= static_cast<uint32_t>(board[pawnSquare]) << 16;
        board[pawnSquare] = Empty;
        addPawnKey(p, enemy, pawnSquare, -1);
        if (C == White)
            --p.blackPawnCount;
        else
            --p.whitePawnCount;
        enemyMaterial = static_cast<int16_t>(enemyMaterial - PawnValue);
        p.pstSum = static_cast<int16_t>(p.pstSum - pieceSquare[WhitePawn + enemyOff][pawnSquare]);
        for (int s = FirstPawnSlot; s <= LastPawnSlot; ++s)
            if (enemyList[s] == pawnSquare) {
                enemyList[s] = EmptySlot;
                break;
            }
        p.lastIrreversiblePly = static_cast<int16_t>(p.ply + 1);
        moveClass = ClassEnPassant;
    }

    // 8. Piece-square sum of the mover (kings are not in the sum).
    if (pieceType(mover) != King)
        p.pstSum =
            static_cast<int16_t>(p.pstSum + pieceSquare[mover][destination] - pieceSquare[mover][origin]);

    // 9.-10. En-passant square, pawn moves and promotion.
    p.epSquare = NoSquare;
    int placed = mover;
    int targetSlot = slot;
    if (pieceType(mover) == Pawn) {
        addPawnKey(p, C, destination, 1);
        addPawnKey(p, C, origin, -1);
        p.lastIrreversiblePly = static_cast<int16_t>(p.ply + 1);
        int step = C == White ? origin - destination : destination - origin;
        if (step > 12 && (board[destination - 1] == WhitePawn + enemyOff ||
                          board[destination + 1] == WhitePawn + enemyOff))
            p.epSquare = static_cast<uint8_t>(origin + forward);
        int rank = rankOf[destination];
        int relativeRank = C == White ? rank : 9 - rank;
        if (relativeRank == 7) {
            if (moveClass != ClassLastPiece) moveClass = ClassSeventhRank;
        } else if (relativeRank == 6) {
            int enemyPieces = C == White ? p.blackPieceCount : p.whitePieceCount;
            if (moveClass != ClassLastPiece && moveClass != ClassEnPassant && enemyPieces <= 1 &&
                board[destination + forward] == Empty &&
                board[destination + forward - 1] != WhitePawn + enemyOff &&
                board[destination + forward + 1] != WhitePawn + enemyOff)
                moveClass = ClassSixthRank;
        } else if (relativeRank == 8) {
            // Only bishop, knight, rook and queen are promotion pieces; anything else becomes a queen.
            int type = (promotionType >= Bishop && promotionType <= Queen) ? promotionType : Queen;
            int16_t& ownMaterial = C == White ? p.whiteMaterial : p.blackMaterial;
            ownMaterial = static_cast<int16_t>(ownMaterial + pieceValue[type] - PawnValue);
            if (type == Bishop || type == Knight) {
                if (C == White)
                    ++p.whiteMinorCount;
                else
                    ++p.blackMinorCount;
            }
            if (type == Queen && ownList[QueenSlot] == EmptySlot) {
                ownList[slot] = EmptySlot;
                targetSlot = QueenSlot;
            }
            if (C == White) {
                ++p.whitePieceCount;
                --p.whitePawnCount;
            } else {
                ++p.blackPieceCount;
                --p.blackPawnCount;
            }
            placed = type + off;
        }
    }

    // 11. The board and the mover's slot.
    board[origin] = Empty;
    board[destination] = static_cast<uint8_t>(placed);
    ownList[targetSlot] = static_cast<uint8_t>(destination);

    // 12.
    p.materialBalance = static_cast<int16_t>(p.whiteMaterial - p.blackMaterial);
    return moveClass;
}

template <const uint32_t* Table> uint32_t keyFromScratch(const Position& p) {
    uint32_t key = 0;
    for (int s = 20; s <= 100; ++s) key ^= Table[16 * s + p.board[s]];
    if (p.sideToMove == Black) key ^= Table[SideToMoveKeyIndex];
    return key;
}

} // namespace

int makeMove(Position& position, int32_t move, uint32_t& changedSquares, uint32_t& formerContents,
             int promotionType) {
    return position.sideToMove == White
               ? makeMoveT<White>(position, move, changedSquares, formerContents, promotionType)
               : makeMoveT<Black>(position, move, changedSquares, formerContents, promotionType);
}

void restoreSquares(Position& position, uint32_t changedSquares, uint32_t formerContents) {
    for (int k = 0; k < 4; ++k) {
        int square = (changedSquares >> (8 * k)) & 0xFF;
        if (square) position.board[square] = static_cast<uint8_t>(formerContents >> (8 * k));
    }
}

void unmakeMove(Position& position, const PositionTail& saved, uint32_t changedSquares,
                uint32_t formerContents) {
    restoreTail(position, saved);
    restoreSquares(position, changedSquares, formerContents);
}

void unmakeMove(Position& position, const Position& saved, uint32_t changedSquares, uint32_t formerContents) {
    std::memcpy(reinterpret_cast<uint8_t*>(&position) + PositionTailOffset,
                reinterpret_cast<const uint8_t*>(&saved) + PositionTailOffset, PositionTailSize);
    restoreSquares(position, changedSquares, formerContents);
}

int countLegalMoves(const Position& position, int colour) {
    MoveList list;
    generateMovesWithCheck(position, list, colour);
    int total = list.count();
    for (int k = 0; k < total; ++k) {
        int32_t move = list.move(k);
        Position copy = position;
        uint32_t a, b;
        makeMove(copy, move, a, b, Queen);
        if (!inCheck(copy, colour)) return HasLegalMove;
    }
    return inCheck(position, colour) ? Checkmated : Stalemated;
}

uint32_t computeHashKey(const Position& position) {
    return keyFromScratch<Z1>(position);
}
uint32_t computeHashLock(const Position& position) {
    return keyFromScratch<Z2>(position);
}

void logInvalidPosition(const Position& position, int32_t move) {
    char path[4200];
    programFilePath(path, sizeof path, "errorlog.txt");
    std::FILE* file = std::fopen(path, "a");
    if (!file) return;
    char fen[FenBufferSize];
    writeFen(fen, engineSession.gamePosition);
    std::fprintf(file, "GameBoard: %s \n", fen);
    writeFen(fen, position);
    std::fprintf(file, "Move (%d), Invalid Position in search: %s \n", move, fen);
    std::fclose(file);
}
