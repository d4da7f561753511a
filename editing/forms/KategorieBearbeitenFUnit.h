#pragma once
// The dialog "Kategorie bearbeiten": a category's name, picture and introduction text.

#include <QDialog>

class QCheckBox;
class QDoubleSpinBox;
class QLineEdit;
class QPlainTextEdit;
class QRadioButton;
class FilenameEditBox;

class TKategorieBearbeitenForm : public QDialog {
    Q_OBJECT
  public:
    explicit TKategorieBearbeitenForm(QWidget* parent = nullptr);

    QLineEdit* Edit1;
    FilenameEditBox* FilenameEdit1;
    QDoubleSpinBox* BildBreitEd;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QPlainTextEdit* Memo1;
    QCheckBox* CheckBox1;

  protected:
    void showEvent(QShowEvent* event) override;
};
