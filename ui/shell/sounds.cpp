#include "ui/shell/sounds.h"

#include <QDir>
#include <QSoundEffect>
#include <QUrl>

#include <cstring>
#include <memory>
#include <string>

#include "engine/core/gamerecord.h"
#include "engine/core/notation.h"
#include "engine/session/session.h"
#include "game/controller.h"
#include "game/gamefiles.h"
#include "game/preferences.h"
#include "ui/board/markers.h"

namespace {

struct HeardGame {
    bool known = false;
    int ply = 0;
    int recordLength = 0;
    int pieces = 0;
    bool agreed = false; // ended by the players' word at this position
    std::string next; // the record's move from this position, "" at its end
};

// The record's text of the move from the position at `ply`.
std::string recordedMoveFrom(int ply) {
    if (ply < 1 || ply > recordLength() || ply > RecordCapacity) return "";
    return std::string(gameRecord.longTexts[ply - 1], strnlen(gameRecord.longTexts[ply - 1], MoveTextSize));
}

HeardGame heard;
GameSound lastSound = GameSound::None;
int played = 0;

int pieceCount(const Position& position) {
    int count = 0;
    for (int square = A8; square <= H1; ++square)
        if (position.board[square] != Empty && position.board[square] < 16 && position.board[square] != Border)
            ++count;
    return count;
}

void play(GameSound sound) {
    lastSound = sound;
    ++played;
    if (!desktopPreferences().sound) return;
    static std::unique_ptr<QSoundEffect> effects[4];
    static const char* const names[4] = {"move.wav", "capture.wav", "check.wav", "end.wav"};
    const int index = static_cast<int>(sound) - 1;
    if (index < 0 || index > 3) return;
    if (!effects[index]) {
        effects[index] = std::make_unique<QSoundEffect>();
        const QString folder = QString::fromStdString(gameFolder());
        effects[index]->setSource(QUrl::fromLocalFile(QDir(folder).filePath(QString("Sounds/") + names[index])));
        effects[index]->setVolume(0.6f);
    }
    effects[index]->play();
}

} // namespace

void soundsAfterPaint() {
    // The worker's search leaves the game position alone, but a commit is under way
    // only while its notification runs; the next paint hears it.
    const Position position = engineSession.gamePosition;
    const int end = gameController().gameEnd;
    const bool agreed = end == EndUserResigned || end == EndDrawAgreed;
    HeardGame now{true, position.ply, recordLength(), pieceCount(position), agreed, recordedMoveFrom(position.ply)};
    const HeardGame before = heard;
    heard = now;
    if (!before.known) return;
    if (now.agreed && !before.agreed) {
        play(GameSound::End);
        return;
    }
    // One ply further with a record that grew or changed there: a move was played (not a
    // takeback, a step forward, a new game or a load).
    if (now.ply != before.ply + 1) return;
    if (now.recordLength == before.recordLength && recordedMoveFrom(before.ply) == before.next) return;
    int column = 0, row = 0;
    if (gameController().gameDecided())
        play(GameSound::End);
    else if (kingInCheck(column, row))
        play(GameSound::Check);
    else if (now.pieces < before.pieces)
        play(GameSound::Capture);
    else
        play(GameSound::Move);
}

GameSound lastGameSound() {
    return lastSound;
}

int gameSoundsPlayed() {
    return played;
}
