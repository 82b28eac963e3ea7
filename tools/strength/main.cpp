// tavisk-strength: plays matches between the game's levels and reference
// players, one line per game, for the rating estimate of tools/strength/rate.py.
//
//   tavisk-strength match A B GAMES [--out FILE] [--seed N] [--adjudicate]
//   tavisk-strength player LEVEL          (a level over the xboard protocol)
//
// Players: random, greedy (built in), novice1..3, rank1..10, turnin1,
// turnin5 (the game's levels, run as "tavisk-strength player"), and the
// Debian engines as fairymax@D, sjeng@D, phalanx@D, gnuchess@D at a fixed
// search depth D, and stockfishE@D: Stockfish (UCI) limited to Elo E by its
// own strength option, searching to depth D. Games go in pairs: the same
// opening with colours swapped.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/core/attacks.h"
#include "engine/core/fen.h"
#include "engine/core/makemove.h"
#include "engine/core/movegen.h"
#include "engine/core/notation.h"
#include "engine/core/position.h"
#include "engine/search/novice.h"
#include "engine/search/worker.h"
#include "engine/session/bridge.h"
#include "engine/session/commands.h"
#include "engine/session/session.h"

namespace {

// ---- a level of the game as an xboard engine ------------------------------------

struct LevelSpec {
    int mode;
    long value;
};

bool parseLevel(const std::string& name, LevelSpec& level) {
    int n = 0;
    if (std::sscanf(name.c_str(), "novice%d", &n) == 1 && n >= 1 && n <= 3)
        level = {3, n - 1L};
    else if (std::sscanf(name.c_str(), "rank%d", &n) == 1 && n >= 1 && n <= 10)
        level = {0, n - 1L};
    else if (std::sscanf(name.c_str(), "turnin%d", &n) == 1 && n >= 1 && n <= 60)
        level = {1, n * 1000L};
    else
        return false;
    return true;
}

// Reads the referee's lines and answers as the game's own controller drives
// the engine: the level is set after every "new", and "go" goes through the
// same time allocation as a game in the window.
int runPlayer(const LevelSpec& level) {
    std::signal(SIGINT, SIG_IGN);
    EngineBridge& bridge = engineBridge();
    bridge.resetBridge();
    bridge.setLevel(level.mode, level.value);
    char line[4096];
    while (std::fgets(line, sizeof line, stdin)) {
        if (std::strncmp(line, "quit", 4) == 0) break;
        if (std::strncmp(line, "go", 2) == 0) {
            bridge.go();
            continue;
        }
        processCommand(line);
        if (std::strncmp(line, "new", 3) == 0) bridge.setLevel(level.mode, level.value);
    }
    std::fflush(stdout);
    std::_Exit(0);
}

// ---- the referee's board ----------------------------------------------------------

uint32_t randomState = 1;
uint32_t nextRandom() {
    uint32_t x = randomState;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    return randomState = x;
}

struct LegalMove {
    int32_t move;
    int promotion; // piece type a pawn becomes, 0 for other moves
    std::string text;
};

std::string squareText(int square) {
    return std::string(1, static_cast<char>('a' + columnOf(square))) + static_cast<char>('8' - rowOf(square));
}

std::vector<LegalMove> legalMoves(const Position& pos) {
    std::vector<LegalMove> moves;
    MoveList list;
    const int colour = pos.sideToMove;
    generateMovesWithCheck(pos, list, colour);
    const int total = list.count();
    for (int k = 0; k < total; ++k) {
        const int32_t move = list.move(k);
        const int origin = moveOrigin(move), destination = moveDestination(move);
        if (!isCastling(move) && pieceType(pos.board[destination]) == King) continue;
        Position copy = pos;
        uint32_t a = 0, b = 0;
        makeMove(copy, move, a, b, Queen);
        if (inCheck(copy, colour)) continue;
        const int from = isCastling(move) ? (colour == White ? E1 : E8) : origin;
        const std::string text = squareText(from) + squareText(destination);
        const bool promotes = !isCastling(move) && pieceType(pos.board[origin]) == Pawn &&
                              (rowOf(destination) == 0 || rowOf(destination) == 7);
        if (!promotes) {
            moves.push_back({move, 0, text});
            continue;
        }
        const char letters[] = "bnrq";
        for (int type = Bishop; type <= Queen; ++type) {
            const int index = type == Bishop ? 0 : type == Knight ? 1 : type == Rook ? 2 : 3;
            moves.push_back({move, type, text + letters[index]});
        }
    }
    return moves;
}

int victimValue(const Position& pos, const LegalMove& m) {
    if (isCastling(m.move)) return 0;
    const int destination = moveDestination(m.move);
    int value = std::abs(pieceValue[pos.board[destination] & 15]);
    if (pos.board[destination] == Empty && destination == pos.epSquare &&
        pieceType(pos.board[moveOrigin(m.move)]) == Pawn)
        value = PawnValue;
    if (m.promotion == Queen) value += QueenValue - PawnValue;
    return value;
}

// ---- players ----------------------------------------------------------------------

class Player {
  public:
    virtual ~Player() = default;
    virtual bool start() { return true; }
    virtual void newGame(const std::vector<std::string>&) {}
    // The move text for the position after `played` (all moves of the game so
    // far); empty when the player resigns or fails.
    virtual std::string move(const Position& pos, const std::vector<std::string>& played,
                             std::string& why) = 0;
    virtual void stop() {}
};

class RandomPlayer : public Player {
  public:
    std::string move(const Position& pos, const std::vector<std::string>&, std::string&) override {
        const auto moves = legalMoves(pos);
        return moves[nextRandom() % moves.size()].text;
    }
};

// Takes the most valuable piece it can; otherwise any legal move.
class GreedyPlayer : public Player {
  public:
    std::string move(const Position& pos, const std::vector<std::string>&, std::string&) override {
        const auto moves = legalMoves(pos);
        int best = 0;
        for (const auto& m : moves) best = std::max(best, victimValue(pos, m));
        std::vector<const LegalMove*> choices;
        for (const auto& m : moves)
            if (victimValue(pos, m) == best && (m.promotion == 0 || m.promotion == Queen))
                choices.push_back(&m);
        return choices[nextRandom() % choices.size()]->text;
    }
};

// A program run as a child process, spoken to over two pipes.
class ChildProcess {
  public:
    explicit ChildProcess(std::vector<std::string> argv) : argv_(std::move(argv)) {}
    ~ChildProcess() { stop(); }

    bool launch() {
        int toChild[2], fromChild[2];
        if (pipe(toChild) != 0 || pipe(fromChild) != 0) return false;
        pid_ = fork();
        if (pid_ < 0) return false;
        if (pid_ == 0) {
            dup2(toChild[0], 0);
            dup2(fromChild[1], 1);
            int null = open("/dev/null", O_WRONLY);
            if (null >= 0) dup2(null, 2);
            close(toChild[1]);
            close(fromChild[0]);
            std::vector<char*> args;
            for (auto& a : argv_) args.push_back(a.data());
            args.push_back(nullptr);
            execvp(args[0], args.data());
            _exit(127);
        }
        close(toChild[0]);
        close(fromChild[1]);
        in_ = toChild[1];
        out_ = fromChild[0];
        return true;
    }

    void stop(const char* quit = "quit\n") {
        if (pid_ <= 0) return;
        send(quit);
        close(in_);
        for (int i = 0; i < 20 && waitpid(pid_, nullptr, WNOHANG) == 0; ++i) usleep(50000);
        if (waitpid(pid_, nullptr, WNOHANG) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(out_);
        pid_ = -1;
    }

    void send(const std::string& text) {
        if (in_ < 0 || write(in_, text.data(), text.size()) < 0) return;
    }

    // One line of output, or false when none comes within the time or the
    // program has ended.
    bool readLine(std::string& line, int timeoutMs) {
        const long deadline = nowMs() + timeoutMs;
        for (;;) {
            const auto end = buffer_.find('\n');
            if (end != std::string::npos) {
                line = buffer_.substr(0, end);
                buffer_.erase(0, end + 1);
                if (!line.empty() && line.back() == '\r') line.pop_back();
                return true;
            }
            const long left = deadline - nowMs();
            if (left <= 0 || out_ < 0) return false;
            pollfd p{out_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left)) <= 0) return false;
            char chunk[4096];
            const ssize_t n = read(out_, chunk, sizeof chunk);
            if (n <= 0) return false;
            buffer_.append(chunk, static_cast<size_t>(n));
        }
    }

    // Reads until a line starting with `prefix`; false if it does not come.
    bool waitFor(const std::string& prefix, int timeoutMs) {
        std::string line;
        while (readLine(line, timeoutMs))
            if (line.rfind(prefix, 0) == 0) return true;
        return false;
    }

  private:
    static long nowMs() {
        timespec t{};
        clock_gettime(CLOCK_MONOTONIC, &t);
        return t.tv_sec * 1000L + t.tv_nsec / 1000000L;
    }

    std::vector<std::string> argv_;
    pid_t pid_ = -1;
    int in_ = -1, out_ = -1;
    std::string buffer_;
};

// A program that speaks the xboard protocol.
class XboardPlayer : public Player {
  public:
    XboardPlayer(std::vector<std::string> argv, std::string depthCommand, int moveSeconds)
        : child_(std::move(argv)), depthCommand_(std::move(depthCommand)), moveSeconds_(moveSeconds) {}

    bool start() override {
        if (!child_.launch()) return false;
        child_.send("xboard\nprotover 2\n");
        // Features until "done=1", or a few seconds for programs that send none.
        std::string line;
        while (child_.readLine(line, 3000)) {
            if (line.find("usermove=1") != std::string::npos) {
                usermove_ = true;
                child_.send("accepted usermove\n");
            }
            if (line.find("done=1") != std::string::npos) break;
        }
        return true;
    }

    void newGame(const std::vector<std::string>& opening) override {
        // Whatever the last game left unread (a move after a resignation) goes.
        child_.send("force\nping " + std::to_string(++pings_) + "\n");
        child_.waitFor("pong " + std::to_string(pings_), 30000);
        child_.send("new\neasy\n" + (depthCommand_.empty() ? "" : depthCommand_ + "\n") + "force\n");
        for (const auto& m : opening) sendMove(m);
        sent_ = opening.size();
    }

    std::string move(const Position&, const std::vector<std::string>& played, std::string& why) override {
        for (; sent_ < played.size(); ++sent_) sendMove(played[sent_]);
        child_.send("go\n");
        std::string line;
        while (child_.readLine(line, moveSeconds_ * 1000)) {
            // GNU Chess announces its move in words, the others as "move X".
            const bool words = line.rfind("My move is : ", 0) == 0;
            if (line.rfind("move ", 0) == 0 || words) {
                child_.send("force\n");
                ++sent_;
                std::string text = line.substr(words ? 13 : 5);
                while (!text.empty() && text.back() == ' ') text.pop_back();
                return text;
            }
            if (line.find("resign") != std::string::npos) {
                why = "resigns";
                child_.send("force\n");
                return "";
            }
            if (line.rfind("Illegal move", 0) == 0 || line.rfind("Error", 0) == 0) {
                why = "refused a move: " + line;
                return "";
            }
        }
        why = "no move in time";
        return "";
    }

    void stop() override { child_.stop(); }

  private:
    void sendMove(const std::string& m) { child_.send((usermove_ ? "usermove " : "") + m + "\n"); }

    ChildProcess child_;
    std::string depthCommand_;
    int moveSeconds_;
    bool usermove_ = false;
    size_t sent_ = 0;
    int pings_ = 0;
};

// A program that speaks UCI: the whole game is sent with every move, and it
// searches to a fixed depth. `options` are "name value" pairs set once.
class UciPlayer : public Player {
  public:
    UciPlayer(std::vector<std::string> argv, std::vector<std::pair<std::string, std::string>> options,
              int depth, int moveSeconds)
        : child_(std::move(argv)), options_(std::move(options)), depth_(depth), moveSeconds_(moveSeconds) {}

    bool start() override {
        if (!child_.launch()) return false;
        child_.send("uci\n");
        if (!child_.waitFor("uciok", 10000)) return false;
        for (const auto& [name, value] : options_)
            child_.send("setoption name " + name + " value " + value + "\n");
        child_.send("isready\n");
        return child_.waitFor("readyok", 10000);
    }

    void newGame(const std::vector<std::string>&) override {
        child_.send("ucinewgame\nisready\n");
        child_.waitFor("readyok", 30000);
    }

    std::string move(const Position&, const std::vector<std::string>& played, std::string& why) override {
        std::string position = "position startpos moves";
        for (const auto& m : played) position += " " + m;
        child_.send(position + "\ngo depth " + std::to_string(depth_) + "\n");
        std::string line;
        while (child_.readLine(line, moveSeconds_ * 1000)) {
            if (line.rfind("bestmove ", 0) != 0) continue;
            std::string text = line.substr(9);
            text = text.substr(0, text.find(' '));
            if (text.empty() || text == "(none)") {
                why = "no move";
                return "";
            }
            return text;
        }
        why = "no move in time";
        return "";
    }

    void stop() override { child_.stop(); }

  private:
    ChildProcess child_;
    std::vector<std::pair<std::string, std::string>> options_;
    int depth_;
    int moveSeconds_;
};

std::string selfPath;

std::unique_ptr<Player> makePlayer(const std::string& name) {
    if (name == "random") return std::make_unique<RandomPlayer>();
    if (name == "greedy") return std::make_unique<GreedyPlayer>();
    LevelSpec level{};
    if (parseLevel(name, level)) {
        // A Rank's deep search can take minutes of wall time on a busy machine;
        // the limit only guards against a player that hangs.
        const int seconds = level.mode == 1 ? static_cast<int>(level.value / 1000) * 4 + 10 : 3600;
        return std::make_unique<XboardPlayer>(std::vector<std::string>{selfPath, "player", name}, "",
                                              seconds);
    }
    const auto at = name.find('@');
    if (at == std::string::npos) return nullptr;
    const std::string engine = name.substr(0, at), depth = name.substr(at + 1);
    // Stockfish held to a stated Elo by its own strength limit, e.g. stockfish1700@8.
    int elo = 0;
    const int searchDepth = std::atoi(depth.c_str());
    if (std::sscanf(engine.c_str(), "stockfish%d", &elo) == 1 && elo >= 1350 && elo <= 2850 &&
        searchDepth >= 1 && searchDepth <= 30)
        return std::make_unique<UciPlayer>(
            std::vector<std::string>{"/usr/games/stockfish"},
            std::vector<std::pair<std::string, std::string>>{
                {"Threads", "1"}, {"Hash", "16"}, {"UCI_LimitStrength", "true"}, {"UCI_Elo", std::to_string(elo)}},
            searchDepth, 300);
    if (engine == "fairymax")
        return std::make_unique<XboardPlayer>(std::vector<std::string>{"/usr/games/fairymax"}, "sd " + depth,
                                              300);
    if (engine == "sjeng")
        return std::make_unique<XboardPlayer>(std::vector<std::string>{"/usr/games/sjeng"}, "sd " + depth,
                                              300);
    if (engine == "phalanx")
        return std::make_unique<XboardPlayer>(std::vector<std::string>{"/usr/games/phalanx", "-l-"},
                                              "depth " + depth, 300);
    if (engine == "gnuchess")
        return std::make_unique<XboardPlayer>(std::vector<std::string>{"/usr/games/gnuchess", "-x"},
                                              "depth " + depth, 300);
    return nullptr;
}

// ---- games -------------------------------------------------------------------------

// Short main lines of common openings, both sides' moves.
const char* const openings[] = {
    "e2e4 e7e5 g1f3 b8c6 f1b5 a7a6", "e2e4 e7e5 g1f3 b8c6 f1c4 f8c5", "e2e4 c7c5 g1f3 d7d6 d2d4 c5d4",
    "e2e4 c7c5 b1c3 b8c6 g2g3 g7g6", "e2e4 e7e6 d2d4 d7d5 b1c3 g8f6", "e2e4 c7c6 d2d4 d7d5 b1c3 d5e4",
    "d2d4 d7d5 c2c4 e7e6 b1c3 g8f6", "d2d4 d7d5 c2c4 d5c4 g1f3 g8f6", "d2d4 g8f6 c2c4 g7g6 b1c3 f8g7",
    "d2d4 g8f6 c2c4 e7e6 b1c3 f8b4", "c2c4 e7e5 b1c3 g8f6 g2g3 d7d5", "g1f3 d7d5 g2g3 g8f6 f1g2 e7e6",
    "e2e4 d7d5 e4d5 d8d5 b1c3 d5a5", "e2e4 g8f6 e4e5 f6d5 d2d4 d7d6", "e2e4 d7d6 d2d4 g8f6 b1c3 g7g6",
    "d2d4 f7f5 g2g3 g8f6 f1g2 e7e6", "e2e4 e7e5 f2f4 e5f4 g1f3 g7g5", "e2e4 e7e5 g1f3 g8f6 f3e5 d7d6",
    "d2d4 g8f6 c2c4 c7c5 d4d5 e7e6", "e2e4 c7c5 g1f3 e7e6 d2d4 c5d4", "d2d4 d7d5 c2c4 c7c6 g1f3 g8f6",
    "e2e4 e7e5 g1f3 b8c6 d2d4 e5d4", "c2c4 g8f6 b1c3 e7e6 e2e4 d7d5", "e2e4 e7e5 b1c3 g8f6 f2f4 d7d5",
};
constexpr int OpeningCount = sizeof openings / sizeof openings[0];
constexpr int MaxPlies = 400;
constexpr int AdjudicateLead = 800; // material lead (centipawns) that decides a game ...
constexpr int AdjudicatePlies = 16; // ... when it lasts this many plies
constexpr int AdjudicateDrawAfter = 160; // a game this long ...
constexpr int AdjudicateDrawLead = 150;  // ... with no more than this lead for 16 plies is drawn

struct GameResult {
    double whiteScore; // 1, 0.5, 0
    std::string reason;
    int plies;
    std::string moves;
};

uint64_t positionKey(const Position& pos) {
    return (static_cast<uint64_t>(computeHashKey(pos)) << 32) ^ computeHashLock(pos) ^ pos.epSquare;
}

bool playText(Position& pos, const std::string& text, std::string& canonical) {
    std::string t = text;
    if (t == "O-O" || t == "0-0") t = pos.sideToMove == White ? "e1g1" : "e8g8";
    if (t == "O-O-O" || t == "0-0-0") t = pos.sideToMove == White ? "e1c1" : "e8c8";
    for (auto& c : t) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (t.size() == 6 && t[4] == '=') t.erase(4, 1);
    const auto moves = legalMoves(pos);
    const LegalMove* found = nullptr;
    for (const auto& m : moves)
        if (m.text == t || (m.promotion == Queen && m.text == t + "q")) found = &m;
    if (!found) {
        // Long or standard algebraic text: the squares and piece it names,
        // matched against the legal moves; it must fit exactly one.
        const ParsedMove p = parseMoveText(text.c_str(), pos);
        int matches = 0;
        for (const auto& m : moves) {
            if (m.promotion != 0 && m.promotion != engineSession.promotionChoice) continue;
            const int origin = isCastling(m.move) ? (pos.sideToMove == White ? E1 : E8) : moveOrigin(m.move);
            const int destination = moveDestination(m.move);
            if (p.toColumn < 0 || columnOf(destination) != p.toColumn || rowOf(destination) != p.toRow)
                continue;
            if (p.fromColumn >= 0 && columnOf(origin) != p.fromColumn) continue;
            if (p.fromRow >= 0 && rowOf(origin) != p.fromRow) continue;
            if (pieceType(pos.board[origin]) != pieceType(p.pieceCode)) continue;
            found = &m;
            ++matches;
        }
        if (matches != 1) return false;
    }
    uint32_t a = 0, b = 0;
    makeMove(pos, found->move, a, b, found->promotion ? found->promotion : Queen);
    canonical = found->text;
    return true;
}

GameResult playGame(Player& white, Player& black, int opening, bool adjudicate) {
    Position pos;
    setInitialPosition(pos);
    std::vector<std::string> played;
    std::vector<uint64_t> keys{positionKey(pos)};
    std::string list = openings[opening % OpeningCount];
    for (size_t at = 0; at < list.size(); at += 5) {
        std::string canonical;
        playText(pos, list.substr(at, 4), canonical);
        played.push_back(canonical);
        keys.push_back(positionKey(pos));
    }
    const std::vector<std::string> start = played;
    white.newGame(start);
    black.newGame(start);
    int quietPlies = 0, leadPlies = 0, leadSign = 0, levelPlies = 0;
    GameResult result{0.5, "", 0, ""};
    for (;;) {
        const int colour = pos.sideToMove;
        const auto moves = legalMoves(pos);
        if (moves.empty()) {
            result.whiteScore = inCheck(pos, colour) ? (colour == White ? 0.0 : 1.0) : 0.5;
            result.reason = inCheck(pos, colour) ? "mate" : "stalemate";
            break;
        }
        if (quietPlies >= 100) {
            result.reason = "fifty moves";
            break;
        }
        int repeats = 0;
        for (auto k : keys) repeats += k == keys.back();
        if (repeats >= 3) {
            result.reason = "repetition";
            break;
        }
        if (pos.whitePawnCount == 0 && pos.blackPawnCount == 0 && pos.whiteMaterial <= BishopValue &&
            pos.blackMaterial <= BishopValue) {
            result.reason = "no mating material";
            break;
        }
        if (static_cast<int>(played.size()) >= MaxPlies) {
            result.reason = "length";
            break;
        }
        if (adjudicate) {
            const int lead = pos.materialBalance;
            const int sign = lead >= AdjudicateLead ? 1 : lead <= -AdjudicateLead ? -1 : 0;
            leadPlies = sign != 0 && sign == leadSign ? leadPlies + 1 : 0;
            leadSign = sign;
            if (leadPlies >= AdjudicatePlies) {
                result.whiteScore = sign > 0 ? 1.0 : 0.0;
                result.reason = "material";
                break;
            }
            // A long game that stays level is a draw.
            const int level = std::abs(lead) < AdjudicateDrawLead ? 1 : 0;
            levelPlies = level ? levelPlies + 1 : 0;
            if (static_cast<int>(played.size()) >= AdjudicateDrawAfter && levelPlies >= AdjudicatePlies) {
                result.reason = "level material";
                break;
            }
        }
        Player& mover = colour == White ? white : black;
        std::string why;
        const std::string text = mover.move(pos, played, why);
        const Position before = pos;
        std::string canonical;
        if (text.empty() || !playText(pos, text, canonical)) {
            result.whiteScore = colour == White ? 0.0 : 1.0;
            result.reason = text.empty() ? why : "illegal move " + text;
            break;
        }
        const bool capture =
            pos.whiteMaterial + pos.blackMaterial != before.whiteMaterial + before.blackMaterial;
        const bool pawnMove = pos.whitePawnCount != before.whitePawnCount ||
                              pos.blackPawnCount != before.blackPawnCount || pos.pawnKey != before.pawnKey;
        quietPlies = capture || pawnMove ? 0 : quietPlies + 1;
        if (quietPlies == 0) keys.clear();
        played.push_back(canonical);
        keys.push_back(positionKey(pos));
    }
    result.plies = static_cast<int>(played.size());
    for (const auto& m : played) result.moves += (result.moves.empty() ? "" : " ") + m;
    return result;
}

int runMatch(int argc, char** argv) {
    if (argc < 5) return 2;
    const std::string nameA = argv[2], nameB = argv[3];
    const int games = std::atoi(argv[4]);
    std::string out;
    bool adjudicate = false;
    uint32_t seed = static_cast<uint32_t>(time(nullptr));
    int firstOpening = 0;
    for (int i = 5; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--out") && i + 1 < argc)
            out = argv[++i];
        else if (!std::strcmp(argv[i], "--seed") && i + 1 < argc)
            seed = static_cast<uint32_t>(std::atol(argv[++i]));
        else if (!std::strcmp(argv[i], "--opening") && i + 1 < argc)
            firstOpening = std::atoi(argv[++i]);
        else if (!std::strcmp(argv[i], "--adjudicate"))
            adjudicate = true;
    }
    randomState = seed | 1u;
    initTables();
    auto a = makePlayer(nameA), b = makePlayer(nameB);
    if (!a || !b) {
        std::fprintf(stderr, "unknown player\n");
        return 2;
    }
    if (!a->start() || !b->start()) return 1;
    double score = 0;
    for (int g = 0; g < games; ++g) {
        const bool aWhite = g % 2 == 0;
        const int opening = firstOpening + g / 2;
        const GameResult r =
            aWhite ? playGame(*a, *b, opening, adjudicate) : playGame(*b, *a, opening, adjudicate);
        const double scoreA = aWhite ? r.whiteScore : 1.0 - r.whiteScore;
        score += scoreA;
        char line[256];
        std::snprintf(line, sizeof line, "%s %s %.1f %d \"%s\" %d", nameA.c_str(), nameB.c_str(), scoreA,
                      aWhite ? 1 : 0, r.reason.c_str(), r.plies);
        std::printf("%s\n", line);
        std::fflush(stdout);
        if (!out.empty()) {
            if (FILE* f = std::fopen(out.c_str(), "a")) {
                std::fprintf(f, "%s %s\n", line, r.moves.c_str());
                std::fclose(f);
            }
        }
    }
    std::printf("%s - %s: %.1f / %d\n", nameA.c_str(), nameB.c_str(), score, games);
    a->stop();
    b->stop();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    selfPath = n > 0 ? std::string(path, static_cast<size_t>(n)) : argv[0];
    std::signal(SIGPIPE, SIG_IGN);
    if (argc >= 3 && !std::strcmp(argv[1], "player")) {
        LevelSpec level{};
        if (!parseLevel(argv[2], level)) return 2;
        return runPlayer(level);
    }
    if (argc >= 2 && !std::strcmp(argv[1], "match")) return runMatch(argc, argv);
    std::fprintf(stderr, "usage: tavisk-strength match A B GAMES [--out FILE] [--seed N] [--opening K] "
                         "[--adjudicate]\n       tavisk-strength player LEVEL\n");
    return 2;
}
