// chess.js's side of the PGN check (run.sh).
//
//   node check.js fens FILE            one line per game: number, plies, FEN (as Tavisk prints)
//   node check.js tags FILE...         reads every game of each file strictly as written:
//                                      prints "number plies FEN" per game, and a line
//                                      "FAULT ..." for a game chess.js refuses or whose
//                                      tags it does not keep exactly
"use strict";
const fs = require("fs");
const { Chess } = require("chess.js");

// The games of a file: each begins with a tag line after the previous game's moves.
function splitGames(text) {
  text = text.replace(/^\uFEFF/, "");
  const games = [];
  let current = [];
  let inMoves = false;
  for (const line of text.split(/\r?\n/)) {
    if (/^\s*\[/.test(line) && inMoves) {
      games.push(current.join("\n"));
      current = [];
      inMoves = false;
    }
    if (!/^\s*\[/.test(line) && line.trim() !== "") inMoves = true;
    current.push(line);
  }
  if (current.join("").trim() !== "") games.push(current.join("\n"));
  return games;
}

// Placement, side to move and castling rights: what both readers agree on
// (Tavisk writes no en-passant square).
function shortFen(fen) {
  return fen.split(" ").slice(0, 3).join(" ");
}

function tagsOf(game) {
  const tags = {};
  for (const match of game.matchAll(/^\s*\[(\w+)\s+"((?:[^"\\]|\\.)*)"\]\s*$/gm)) tags[match[1]] = match[2];
  return tags;
}

const [mode, ...files] = process.argv.slice(2);
let number = 0;
let faults = 0;
for (const file of files) {
  for (const game of splitGames(fs.readFileSync(file, "latin1"))) {
    number += 1;
    const chess = new Chess();
    // chess.js takes one comment after a move; xboard writes its adjudication as a
    // second one, which is merged here (only for other programs' files).
    const input = mode === "fens" ? game.replace(/\}\s*\{/g, " ") : game;
    try {
      chess.loadPgn(input, { strict: false });
    } catch (error) {
      console.log(`${number} FAULT ${file}: refused: ${error.message}`);
      faults += 1;
      continue;
    }
    const plies = chess.history().length;
    console.log(`${number} ${plies} ${shortFen(chess.fen())}`);
    if (mode === "tags") {
      const written = tagsOf(game);
      const read = chess.getHeaders();
      for (const [name, value] of Object.entries(written)) {
        if (read[name] !== value) {
          console.log(`${number} FAULT ${file}: tag ${name} "${value}" read as "${read[name]}"`);
          faults += 1;
        }
      }
    }
  }
}
process.exitCode = faults ? 1 : 0;
