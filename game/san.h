#pragma once
// The game in the notation other chess programs read: the moves of the record in
// standard algebraic notation (SAN), the position as full FEN and the game as PGN with
// the seven standard tags. Built by replaying the record from the game's start, so the
// engine's own texts and state stay untouched.

#include <string>
#include <vector>

#include "engine/core/position.h"

struct PlayedPly {
    std::string san;     // "Nbd7", "exd6", "e8=N+", "O-O-O#"
    int from = 0, to = 0; // mailbox squares of the move (castling: the king's)
    Position after{};     // the position after the move
};

// The legal moves of the side to move.
std::vector<int32_t> legalMoves(const Position& position);

// SAN of a legal move of the side to move; promotionType 3..6 for a promotion.
std::string sanOf(const Position& before, int32_t move, int promotionType);

// Replays the record's plies from the start position up to (not including) the
// position of ply `untilPly` (the game position's ply for the game as played).
// Stops early at a ply that does not replay.
std::vector<PlayedPly> replayRecord(int untilPly);

// Full six-field FEN of a position.
std::string fullFen(const Position& position);

// The game from its start to the game position as PGN: Event, Site, Date, Round,
// White, Black, Result (SetUp and FEN for a set-up start), then the SAN moves with
// their numbers and the result, lines of at most 79 characters.
std::string gamePgn();

// "1-0", "0-1", "1/2-1/2" or "*" for the game as it stands.
std::string resultToken();
