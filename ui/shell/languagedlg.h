#pragma once
// The Language dialog: five radio buttons; Chinese and Russian have none and are
// reached only through the settings file.

#include <QDialog>

class QLabel;
class QRadioButton;

// Set while the Language dialog is open; the main window then keeps the task bar.
extern bool languageDialogOpen;

class CLanguageDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CLanguageDlg(int language, QWidget* parent = nullptr);

    int language; // the held index, returned on OK even if no button was clicked

    void initDialog();
    int exec() override;
    void done(int result) override;

    QRadioButton* button(int choice) const { return buttons_[choice]; }
    QLabel* heading() const { return heading_; }

  private:
    QLabel* heading_;
    QRadioButton* buttons_[5];
};
