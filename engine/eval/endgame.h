// Endgames with little material: evaluators that replace the rest of the
// evaluation, and the scaling of a side without pawns.
#pragma once

struct Position;
struct PawnEntry;

// Unstoppable passed pawns when the other side has no piece: may add +-495.
// Returns 1 if White wins the race, 2 if Black does, 0 otherwise.
int pawnRace(const Position& position, int& score, int whiteKing, int blackKing, const PawnEntry& entry);

// Neither side has pawns.
int evaluatePawnless(const Position& position, int whiteKing, int blackKing, int score);

// Kings and pawns only.
int evaluatePawnEnding(const Position& position, int score, int whiteKing, int blackKing,
                       const PawnEntry& entry);

// Each side has at most one piece besides pawns and king.
int evaluateMinorEnding(const Position& position, int score, int whiteKing, int blackKing,
                        const PawnEntry& entry, int whiteNonPawn, int blackNonPawn);

// White has no pawn and the score favours White: scale it down when White
// cannot win. Returns whether it applied.
bool noWhitePawnsScale(const Position& position, int& score);

// The mirror for Black.
bool noBlackPawnsScale(const Position& position, int& score);
