#include "game/review.h"

#include <vector>

#include "engine/core/gamerecord.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/san.h"

namespace {

struct Review {
    bool active = false;
    int shown = 0;
    int gamePly = 0; // the game when the review began
    int recordLength = 0;
    std::vector<PlayedPly> plies;
};

Review review;

bool gameUnchanged() {
    return engineSession.gamePosition.ply == review.gamePly && recordLength() == review.recordLength;
}

} // namespace

void startReview(int plies) {
    // The game's position belongs to the worker while it searches; its moves are read
    // when it rests.
    if (engineSession.searchState != 0 && !review.active) return;
    if (!review.active || !gameUnchanged()) {
        review.plies = replayRecord(engineSession.gamePosition.ply);
        review.gamePly = engineSession.gamePosition.ply;
        review.recordLength = recordLength();
    }
    const int count = static_cast<int>(review.plies.size());
    if (plies < 0) plies = 0;
    // The last position is the game itself: no review.
    if (plies >= count) {
        leaveReview();
        return;
    }
    review.active = true;
    review.shown = plies;
}

void stepReview(int delta) {
    if (reviewing()) startReview(review.shown + delta);
}

void leaveReview() {
    review.active = false;
}

bool reviewing() {
    if (review.active && !gameUnchanged()) review.active = false;
    return review.active;
}

int reviewedPlies() {
    return reviewing() ? review.shown : -1;
}

const Position* reviewedPosition() {
    if (!reviewing()) return nullptr;
    return review.shown == 0 ? &engineSession.startPosition : &review.plies[review.shown - 1].after;
}

bool reviewedMove(int& from, int& to) {
    if (!reviewing() || review.shown == 0) return false;
    from = review.plies[review.shown - 1].from;
    to = review.plies[review.shown - 1].to;
    return true;
}

int shownPieceAt(int column, int row) {
    if (const Position* position = reviewedPosition()) {
        if (column < 0 || column > 7 || row < 0 || row > 7) return 0;
        return position->board[squareOf(column, row)];
    }
    return engineBridge().pieceAt(column, row);
}
