#include "engine/eval/evaluate.h"

#include "engine/core/position.h"
#include "engine/eval/endgame.h"
#include "engine/eval/evalbase.h"
#include "engine/eval/pawns.h"
#include "engine/eval/pieces.h"

using namespace evalbase;

namespace {

// Bonus for the side ahead in material with more pawns, by the piece units left
// on the board (pieces other than pawns and kings, a queen counting twice).
constexpr int tradeTable[13] = {36, 36, 36, 36, 34, 32, 24, 16, 12, 8, 4, 2, 0};

// King attack by the queen, by manhattan distance 0..14 to the enemy king.
constexpr int queenAttack[15] = {22, 26, 23, 21, 17, 14, 12, 9, 7, 5, 4, 2, 1, 0, 0};

constexpr int ImbalanceBonus = 70;
constexpr int RookBishop = RookValue + BishopValue; // 842

// The rank of a slot's square; an empty slot has rank 0.
inline int rankOrZero(int square) {
    return rankOf[square];
}

inline bool whitePawnOn(const Position& position, int square) {
    return pieceAt(position, square) == WhitePawn;
}
inline bool blackPawnOn(const Position& position, int square) {
    return pieceAt(position, square) == BlackPawn;
}

// Pawn cover in front of a castled White king; the Black mirror turns the offsets round.
int shelterValue(const Position& position, int king, bool white) {
    const int sign = white ? 1 : -1;
    auto pawnOn = [&](int offset) {
        return white ? whitePawnOn(position, king + offset * sign)
                     : blackPawnOn(position, king + offset * sign);
    };
    int s = -14;
    if (pawnOn(-10))
        s = 0;
    else if (pawnOn(-20))
        s = -4;
    if (pawnOn(-11))
        s += 11;
    else if (pawnOn(-21) || pawnOn(-1))
        s += 8;
    if (pawnOn(-9))
        s += 11;
    else if (pawnOn(-19) || pawnOn(1))
        s += 8;
    if (s > 18) s = 18;
    const int rank = white ? rankAt(king) : 9 - rankAt(king);
    if (rank > 2) s -= 10;
    return s;
}

// The score of steps 1..16; `final` tells whether it reached the end (and so
// is to be rounded) rather than leaving through an early return.
int evaluateSteps(const Position& position, int alpha, int beta, bool& final) {
    final = false;
    const int whiteKing = position.whiteSquares[KingSlot];
    const int blackKing = position.blackSquares[KingSlot];
    const int whiteNonPawn = position.whiteMaterial - PawnValue * position.whitePawnCount;
    const int blackNonPawn = position.blackMaterial - PawnValue * position.blackPawnCount;
    const int whiteQueen = position.whiteSquares[QueenSlot];
    const int blackQueen = position.blackSquares[QueenSlot];

    // A record without both kings (never made by set-up or moves) gets its
    // material balance rather than a look-up through an empty slot.
    if (!slotFilled(whiteKing) || !slotFilled(blackKing)) return position.materialBalance;

    // Step 1. Material and imbalance.
    int score = position.materialBalance;
    {
        const int whiteUnits = position.whitePieceCount + (slotFilled(whiteQueen) ? 1 : 0);
        const int blackUnits = position.blackPieceCount + (slotFilled(blackQueen) ? 1 : 0);
        if (whiteUnits > blackUnits) score += ImbalanceBonus;
        if (blackUnits > whiteUnits) score -= ImbalanceBonus;
        int units = whiteUnits + blackUnits;
        if (units > 12) units = 12;
        if (position.materialBalance > 178 && position.whitePawnCount > position.blackPawnCount)
            score += tradeTable[units];
        if (position.materialBalance < -178 && position.blackPawnCount > position.whitePawnCount)
            score -= tradeTable[units];
    }

    // Step 2. No pawns at all.
    if (position.whitePawnCount == 0 && position.blackPawnCount == 0)
        return evaluatePawnless(position, whiteKing, blackKing, score);

    // Step 3. The pawn entry, from the cache or computed afresh.
    PawnEntry entry;
    if (!probePawnEntry(static_cast<uint32_t>(position.pawnKey), entry)) evaluatePawns(position, entry);

    // Step 4. Kings and pawns only.
    if (position.whitePieceCount == 0 && position.blackPieceCount == 0)
        return evaluatePawnEnding(position, score, whiteKing, blackKing, entry);

    // Step 5. Structure, trapped bishops, piece-square sum.
    score += entry.structureScore;
    trappedBishops(position, score);
    score += position.pstSum;

    // Step 6. Lazy exit 1.
    if (whiteNonPawn > 1000 || blackNonPawn > 1000) {
        if (score + 475 < alpha) return score + 200;
        if (score - 475 > beta) return score - 200;
    }

    // Step 7. Rooks on the seventh (rank of an empty slot is 0).
    {
        const int r1 = rankOrZero(position.whiteSquares[QueenRookSlot]);
        const int r2 = rankOrZero(position.whiteSquares[KingRookSlot]);
        if ((r1 == 7 || r2 == 7) && !(entry.pawnFlags & BlackSeventhRank)) {
            if (rankOrZero(whiteQueen) == 7 && rankAt(blackKing) > 5)
                score += 70;
            else if (blackNonPawn < 1470 && rankAt(blackKing) == 8)
                score += 34;
        }
        if (r1 == r2) {
            if (r1 == 7 && rankAt(blackKing) == 8)
                score += 52;
            else if (r1 == 8)
                score += 18;
        }
    }
    {
        const int r1 = rankOrZero(position.blackSquares[QueenRookSlot]);
        const int r2 = rankOrZero(position.blackSquares[KingRookSlot]);
        if ((r1 == 2 || r2 == 2) && !(entry.pawnFlags & WhiteSecondRank)) {
            if (rankOrZero(blackQueen) == 2 && rankAt(whiteKing) < 4)
                score -= 70;
            else if (whiteNonPawn < 1470 && rankAt(whiteKing) == 1)
                score -= 34;
        }
        if (r1 == r2) {
            if (r1 == 2 && rankAt(whiteKing) == 1)
                score -= 52;
            else if (r1 == 1)
                score -= 18;
        }
    }

    // Step 8. At most one piece each.
    if (position.whitePieceCount <= 1 && position.blackPieceCount <= 1)
        return evaluateMinorEnding(position, score, whiteKing, blackKing, entry, whiteNonPawn, blackNonPawn);

    // Step 9. Passed pawns in the endgame.
    if (whiteNonPawn <= 1470 && blackNonPawn <= 1470)
        evaluatePassedPawnsEndgame(position, score, whiteKing, blackKing, entry);

    // Step 10. Connected passers.
    score += entry.connectedPassers;

    // Step 11. A side without pawns that is ahead may not be able to win.
    if (position.whitePawnCount == 0 && score >= 0) {
        if (noWhitePawnsScale(position, score)) return score;
    }
    if (position.blackPawnCount == 0 && score <= 0) {
        if (noBlackPawnsScale(position, score)) return score;
    }

    // Step 12. Lazy exit 2.
    if (score + 180 < alpha) return score + 60;
    if (score - 180 > beta) return score - 60;

    // Step 13. Passed pawns in the middlegame.
    if (whiteNonPawn > 1470 || blackNonPawn > 1470) evaluatePassedPawnsMiddlegame(position, score, entry);

    // Step 14. King placement and shelter.
    int whiteShelter, blackShelter;
    if (whiteNonPawn > 1460 || blackNonPawn > 1460) {
        const int k = 2 * (fileAt(blackKing) <= 4) + (fileAt(whiteKing) <= 4);
        if (whiteNonPawn <= 1840 && blackNonPawn <= 1840)
            score += (entry.generalSum + entry.kingWingSums[k]) >> 1;
        else
            score += entry.kingWingSums[k];
        whiteShelter = blackShelter = 1;
        if (position.whiteCastling >= NoCastling) {
            const int s = shelterValue(position, whiteKing, true);
            whiteShelter = s;
            if (blackNonPawn > 2350 && rankAt(whiteKing) == 1)
                score += s + (s >> 2);
            else if (blackNonPawn > 1850)
                score += s;
            else
                score += s >> 1;
        }
        if (position.blackCastling >= NoCastling) {
            const int s = shelterValue(position, blackKing, false);
            blackShelter = s;
            if (whiteNonPawn > 2350 && rankAt(blackKing) == 8)
                score -= s + (s >> 2);
            else if (whiteNonPawn > 1850)
                score -= s;
            else
                score -= s >> 1;
        }
    } else {
        score += entry.generalSum + kingCentre(whiteKing) - kingCentre(blackKing);
        const int flags = entry.pawnFlags;
        if ((flags & WhiteFarOutside) && !(flags & BlackOutside) && position.whitePawnCount > 1) score += 32;
        if ((flags & BlackFarOutside) && !(flags & WhiteOutside) && position.blackPawnCount >= 2) score -= 32;
        whiteShelter = blackShelter = 14;
    }

    // Step 15. Piece terms, accumulating the king attacks.
    int whiteAttack = 0, blackAttack = 0;
    for (int slot = QueenRookSlot; slot <= KingRookSlot; ++slot) {
        const int square = position.whiteSquares[slot];
        if (slotFilled(square))
            score += evaluateRook(position, square, blackKing, entry.whiteFiles, entry.blackFiles,
                                  entry.blackWeakFiles, whiteAttack);
    }
    for (int slot = QueenRookSlot; slot <= KingRookSlot; ++slot) {
        const int square = position.blackSquares[slot];
        if (slotFilled(square))
            score -= evaluateRook(position, square, whiteKing, entry.blackFiles, entry.whiteFiles,
                                  entry.whiteWeakFiles, blackAttack);
    }
    if (slotFilled(whiteQueen)) {
        if (blackShelter <= 0 && whiteNonPawn > 1440) score += 24;
        whiteAttack += queenAttack[manhattan(whiteQueen, blackKing)];
    }
    if (slotFilled(blackQueen)) {
        if (whiteShelter <= 0 && blackNonPawn > 1440) score -= 24;
        blackAttack += queenAttack[manhattan(blackQueen, whiteKing)];
    }
    for (int slot = KnightSlot1; slot <= KnightSlot2; ++slot) {
        const int square = position.whiteSquares[slot];
        if (slotFilled(square)) score += evaluateKnight(position, square, blackKing, whiteAttack);
    }
    for (int slot = KnightSlot1; slot <= KnightSlot2; ++slot) {
        const int square = position.blackSquares[slot];
        if (slotFilled(square)) score -= evaluateKnight(position, square, whiteKing, blackAttack);
    }
    const int pairBonus = (whiteNonPawn <= 1460 && blackNonPawn <= 1460) ? 35 : 20;
    for (int slot = BishopSlot1; slot <= BishopSlot2; ++slot) {
        const int square = position.whiteSquares[slot];
        if (slotFilled(square)) score += evaluateBishop(position, square, blackKing, whiteAttack);
    }
    if (slotFilled(position.whiteSquares[BishopSlot1]) && slotFilled(position.whiteSquares[BishopSlot2]))
        score += pairBonus;
    for (int slot = BishopSlot1; slot <= BishopSlot2; ++slot) {
        const int square = position.blackSquares[slot];
        if (slotFilled(square)) score -= evaluateBishop(position, square, whiteKing, blackAttack);
    }
    if (slotFilled(position.blackSquares[BishopSlot1]) && slotFilled(position.blackSquares[BishopSlot2]))
        score -= pairBonus;

    // Step 16. King attack and king tables, or rook and bishop each with
    // bishops of opposite colours.
    if (whiteNonPawn > 1050 || blackNonPawn > 1050) {
        if (whiteNonPawn > 2000 && blackShelter <= 0)
            score += whiteAttack + (whiteAttack >> 1);
        else if (whiteNonPawn > 1050)
            score += whiteAttack;
        if (blackNonPawn > 2000 && whiteShelter <= 0)
            score -= blackAttack + (blackAttack >> 1);
        else if (blackNonPawn > 1050)
            score -= blackAttack;
        const int whiteKingTable = pieceSquare[WhiteKing][whiteKing];
        if (blackNonPawn > 2600)
            score += whiteKingTable;
        else if (blackNonPawn > 1800)
            score += whiteKingTable >> 1;
        const int blackKingTable = pieceSquare[BlackKing][blackKing];
        if (whiteNonPawn > 2600)
            score += blackKingTable;
        else if (whiteNonPawn > 1800)
            score += blackKingTable >> 1;
    } else if (whiteNonPawn == RookBishop && blackNonPawn == RookBishop) {
        const int whiteBishop = bishopSquare(position, true, false);
        const int blackBishop = bishopSquare(position, false, false);
        if (slotFilled(whiteBishop) && slotFilled(blackBishop) &&
            squareColour(whiteBishop) != squareColour(blackBishop))
            score = (score >> 2) + (score >> 1);
    }

    final = true;
    return score;
}

} // namespace

int evaluateUnrounded(const Position& position, int alpha, int beta) {
    bool final;
    return static_cast<int16_t>(evaluateSteps(position, alpha, beta, final));
}

int16_t evaluate(const Position& position, int alpha, int beta) {
    bool final;
    int score = evaluateSteps(position, alpha, beta, final);
    // Step 17. Coarse steps of four beyond the draw band; arithmetic, so
    // negative scores round towards minus infinity (-7 becomes -8).
    if (final && (score > 4 || score < -4)) score &= ~3;
    return static_cast<int16_t>(score);
}
