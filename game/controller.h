#pragma once
// The game as the user sees it: the colour the user plays, the selection,
// whether the engine is thinking, the clocks, the hint, the sliding piece and
// the user's settings. The shell hands it taps, menu commands, timer ticks
// and the engine's notifications; it drives the engine only through the
// EngineBridge and reaches the platform only through GamePlatform. Drawing
// reads its fields. Everything here runs on the main thread.

#include <cstddef>
#include <cstdint>

#include "game/platform.h"
#include "game/settings.h"
#include "ui/board/geometry.h"

constexpr std::int32_t NoTutorReference = 100000; // tutorReferenceScore: make no comparison
constexpr std::int32_t TutorWarningDrop = 200;    // centipawns lost before the tutor asks
constexpr std::int32_t ClockLimitMs = 3599000;    // 59:59
// A score from the user's side at or above this still wins: the tutor keeps quiet.
constexpr std::int32_t DecisiveAdvantage = 300;

// How the game ended besides the rules of the position (GameEnd of the engine's
// results). Such an end stands at the position where it came: a takeback goes
// on with the game, going forward to that position ends it again, and a new
// move, a new game or a load judges the game afresh.
constexpr std::int32_t EndResigned = 16;       // the engine resigned
constexpr std::int32_t EndUserResigned = 17;   // the user resigned
constexpr std::int32_t EndDrawAgreed = 18;     // one side offered a draw, the other accepted
constexpr std::int32_t EndRecordedResult = 19; // a loaded game's Result tag, at the end of its record

class GameController {
  public:
    // Platform and pictures.
    GamePlatform* platform; // the shell's platform (tests: a fake); null = nothing shown
    ImageHandle boardImage; // the three skin images in use
    ImageHandle piecesImage;
    ImageHandle selectionImage;
    BoardGeometry geometry; // layout of the board, with screenType

    // Selection and move entry.
    std::uint8_t selectedPiece;  // piece code on the selected square when selected
    std::int32_t selectedColumn; // the selected square, -1 = none
    std::int32_t selectedRow;
    bool pieceSelected;        // a piece of the user's is selected
    std::int32_t cursorColumn; // cursor square, (0, 0) after a new game
    std::int32_t cursorRow;
    std::int32_t hintMove[4];         // from column, from row, to column, to row; -1 = none
    std::int32_t userColour;          // 1 White, 2 Black
    Settings settings;                // the 36-byte block of "options.cfg"
    bool engineBusy;                  // the engine has been asked to move and has not answered
    std::int32_t tutorReferenceScore; // engine score when the user last moved; 100000 = none
    bool showMovablePieces;           // the stylus went down on a square not the user's
    bool stylusDown;                  // a press on the board is in progress
    std::int32_t pressX, pressY;      // view point where the stylus went down
    std::int32_t dragDX, dragDY;      // offset of the stylus from the press point

    // The sliding piece.
    bool animating;                // a slide is running
    std::int32_t animHiddenColumn; // square that shows capturedPiece during a slide
    std::int32_t animHiddenRow;
    double animX, animY;         // view position of the sliding piece
    double animStepX, animStepY; // movement per frame
    std::int32_t animFrame;      // frames shown so far
    std::int32_t animFrameCount; // frames of one slide
    std::uint8_t animPiece;      // piece code of the sliding piece
    std::uint8_t capturedPiece;  // drawn on the hidden square during a slide, 0 = none

    // Clocks.
    bool clockTimerStarted;     // the clock timer runs for this game
    std::int32_t whiteClockMs;  // time White has been to move
    std::int32_t blackClockMs;  // time Black has been to move
    std::uint32_t clockMark;    // tick (ms) up to which the clocks are counted
    std::int32_t clockSide;     // colour whose clock runs since clockMark, 0 = none
    std::intptr_t clockTimerId; // handle of the running clock timer, 0 = none
    void* view;                 // the game view as last painted (owner of the clock timer)

    // Tutor.
    bool tutorWarned;  // the tutor asked during the current engine search
    bool questionOpen; // the tutor's question box is open
    bool scoreValid;   // rootScore comes from a search of this game since the last reset, load or takeback
    bool lineValid;    // the engine's line (the panel's status) is of the current position or the move that led to it
    std::int32_t replyBeforeMove; // the engine's expected reply when the user last moved (0 = none)

    // The end of the game.
    std::int32_t gameEnd;       // why the game is over in the current position; 0 = it goes on
    std::int32_t gameEndResult; // 1 White won, 2 Black won, 3 drawn (while gameEnd is set)
    // An end by the players' word (a resignation, an agreed draw, a loaded result)
    // stays with the position where it came: a takeback leaves it, going forward
    // to that position again brings it back, a new move drops it.
    std::int32_t standingEnd;       // its gameEnd; 0 = none
    std::int32_t standingEndResult; // its gameEndResult
    std::int32_t standingEndPly;    // the ply of gamePosition where it came
    std::uint32_t standingEndGame;  // the gameNumber it belongs to
    std::uint32_t gameNumber;   // counts new games and loads: what the screen shows belongs to one of them
    std::uint32_t moveRequests; // moves the user has played or handed to the engine (Swap sides, Game settings):
                                // such a move after a takeback replaces the record's tail

    // Life of the game.
    // Settings, skin images and engine start. Returns false when the program
    // has been told to end (a missing "options.cfg" or skin image).
    bool initialise();
    // Settings, then the auto-saved game, then the images are released.
    void shutdown();
    void resetGame();
    void startNewGame(bool quiet);
    void resumeGame(bool quiet);
    void applySettings();
    void onEngineMoved();
    void onEngineProgress(int depth);
    // Lays out the board and loads the three images of the style; message
    // and quitProgram when one is missing. Returns false then.
    bool loadSkin(int skin);
    void repaint();
    void quitProgram();
    // Slides animPiece between the squares; capturedPiece and the hidden square are set by the caller.
    void slidePiece(int fromColumn, int fromRow, int toColumn, int toRow);
    // Puts the floating piece on the first frame of a slide between two squares.
    void beginSlide(int fromColumn, int fromRow, int toColumn, int toRow);
    void startClockTimer();
    void stopClockTimer();

    // Move entry (view coordinates).
    void stylusPressed(int x, int y);
    void stylusMoved(int x, int y);
    void stylusReleased(int x, int y);
    void selectSquare(int column, int row);
    // Plays the user's move if legal and the record has room (else a message),
    // with the tutor's reference taken before it. True if played.
    bool tryMove(int fromColumn, int fromRow, int toColumn, int toRow);

    // Hint, tutor, takeback, forward, swap sides.
    bool hintAvailable();
    void showHint();
    void takeBack(bool fromMenu);
    void takeBackAll();
    void forward();
    void forwardAll();
    void swapSides();

    // Clocks. They measure real time: whatever changes the side to move or
    // whether a clock runs (a move, a slide, the tutor's question, another
    // window in front) settles them first.
    void clockTick();
    // Adds the time since the last settling to the clock that was running,
    // then lets the clock of the side to move run if it counts now: the clock
    // timer runs, no slide, no question, the main window in front, the game
    // not decided.
    void settleClocks();
    // Puts both clocks at these values (a new game, a restored game).
    void setClocks(std::int32_t whiteMs, std::int32_t blackMs);
    // The view's clock timer fired: the clocks are settled and shown (time
    // with another window in front counts for nobody).
    void clockTimerFired();

    // Game files. The paths are full file names.
    bool saveAutosave();
    bool loadAutosave();
    bool writeGameToFile(const char* path);
    // The game of that index in a file of several games (see listGames).
    bool readGameFromFile(const char* path, int gameIndex = 0);

    // The platform, or a silent stand-in when none was given.
    GamePlatform& host();

    // For the painting and the menus.
    // Called by every paint of the game view: remembers the view and starts
    // the clock timer of a new game.
    void boardPainted(void* paintedView);
    // Called by a paint while `animating` after the sliding piece is drawn.
    void advanceSlide();
    bool gameDecided(); // the game is over: the rules of the position, a resignation, a draw agreed or a
                        // loaded result
    // Result code of the game as it stands: 1 White won, 2 Black won, 3 drawn, 4 going on.
    int gameResultCode();
    // Judges the current position (engine idle or waiting for its notification);
    // `engineMoved` also takes the engine's resignation into account. An end
    // by the players' word is dropped: the game goes on unless the rules end it.
    void judgeGame(bool engineMoved);
    // A move replaces the record's tail: an end by the players' word there no longer stands.
    void forgetStandingEnd();
    // The message box that says who won and why.
    void announceGameEnd();
    // Ends the game that goes on (`end` one of EndUserResigned, EndDrawAgreed,
    // EndRecordedResult; `result` 1 White won, 2 Black won, 3 drawn): the engine
    // stops, the board takes no more moves, the clocks stand. `announce` shows the box.
    void concludeGame(int end, int result, bool announce);
    // The user gives up; false when the game is already over.
    bool resign();
    // The user offers a draw: the engine accepts exactly when it would offer one
    // itself (the answer it gives any opponent). True when accepted: the game is drawn.
    bool offerDraw();
    // After the engine's move: when the engine offers a draw, the user is asked and
    // an accepted offer ends the game drawn.
    void considerEngineDrawOffer();
    // The engine's turn: it starts thinking unless the game is over or the
    // record has no room for its move (then a message, and it waits).
    void letEngineMove();
    // After the user's move has been played and shown: the end of the game, or the engine's turn.
    void afterUserMove();
    // Stops a thinking engine (the worker is idle afterwards unless a stop timed out).
    void stopEngine();
    // Forgets what belonged to the previous game: score, line, opening name,
    // expected reply, hint, tutor reference and selection.
    void forgetPreviousGame();
    bool canTakeBack();   // "Takeback", "Takeback all"
    // The ply of the user's first turn in the record: takebacks go no further.
    int firstUserPly();
    bool canForward();    // "Forward"
    bool canForwardAll(); // "Forward all"
    int sideToMove();     // of the engine's game position: 1 White, 2 Black
    // Score of the engine's last search from the user's side, in centipawns.
    int userScore();
};

// The one controller, created on first access with all fields zero.
GameController& gameController();

// The engine's notifications: 0x401 moved, 0x402 progress (wParam = depth)
// run the controller and belong on the main thread while the worker waits;
// 0x403 disambiguation (wParam = move, lParam = position) only reads the
// position it is given and may be answered on the worker's own thread, so
// that a worker recording its move never waits for a main thread that is
// itself waiting for the worker. Returns 0.
std::intptr_t dispatchEngineNotification(unsigned message, std::intptr_t wParam, std::intptr_t lParam);
// True while a moved or progress notification is being handled: the worker
// then waits for it and touches none of its tables.
bool handlingEngineNotification();
