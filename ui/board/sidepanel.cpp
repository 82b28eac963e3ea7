#include "ui/board/sidepanel.h"

#include <QFontMetrics>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "engine/core/gamerecord.h"
#include "engine/core/makemove.h"
#include "engine/core/notation.h"
#include "engine/pgn/pgnwrite.h"
#include "engine/search/results.h"
#include "engine/session/session.h"
#include "game/clocks.h"
#include "game/controller.h"
#include "ui/board/bookname.h"
#include "ui/board/geometry.h"
#include "ui/shell/texttables.h"

namespace {

constexpr int NoScore = 100000;
constexpr int TextBoxHeight = 24;
constexpr int NumberGap = 3;   // pixels at least between a move number and its move
constexpr int LowPanelX = 142; // the panel column right of the low screen's flat board
constexpr int LinePitch = 14;  // lines of the wrapped status on the low screen

struct Point {
    int x, y;
};

bool isVga(int screenType) {
    return screenType == ScreenVga || screenType == ScreenVgaLandscape;
}

// Move list -----------------------------------------------------------------

// Offsets from the base point of: number m, White's move m, Black's move m,
// number m - 1, White's move m - 1 (ply counter odd, even), Black's move m - 1.
struct MoveListLayout {
    Point base;
    Point number, white, black, previousNumber, previousWhiteOdd, previousWhiteEven, previousBlack;
};

MoveListLayout moveListLayout(int type, bool iso) {
    // QVGA portrait and square, QVGA landscape isometric.
    MoveListLayout l{{15, 227}, {-14, 0}, {7, 0}, {63, 0}, {98, 0}, {119, 0}, {119, 0}, {175, 0}};
    switch (type) {
    case ScreenVga:
        l = {{30, 480}, {-28, 0}, {14, 0}, {126, 0}, {196, 0}, {238, 0}, {238, 0}, {350, 0}};
        break;
    case ScreenQvgaLandscape:
        if (iso) {
            l.base = {48, 172};
            l.previousNumber = {118, 0};
            l.previousWhiteOdd = l.previousWhiteEven = {139, 0};
            l.previousBlack = {195, 0};
        } else {
            l = {{220, 32}, {0, 0}, {24, 0}, {24, 18}, {0, 44}, {24, 42}, {24, 44}, {24, 58}};
        }
        break;
    case ScreenSquare:
        l.base = {15, 172};
        break;
    // The small screens: the moves stand a little further right than the numbers'
    // columns, so that a two-digit number keeps its gap before its move.
    case ScreenNarrow:
        l = {{8, 114}, {-4, 0}, {14, 0}, {66, 0}, {-4, 14}, {14, 14}, {14, 14}, {66, 14}};
        if (!iso) l.base.y = 126; // below the smaller flat board
        break;
    case ScreenLow:
        if (iso) {
            // One line under the board: the current move, then the one before.
            l = {{8, 114}, {-4, 0}, {14, 0}, {58, 0}, {96, 0}, {114, 0}, {114, 0}, {158, 0}};
        } else {
            // The column right of the board, one move per line.
            l = {{LowPanelX, 6}, {0, 0}, {22, 0}, {22, 14}, {0, 32}, {22, 32}, {22, 32}, {22, 46}};
        }
        break;
    case ScreenVgaLandscape:
        if (iso)
            l = {{110, 360}, {-28, 0}, {14, 0}, {126, 0}, {196, 0}, {238, 0}, {238, 0}, {350, 0}};
        else
            l = {{480, 80}, {-28, 0}, {14, 0}, {14, 30}, {-28, 70}, {14, 70}, {14, 70}, {14, 100}};
        break;
    default:
        break;
    }
    return l;
}

// Status area ---------------------------------------------------------------

struct StatusLayout {
    int sx, sy, clearTop, lineOffset;
    Point opening;        // where the opening name goes, relative to (sx, sy)
    Point text;           // the status text, relative to (sx, sy)
    int cutAfter;         // characters on the first line, 0 = no second line
    Point secondLine;     // the rest, relative to (sx, sy)
    bool scoreBesideText; // the score takes the y of the status text's last line
    Point score;          // relative to (sx, sy); x only when scoreBesideText
    int clearHeight;      // 0: the usual band by the screen's size
    int wrapLines;        // > 0: the texts wrap over up to this many lines of LinePitch
};

StatusLayout statusLayout(int type, bool iso) {
    StatusLayout l{};
    auto set = [&](int sx, int sy, int top, int offset) {
        l.sx = sx;
        l.sy = sy;
        l.clearTop = top;
        l.lineOffset = offset;
        // The defaults; the screens below change what differs.
        l.opening = {-14, offset};
        l.text = {28, offset};
        l.scoreBesideText = true;
        l.score = {-14, 0};
    };
    switch (type) {
    case ScreenVga:
        set(44, 468, 504, 28);
        break;
    case ScreenQvgaLandscape:
        if (iso) {
            set(22, 180, 200, 0);
            l.opening = {-14, 10};
            l.text = {28, 10};
        } else {
            set(220, 140, 150, 10);
            l.opening = {0, 10};
            l.text = {39, 0};
            l.cutAfter = 10;
            l.secondLine = {0, 20};
            l.scoreBesideText = false;
            l.score = {0, 0};
        }
        break;
    case ScreenSquare:
        if (iso)
            set(22, 173, 196, 14);
        else
            set(22, 177, 198, 10);
        break;
    case ScreenNarrow:
    case ScreenLow:
        if (type == ScreenLow && !iso) {
            // The panel column: the score on the first line, the text wrapped below it.
            set(LowPanelX, 72, 78, 0);
            l.opening = {0, 0};
            l.text = {0, LinePitch};
            l.scoreBesideText = false;
            l.score = {0, 0};
            l.clearHeight = 78;
            l.wrapLines = 4;
            break;
        }
        // The narrow flat board ends higher up, and the low screen's view is short.
        if (type == ScreenNarrow)
            set(10, iso ? 160 : 162, iso ? 161 : 163, 0);
        else
            set(10, 136, 137, 0);
        l.opening = {-8, -8};
        l.text = {30, -8};
        l.scoreBesideText = false;
        l.score = {-8, -8};
        break;
    case ScreenVgaLandscape:
        if (iso) {
            set(44, 350, 386, 28);
        } else {
            set(460, 280, 300, 20);
            l.opening = {0, 20};
            l.text = {74, 20};
            l.cutAfter = 5;
            l.secondLine = {0, 60};
            l.scoreBesideText = false;
            l.score = {0, 20};
        }
        break;
    default:
        set(22, 228, 251, 14);
        break;
    }
    // VGA portrait, and VGA landscape isometric, double the QVGA offsets.
    if (type == ScreenVga || (type == ScreenVgaLandscape && iso)) {
        l.opening = {-28, 42};
        l.text = {56, 42};
        l.score = {-28, 0};
    }
    return l;
}

// Clocks --------------------------------------------------------------------

struct ClockLayout {
    Point user, computer; // computer relative to X = originX + boardLeft when fromBoard
    bool fromBoard;
    bool twoLines; // label and time on separate lines (the square flat screen)
};

ClockLayout clockLayout(int type, bool iso) {
    switch (type) {
    case ScreenVga:
        return {{22, 2}, {322, 2}, false, false};
    case ScreenQvgaLandscape:
        return iso ? ClockLayout{{42, -11}, {170, -11}, true, false}
                   : ClockLayout{{232, -8}, {234, 12}, false, false};
    case ScreenSquare:
        return iso ? ClockLayout{{22, -11}, {154, -11}, true, false}
                   : ClockLayout{{180, -8}, {180, 34}, false, true};
    case ScreenNarrow:
        return {{10, -9}, {98, -9}, false, false};
    // The low screen's two lines would fall on one point; the computer's goes
    // where the narrow screen has it.
    case ScreenLow:
        return {{12, -11}, {100, -11}, false, false};
    case ScreenVgaLandscape:
        return iso ? ClockLayout{{84, 2}, {420, 2}, false, false}
                   : ClockLayout{{466, 6}, {466, 40}, false, false};
    default:
        return iso ? ClockLayout{{12, -11}, {154, -11}, true, false}
                   : ClockLayout{{12, -11}, {162, -11}, false, false};
    }
}

QString word(int entry, int language) {
    return QString::fromUtf16(uiWord(entry, language));
}

EngineStatus status{QString(), QString(), NoScore};

} // namespace

QFont panelFont(int screenType) {
    QFont font("DejaVu Sans");
    font.setPixelSize(isVga(screenType) ? 20 : 11);
    return font;
}

void drawPanelText(const PanelContext& panel, int x, int y, const QString& text) {
    if (text.isEmpty()) return;
    panel.painter.drawText(QRect(x, y, panel.screenWidth, TextBoxHeight), Qt::AlignLeft | Qt::AlignBottom,
                           text);
}

void drawMoveList(const PanelContext& panel) {
    const GameController& game = panel.game;
    const MoveListLayout l = moveListLayout(game.geometry.screenType, game.settings.isometric != 0);
    const int ply = engineSession.gamePosition.ply;
    const long m = ply / 2;
    const bool odd = ply % 2 != 0;
    auto at = [&](Point offset, const char* text) {
        if (text) drawPanelText(panel, l.base.x + offset.x, l.base.y + offset.y, QString::fromLatin1(text));
    };
    // A number keeps its place unless it would run into its move: then it ends
    // a small gap before the move ("10." on the narrow screens).
    const QFontMetrics metrics(panel.painter.font());
    auto number = [&](Point offset, Point moveOffset, long n, const char* withText) {
        if (!withText) return;
        char buffer[24];
        std::snprintf(buffer, sizeof buffer, "%ld.", n);
        const int width = metrics.horizontalAdvance(QString::fromLatin1(buffer));
        offset.x = std::min(offset.x, moveOffset.x - NumberGap - width);
        at(offset, buffer);
    };
    // Short texts k plies back; null where the game is shorter.
    const char* k1 = moveTextBack(1, 1);
    const char* k2 = moveTextBack(2, 1);
    const char* k3 = moveTextBack(3, 1);
    const char* k4 = moveTextBack(4, 1);
    if (odd) {
        // Black moved last: move m is complete.
        number(l.number, l.white, m, k1);
        at(l.white, k2);
        at(l.black, k1);
        number(l.previousNumber, l.previousWhiteOdd, m - 1, k3);
        at(l.previousWhiteOdd, k4);
        at(l.previousBlack, k3);
    } else {
        // White moved last: move m has only its White half.
        number(l.number, l.white, m, k1);
        at(l.white, k1);
        number(l.previousNumber, l.previousWhiteEven, m - 1, k3);
        at(l.previousWhiteEven, k3);
        at(l.previousBlack, k2);
    }
}

void readEngineStatus() {
    // The controller has judged the game at every move, takeback and load: the
    // panel shows its end from the paint that shows the final move on, even
    // while the engine's worker is still on its way back from that move.
    GameController& game = gameController();
    status.score = engineSession.rootScore;
    status.openingName.clear();
    if (game.gameEnd == EndCheckmate) {
        status.statusText = "Checkmate";
    } else if (game.gameDecided() && game.gameEndResult == Drawn) {
        status.statusText = "Draw";
    } else if (game.gameDecided()) {
        status.statusText = QString::fromLatin1(resultText(game.gameEndResult)); // a resignation
    } else {
        status.openingName = QString::fromUtf8(currentBookOpening());
        // Only a line of this position: none after a takeback, a load or a book move.
        char line[50 * 6 + 1] = {};
        if (game.lineValid) principalVariationText(line);
        status.statusText = QString::fromLatin1(line).trimmed();
    }
}

const EngineStatus& engineStatus() {
    return status;
}

namespace {

// The longest head of the text, cut after a whole word (a move of the line),
// that fits in the width; a single word too long is cut by characters.
QString fitted(const QFontMetrics& metrics, const QString& text, int width, QString* rest = nullptr) {
    QString head = text;
    while (!head.isEmpty() && metrics.horizontalAdvance(head) > width) {
        const int space = head.lastIndexOf(' ');
        head = space > 0 ? head.left(space).trimmed() : head.left(head.size() - 1);
    }
    if (rest) *rest = text.mid(head.size()).trimmed();
    return head;
}

// A text of the status area, cut at the screen's right edge.
void drawStatusLine(const PanelContext& panel, int x, int y, const QString& text) {
    const QFontMetrics metrics(panel.painter.font());
    drawPanelText(panel, x, y, fitted(metrics, text, panel.screenWidth - x - 1));
}

// The text over up to `lines` lines of the panel column; returns the y of the last one.
int drawWrapped(const PanelContext& panel, int x, int y, int lines, const QString& text) {
    const QFontMetrics metrics(panel.painter.font());
    QString rest = text.trimmed();
    int lastY = y;
    for (int i = 0; i < lines && !rest.isEmpty(); ++i) {
        QString next;
        const QString line = fitted(metrics, rest, panel.screenWidth - x - 1, &next);
        if (line.isEmpty()) break;
        drawPanelText(panel, x, y + i * LinePitch, line);
        lastY = y + i * LinePitch;
        rest = next;
    }
    return lastY;
}

} // namespace

void drawStatus(const PanelContext& panel) {
    const GameController& game = panel.game;
    const int type = game.geometry.screenType;
    const StatusLayout l = statusLayout(type, game.settings.isometric != 0);
    // 1. A clean area.
    int height = type == ScreenQvgaLandscape ? 40 : (panel.screenHeight >= 480 ? 70 : 15);
    if (l.clearHeight) height = l.clearHeight;
    panel.painter.fillRect(QRect(l.sx, l.clearTop, panel.screenWidth - l.sx, height), Qt::white);
    // 2. Nothing to say before the first move.
    if (engineSession.gamePosition.ply < 2) return;
    readEngineStatus();
    // 3. The opening, while the game is in the book.
    if (!status.openingName.isEmpty()) {
        const int x = l.sx + l.opening.x, y = l.sy + l.opening.y;
        if (l.wrapLines)
            drawWrapped(panel, x, y, l.wrapLines + 1, status.openingName);
        else
            drawStatusLine(panel, x, y, status.openingName);
        return;
    }
    // 4. Result or the expected line, never past the screen's edge.
    const QString& text = status.statusText;
    int lastLineY = l.sy + l.text.y;
    if (l.wrapLines) {
        lastLineY = drawWrapped(panel, l.sx + l.text.x, l.sy + l.text.y, l.wrapLines, text);
    } else if (l.cutAfter && text.size() > l.cutAfter) {
        drawStatusLine(panel, l.sx + l.text.x, l.sy + l.text.y, text.left(l.cutAfter));
        drawStatusLine(panel, l.sx + l.secondLine.x, l.sy + l.secondLine.y, text.mid(l.cutAfter));
        lastLineY = l.sy + l.secondLine.y;
    } else {
        drawStatusLine(panel, l.sx + l.text.x, l.sy + l.text.y, text);
    }
    // 5. The score, positive when it favours the user.
    if (status.score == NoScore || text.isEmpty()) return;
    const double shown = status.score * (game.userColour == Black ? -0.01 : 0.01);
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%.2f", shown);
    const int y = l.scoreBesideText ? lastLineY : l.sy + l.score.y;
    drawPanelText(panel, l.sx + l.score.x, y, QString::fromLatin1(buffer));
}

void clockTexts(const GameController& game, QString lines[2]) {
    const int language = game.settings.language;
    const QByteArray you = word(WordClockYou, language).toUtf8(), cpu = word(WordClockCpu, language).toUtf8();
    const QByteArray w = word(WordWhiteLetter, language).toUtf8(),
                     b = word(WordBlackLetter, language).toUtf8();
    char userLine[64], engineLine[64];
    clockLines(game, you.constData(), cpu.constData(), w.constData(), b.constData(), userLine, engineLine,
               sizeof userLine);
    lines[0] = QString::fromUtf8(userLine);
    lines[1] = QString::fromUtf8(engineLine);
}

void drawClocks(const PanelContext& panel) {
    const GameController& game = panel.game;
    QString lines[2];
    clockTexts(game, lines);
    const ClockLayout l = clockLayout(game.geometry.screenType, game.settings.isometric != 0);
    const int boardX = game.geometry.originX + game.geometry.boardLeft;
    const Point computer = {l.computer.x + (l.fromBoard ? boardX : 0), l.computer.y};
    const Point at[2] = {l.user, computer};
    for (int i = 0; i < 2; ++i) {
        if (l.twoLines) {
            // The label with its colour letter, and 16 pixels lower the time alone.
            drawPanelText(panel, at[i].x, at[i].y, lines[i].left(6));
            drawPanelText(panel, at[i].x, at[i].y + 16, lines[i].mid(6).trimmed());
        } else {
            drawPanelText(panel, at[i].x, at[i].y, lines[i]);
        }
    }
}
