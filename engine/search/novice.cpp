#include "engine/search/novice.h"

#include <cstdlib>

#include "engine/core/attacks.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/eval/evaluate.h"
#include "engine/search/searchdata.h"
#include "engine/session/session.h"

std::atomic<int> noviceLevel{0};

namespace {

// How one beginner level plays.
struct NoviceStyle {
    int lookahead;    // 0 the move alone; 1, 2 that many capture plies after it;
                      // 3, 4 every reply, then lookahead - 2 capture plies
    int noise;        // every estimate is shaken by up to this many centipawns either way
    int nearMargin;   // moves this close to the best look equally good
    int slipPercent;  // chance of choosing within the wider margin instead
    int slipMargin;   // how much worse a slip may be
    int farDistance;  // captures over at least this many squares may go unseen
    int blindPercent; // chance that such a capture goes unseen during one move choice
};

constexpr NoviceStyle noviceStyles[NoviceLevelCount] = {
    {0, 250, 50, 50, 400, 2, 40},
    {1, 40, 30, 20, 180, 3, 25},
    {4, 12, 10, 5, 80, 5, 8},
};

constexpr int MaxRootMoves = 256;

uint32_t randomState = 0;

uint32_t nextRandom() {
    if (randomState == 0) randomState = (tickCount() * 2654435761u) | 1u;
    uint32_t x = randomState;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    randomState = x;
    return x;
}

int randomBelow(int n) {
    return n > 0 ? static_cast<int>(nextRandom() % static_cast<uint32_t>(n)) : 0;
}

// Score of a position for colour.
int scoreFor(const Position& pos, int colour) {
    const int white = evaluate(pos, -30000, 30000);
    return colour == White ? white : -white;
}

bool isCapture(const Position& pos, int32_t move) {
    if (isCastling(move)) return false;
    const int destination = moveDestination(move);
    if (pos.board[destination] != Empty) return true;
    return destination == pos.epSquare && pieceType(pos.board[moveOrigin(move)]) == Pawn;
}

int distance(int32_t move) {
    const int origin = moveOrigin(move), destination = moveDestination(move);
    const int columns = std::abs(columnOf(origin) - columnOf(destination));
    const int rows = std::abs(rowOf(origin) - rowOf(destination));
    return columns > rows ? columns : rows;
}

// The blind spots of one move choice: each long capture is seen or not for the
// whole choice, so the beginner's picture of the board stays consistent.
struct BlindSpots {
    const NoviceStyle& style;
    uint32_t salt;
    bool hides(const Position& pos, int32_t move) const {
        if (!isCapture(pos, move) || distance(move) < style.farDistance) return false;
        uint32_t h = (salt ^ static_cast<uint32_t>(move & 0x3FFF)) * 0x9E3779B1u;
        h ^= h >> 15;
        return static_cast<int>(h % 100) < style.blindPercent;
    }
};

// Makes a legal move on a copy; false for a move that leaves the mover in check.
bool tryMove(const Position& from, int32_t move, Position& to) {
    if (!isCastling(move) && pieceType(from.board[moveDestination(move)]) == King) return false;
    to = from;
    uint32_t changed = 0, former = 0;
    makeMove(to, move, changed, former, Queen);
    return !inCheck(to, from.sideToMove);
}

// The side to move stands still or takes something it sees, then the other
// side does the same, for `plies` captures: a short exchange, not a full
// capture search. The score is the side to move's.
int captureLookahead(const Position& pos, int plies, const BlindSpots& blind) {
    const int colour = pos.sideToMove;
    int best = scoreFor(pos, colour);
    if (plies == 0) return best;
    MoveList list;
    generateTactical(pos, list, colour);
    const int total = list.count();
    for (int k = 0; k < total; ++k) {
        const int32_t move = list.move(k);
        if (blind.hides(pos, move)) continue;
        Position next;
        if (!tryMove(pos, move, next)) continue;
        const int value = -captureLookahead(next, plies - 1, blind);
        if (value > best) best = value;
    }
    return best;
}

// Every reply of the side to move, each followed by `plies` captures; the
// side to move's score. A reply that mates is found; one that stalemates
// scores as a draw.
int replyLookahead(const Position& pos, int plies, const BlindSpots& blind) {
    const int colour = pos.sideToMove;
    MoveList list;
    generateMovesWithCheck(pos, list, colour);
    const int total = list.count();
    int best = -MateScore;
    bool anyLegal = false;
    for (int k = 0; k < total; ++k) {
        const int32_t move = list.move(k);
        if (blind.hides(pos, move)) continue;
        Position next;
        if (!tryMove(pos, move, next)) continue;
        anyLegal = true;
        int value;
        if (inCheck(next, 3 - colour) && countLegalMoves(next, 3 - colour) == Checkmated)
            value = MateScore - 3;
        else
            value = -captureLookahead(next, plies, blind);
        if (value > best) best = value;
    }
    return anyLegal ? best : scoreFor(pos, colour);
}

} // namespace

void seedNovice(uint32_t seed) {
    randomState = seed == 0 ? 1u : seed;
}

int32_t chooseNoviceMove(const Position& pos, int level, int& score) {
    const NoviceStyle& style = noviceStyles[(level < 1                  ? 1
                                             : level > NoviceLevelCount ? NoviceLevelCount
                                                                        : level) -
                                            1];
    const int colour = pos.sideToMove;
    const int sign = colour == White ? 1 : -1;
    const BlindSpots blind{style, nextRandom()};

    MoveList list;
    generateMovesWithCheck(pos, list, colour);
    int32_t moves[MaxRootMoves];
    int values[MaxRootMoves];
    bool seen[MaxRootMoves];
    int count = 0;
    const int total = list.count();
    for (int k = 0; k < total && count < MaxRootMoves; ++k) {
        const int32_t move = list.move(k);
        Position next;
        if (!tryMove(pos, move, next)) continue;
        const int reply = countLegalMoves(next, 3 - colour);
        // A mate in one is never missed.
        if (reply == Checkmated) {
            score = sign * (MateScore - 2);
            return move;
        }
        int value = 0; // stalemate
        if (reply == HasLegalMove)
            value = style.lookahead == 0   ? scoreFor(next, colour)
                    : style.lookahead <= 2 ? -captureLookahead(next, style.lookahead, blind)
                                           : -replyLookahead(next, style.lookahead - 2, blind);
        moves[count] = move;
        values[count] = value;
        seen[count] = !blind.hides(pos, move);
        ++count;
    }
    if (count == 0) {
        score = 0;
        return NoMove;
    }

    // What each move looks like to the beginner; unseen captures are only
    // played when nothing else is seen.
    int shaken[MaxRootMoves];
    bool anySeen = false;
    for (int i = 0; i < count; ++i) anySeen = anySeen || seen[i];
    int best = -1000000;
    for (int i = 0; i < count; ++i) {
        if (anySeen && !seen[i]) continue;
        shaken[i] = values[i] + randomBelow(2 * style.noise + 1) - style.noise;
        if (shaken[i] > best) best = shaken[i];
    }
    const int margin = randomBelow(100) < style.slipPercent ? style.slipMargin : style.nearMargin;
    int candidates[MaxRootMoves];
    int candidateCount = 0;
    for (int i = 0; i < count; ++i)
        if ((!anySeen || seen[i]) && shaken[i] >= best - margin) candidates[candidateCount++] = i;
    const int chosen = candidates[randomBelow(candidateCount)];
    score = sign * values[chosen];
    return moves[chosen];
}
