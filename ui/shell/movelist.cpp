#include "ui/shell/movelist.h"

#include <QHeaderView>
#include <QScrollBar>

#include "engine/core/gamerecord.h"
#include "engine/session/session.h"
#include "game/controller.h"
#include "game/review.h"
#include "game/san.h"

bool screenHasRoomForMoveList(int width, int height) {
    return std::min(width, height) >= 480;
}

CMoveList::CMoveList(QWidget* parent) : QTableWidget(0, 3, parent) {
    setObjectName("moveList");
    horizontalHeader()->hide();
    verticalHeader()->hide();
    setShowGrid(false);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setFocusPolicy(Qt::NoFocus); // the keys stay with the game
    setColumnWidth(0, 44);
    setColumnWidth(1, 66);
    setColumnWidth(2, 66);
    verticalHeader()->setDefaultSectionSize(20);
    connect(this, &QTableWidget::cellClicked, this, &CMoveList::plyClicked);
}

void CMoveList::fitTo(int x, int y, int width, int height, int fontPx) {
    setGeometry(x, y, width, height);
    QFont font = this->font();
    font.setPixelSize(std::max(8, fontPx));
    setFont(font);
    verticalHeader()->setDefaultSectionSize(fontPx * 3 / 2);
    const int inner = std::max(30, width - verticalScrollBar()->sizeHint().width() - 2 * frameWidth());
    // Narrow columns in a wide panel, so that a move's halves stay together.
    const int number = std::min(inner * 22 / 100, fontPx * 4);
    const int move = std::min((inner - number) / 2, fontPx * 7);
    setColumnWidth(0, number);
    setColumnWidth(1, move);
    setColumnWidth(2, move);
}

QTableWidgetItem* CMoveList::itemOfPly(int ply) const {
    if (ply < 1 || ply > plyCount_) return nullptr;
    const int index = ply - 1 + (firstPly_ % 2 == 0 ? 1 : 0); // a game begun by Black leaves one cell
    return item(index / 2, 1 + index % 2);
}

void CMoveList::refresh() {
    // The record is read while the engine rests, or waits for its notification (a box
    // about the move it has just played is open then).
    if (engineSession.searchState == 0 || handlingEngineNotification()) {
        const int key = engineSession.gamePosition.ply * 1000 + recordLength() +
                        static_cast<int>(engineSession.startPosition.hashKey % 1000) * 1000000;
        if (key != shownKey_) {
            shownKey_ = key;
            markKey_ = -2;
            const std::vector<PlayedPly> plies = replayRecord(engineSession.gamePosition.ply);
            firstPly_ = engineSession.startPosition.ply;
            plyCount_ = static_cast<int>(plies.size());
            const int offset = firstPly_ % 2 == 0 ? 1 : 0;
            setRowCount((plyCount_ + offset + 1) / 2);
            for (int row = 0; row < rowCount(); ++row) {
                auto* number = new QTableWidgetItem(QString("%1.").arg((firstPly_ + 1) / 2 + row));
                number->setFlags(Qt::ItemIsEnabled);
                number->setForeground(Qt::darkGray);
                setItem(row, 0, number);
                for (int side = 0; side < 2; ++side) {
                    const int index = row * 2 + side - offset;
                    auto* cell = new QTableWidgetItem(index >= 0 && index < plyCount_
                                                          ? QString::fromStdString(plies[index].san)
                                                          : QString());
                    if (index < 0 || index >= plyCount_) cell->setFlags(Qt::NoItemFlags);
                    setItem(row, 1 + side, cell);
                }
            }
        }
    }
    // The mark: the move reviewed, else the game's last move.
    const int marked = reviewing() ? reviewedPlies() : plyCount_;
    if (marked == markKey_) return;
    markKey_ = marked;
    clearSelection();
    if (QTableWidgetItem* cell = itemOfPly(marked)) {
        cell->setSelected(true);
        scrollToItem(cell);
    } else if (rowCount() > 0) {
        scrollToItem(item(rowCount() - 1, 0));
    }
}

void CMoveList::plyClicked(int row, int column) {
    if (column == 0) return;
    const int index = row * 2 + column - 1 - (firstPly_ % 2 == 0 ? 1 : 0);
    if (index < 0 || index >= plyCount_) return;
    startReview(index + 1);
    markKey_ = -2;
    refresh();
    gameController().repaint();
}
