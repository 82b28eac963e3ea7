#include "game/controller.h"

#include <cmath>
#include <cstdlib>

#include "engine/core/gamerecord.h"
#include "engine/core/movegen.h"
#include "engine/core/notation.h"
#include "engine/core/position.h"
#include "engine/search/book.h"
#include "engine/search/results.h"
#include "engine/search/searchdata.h"
#include "engine/search/worker.h"
#include "engine/session/bridge.h"
#include "engine/session/notify.h"
#include "engine/session/session.h"
#include "game/autosave.h"
#include "game/gamefiles.h"
#include "game/skinfiles.h"

namespace {

// Stands in when no platform has been given: nothing is shown, a quit ends
// the process.
class NoPlatform : public GamePlatform {
  public:
    void repaint() override {}
    void sleepMs(int) override {}
    std::intptr_t startTimer(void*, int, int) override { return 0; }
    void stopTimer(std::intptr_t) override {}
    void showMessage(int, int) override {}
    bool askYesNo(int, int) override { return false; }
    bool isForeground() override { return false; }
    bool stylusButtonDown() override { return false; }
    bool hasMainWindow() override { return false; }
    void closeMainWindow() override {}
    void exitProcess(int code) override { std::exit(code); }
    ImageHandle loadImage(const char*) override { return nullptr; }
    void releaseImage(ImageHandle) override {}
    int screenWidth() override { return 240; }
    int screenHeight() override { return 320; }
};

constexpr int ImageNameSize = 64;
constexpr int StopStepMs = 20;        // a stopping worker is checked this often
constexpr int StopPatienceMs = 3000;  // and given this long to come to rest

bool stoppingEngine = false; // notifications handled while a command stops the engine

} // namespace

GamePlatform& GameController::host() {
    static NoPlatform none;
    return platform ? *platform : none;
}

GameController& gameController() {
    static GameController controller{};
    return controller;
}

// ---------------------------------------------------------------------------
// Life of the game
// ---------------------------------------------------------------------------

bool GameController::initialise() {
    geometry.screenType = ScreenQvgaPortrait;
    boardImage = nullptr;
    if (!loadSettings(settings, gameFile(SettingsFileName).c_str())) {
        host().showMessage(MessageFilesMissing, settings.language);
        quitProgram();
        return false;
    }
    if (!loadSkin(static_cast<int>(settings.skin))) return false;
    engineBridge().resetBridge();
    engineBridge().beforeSearch = &autosaveIfChanged;
    return true;
}

void GameController::shutdown() {
    saveSettings(settings, gameFile(SettingsFileName).c_str());
    // A thinking engine would commit its move while the game is being written.
    if (engineBusy) stopSearch();
    saveAutosave();
    for (ImageHandle* image : {&boardImage, &piecesImage, &selectionImage}) {
        if (*image) host().releaseImage(*image);
        *image = nullptr;
    }
}

void GameController::resetGame() {
    // 1.
    cursorColumn = cursorRow = 0;
    questionOpen = false;
    engineSession.expectedReply = 0;
    gameEnd = GameGoesOn;
    ++gameNumber;
    // 2.
    showMovablePieces = false;
    userColour = settings.userPlaysWhite ? White : Black;
    // 3.
    engineSession.rootScore = 0;
    clockTimerStarted = false;
    setClocks(0, 0);
    // 4.
    stylusDown = false;
    capturedPiece = 0;
    animating = false;
    // No comparison until the user has moved in this game.
    tutorReferenceScore = NoTutorReference;
    scoreValid = false;
    lineValid = false;
    replyBeforeMove = 0;
    engineBusy = false;
    // 5.
    for (std::int32_t& coordinate : hintMove) coordinate = -1;
    selectedColumn = selectedRow = -1;
    pieceSelected = false;
    // 6.
    engineBridge().newEngineGame();
}

void GameController::startNewGame(bool quiet) {
    resetGame();
    if (!quiet) repaint();
    engineBridge().computeMovablePieces(userColour);
    applySettings();
}

void GameController::resumeGame(bool quiet) {
    if (!quiet) repaint();
    engineBridge().computeMovablePieces(userColour);
    applySettings();
}

void GameController::applySettings() {
    // A search in progress was started for the old level and sides: it stops,
    // and the game goes on from the position it left.
    if (engineBusy) {
        stopEngine();
        engineBusy = false;
    }
    engineBridge().setLevel(static_cast<int>(settings.levelMode), static_cast<long>(settings.levelValue));
    userColour = settings.userPlaysWhite ? White : Black;
    // In the engine's coding the same number means the other colour.
    engineSession.engineColour = static_cast<std::uint8_t>(userColour);
    if (sideToMove() == userColour) return;
    ++moveRequests;
    letEngineMove();
}

void GameController::stopEngine() {
    if (engineSession.searchState == 0 && !engineBusy) return;
    const std::uint8_t side = engineSession.engineColour;
    // The worker must not start again on the position it is taken from.
    engineSession.engineColour = EnginePlaysNone;
    if (handlingEngineNotification()) {
        // The worker waits for this very notification: it stops once it returns.
        stopSearch();
    } else {
        // A worker waiting for a notification of its own stops once that has
        // been handled; a move it has already played arrives that way.
        stoppingEngine = true;
        for (int waited = 0; waited < StopPatienceMs; waited += StopStepMs) {
            engineSession.stopRequest = StopAndAbort;
            if (idleEvent.wait(StopStepMs)) break;
            host().serveEngineNotifications();
        }
        stoppingEngine = false;
    }
    engineSession.engineColour = side;
}

void GameController::letEngineMove() {
    engineBusy = false;
    if (gameDecided()) return;
    if (!recordHasRoom(engineSession.gamePosition)) {
        host().showMessage(MessageRecordFull, settings.language);
        return;
    }
    // The line on the panel is the coming search's; a book move leaves none.
    engineBridge().clearPrincipalVariation();
    lineValid = false;
    engineBusy = true;
    engineBridge().go();
}

void GameController::afterUserMove() {
    if (gameDecided()) {
        engineBusy = false;
        announceGameEnd();
        return;
    }
    letEngineMove();
}

void GameController::forgetPreviousGame() {
    EngineBridge& bridge = engineBridge();
    engineSession.rootScore = 0;
    scoreValid = false;
    lineValid = false;
    bridge.clearPrincipalVariation();
    resetOpeningName(openingBook);
    engineSession.expectedReply = 0;
    replyBeforeMove = 0;
    for (std::int32_t& coordinate : hintMove) coordinate = -1;
    tutorReferenceScore = NoTutorReference;
    tutorWarned = false;
    selectedColumn = selectedRow = -1;
    pieceSelected = false;
    showMovablePieces = false;
    ++gameNumber;
}

void GameController::onEngineMoved() {
    EngineBridge& bridge = engineBridge();
    // 1.
    bridge.computeMovablePieces(userColour);
    // 2.
    stopClockTimer();
    selectedColumn = -1;
    // 3. The castling codes stand for the king's step from its start square.
    const std::int32_t move = engineSession.engineMove;
    const int destination = moveDestination(move);
    const int origin = moveOrigin(move);
    const int toColumn = columnOf(destination), toRow = rowOf(destination);
    int fromColumn = columnOf(origin), fromRow = rowOf(origin);
    if (fromRow == 10) {
        fromColumn = 4;
        fromRow = toRow;
    }
    // 4.
    capturedPiece = static_cast<std::uint8_t>(bridge.pieceBeforeLastMove(toColumn, toRow));
    animPiece = static_cast<std::uint8_t>(bridge.pieceAt(toColumn, toRow));
    // A searched move leaves its line and score; a book move leaves those of an
    // earlier search, which are not shown. The panel shows the end, if it has
    // come, from the first paint of the move.
    const std::int32_t lineMove = pvTable[1][0] > 0 ? pvTable[1][1] : 0;
    lineValid = moveOrigin(lineMove) == moveOrigin(move) && moveDestination(lineMove) == moveDestination(move);
    scoreValid = lineValid;
    judgeGame(true);
    // 5.
    animHiddenColumn = toColumn;
    animHiddenRow = toRow;
    slidePiece(fromColumn, fromRow, toColumn, toRow);
    // 6.
    engineBusy = false;
    repaint();
    startClockTimer();
    if (gameDecided())
        announceGameEnd();
    else
        considerEngineDrawOffer();
}

void GameController::onEngineProgress(int depth) {
    // The running search's score and line: of this game, after the user's move
    // (not of a search a command is taking back).
    if (engineBusy) scoreValid = lineValid = true;
    host().repaintStatus();

    // The tutor.
    // 1. (Not about a search that is being stopped.)
    if (!settings.tutorMode || stoppingEngine) return;
    // 2. A new search has begun.
    if (depth == 1) tutorWarned = false;
    // 3.
    if (tutorReferenceScore == NoTutorReference) return;
    // 4. What the user's last move lost, seen from the user's side. A move
    // after which the user still wins clearly (a mate for the user included,
    // however far it is) is no weak move, whatever the score was before.
    const int sign = userColour == Black ? -1 : 1;
    const int before = sign * tutorReferenceScore;
    const int after = sign * static_cast<int>(engineSession.rootScore);
    if (after >= DecisiveAdvantage) return;
    if (before - after <= TutorWarningDrop || tutorWarned) return;
    // 5. The time the question is open counts for nobody.
    tutorWarned = true;
    questionOpen = true;
    settleClocks();
    // 6., 7.
    if (host().askYesNo(MessageWeakMove, settings.language)) {
        const std::int32_t betterMove = replyBeforeMove;
        takeBack(false);
        engineSession.rootScore = tutorReferenceScore;
        scoreValid = true;
        lineValid = false;
        // The move the engine expected before the weak one is the hint now.
        engineSession.expectedReply = betterMove;
    }
    // 8.
    questionOpen = false;
    settleClocks();
}

bool GameController::loadSkin(int skin) {
    // 1.
    layoutBoard(*this);
    // 2.
    char boardName[ImageNameSize], piecesName[ImageNameSize], selectionName[ImageNameSize];
    if (settings.isometric) {
        isoBoardImageName(boardName, sizeof boardName, static_cast<unsigned>(skin), settings.orientation);
        isoPiecesImageName(piecesName, sizeof piecesName);
        isoSelectionImageName(selectionName, sizeof selectionName);
    } else {
        boardImageName(boardName, sizeof boardName, static_cast<unsigned>(skin), geometry.screenType);
        piecesImageName(piecesName, sizeof piecesName, geometry.screenType);
        selectionImageName(selectionName, sizeof selectionName, geometry.screenType);
    }
    ImageHandle board = host().loadImage(boardName);
    ImageHandle pieces = host().loadImage(piecesName);
    ImageHandle selection = host().loadImage(selectionName);
    // 3.
    if (!board || !pieces || !selection) {
        for (ImageHandle image : {board, pieces, selection})
            if (image) host().releaseImage(image);
        host().showMessage(MessageFilesMissing, settings.language);
        quitProgram();
        return false;
    }
    // 4.
    for (ImageHandle old : {boardImage, piecesImage, selectionImage})
        if (old) host().releaseImage(old);
    boardImage = board;
    piecesImage = pieces;
    selectionImage = selection;
    return true;
}

void GameController::repaint() {
    host().repaint();
}

void GameController::quitProgram() {
    if (host().hasMainWindow())
        host().closeMainWindow();
    else
        host().exitProcess(1);
}

void GameController::beginSlide(int fromColumn, int fromRow, int toColumn, int toRow) {
    // Two frames per square of straight-line distance (at least one frame).
    const double dc = toColumn - fromColumn, dr = toRow - fromRow;
    animFrameCount = static_cast<std::int32_t>(2.0 * std::sqrt(dc * dc + dr * dr));
    if (animFrameCount < 1) animFrameCount = 1;
    int x0, y0, x1, y1;
    piecePosition(*this, fromColumn, fromRow, x0, y0);
    piecePosition(*this, toColumn, toRow, x1, y1);
    animX = x0;
    animY = y0;
    animStepX = static_cast<double>(x1 - x0) / animFrameCount;
    animStepY = static_cast<double>(y1 - y0) / animFrameCount;
    animFrame = 0;
    animating = true;
}

void GameController::slidePiece(int fromColumn, int fromRow, int toColumn, int toRow) {
    // 1.-3. The frames and the start of the floating piece.
    beginSlide(fromColumn, fromRow, toColumn, toRow);
    // 4. Each paint draws one frame and advances the piece.
    do {
        host().repaint();
        host().sleepMs(SlideFramePeriodMs);
        if (animFrame + 1 >= animFrameCount) {
            animating = false;
            stylusDown = false;
        }
        ++animFrame;
    } while (animating);
}

void GameController::startClockTimer() {
    // One clock timer per view: starting it again replaces the running one.
    settleClocks();
    if (clockTimerId) host().stopTimer(clockTimerId);
    clockTimerId = host().startTimer(view, ClockTimerIdentifier, ClockTimerPeriodMs);
    settleClocks();
}

void GameController::stopClockTimer() {
    settleClocks();
    if (clockTimerId) host().stopTimer(clockTimerId);
    clockTimerId = 0;
    clockSide = 0;
}

// ---------------------------------------------------------------------------
// For the painting and the menus
// ---------------------------------------------------------------------------

void GameController::boardPainted(void* paintedView) {
    view = paintedView;
    if (!clockTimerStarted) {
        startClockTimer();
        clockTimerStarted = true;
    }
    // Whatever the paint shows (a move, a takeback, a loaded game) may have
    // changed the side whose clock runs.
    settleClocks();
}

void GameController::advanceSlide() {
    if (!animating) return;
    animX += animStepX;
    animY += animStepY;
}

bool GameController::canTakeBack() {
    return engineSession.gamePosition.ply > firstUserPly();
}

int GameController::firstUserPly() {
    const Position& start = engineSession.startPosition;
    if (start.sideToMove == userColour || recordLength() < start.ply ||
        gameRecord.longTexts[start.ply - 1][0] == '\0')
        return start.ply;
    return start.ply + 1;
}

bool GameController::canForward() {
    const int ply = engineSession.gamePosition.ply;
    return engineBusy ? ply < recordLength() : ply - 1 < recordLength();
}

bool GameController::canForwardAll() {
    return engineSession.gamePosition.ply - 1 < recordLength();
}

int GameController::sideToMove() {
    // A thinking engine plays the side to move.
    if (engineSession.searchState == 1) {
        const int engine = engineSession.engineColour;
        if (engine == EnginePlaysWhite) return White;
        if (engine == EnginePlaysBlack) return Black;
    }
    return engineSession.gamePosition.sideToMove;
}

int GameController::userScore() {
    const int score = engineSession.rootScore;
    return userColour == Black ? -score : score;
}

namespace {
int notificationDepth = 0; // main thread only
}

bool handlingEngineNotification() {
    return notificationDepth > 0;
}

std::intptr_t dispatchEngineNotification(unsigned message, std::intptr_t wParam, std::intptr_t lParam) {
    switch (message) {
    case EngineMovedMessage:
        ++notificationDepth;
        gameController().onEngineMoved();
        autosaveIfChanged(); // the worker waits: the game holds still
        --notificationDepth;
        break;
    case IterationDoneMessage:
        ++notificationDepth;
        gameController().onEngineProgress(static_cast<int>(wParam));
        --notificationDepth;
        break;
    case WorkerIdleMessage:
        autosaveIfChanged(); // a change left while the worker held the game
        break;
    case DisambiguateMessage:
        if (lParam)
            disambiguationNeeded(static_cast<std::int32_t>(wParam),
                                 *reinterpret_cast<const Position*>(lParam));
        break;
    default:
        break;
    }
    return 0;
}
