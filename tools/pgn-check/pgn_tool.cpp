// Tavisk's side of the PGN check: reads a multi-game file as Tavisk reads it
// and prints the final position of each game, or replays each game into the
// engine and saves it as Tavisk saves games, for other programs to read.
//
//   tavisk-pgn-tool fens FILE          one line per game: number, plies played, FEN
//   tavisk-pgn-tool write FILE FOLDER  FOLDER/game-N.pgn (Save) and FOLDER/engine-games.pgn
//                                      (the engine's record file); one line per game:
//                                      number, plies recorded, FEN at the record's end

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/position.h"
#include "engine/pgn/pgnread.h"
#include "engine/pgn/pgnwrite.h"
#include "engine/session/session.h"
#include "game/controller.h"

namespace {

// The position a game starts from: its FEN tag, else the initial position.
Position startOf(const GameHeader& header) {
    Position start;
    setInitialPosition(start);
    if (header.fen[0] != '\0') {
        Position set;
        if (readFen(set, header.fen, std::strlen(header.fen))) start = set;
    }
    return start;
}

int resultCode(const char* result) {
    if (std::strcmp(result, "1-0") == 0) return WhiteWon;
    if (std::strcmp(result, "0-1") == 0) return BlackWon;
    if (std::strcmp(result, "1/2-1/2") == 0) return Drawn;
    return GameInProgress;
}

int printFens(FILE* file) {
    std::vector<char> text(GameBufferSize);
    GameHeader header;
    int number = 0, more = 1;
    while (more) {
        more = readNextGame(file, text.data(), header);
        if (text[0] == '\0' && std::strcmp(header.white, "X") == 0) break;
        Position position = startOf(header);
        bool nullMove = false;
        int plies = playMoves(text.data(), position, nullptr, 1 << 30, nullptr, nullptr, &nullMove);
        char fen[FenBufferSize];
        writeFen(fen, position);
        std::printf("%d %d %s%s\n", ++number, plies, fen, nullMove ? " null-move" : "");
    }
    return 0;
}

int writeGames(FILE* file, const std::string& folder) {
    std::vector<char> text(GameBufferSize);
    GameHeader header;
    const std::string engineFile = folder + "/engine-games.pgn";
    std::remove(engineFile.c_str());
    int number = 0, more = 1;
    while (more) {
        more = readNextGame(file, text.data(), header);
        if (text[0] == '\0' && std::strcmp(header.white, "X") == 0) break;
        ++number;
        // The game as the engine holds it after a load: start, record, names, result.
        resetEngineGame();
        Position start = startOf(header);
        engineSession.startPosition = start;
        engineSession.gamePosition = start;
        playGameText(text.data(), gameRecord);
        std::snprintf(engineSession.opponentName, OpponentNameSize, "%s", header.white);
        engineSession.engineColour = static_cast<uint8_t>(number % 3 + 1); // each naming of the players
        engineSession.gameResult = resultCode(header.result);
        char fen[FenBufferSize];
        writeFen(fen, engineSession.gamePosition);
        const int plies = engineSession.gamePosition.ply - start.ply;
        // Every fifth game is saved while looking at an earlier move.
        if (number % 5 == 0 && engineSession.gamePosition.ply > 3) goToPly(engineSession.gamePosition, 3);
        const std::string path = folder + "/game-" + std::to_string(number) + ".pgn";
        if (!gameController().writeGameToFile(path.c_str())) return 1;
        if (!appendEngineGame(engineSession.gameResult, engineFile.c_str(), 1)) return 1;
        std::printf("%d %d %s\n", number, plies, fen);
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || (std::strcmp(argv[1], "write") == 0 && argc < 4)) {
        std::fprintf(stderr, "usage: %s fens FILE | write FILE FOLDER\n", argv[0]);
        return 2;
    }
    initSession();
    FILE* file = std::fopen(argv[2], "rb");
    if (!file) {
        std::fprintf(stderr, "cannot open %s\n", argv[2]);
        return 2;
    }
    int status = std::strcmp(argv[1], "write") == 0 ? writeGames(file, argv[3]) : printFens(file);
    std::fclose(file);
    return status;
}
