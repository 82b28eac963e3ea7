#include "engine/search/thinking.h"

#include <cstdio>
#include <cstdlib>

#include "engine/core/movegen.h"
#include "engine/search/searchdata.h"
#include "engine/search/timecontrol.h"
#include "engine/session/session.h"

std::atomic<int> postThinking{0};

namespace {

constexpr int MaxVariationMoves = 40;
constexpr int MarkerWordLimit = 256; // words below this stand for a marker, not a move

// Coordinates in lower case with the promotion letter, as UCI writes a move.
int uciMoveText(char* buffer, int32_t move) {
    // Only pawn moves carry promotion bits (the search promotes to a queen).
    static const char promotionLetters[4] = {0, 'n', 'r', 'q'};
    int origin = moveOrigin(move), destination = moveDestination(move);
    if (origin >= CastleWhiteKingSide) {
        origin = origin <= CastleWhiteQueenSide ? E1 : E8;
    }
    int n = 0;
    buffer[n++] = static_cast<char>('a' + columnOf(origin));
    buffer[n++] = static_cast<char>('8' - rowOf(origin));
    buffer[n++] = static_cast<char>('a' + columnOf(destination));
    buffer[n++] = static_cast<char>('8' - rowOf(destination));
    int row = rowOf(destination);
    char letter = promotionLetters[movePromotionBits(move)];
    if (moveOrigin(move) < CastleWhiteKingSide && (row == 0 || row == 7) && letter) buffer[n++] = letter;
    buffer[n] = '\0';
    return n;
}

} // namespace

int variationText(char* buffer, int size) {
    const int32_t* row = pvTable[1];
    int length = row[0];
    if (length > MaxVariationMoves) length = MaxVariationMoves;
    if (length > SearchPlies - 1) length = SearchPlies - 1;
    int n = 0;
    buffer[0] = '\0';
    for (int k = 1; k <= length; ++k) {
        int32_t move = row[k] & 0x7FFFFF;
        if (move < MarkerWordLimit) break;
        char text[8];
        int m = uciMoveText(text, move);
        if (n + m + 2 > size) break;
        n += std::snprintf(buffer + n, static_cast<size_t>(size - n), "%s%s", n ? " " : "", text);
    }
    return n;
}

void uciScoreText(char* buffer, int size, int score) {
    int magnitude = std::abs(score);
    if (magnitude >= MateScore - SearchPlies && magnitude <= MateScore) {
        // A mate at ply-index p scores MateScore - p; the root is ply-index 1.
        int moves = (MateScore - magnitude) / 2;
        if (moves < 1) moves = 1;
        std::snprintf(buffer, static_cast<size_t>(size), "mate %d", score > 0 ? moves : -moves);
    } else {
        std::snprintf(buffer, static_cast<size_t>(size), "cp %d", score);
    }
}

void reportIteration(int depth, int score, int colour) {
    const EngineSession& s = engineSession;
    bool uci = s.uciMode == 1;
    if (!uci && postThinking == 0) return;
    int own = colour == White ? score : -score;
    uint32_t elapsed = tickCount() - searchStartTick;
    char variation[MaxVariationMoves * 6 + 1];
    variationText(variation, sizeof variation);
    if (uci) {
        char scoreText[24];
        uciScoreText(scoreText, sizeof scoreText, own);
        unsigned nps = elapsed > 0 ? static_cast<unsigned>(nodeCount * 1000.0 / elapsed) : nodeCount;
        std::printf("info depth %d score %s nodes %u nps %u time %u pv %s\n", depth, scoreText, nodeCount,
                    nps, elapsed, variation);
    } else {
        std::printf("%d %d %u %u %s\n", depth, own, elapsed / 10, nodeCount, variation);
    }
    std::fflush(stdout);
}
