#include "engine/search/results.h"

#include <cstdio>
#include <cstdlib>

#include "engine/core/makemove.h"
#include "engine/search/rootsearch.h"
#include "engine/search/ttable.h"
#include "engine/session/session.h"

int losingStreak[3] = {0, 0, 0};
int drawishStreak = 0;
int acceptStreak = 0;

namespace {

constexpr int ResignScore = 680; // below -680 (White) / from 681 (Black) the engine is lost
constexpr int ResignMaterialLead = 450;
constexpr int EarlyPly = 84; // before this, a draw with much material on the board is not offered
constexpr int RichMaterial = 1400;
constexpr int ThinMaterial = 1100;

// Pieces are too few to mate: no pawns, one side with a bare king, the other
// with at most one minor piece.
bool materialCannotMate(const Position& pos) {
    if (pos.whitePawnCount != 0 || pos.blackPawnCount != 0) return false;
    if (pos.whitePieceCount != 0 && pos.blackPieceCount != 0) return false;
    if (pos.whitePieceCount > 1 || pos.blackPieceCount > 1) return false;
    return pos.whiteMinorCount == pos.whitePieceCount && pos.blackMinorCount == pos.blackPieceCount;
}

// Repetitions of the position in the game so far (its keys computed from scratch).
int gameRepetitions(const Position& pos) {
    Position keyed = pos;
    keyed.hashKey = computeHashKey(keyed);
    keyed.hashLock = computeHashLock(keyed);
    return repetitionCount(fullIndexKey(keyed), keyed);
}

int fiftyMoveCount(const Position& pos) {
    return pos.ply - pos.lastIrreversiblePly;
}

void printLine(const char* result, const char* reason) {
    std::printf("%s {%s}\n", result, reason);
    std::fflush(stdout);
}

} // namespace

int gameEndOf(const Position& pos) {
    // 1. Checkmate and stalemate.
    int legal = countLegalMoves(pos, pos.sideToMove);
    if (legal == Checkmated) return EndCheckmate;
    if (legal == Stalemated) return EndStalemate;
    // 2. Threefold repetition, fifty moves.
    if (gameRepetitions(pos) >= 2) return EndRepetition;
    if (fiftyMoveCount(pos) >= 100) return EndFiftyMoves;
    // 3.
    if (materialCannotMate(pos)) return EndNoMatingMaterial;
    return GameGoesOn;
}

int gameOver(const Position& pos) {
    const int end = gameEndOf(pos);
    if (end == GameGoesOn) return 0;
    if (end == EndCheckmate)
        engineSession.gameResult = pos.sideToMove == Black ? WhiteWon : BlackWon;
    else
        engineSession.gameResult = Drawn;
    return 1;
}

void printResult(const Position& pos) {
    int legal = countLegalMoves(pos, pos.sideToMove);
    if (legal == Stalemated) printLine("1/2-1/2", "Draw by Stalemate");
    if (legal == Checkmated && pos.sideToMove == Black) printLine("1-0", "White Mates");
    if (legal == Checkmated && pos.sideToMove == White) printLine("0-1", "Black Mates");
    if (materialCannotMate(pos)) printLine("1/2-1/2", "Draw by Insufficent Material to Mate");
    if (fiftyMoveCount(pos) >= 100) printLine("1/2-1/2", "Draw by 50 Move Rule");
    if (gameRepetitions(pos) > 1) printLine("1/2-1/2", "Draw by Repetition");
}

namespace {

// Step 1's losing streak of the colour after a move with this score.
int streakAfter(int score, int colour) {
    if (colour == White) return score < -ResignScore ? losingStreak[White] + 1 : 0;
    return score >= ResignScore + 1 ? losingStreak[Black] + 1 : 0;
}

// Step 2's test: clearly lost, and the opponent can still win.
bool resignsWith(const Position& pos, int streak, int colour) {
    const bool white = colour == White;
    int ownMaterial = white ? pos.whiteMaterial : pos.blackMaterial;
    int opponentMaterial = white ? pos.blackMaterial : pos.whiteMaterial;
    int ownPieces = white ? pos.whitePieceCount : pos.blackPieceCount;
    int opponentPieces = white ? pos.blackPieceCount : pos.whitePieceCount;
    int opponentMinors = white ? pos.blackMinorCount : pos.whiteMinorCount;
    int opponentPawns = white ? pos.blackPawnCount : pos.whitePawnCount;
    return streak > 3 && engineOptions.resignAllowed == 1 && opponentMaterial - ownMaterial > ResignMaterialLead &&
           (opponentMinors < opponentPieces || opponentPawns >= 2) &&
           (ownPieces < opponentPieces || opponentPawns >= 1);
}

// Step 3's test: a move scored as a draw, and not in an opening with much material left.
bool drawishMove(const Position& pos, int score) {
    if (score != drawScore && std::abs(score) > 2) return false;
    return pos.ply > EarlyPly || (pos.whiteMaterial <= RichMaterial && pos.blackMaterial <= RichMaterial);
}

int resignOrOfferDrawOn(const Position& pos, int score, int colour) {
    EngineSession& s = engineSession;
    const EngineOptions& options = engineOptions;
    const bool white = colour == White;

    // 1. Losing streak.
    if (colour == White || colour == Black) losingStreak[colour] = streakAfter(score, colour);

    // 2. Resign when clearly lost and the opponent can still win.
    if ((colour == White || colour == Black) && resignsWith(pos, losingStreak[colour], colour)) {
        std::printf("resign\n");
        std::fflush(stdout);
        losingStreak[colour] = -2;
        return 1;
    }

    // 3. Offer a draw after five drawish moves.
    if (!drawishMove(pos, score)) {
        drawishStreak = 0;
    } else {
        drawishStreak += 1;
        if (drawishStreak > 4 && options.drawOffersAllowed == 1) {
            s.drawAcceptable = 1;
            drawishStreak = -3;
            std::printf("offer draw\n");
            std::fflush(stdout);
            return 1;
        }
    }

    // 4. Would the engine accept a draw?
    s.drawAcceptable = 0;
    if ((white && score <= drawScore) || (!white && score >= drawScore)) {
        acceptStreak += 1;
        if (acceptStreak > 5 &&
            (pos.ply > EarlyPly ||
             (pos.whiteMaterial <= ThinMaterial && pos.blackMaterial <= ThinMaterial)) &&
            pos.whitePieceCount <= 2 && pos.blackPieceCount <= 2)
            s.drawAcceptable = 1;
    } else {
        acceptStreak = 0;
    }
    return 0;
}

} // namespace

int resignOrOfferDraw(int score, int colour) {
    return resignOrOfferDrawOn(engineSession.gamePosition, score, colour);
}

bool resignationDue(int score, int colour) {
    if (colour != White && colour != Black) return false;
    return resignsWith(engineSession.gamePosition, streakAfter(score, colour), colour);
}

bool drawOfferDue(int score, int colour) {
    if (colour != White && colour != Black) return false;
    if (resignationDue(score, colour)) return false;
    return drawishMove(engineSession.gamePosition, score) && drawishStreak + 1 > 4 &&
           engineOptions.drawOffersAllowed == 1;
}
