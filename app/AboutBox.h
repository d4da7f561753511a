#pragma once
// The About box "Info": program name, maker, the current year in the
// copyright line, and a button that opens the maker's web site.

#include <QDialog>

class QLabel;
class QPushButton;

class AboutBox : public QDialog {
    Q_OBJECT
  public:
    explicit AboutBox(QWidget* parent = nullptr);

    QLabel* copyrightLine = nullptr;
    QPushButton* websiteButton = nullptr;
    QPushButton* okButton = nullptr;

  private:
    void openWebsite();
};
