#pragma once
// The About dialog: the product, its version and five lines of credits.

#include <QDialog>

class QLabel;

class CAboutDlg : public QDialog {
    Q_OBJECT
  public:
    explicit CAboutDlg(int language, QWidget* parent = nullptr);

    void initDialog();
    int exec() override;

    static constexpr int LineCount = 7;
    QLabel* line(int index) const { return lines_[index]; }

  private:
    QLabel* lines_[LineCount];
};
