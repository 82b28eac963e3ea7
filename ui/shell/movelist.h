#pragma once
// The moves of the game in standard notation beside the screen, on screens that have
// room for it: numbered rows of White's and Black's moves, the newest in view and the
// current one marked. A click on a move shows its position for review.

#include <QTableWidget>

class CMoveList : public QTableWidget {
    Q_OBJECT
  public:
    explicit CMoveList(QWidget* parent);

    // Brings the rows and the mark up to date with the game (cheap when nothing changed).
    void refresh();
    // The cell of a ply (1 = the first move of the game shown).
    QTableWidgetItem* itemOfPly(int ply) const;

    static constexpr int ListWidth = 190;

    // In the desktop window's panel: placed at (x, y), width x height, its text and
    // columns sized to the panel's font.
    void fitTo(int x, int y, int width, int height, int fontPx);

  private:
    void plyClicked(int row, int column);

    int firstPly_ = 1;  // ply number of the game's first move (2 when Black began)
    int shownKey_ = -1; // what the rows were made from
    int markKey_ = -1;
    int plyCount_ = 0;
};

// True on screens that leave room for the list (VGA classes and larger).
bool screenHasRoomForMoveList(int width, int height);
