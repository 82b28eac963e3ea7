// The end of the game, whatever brings it: the rules of the position, the
// engine's resignation, the user's resignation, a draw one side offers and the
// other accepts, or the result a loaded game records. One state (gameEnd,
// gameEndResult) stands for all of them: the panel, the end box, the board's
// lock, the saved result and the menus read it.

#include "engine/core/position.h"
#include "engine/search/novice.h"
#include "engine/search/results.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "game/controller.h"

bool GameController::gameDecided() {
    return gameEnd != GameGoesOn;
}

int GameController::gameResultCode() {
    return gameDecided() ? gameEndResult : GameInProgress;
}

void GameController::forgetStandingEnd() {
    standingEnd = GameGoesOn;
}

// The end of the current game that came at the position shown, if any.
static bool endStandsHere(const GameController& game, const Position& position) {
    return game.standingEnd != GameGoesOn && game.standingEndGame == game.gameNumber &&
           game.standingEndPly == position.ply;
}

static void keepEndAtThisPosition(GameController& game) {
    game.standingEnd = game.gameEnd;
    game.standingEndResult = game.gameEndResult;
    game.standingEndPly = engineSession.gamePosition.ply;
    game.standingEndGame = game.gameNumber;
}

void GameController::judgeGame(bool engineMoved) {
    const Position& position = engineSession.gamePosition;
    if (engineMoved) forgetStandingEnd();
    const int end = gameEndOf(position);
    gameEnd = end;
    if (end == EndCheckmate) {
        gameEndResult = position.sideToMove == Black ? WhiteWon : BlackWon;
        engineSession.gameResult = gameEndResult;
    } else if (end != GameGoesOn) {
        gameEndResult = Drawn;
        engineSession.gameResult = gameEndResult;
    } else if (endStandsHere(*this, position)) {
        // Back at the position where the players ended the game (Forward).
        gameEnd = standingEnd;
        gameEndResult = standingEndResult;
        engineSession.gameResult = gameEndResult;
    } else {
        // A resignation or an agreed draw of another position no longer stands.
        engineSession.gameResult = GameInProgress;
        // The engine decides after its move whether it resigns (a beginner plays
        // every game out); the same test now tells the user at once.
        const int engine = position.sideToMove == White ? Black : White;
        if (engineMoved && noviceLevel == 0 && resignationDue(engineSession.rootScore, engine)) {
            gameEnd = EndResigned;
            gameEndResult = engine == White ? BlackWon : WhiteWon;
            keepEndAtThisPosition(*this);
        }
    }
    if (gameDecided()) {
        // Nothing stays selected once the game is over.
        selectedColumn = selectedRow = -1;
        pieceSelected = false;
        showMovablePieces = false;
        engineBridge().clearDestinations();
    }
}

void GameController::announceGameEnd() {
    const int userWins = userColour == White ? WhiteWon : BlackWon;
    int message;
    switch (gameEnd) {
    case EndCheckmate:
        message = gameEndResult == userWins ? MessageYouMate : MessageComputerMates;
        break;
    case EndStalemate:
        message = MessageStalemate;
        break;
    case EndRepetition:
        message = MessageRepetition;
        break;
    case EndFiftyMoves:
        message = MessageFiftyMoves;
        break;
    case EndNoMatingMaterial:
        message = MessageNoMatingMaterial;
        break;
    case EndResigned:
        message = MessageComputerResigns;
        break;
    case EndUserResigned:
        message = MessageYouResign;
        break;
    case EndDrawAgreed:
        message = MessageDrawAgreed;
        break;
    default:
        return; // a loaded result was announced when it was played
    }
    host().showMessage(message, settings.language);
}

void GameController::concludeGame(int end, int result, bool announce) {
    // A stopped search must not play its move into the ended game; within the
    // engine's own notification the worker sees the result and stops by itself.
    if (!handlingEngineNotification()) stopEngine();
    engineBusy = false;
    gameEnd = end;
    gameEndResult = result;
    keepEndAtThisPosition(*this);
    // The worker starts no search, and no pondering, on a game with a result.
    engineSession.gameResult = result;
    selectedColumn = selectedRow = -1;
    pieceSelected = false;
    showMovablePieces = false;
    engineBridge().clearDestinations();
    for (std::int32_t& coordinate : hintMove) coordinate = -1;
    settleClocks(); // a decided game's clocks stand
    repaint();
    if (announce) announceGameEnd();
}

bool GameController::resign() {
    if (gameDecided()) return false;
    // A move the engine has just played arrives first, and may end the game itself.
    if (!handlingEngineNotification()) stopEngine();
    if (gameDecided()) return false;
    concludeGame(EndUserResigned, userColour == White ? BlackWon : WhiteWon, true);
    return true;
}

bool GameController::offerDraw() {
    if (gameDecided()) return false;
    // The engine's judgement of its last search: the answer it gives any opponent.
    if (engineSession.drawAcceptable != 1 || engineOptions.drawOffersAllowed != 1) return false;
    if (!handlingEngineNotification()) stopEngine();
    if (gameDecided()) return false;
    concludeGame(EndDrawAgreed, Drawn, true);
    return true;
}

void GameController::considerEngineDrawOffer() {
    // The engine judges its move right after this notification (a beginner never
    // offers); the same test tells the user now, while the worker waits.
    const Position& position = engineSession.gamePosition;
    const int engine = position.sideToMove == White ? Black : White;
    if (gameDecided() || noviceLevel != 0 || !drawOfferDue(engineSession.rootScore, engine)) return;
    // The time the question is open counts for nobody.
    questionOpen = true;
    settleClocks();
    const bool accepted = host().askYesNo(MessageComputerOffersDraw, settings.language);
    questionOpen = false;
    if (accepted && !gameDecided())
        concludeGame(EndDrawAgreed, Drawn, true);
    else
        settleClocks();
}
