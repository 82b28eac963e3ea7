#include "engine/search/rootsearch.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

#include "engine/core/attacks.h"
#include "engine/core/fen.h"
#include "engine/core/gamerecord.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/core/notation.h"
#include "engine/eval/pawns.h"
#include "engine/search/alphabeta.h"
#include "engine/search/book.h"
#include "engine/search/novice.h"
#include "engine/search/ordering.h"
#include "engine/search/results.h"
#include "engine/search/searchdata.h"
#include "engine/search/thinking.h"
#include "engine/search/timecontrol.h"
#include "engine/search/ttable.h"
#include "engine/search/worker.h"
#include "engine/session/notify.h"
#include "engine/session/session.h"

std::atomic<int> rootDepth{1};
int rootBestScore = 0;
int rootMove = NoMove;
int analysisSearch = 0;
int completedIterations = 0;
int rootMoveChanged = 0;
int drawScore = 0;
int rootLegalMoves = 0;
int lastSearchAborted = 0;
char searchMoves[MaxSearchMoves][6];
int searchMoveCount = 0;

namespace {

constexpr uint32_t FirstTimeCheck = 25000;

// The root position as the search was given it; each iteration starts from
// this copy, so a caller that edits its own position during an analysis does
// not race with the search.
Position rootPosition;

// Scratch list for the root's check word (the root list itself must survive).
MoveList checkScratch;

int maxPlyFor(int depth) {
    int limit = (depth + 2) * 3;
    if (limit % 2 == 0) limit += 1;
    return limit > MaxFullWidthPly ? MaxFullWidthPly : limit;
}

// Search preparation, once per search.
void prepareSearch(const Position& pos) {
    completedIterations = 0;
    transpositionTable.generation = static_cast<uint8_t>(transpositionTable.generation + 1);
    // Without pawns, a side with a bare king is in zugzwang too often for a null move.
    bool noPawns = pos.whitePawnCount == 0 && pos.blackPawnCount == 0;
    nullMoveEnabled = (noPawns && (pos.whitePieceCount == 0 || pos.blackPieceCount == 0)) ? 0 : 1;
    clearKillers();
    drawScore = computeDrawScore(pos);
    timeExtended = 0;
    rootMoveChanged = 0;
}

// Each iteration starts from a fresh working position with keys from scratch,
// and resets the root's lists.
void prepareIteration() {
    searchPosition = rootPosition;
    searchPosition.hashKey = computeHashKey(searchPosition);
    searchPosition.hashLock = computeHashLock(searchPosition);
    searchPosition.pawnKey = pawnKeyFromScratch(searchPosition);
    maxPly = maxPlyFor(rootDepth);
    PlyMoveList& parent = plyMoves[0];
    parent.moves[ListTacticalCount] = 0;
    parent.moves[ExtensionWord] = 0;
    parent.moveClass = ClassQuiet;
    PlyMoveList& root = plyMoves[1];
    root.moves[ListCheckWord] = computeCheckWord(searchPosition, checkScratch);
    root.frontier = 2;
    rootTrouble = 0;
    currentRootMoveNumber = 1;
}

// The root list is pseudo-legal unless in check: a move of it is legal when it
// leaves the king safe, tested as the search tests it.
bool legalRootMove(const PlyMoveList& root, int move, int colour) {
    if (root.moves[ListCheckWord] != 0) return true;
    return moveSlot(move) == KingSlot ? !squareAttacked(searchPosition, moveDestination(move), colour)
                                      : !exposesKing(searchPosition, colour, move);
}

// The single-move stop rule wants the number of legal root moves.
int countLegalRootMoves(int colour) {
    const PlyMoveList& root = plyMoves[1];
    int legal = 0;
    for (int i = 0; i < root.moves[OrderedTotal]; ++i)
        if (legalRootMove(root, orderedMove(root, i), colour)) ++legal;
    return legal;
}

// The move to play when a stop came before the first iteration chose one.
int firstLegalRootMove(int colour) {
    const PlyMoveList& root = plyMoves[1];
    for (int i = 0; i < root.moves[OrderedTotal]; ++i)
        if (legalRootMove(root, orderedMove(root, i), colour)) return orderedMove(root, i);
    return NoMove;
}

bool allowedAtRoot(int move) {
    char text[8];
    coordinateTextLower(text, move);
    for (int i = 0; i < searchMoveCount; ++i)
        if (std::strncmp(text, searchMoves[i], 4) == 0) return true;
    return false;
}

// Keeps only the root moves the interface allowed; a list that would be left
// empty stays whole.
void restrictRootMoves() {
    if (searchMoveCount == 0) return;
    PlyMoveList& root = plyMoves[1];
    MoveList& list = root.moves;
    int total = list[OrderedTotal], historyStart = list[HistoryStart];
    int kept = 0, keptBeforeHistory = 0;
    for (int i = 0; i < total; ++i) {
        int move = orderedMove(root, i);
        if (!allowedAtRoot(move)) continue;
        list.words[FirstOrdered + kept++] = move;
        if (i < historyStart) ++keptBeforeHistory;
    }
    if (kept == 0) return;
    list[OrderedTotal] = kept;
    list[HistoryStart] = keptBeforeHistory;
}

int secondPvMove() {
    if (pvTable[1][0] < 2) return 0;
    int move = pvTable[1][2] & 0x7FFFFF;
    return move >= 256 ? move : 0; // marker words are below 256
}

} // namespace

int computeDrawScore(const Position& pos) {
    const EngineSession& s = engineSession;
    int score = 0;
    int played = pos.ply - 1;
    Position initial;
    setInitialPosition(initial);
    if (played < 60 && samePosition(s.startPosition, initial)) score = -20;
    if ((played > 120 && pos.whitePieceCount < 3 && pos.blackPieceCount < 3) ||
        (pos.whitePieceCount < 2 && pos.blackPieceCount < 2))
        score = 28;
    return pos.sideToMove == Black ? -score : score;
}

// The game is still the position the search began from. The caller may play a move
// out of turn while the engine thinks; the search's move then belongs to no position
// of the game and is not committed.
bool gameUnchanged() {
    return samePosition(engineSession.gamePosition, rootPosition);
}

int rootSearch(Position& pos, int mode, int maxDepth) {
    EngineSession& s = engineSession;

    // 1. A fresh start.
    nextTimeCheck = firstTimeCheck(FirstTimeCheck);
    analysisSearch = mode == AnalyseMode;
    nodeCount = 0;
    s.rootScore = 0;
    s.stopRequest = NoStop;
    s.promotionChoice = Queen;
    lastSearchAborted = 0;
    rootBestScore = 0;
    rootPosition = pos;
    searchPosition = pos;
    searchStartTick = tickCount();
    const int colour = pos.sideToMove;
    commitGuard.set();
    bool committed = false;
    // Held from the first write of the commit to the record until the game holds the
    // move, so that an opponent's move played meanwhile does not interleave with it.
    std::unique_lock<std::timed_mutex> commit(commitMutex, std::defer_lock);
    auto abandon = [&] {
        lastSearchAborted = 1;
        return 0;
    };

    // 2. The book answers at once (not while pondering: its move would be
    // recorded before the opponent has moved); beginners know no book.
    int32_t bookMove = NoMove;
    int bookValue = NoBookValue;
    if (mode == ThinkMode && searchPosition.ply < BookMaxPly && searchMoveCount == 0 && noviceLevel == 0) {
        commit.lock();
        if (!gameUnchanged()) return abandon();
        bookValue = chooseBookMove(openingBook, searchPosition, bookMove);
        if (bookValue == NoBookValue) commit.unlock();
    }
    if (bookValue != NoBookValue) {
        s.rootScore = bookValue * 10;
        rootDepth = 1;
        pvTable[1][0] = 1;
        pvTable[1][1] = bookMove;
        s.engineMove = bookMove;
        s.expectedReply = 0;
        committed = true;
    } else if (mode == ThinkMode && noviceLevel > 0) {
        // A beginner level chooses its own move and plays it at once.
        int score = 0;
        rootMove = chooseNoviceMove(rootPosition, noviceLevel, score);
        rootDepth = 1;
        rootBestScore = score;
        s.rootScore = score;
        pvTable[1][0] = rootMove == NoMove ? 0 : 1;
        pvTable[1][1] = rootMove;
        if (rootMove != NoMove) {
            commit.lock();
            if (!gameUnchanged()) return abandon();
            s.promotionChoice = Queen;
            recordMove(nullptr, rootMove, searchPosition);
            uint32_t changed, former;
            makeMove(searchPosition, rootMove, changed, former, Queen);
            s.engineMove = rootMove;
            s.expectedReply = 0;
            s.gameResult = GameInProgress;
            committed = true;
        }
    } else {
        // 3. Preparation and the root moves, generated once.
        rootMove = NoMove;
        s.rootScore = 0;
        rootDepth = 1;
        clearHistory();
        prepareSearch(rootPosition);
        prepareIteration();
        orderMoves(colour, 1, -MateScore, MateScore, NoMove);
        restrictRootMoves();
        rootLegalMoves = countLegalRootMoves(colour);

        // 4. Iterative deepening.
        if (maxDepth < 1) maxDepth = 1; // a search always has one iteration to choose its move
        while (rootDepth <= maxDepth) {
            int depth = rootDepth;
            prepareIteration();
            moveBestToFront(plyMoves[1], rootMove);
            int alpha = depth - BestPossible, beta = BestPossible - depth;
            int score = alphaBeta(colour, 0, depth, alpha, beta, rootMove, 1);
            if (score == AbortScore) break; // keep the best move found so far
            if (s.sessionOpen == 1 && (depth > 3 || std::abs(score) >= MateThreatScore - depth)) {
                currentRootMoveNumber = 1;
                lastReportedBestMove = rootMove;
            }
            if (std::abs(score) < NoBestYet)
                store(bucketOf(fullIndexKey(searchPosition)), searchPosition.hashLock, score, rootMove, depth,
                      0, alpha, beta, searchPosition.ply - searchPosition.lastIrreversiblePly);
            rootDepth = depth + 1;
            extendTimeAfterIteration(s.rootScore, score);
            s.rootScore = score;
            notifyMainWindow(IterationDoneMessage, depth, 0);
            reportIteration(depth, score, colour);
            if (std::abs(score) >= MateScore - 2 - rootDepth) break; // a mate was found
            if (iterationStopRule(rootDepth)) break;
            completedIterations += 1;
        }

        // 5. The score to report; an abort plays nothing.
        if (std::abs(rootBestScore) < MateScore) {
            if (s.stopRequest == StopAndAbort) {
                lastSearchAborted = 1;
                return 0;
            }
            s.rootScore = rootBestScore;
        }
        if (s.stopRequest == StopAndAbort) {
            lastSearchAborted = 1;
            return 0;
        }
        searchPosition = rootPosition;
        // A stop in the first iteration still answers with a legal move.
        if (rootMove == NoMove && rootLegalMoves > 0) rootMove = firstLegalRootMove(colour);

        // 6. Commit the move.
        bool playing = mode == ThinkMode || (mode == PonderMode && s.ponderState == 2);
        if (rootMove != NoMove && mode != AnalyseMode && std::abs(s.rootScore) < BestPossible && playing) {
            commit.lock();
            if (!gameUnchanged()) return abandon();
            s.promotionChoice = static_cast<uint8_t>(movePromotionType(rootMove));
            recordMove(nullptr, rootMove, searchPosition);
            uint32_t changed, former;
            makeMove(searchPosition, rootMove, changed, former, s.promotionChoice);
            s.engineMove = rootMove;
            s.expectedReply = secondPvMove();
            s.gameResult = GameInProgress;
            committed = true;
        }
    }

    // 7. Report the move and judge the game.
    if (mode == ThinkMode || (mode == PonderMode && s.ponderState == 2)) {
        if (!commit.owns_lock()) commit.lock();
        commitGuard.reset();
        // Without a move the game keeps what it holds (the search's own start, or a
        // move the caller played meanwhile).
        if (committed) {
            pos = searchPosition;
            // After a ponder hit the working position is the game: the main window
            // must see the move on gamePosition when it is told about it.
            if (mode == PonderMode) commitPonderPosition(pos);
        }
        commit.unlock();
        if (committed) {
            playEngineMove();
            // A beginner plays every game out.
            if (s.gameResult == GameInProgress && noviceLevel == 0) resignOrOfferDraw(s.rootScore, colour);
        }
        if (gameOver(pos)) printResult(pos);
    }
    return s.rootScore;
}
