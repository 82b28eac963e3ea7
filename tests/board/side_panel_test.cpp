// The side panel: move list, status line with the score, clock lines. Each
// check paints the panel and a picture of the texts that belong there at the
// places the layout gives, and compares the two pixel for pixel.

#include <QImage>
#include <QPainter>

#include <string>
#include <vector>

#include "engine/core/notation.h"
#include "engine/search/rootsearch.h"
#include "engine/session/bridge.h"
#include "engine/session/session.h"
#include "tests/board/board_fixture.h"
#include "ui/board/geometry.h"
#include "ui/board/sidepanel.h"

namespace {

struct Text {
    int x, y;
    const char* text;
};

// The texts alone, as the panel must draw them, on white.
QImage expectedTexts(int width, int height, int screenType, const std::vector<Text>& texts) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(panelFont(screenType));
    painter.setPen(Qt::black);
    for (const Text& t : texts)
        painter.drawText(QRect(t.x, t.y, width, 24), Qt::AlignLeft | Qt::AlignBottom,
                         QString::fromUtf8(t.text));
    return image;
}

enum Part { MoveListPart, StatusPart, ClocksPart };

QImage panelPart(GameController& game, int width, int height, Part part) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(panelFont(game.geometry.screenType));
    painter.setPen(Qt::black);
    const PanelContext panel{painter, game, width, height};
    if (part == MoveListPart)
        drawMoveList(panel);
    else if (part == StatusPart)
        drawStatus(panel);
    else
        drawClocks(panel);
    return image;
}

int differingPixels(const QImage& a, const QImage& b) {
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// The engine's expected line after a short analysis of the game position, as
// the status area shows it.
std::string analyse() {
    Position copy = engineSession.gamePosition;
    rootSearch(copy, AnalyseMode, 2);
    char line[50 * 6 + 1] = {};
    principalVariationText(line);
    gameController().lineValid = true; // a line of this position
    std::string text = line;
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

} // namespace

// The last two full moves with their numbers, for an even and an odd ply counter.
TEST_F(BoardTest, MoveListTexts) {
    struct Case {
        int width, height;
        bool isometric;
        std::vector<const char*> moves;
        std::vector<Text> texts;
    };
    const std::vector<Case> cases = {
        {240, 320, false, {"e4"}, {{1, 227, "1."}, {22, 227, "e4"}}},
        {240, 320, false, {"e4", "e5"}, {{1, 227, "1."}, {22, 227, "e4"}, {78, 227, "e5"}}},
        {240,
         320,
         false,
         {"e4", "e5", "Nf3"},
         {{1, 227, "2."}, {22, 227, "Nf3"}, {113, 227, "1."}, {134, 227, "e4"}, {190, 227, "e5"}}},
        {240,
         320,
         true,
         {"e4", "e5", "Nf3", "Nc6"},
         {{1, 227, "2."},
          {22, 227, "Nf3"},
          {78, 227, "Nc6"},
          {113, 227, "1."},
          {134, 227, "e4"},
          {190, 227, "e5"}}},
        {320,
         240,
         false,
         {"e4", "e5", "Nf3"},
         {{220, 32, "2."}, {244, 32, "Nf3"}, {220, 76, "1."}, {244, 76, "e4"}, {244, 90, "e5"}}},
        {320,
         240,
         false,
         {"e4", "e5", "Nf3", "Nc6"},
         {{220, 32, "2."},
          {244, 32, "Nf3"},
          {244, 50, "Nc6"},
          {220, 76, "1."},
          {244, 74, "e4"},
          {244, 90, "e5"}}},
        {320,
         240,
         true,
         {"e4", "e5", "Nf3"},
         {{34, 172, "2."}, {55, 172, "Nf3"}, {166, 172, "1."}, {187, 172, "e4"}, {243, 172, "e5"}}},
        {640,
         480,
         false,
         {"e4", "e5", "Nf3"},
         {{452, 80, "2."}, {494, 80, "Nf3"}, {452, 150, "1."}, {494, 150, "e4"}, {494, 180, "e5"}}},
        {480, 640, false, {"d4"}, {{2, 480, "1."}, {44, 480, "d4"}}},
        {176,
         220,
         true,
         {"e4", "e5", "Nf3"},
         {{4, 114, "2."}, {22, 114, "Nf3"}, {4, 128, "1."}, {22, 128, "e4"}, {74, 128, "e5"}}},
    };
    for (const Case& c : cases) {
        SetUp();
        for (const char* move : c.moves) play({move});
        show(c.width, c.height, c.isometric);
        const QImage painted = panelPart(game(), c.width, c.height, MoveListPart);
        const QImage expected = expectedTexts(c.width, c.height, game().geometry.screenType, c.texts);
        EXPECT_EQ(differingPixels(painted, expected), 0)
            << c.width << "x" << c.height << (c.isometric ? " isometric, " : " flat, ") << c.moves.size()
            << " plies";
    }
}

// The narrow and the low screens, flat and isometric, past move ten and at the mate,
// painted at the view's real height: every square lies in the view and a tap on it
// finds it; every pixel of the move list and of the status with its score lies in
// the view and stays visible in the painted view (the board never covers it); a
// move number ends a gap before its move.
TEST_F(BoardTest, SmallScreensShowTheWholeBoardAndPanel) {
    static const char* const opera[] = {
        "e4",    "e5",  "Nf3",  "d6",   "d4",  "Bg4", "dxe5",  "Bxf3", "Qxf3", "dxe5",  "Bc4",
        "Nf6",   "Qb3", "Qe7",  "Nc3",  "c6",  "Bg5", "b5",    "Nxb5", "cxb5", "Bxb5+", "Nbd7",
        "O-O-O", "Rd8", "Rxd7", "Rxd7", "Rd1", "Qe6", "Bxd7+", "Nxd7", "Qb8+", "Nxb8",  "Rd8"};
    struct Screen {
        int width, height;
    };
    const QColor white(Qt::white);
    auto isInk = [&](QRgb p) { return (p & 0xFFFFFF) != 0xFFFFFF; };
    for (const int plies : {24, 33})
        for (const Screen s : {Screen{176, 220}, Screen{220, 176}})
            for (const bool iso : {false, true}) {
                SetUp();
                for (int i = 0; i < plies; ++i) play({opera[i]});
                show(s.width, s.height, iso);
                forgetOpeningName();
                if (plies < 33) {
                    ASSERT_FALSE(analyse().empty());
                }
                engineSession.rootScore = 250;
                SCOPED_TRACE(testing::Message() << s.width << "x" << s.height
                                                << (iso ? " isometric " : " flat ") << plies << " plies");
                const int viewHeightPx = viewHeight(s.width, s.height);
                const QImage frame = paint();
                ASSERT_EQ(frame.height(), viewHeightPx);

                // The whole board in the view, every square tappable.
                const BoardGeometry& g = game().geometry;
                for (int row = 0; row < 8; ++row)
                    for (int column = 0; column < 8; ++column) {
                        int x, y, c, r;
                        cellPosition(game(), column, row, x, y);
                        EXPECT_TRUE(x >= 0 && y >= 0 && x + g.cellWidth <= s.width &&
                                    y + g.cellHeight <= viewHeightPx)
                            << column << "," << row << " at " << x << "," << y;
                        hitTest(game(), x + g.cellWidth / 2, y + g.cellHeight / 2, c, r);
                        EXPECT_EQ(c * 8 + r, column * 8 + row) << column << "," << row;
                    }

                // The panel's texts, painted alone on the full screen's height.
                for (const Part part : {MoveListPart, StatusPart}) {
                    const QImage texts = panelPart(game(), s.width, s.height, part);
                    int ink = 0, outside = 0, covered = 0;
                    for (int y = 0; y < texts.height(); ++y)
                        for (int x = 0; x < texts.width(); ++x) {
                            if (!isInk(texts.pixel(x, y))) continue;
                            ++ink;
                            if (y >= viewHeightPx)
                                ++outside;
                            else if (frame.pixel(x, y) != texts.pixel(x, y))
                                ++covered;
                        }
                    EXPECT_GT(ink, 150) << "part " << part;
                    EXPECT_EQ(outside, 0) << "part " << part;
                    EXPECT_EQ(covered, 0) << "part " << part;
                }

                // The number of the current move ("12." or "17."), the leftmost text of
                // the first line of the list, keeps a gap of blank columns before its move.
                const QImage list = panelPart(game(), s.width, s.height, MoveListPart);
                int top = -1;
                for (int y = 0; y < list.height() && top < 0; ++y)
                    for (int x = 0; x < list.width(); ++x)
                        if (isInk(list.pixel(x, y))) {
                            top = y;
                            break;
                        }
                ASSERT_GE(top, 0);
                const int bandBottom = top + 9;
                auto columnHasInk = [&](const QImage& image, int x, int from, int to) {
                    for (int y = from; y < to && y < image.height(); ++y)
                        if (isInk(image.pixel(x, y))) return true;
                    return false;
                };
                int left = 0;
                while (left < list.width() && !columnHasInk(list, left, top, bandBottom)) ++left;
                QImage number(60, 24, QImage::Format_RGB32);
                number.fill(white);
                {
                    QPainter painter(&number);
                    painter.setFont(panelFont(g.screenType));
                    painter.setPen(Qt::black);
                    painter.drawText(QRect(10, 0, 50, 24), Qt::AlignLeft | Qt::AlignBottom,
                                     plies < 33 ? "12." : "17.");
                }
                int first = 0, last = 0;
                for (int x = 0; x < number.width(); ++x)
                    if (columnHasInk(number, x, 0, 24)) {
                        if (!first) first = x;
                        last = x;
                    }
                const int numberEnd = left + (last - first);
                for (int x = numberEnd + 1; x <= numberEnd + 2; ++x)
                    EXPECT_FALSE(columnHasInk(list, x, top, bandBottom)) << "column " << x;
                EXPECT_TRUE(columnHasInk(list, numberEnd, top, bandBottom));
            }
}

// The status line: nothing before the first move, the expected line with the
// score from the user's side, the result of a finished game with its score.
TEST_F(BoardTest, StatusLineAndScore) {
    struct Case {
        std::vector<const char*> moves;
        int userColour;
        int score;
        const char* scoreText; // null: no score shown
        const char* result;    // null: the expected line is the status text
        const char* fen = nullptr;
    };
    const std::vector<Case> cases = {
        {{}, White, 35, nullptr, nullptr},
        {{"e4"}, White, 35, "0.35", nullptr},
        {{"e4"}, Black, 35, "-0.35", nullptr},
        {{"e4"}, White, 100000, nullptr, nullptr},
        {{"f3", "e5", "g4", "Qh4"}, White, -9996, "-99.96", "Checkmate"},
        {{"f3", "e5", "g4", "Qh4"}, Black, -9996, "99.96", "Checkmate"},
        {{"Qf7"}, White, 0, "0.00", "Draw", "7k/8/6K1/8/8/8/8/5Q2 w - - 0 1"},
    };
    for (const Case& c : cases) {
        SetUp();
        if (c.fen) setPosition(c.fen);
        for (const char* move : c.moves) play({move});
        show(240, 320, false);
        const std::string line = c.result || c.moves.empty() ? std::string() : analyse();
        game().userColour = c.userColour;
        engineSession.rootScore = c.score;
        std::vector<Text> texts;
        const std::string status = c.result ? c.result : line;
        if (!c.moves.empty()) {
            ASSERT_FALSE(status.empty());
            texts.push_back({50, 242, status.c_str()});
            if (c.scoreText) texts.push_back({8, 242, c.scoreText});
        }
        const QImage painted = panelPart(game(), 240, 320, StatusPart);
        const QImage expected = expectedTexts(240, 320, game().geometry.screenType, texts);
        EXPECT_EQ(differingPixels(painted, expected), 0)
            << c.moves.size() << " plies, score " << c.score << ", user " << c.userColour << ": " << status;
    }
}

// The engine's expected line never runs past the screen's right edge on any screen,
// and it is cut after a whole move: on 640 x 480 its second line holds as many
// whole moves as fit.
TEST_F(BoardTest, ExpectedLineEndsAtTheScreensEdge) {
    play({"e4", "e5", "Nf3", "d6", "d4", "Bg4", "dxe5", "Bxf3", "Qxf3", "dxe5", "Bc4", "Nf6"});
    forgetOpeningName();
    Position copy = engineSession.gamePosition;
    rootSearch(copy, AnalyseMode, 6);
    char buffer[50 * 6 + 1] = {};
    principalVariationText(buffer);
    game().lineValid = true; // a line of this position
    const QString line = QString::fromLatin1(buffer).trimmed();
    const QStringList moves = line.split(' ');
    ASSERT_GE(moves.size(), 5) << buffer;
    const struct {
        int width, height;
    } screens[] = {{240, 320}, {480, 640}, {320, 240}, {240, 240}, {176, 220}, {220, 176}, {640, 480}};
    for (const auto& s : screens)
        for (const bool iso : {false, true}) {
            show(s.width, s.height, iso);
            engineSession.rootScore = 30;
            QImage image(s.width + 400, s.height, QImage::Format_RGB32);
            image.fill(Qt::white);
            {
                QPainter painter(&image);
                painter.setFont(panelFont(game().geometry.screenType));
                painter.setPen(Qt::black);
                drawStatus(PanelContext{painter, game(), s.width, s.height});
            }
            int ink = 0, beyond = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) (x < s.width ? ink : beyond) += 1;
            EXPECT_GT(ink, 100) << s.width << "x" << s.height << (iso ? " isometric" : " flat");
            EXPECT_EQ(beyond, 0) << s.width << "x" << s.height << (iso ? " isometric" : " flat");
        }
    // 640 x 480 flat: five characters, then the rest from the status column, whole moves only.
    show(640, 480, false);
    const QImage painted = panelPart(game(), 640, 480, StatusPart);
    const QString rest = line.mid(5);
    QFontMetrics metrics(panelFont(ScreenVgaLandscape));
    ASSERT_GT(metrics.horizontalAdvance(rest), 640 - 460) << "the line must be too long for one line";
    int matches = 0, wholeMoves = 0;
    QStringList restMoves = rest.split(' ', Qt::SkipEmptyParts);
    for (int n = 1; n <= restMoves.size(); ++n) {
        const std::string first = line.left(5).toStdString(),
                          second = QStringList(restMoves.mid(0, n)).join(' ').toStdString();
        const QImage expected =
            expectedTexts(640, 480, ScreenVgaLandscape,
                          {{534, 300, first.c_str()}, {460, 340, second.c_str()}, {460, 300, "0.30"}});
        if (differingPixels(painted, expected) == 0) {
            ++matches;
            wholeMoves = n;
        }
    }
    EXPECT_EQ(matches, 1) << buffer;
    EXPECT_GE(wholeMoves, 2);
    EXPECT_LT(wholeMoves, restMoves.size());
}

// While the game is in the book the status area names the opening, and nothing else.
TEST_F(BoardTest, OpeningNameInsteadOfTheLine) {
    struct Case {
        int width, height;
        bool isometric;
        Text name;
    };
    const Case cases[] = {
        {240, 320, false, {8, 242, "Ruy Lopez"}}, {320, 240, false, {220, 150, "Ruy Lopez"}},
        {320, 240, true, {8, 190, "Ruy Lopez"}},  {640, 480, false, {460, 300, "Ruy Lopez"}},
        {480, 640, true, {16, 510, "Ruy Lopez"}}, {176, 220, false, {2, 154, "Ruy Lopez"}},
        {176, 220, true, {2, 152, "Ruy Lopez"}},  {220, 176, false, {142, 72, "Ruy Lopez"}},
        {220, 176, true, {2, 128, "Ruy Lopez"}},
    };
    for (const Case& c : cases) {
        SetUp();
        play({"e4", "e5", "Nf3", "Nc6", "Bb5"});
        show(c.width, c.height, c.isometric);
        setOpeningName("Ruy Lopez");
        engineSession.rootScore = 20;
        const QImage painted = panelPart(game(), c.width, c.height, StatusPart);
        const QImage expected = expectedTexts(c.width, c.height, game().geometry.screenType, {c.name});
        EXPECT_EQ(differingPixels(painted, expected), 0) << c.width << "x" << c.height;
    }
}

// A new game and a takeback empty the engine's line: the next status shows none.
TEST_F(BoardTest, NoStaleLineAfterNewGameOrTakeback)
{
    for (int step = 0; step < 2; ++step) {
        SetUp();
        show(240, 320, false);
        play({"e4", "e5", "Nf3"});
        ASSERT_FALSE(analyse().empty());
        if (step == 0) {
            engineBridge().newEngineGame();
            play({"d4"});
        } else {
            game().takeBackAll();
            play({"c4"});
        }
        engineSession.rootScore = 12;
        const QImage painted = panelPart(game(), 240, 320, StatusPart);
        const QImage expected = expectedTexts(240, 320, game().geometry.screenType, {});
        EXPECT_EQ(differingPixels(painted, expected), 0) << (step == 0 ? "new game" : "takeback all");
    }
}

// The status area is cleared before it is written: a white band below the
// move list, as wide as the screen from the status column.
TEST_F(BoardTest, StatusAreaIsClearedFirst) {
    show(240, 320, false);
    QImage image(240, 320, QImage::Format_RGB32);
    image.fill(Qt::gray);
    {
        QPainter painter(&image);
        const PanelContext panel{painter, game(), 240, 320};
        drawStatus(panel);
    }
    EXPECT_EQ(image.pixel(22, 251), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(239, 265), qRgb(255, 255, 255));
    EXPECT_NE(image.pixel(21, 251), qRgb(255, 255, 255));
    EXPECT_NE(image.pixel(22, 266), qRgb(255, 255, 255));
    EXPECT_NE(image.pixel(22, 250), qRgb(255, 255, 255));
}

// The two clock lines, the user's first, with the user's clock and the colour letters.
TEST_F(BoardTest, ClockLines) {
    struct Case {
        int width, height;
        bool isometric;
        int userColour;
        std::vector<Text> texts;
    };
    const std::vector<Case> cases = {
        {240, 320, false, White, {{12, -11, "You: W  1:01"}, {162, -11, "CPU: B 12:07"}}},
        {240, 320, false, Black, {{12, -11, "You: B 12:07"}, {162, -11, "CPU: W  1:01"}}},
        {240, 320, true, White, {{12, -11, "You: W  1:01"}, {153, -11, "CPU: B 12:07"}}},
        {240,
         240,
         false,
         White,
         {{180, -8, "You: W"}, {180, 8, "1:01"}, {180, 34, "CPU: B"}, {180, 50, "12:07"}}},
        {640, 480, false, White, {{466, 6, "You: W  1:01"}, {466, 40, "CPU: B 12:07"}}},
        {480, 640, true, White, {{22, 2, "You: W  1:01"}, {322, 2, "CPU: B 12:07"}}},
    };
    for (const Case& c : cases) {
        show(c.width, c.height, c.isometric);
        game().userColour = c.userColour;
        game().whiteClockMs = 61000;
        game().blackClockMs = 727000;
        const QImage painted = panelPart(game(), c.width, c.height, ClocksPart);
        const QImage expected = expectedTexts(c.width, c.height, game().geometry.screenType, c.texts);
        EXPECT_EQ(differingPixels(painted, expected), 0)
            << c.width << "x" << c.height << " user " << c.userColour;
    }
}
