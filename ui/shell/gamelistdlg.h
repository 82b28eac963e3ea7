#pragma once
// The list of the games of a file that holds several: one row per game with its White,
// Black, Result, Date and Event; OK (or a double tap on a row) loads the chosen game.

#include <QDialog>

#include <vector>

#include "game/gamelist.h"

class QTreeWidget;

class CGameListDlg : public QDialog {
    Q_OBJECT
  public:
    CGameListDlg(const std::vector<GameListEntry>& games, int language, QWidget* parent = nullptr);

    // The row chosen, 0 for the first game.
    int chosenGame() const;
    QTreeWidget* list() const { return list_; }

  private:
    QTreeWidget* list_;
};
