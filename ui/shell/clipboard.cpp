#include "ui/shell/clipboard.h"

#include <QClipboard>
#include <QDir>
#include <QGuiApplication>
#include <QRegularExpression>
#include <QTemporaryFile>

#include "engine/core/attacks.h"
#include "engine/core/fen.h"
#include "engine/session/session.h"
#include "game/san.h"
#include "ui/shell/desktopcommands.h"
#include "ui/shell/enginecontrol.h"
#include "ui/shell/localisation.h"
#include "ui/shell/taviskdoc.h"

namespace {

// Field by field: eight ranks of eight squares with one king a side and no pawn on the
// first or last rank, the side to move, castling rights and an en-passant square. The
// move counters may follow.
bool fenShapeIsLegal(const QStringList& fields) {
    if (fields.size() < 4 || fields.size() > 6) return false;
    const QStringList ranks = fields[0].split('/');
    if (ranks.size() != 8) return false;
    int kings[2] = {0, 0}, pieces[2] = {0, 0};
    QChar board[8][8]; // [row][column], row 0 = rank 8
    for (int r = 0; r < 8; ++r) {
        int squares = 0;
        for (QChar c : ranks[r]) {
            if (c >= '1' && c <= '8') {
                for (int k = 0; k < c.digitValue() && squares + k < 8; ++k) board[r][squares + k] = '.';
                squares += c.digitValue();
                continue;
            }
            if (squares < 8) board[r][squares] = c;
            if (!QString("PNBRQKpnbrqk").contains(c)) return false;
            const int side = c.isUpper() ? 0 : 1;
            ++squares;
            ++pieces[side];
            if (c.toLower() == 'k') ++kings[side];
            if (c.toLower() == 'p' && (r == 0 || r == 7)) return false;
        }
        if (squares != 8) return false;
    }
    if (kings[0] != 1 || kings[1] != 1 || pieces[0] > 16 || pieces[1] > 16) return false;
    if (fields[1] != "w" && fields[1] != "b") return false;
    if (!QRegularExpression("^(-|K?Q?k?q?)$").match(fields[2]).hasMatch() || fields[2].isEmpty()) return false;
    if (!QRegularExpression("^(-|[a-h][36])$").match(fields[3]).hasMatch()) return false;
    if (fields[3] != "-") {
        // The square a pawn has just passed: behind the opponent's pawn, on its side.
        const int column = fields[3][0].unicode() - 'a';
        const bool whiteToMove = fields[1] == "w";
        if (fields[3][1] != (whiteToMove ? '6' : '3')) return false;
        if (board[whiteToMove ? 3 : 4][column] != (whiteToMove ? 'p' : 'P')) return false;
    }
    for (int i = 4; i < fields.size(); ++i) {
        bool number = false;
        fields[i].toInt(&number);
        if (!number) return false;
    }
    return true;
}

bool looksLikeFen(const QString& text, QStringList& fields) {
    fields = text.simplified().split(' ');
    return !text.contains('\n') && !fields.isEmpty() && fields[0].count('/') == 7;
}

void setClipboard(const QString& text) {
    if (QClipboard* clipboard = QGuiApplication::clipboard()) clipboard->setText(text);
}

} // namespace

void copyGameToClipboard() {
    setClipboard(QString::fromStdString(gamePgn()));
}

void copyPositionToClipboard() {
    Position position = engineSession.gamePosition;
    setClipboard(QString::fromStdString(fullFen(position)));
}

PastedKind readPastedText(const QString& text, QString& gameText) {
    gameText.clear();
    const QString trimmed = text.trimmed();
    QStringList fields;
    if (looksLikeFen(trimmed, fields)) {
        if (!fenShapeIsLegal(fields)) return PastedKind::Position;
        const QByteArray fen = fields.join(' ').toLatin1();
        Position position;
        if (!readFen(position, fen.constData(), static_cast<size_t>(fen.size()))) return PastedKind::Position;
        // A side to move that is mated or stalemated is still a position to look at.
        gameText = QString("[Event \"?\"]\n[SetUp \"1\"]\n[FEN \"%1\"]\n\n*\n").arg(QString::fromLatin1(fen));
        return PastedKind::Position;
    }
    // A game: tags, or move text that starts with a move number.
    if (trimmed.startsWith('[') || QRegularExpression("^1\\s*\\.").match(trimmed).hasMatch()) {
        gameText = trimmed + "\n";
        return PastedKind::Game;
    }
    return PastedKind::Nothing;
}

bool pasteFromClipboard(CTaviskDoc& document, QWidget* parent) {
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QString text = clipboard ? clipboard->text() : QString();
    QString gameText;
    const PastedKind kind = readPastedText(text.left(1 << 20), gameText);
    if (kind == PastedKind::Nothing || gameText.isEmpty()) {
        messageBox(localDesktopMessage(kind == PastedKind::Nothing ? DesktopNothingToPaste : DesktopIllegalPosition),
                   BoxType::Ok, parent);
        return false;
    }
    if (!confirmDiscardGame(document, parent)) return false;
    // A thinking engine must not commit its move into the game that replaces it.
    const std::uint8_t engineSide = stopEngineForNewGame();
    // The document loads games from files: the text goes through one of its own.
    QTemporaryFile file(QDir::temp().filePath("tavisk-paste-XXXXXX.pgn"));
    bool loaded = false;
    if (file.open()) {
        file.write(gameText.toUtf8());
        file.flush();
        loaded = document.loadFile(file.fileName());
    }
    // The loaded game has set the engine's side; a failed load gives the old one back.
    if (!loaded) restoreEngineSide(engineSide);
    return loaded;
}
