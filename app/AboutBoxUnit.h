#pragma once
// The About box "Info": program name, maker, the current year in the
// copyright line, and a button that opens the maker's web site.

#include <QDialog>

class QLabel;
class QPushButton;

class TAboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit TAboutBox(QWidget* parent = nullptr);

    QLabel* CopyrightLabel = nullptr;
    QPushButton* WebBtn = nullptr;
    QPushButton* OKBtn = nullptr;

  private:
    void WebBtnClick();
};
