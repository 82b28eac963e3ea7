#pragma once
// The end of the game, the result lines and the resign and draw decisions.
#include "engine/core/position.h"

extern int losingStreak[3]; // per colour (1 White, 2 Black): engine moves with a clearly lost score
extern int drawishStreak;   // engine moves scored at drawScore or within 2
extern int acceptStreak;    // engine moves scored no better for it than drawScore

// Why a position ends the game; GameGoesOn when it does not.
enum GameEnd {
    GameGoesOn = 0,
    EndCheckmate = 1,
    EndStalemate = 2,
    EndRepetition = 3,
    EndFiftyMoves = 4,
    EndNoMatingMaterial = 5,
};

// The game-end test without side effects: the first rule that ends the game.
int gameEndOf(const Position& pos);

// 1 and gameResult set when the position ends the game (mate, stalemate,
// threefold repetition, fifty moves, insufficient material), else 0.
int gameOver(const Position& pos);

// Prints every result line that applies to the position.
void printResult(const Position& pos);

// After an engine move: score of the committed search (White's view), colour
// of the engine (1 White, 2 Black). 1 if it printed "resign" or "offer draw".
int resignOrOfferDraw(int score, int colour);

// Whether resignOrOfferDraw, called now with this score and colour on the game
// position, would resign. Changes nothing.
bool resignationDue(int score, int colour);

// Whether resignOrOfferDraw, called now with this score and colour on the game
// position, would offer a draw. Changes nothing.
bool drawOfferDue(int score, int colour);
