#include "engine/search/ordering.h"

#include <cstring>

#include "engine/core/attacks.h"

HistoryIndex historyIndexKind = HistoryIndex::SlotTo;
int32_t killerMoves[SearchPlies];
int32_t historyTable[3][HistorySize];

namespace {

// Ordering values by piece type (index code & 7); empty and border squares 0.
constexpr int typeValue[8] = {0, 0, PawnValue, BishopValue, KnightValue, RookValue, QueenValue, KingValue};

// The 64 board squares numbered 0..63 (row * 8 + column); castling codes use
// the king's destination, which the move word carries anyway.
inline int square64(int square) {
    return rowOf(square) * 8 + columnOf(square);
}

inline bool sameMove(int a, int b) {
    return (a & 0xFFFF) == (b & 0xFFFF);
}

// Tactical slots of a generated list as a plain array view.
inline int32_t* tacticalSlots(MoveList& list) {
    return &list.words[ListSlotOffset + FirstTacticalSlot];
}
inline int32_t* quietSlots(MoveList& list) {
    return &list.words[ListSlotOffset + FirstQuietSlot];
}

} // namespace

int orderValue(int pieceCode) {
    return typeValue[pieceCode & 7];
}

int historyIndex(int move) {
    if (historyIndexKind == HistoryIndex::OneBit) return (move >> 10) & 1;
    // The moving piece's list slot and the destination: a piece keeps its slot for
    // the whole search, so "this piece to that square" is what the counter learns.
    return (moveSlot(move) & 15) * 64 + square64(moveDestination(move));
}

void clearHistory() {
    std::memset(historyTable, 0, sizeof historyTable);
}

void clearKillers() {
    for (int i = 0; i < 50; ++i) killerMoves[i] = NoMove;
}

int isTacticalMove(const Position& pos, int move) {
    int origin = moveOrigin(move);
    if (origin >= CastleWhiteKingSide) return 0;
    int destination = moveDestination(move);
    if (pos.board[destination] != Empty) return 1;
    if (pieceType(pos.board[origin]) != Pawn) return 0;
    if (destination == pos.epSquare) return 1;
    int rank = rankOf[destination];
    return (rank == 8 || rank == 1) && movePromotionBits(move) == 3;
}

void sortTacticalMoves(const Position& pos, MoveList& list) {
    int count = list[ListTacticalCount];
    int32_t* moves = tacticalSlots(list);
    int keys[MaxTacticalMoves];
    for (int i = 0; i < count; ++i) {
        int move = moves[i];
        keys[i] =
            8 * typeValue[pos.board[moveDestination(move)] & 7] - typeValue[pos.board[moveOrigin(move)] & 7];
    }
    // Insertion sort, highest first; equal keys keep generation order.
    for (int i = 1; i < count; ++i) {
        int move = moves[i], key = keys[i], j = i - 1;
        while (j >= 0 && keys[j] < key) {
            moves[j + 1] = moves[j];
            keys[j + 1] = keys[j];
            --j;
        }
        moves[j + 1] = move;
        keys[j + 1] = key;
    }
}

int orderMoves(int colour, int d, int alpha, int beta, int hashMove) {
    // 1. Mate-distance bound: nothing here can beat a mate already found closer to the root.
    if (colour == White && alpha >= MateScore - d) return alpha;
    if (colour == Black && beta <= d - MateScore) return beta;

    MoveList& list = plyMoves[d].moves;
    int32_t ordered[MaxOrderedMoves];
    int total = 0;

    if (list[ListCheckWord] == 0) {
        // 2. Not in check: all pseudo-legal moves.
        generateMoves(searchPosition, list, colour);
        sortTacticalMoves(searchPosition, list);
        int tactical = list[ListTacticalCount];
        int quiet = list[ListQuietCount];
        int32_t* tac = tacticalSlots(list);
        int32_t* qui = quietSlots(list);

        // 2b. A knight promotion for every pawn move from the seventh rank.
        int seventhRow = colour == White ? 1 : 6;
        for (int i = 0; i < tactical && quiet < MaxQuietMoves; ++i) {
            int origin = moveOrigin(tac[i]);
            if (origin < CastleWhiteKingSide && pieceType(searchPosition.board[origin]) == Pawn &&
                rowOf(origin) == seventhRow)
                qui[quiet++] = tac[i] - 0x8000;
        }
        list[ListQuietCount] = quiet;

        // 2c. Hash move, tactical moves, killer, quiet moves.
        int hash = NoMove;
        if (hashMove != NoMove) {
            for (int i = 0; i < tactical && hash == NoMove; ++i)
                if (sameMove(tac[i], hashMove)) hash = tac[i];
            for (int i = 0; i < quiet && hash == NoMove; ++i)
                if (sameMove(qui[i], hashMove)) hash = qui[i];
            if (hash != NoMove) ordered[total++] = hash;
        }
        for (int i = 0; i < tactical; ++i)
            if (tac[i] != hash) ordered[total++] = tac[i];
        int killer = NoMove;
        int wanted = killerMoves[d];
        if (wanted != NoMove) {
            for (int i = 0; i < quiet; ++i)
                if (sameMove(qui[i], wanted) && qui[i] != hash) {
                    killer = qui[i];
                    ordered[total++] = killer;
                    break;
                }
        }
        int historyStart = total;
        for (int i = 0; i < quiet && total < MaxOrderedMoves; ++i)
            if (qui[i] != hash && qui[i] != killer) ordered[total++] = qui[i];
        std::memcpy(&list.words[FirstOrdered], ordered, total * sizeof(int32_t));
        list[OrderedTotal] = total;
        list[HistoryStart] = historyStart;
        return ListReady;
    }

    // 3. In check: the evasions, hash move first.
    generateEvasions(searchPosition, list, colour);
    int tactical = list[ListTacticalCount];
    int quiet = list[ListQuietCount];
    if (tactical + quiet == 0) {
        list[OrderedTotal] = 0;
        list[HistoryStart] = 0;
        setPvMarker(d, PvMarkerMate);
        return colour == White ? d - MateScore : MateScore - d;
    }
    int32_t* tac = tacticalSlots(list);
    int32_t* qui = quietSlots(list);
    int hash = NoMove;
    if (hashMove != NoMove) {
        for (int i = 0; i < tactical && hash == NoMove; ++i)
            if (sameMove(tac[i], hashMove)) hash = tac[i];
        for (int i = 0; i < quiet && hash == NoMove; ++i)
            if (sameMove(qui[i], hashMove)) hash = qui[i];
        if (hash != NoMove) ordered[total++] = hash;
    }
    for (int i = 0; i < tactical; ++i)
        if (tac[i] != hash) ordered[total++] = tac[i];
    for (int i = 0; i < quiet && total < MaxOrderedMoves; ++i)
        if (qui[i] != hash) ordered[total++] = qui[i];
    std::memcpy(&list.words[FirstOrdered], ordered, total * sizeof(int32_t));
    list[OrderedTotal] = total;
    list[HistoryStart] = tactical;
    return ListReady;
}

void sortQuietByHistory(PlyMoveList& plyList, int colour) {
    MoveList& list = plyList.moves;
    int first = list[HistoryStart], total = list[OrderedTotal];
    int32_t* moves = &list.words[FirstOrdered];
    const int32_t* counters = historyTable[colour];
    int keys[MaxOrderedMoves];
    for (int i = first; i < total; ++i) keys[i] = counters[historyIndex(moves[i])];
    for (int i = first + 1; i < total; ++i) {
        int move = moves[i], key = keys[i], j = i - 1;
        while (j >= first && keys[j] < key) {
            moves[j + 1] = moves[j];
            keys[j + 1] = keys[j];
            --j;
        }
        moves[j + 1] = move;
        keys[j + 1] = key;
    }
}

void recordCutoff(int bestMove, int depth, int d, int colour) {
    if (bestMove == NoMove || bestMove <= 0) return;
    // Only quiet moves: a capture is ordered well enough by its victim.
    if (searchPosition.board[moveDestination(bestMove)] != Empty) return;
    killerMoves[d] = bestMove;
    if (depth > 2) historyTable[colour][historyIndex(bestMove)] += depth * depth + 1;
}

void updatePv(int d, int move, int kind, int gaveCheck) {
    int32_t* row = pvTable[d];
    int word = move;
    if (searchPosition.board[moveDestination(move)] != Empty && !isCastling(move)) word |= MoveCaptureFlag;
    if (gaveCheck) word |= MoveCheckFlag;
    row[1] = word;
    if (kind != 0) {
        row[0] = 2;
        row[2] = 0xFE - kind;
        return;
    }
    int childLength = d + 1 < SearchPlies ? pvTable[d + 1][0] : 0;
    if (childLength < 0) childLength = 0;
    if (childLength > 50) childLength = 50;
    if (childLength > SearchPlies - 2) childLength = SearchPlies - 2;
    std::memcpy(&row[2], &pvTable[d + 1][1], childLength * sizeof(int32_t));
    row[0] = childLength + 1;
}

void moveBestToFront(PlyMoveList& plyList, int bestMove) {
    MoveList& list = plyList.moves;
    int total = list[OrderedTotal];
    int32_t* moves = &list.words[FirstOrdered];
    int found = -1;
    if (bestMove != NoMove)
        for (int i = 0; i < total; ++i)
            if (sameMove(moves[i], bestMove)) {
                found = i;
                break;
            }
    if (found >= 0) {
        int best = moves[found];
        for (int i = found; i > 0; --i) moves[i] = moves[i - 1];
        moves[0] = best;
        // Keep the tactical moves ahead of the quiet ones behind the new first move.
        for (int i = 1; i + 1 < total && !isTacticalMove(searchPosition, moves[i]) &&
                        isTacticalMove(searchPosition, moves[i + 1]);
             ++i) {
            int quiet = moves[i];
            moves[i] = moves[i + 1];
            moves[i + 1] = quiet;
        }
        if (found >= list[HistoryStart]) list[HistoryStart] += 1;
    }
    if (list[HistoryStart] < 1) list[HistoryStart] = 1;
}
