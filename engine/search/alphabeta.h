#pragma once
// The alpha-beta search from White's point of view: White maximises, Black
// minimises. bestMove is a hint in and the best move out (0xFFFF = none);
// noNull = 1 forbids a null move at this node.
int alphaBeta(int colour, int ply, int depth, int alpha, int beta, int& bestMove, int noNull);
