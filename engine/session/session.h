// The engine's global records: the session (game, protocol state, limits,
// clocks and the values the user interface reads) and the fixed options.
// Words the worker thread and the caller's thread share are std::atomic; the
// positions are guarded by the worker protocol (events, stopRequest, searchState).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "engine/core/position.h"

constexpr int OpponentNameSize = 64;
constexpr int BookFileNameSize = 4096;

// engineColour values (not the position's colour codes).
constexpr int EnginePlaysBlack = 1;
constexpr int EnginePlaysWhite = 2;
constexpr int EnginePlaysNone = 3;

// gameResult values.
constexpr int WhiteWon = 1;
constexpr int BlackWon = 2;
constexpr int Drawn = 3;
constexpr int GameInProgress = 4;

// stopRequest values.
constexpr int NoStop = 0;
constexpr int StopAndPlay = 1;
constexpr int StopAndAbort = 3;

struct EngineSession {
    // --- positions
    Position gamePosition;   // the game as played
    Position startPosition;  // position the game started from; takebacks replay from it
    Position ponderPosition; // position the ponder search expects (empty board otherwise)
    // --- protocol state
    std::atomic<uint8_t> engineColour{1};  // 1 engine plays Black, 2 White, 3 neither
    std::atomic<int32_t> gameResult{4};    // 1 White won, 2 Black won, 3 drawn, 4 in progress
    std::atomic<int32_t> stopRequest{0};   // 0 none, 1 stop and play, 3 abort without playing
    std::atomic<int32_t> searchState{0};   // 0 idle, 1 thinking or analysing, 2 pondering
    std::atomic<int32_t> analyzeMode{0};   // 1 while in analysis mode
    std::atomic<int32_t> uciMode{0};       // 1 after the UCI handshake
    std::atomic<int32_t> sessionOpen{1};   // 1 after engine start and "new", 0 after "quit"
    std::atomic<int32_t> ponderEnabled{0}; // 1 think on the opponent's time ("hard")
    // --- worker requests
    std::atomic<int32_t> workerRequest{0}; // next wake-up: 0 think, 1 analyse
    std::atomic<int32_t> ponderState{0};   // 0 none, 1 pondering, 2 ponder hit, 3 ponder miss
    std::atomic<int32_t> clockStarted{0};  // 1 once the first search of a game was requested
    // --- limits and time
    std::atomic<int32_t> depthLimit{28};     // maximum iteration depth ("sd")
    std::atomic<int32_t> baseMinutes{5};     // second number of "level" (minutes)
    std::atomic<int32_t> increment{5};       // third number of "level" (seconds)
    std::atomic<float> targetTime{10.0f};    // seconds the next search aims to use
    std::atomic<float> extensionTime{1.0f};  // reserve seconds the search may add
    std::atomic<int32_t> whiteClock{0};      // time used by White, centiseconds
    std::atomic<int32_t> blackClock{0};      // time used by Black, centiseconds
    float lastTime = 0;                      // last value read by "time"
    float lastOtim = 0;                      // last value read by "otim"
    std::atomic<uint32_t> lastRecordTick{0}; // tick (ms) of the last recording in the game record
    // --- names
    char opponentName[OpponentNameSize] = "Human"; // opponent's name for the engine's game records
    const char* engineName = "CPU";                // the engine's name in handshakes and game records
    // --- decisions and values read by the user interface
    std::atomic<int32_t> drawAcceptable{0};     // 1 when the engine would accept a draw
    std::atomic<uint8_t> promotionChoice{6};    // piece type a promoting pawn becomes (3..6)
    std::atomic<uint8_t> disambiguationFlag{0}; // result of the last disambiguation test
    std::atomic<int32_t> expectedRecapture{0};  // square of an even exchange just played, else 0
    std::atomic<int32_t> rootScore{0};          // score of the last search (White's view, centipawns)
    std::atomic<int32_t> engineMove{0};         // the move the engine committed last
    std::atomic<int32_t> expectedReply{0};      // move the engine expects from the user, 0 = none
};

struct EngineOptions {
    int32_t resignAllowed;               // the engine may resign
    int32_t drawOffersAllowed;           // the engine may offer or accept draws
    int32_t saveEngineGames;             // finished games go to "WinboardGames.pgn"
    char bookFileName[BookFileNameSize]; // opening book source
};

extern EngineSession engineSession;
extern EngineOptions engineOptions;

// Engine start, before the first command: tables, options and initial values.
void initSession();

// Replaces the game by the initial position (stops a running search first).
void resetEngineGame();

// resetEngineGame, then the defaults of a new game.
void newGame();

// The worker installs its stopSearch here when the engine starts, so that the
// session can stop a search without depending on the search code; null means
// no worker (nothing to stop).
extern std::atomic<void (*)()> stopSearchHook;

// Milliseconds of a steady clock (the platform tick count).
uint32_t tickCount();

// The folder that holds the running program, with a trailing '/', unless another
// was set: the test programs, built elsewhere, point it at the program folder.
const char* programFolder();
// Sets that folder (with its trailing '/'); an empty text goes back to the running
// program's own. A longer text than a path can be is cut.
void setProgramFolder(const char* folder);

// A file that an installation puts in the program folder: the folder is then shared by
// every user (even one who could write it), and the files the program writes go to the
// user's own folders instead.
constexpr const char* InstalledMarkerFile = "installed";

// programFolder() + name into the buffer (truncated, always terminated);
// returns 1 if it fitted.
int programFilePath(char* buffer, size_t size, const char* name);
