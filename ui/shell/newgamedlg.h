#pragma once
// The dialog that chooses the engine's level and the user's colour. One class serves
// two forms: "New Game" (before a new game) and "Game Settings" (during a game).

#include <QDialog>

class QComboBox;
class QLabel;
class QDialogButtonBox;

class CNewGameDlg : public QDialog {
    Q_OBJECT
  public:
    enum Form { NewGameForm, SettingsForm };

    CNewGameDlg(int language, Form form, QWidget* parent = nullptr);

    // The three values, copied in by the caller before opening and read back on OK.
    int levelMode = 1;
    int levelValue = 1000;
    bool userPlaysWhite = true;

    // Fills the lists from the held values; exec() runs it before the dialog shows.
    void initDialog();
    int exec() override;
    void accept() override;

    QComboBox* modeList() const { return modeList_; }
    QComboBox* levelList() const { return levelList_; }
    QComboBox* whiteList() const { return whiteList_; }
    QLabel* strengthLabel() const { return strengthLabel_; }

  private:
    void fillLevelList();
    void colourChanged(int index);
    void showStrength();
    // The level value options.cfg holds for an entry of the level list.
    int levelValueFor(int mode, int entry) const;

    int language_;
    Form form_;
    QLabel* difficultyLabel_;
    QLabel* levelLabel_;
    QLabel* whiteLabel_;
    QComboBox* modeList_;  // 1000
    QComboBox* levelList_; // 1001
    QComboBox* whiteList_; // 1002
    QDialogButtonBox* buttons_;
    // The strength of the chosen level ("≈ 1400"), beside the level list.
    QLabel* strengthLabel_;
};
