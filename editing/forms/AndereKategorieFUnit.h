#pragma once
// The dialog "In andere Kategorie verschieben": choose the category that the
// selected fields move to.

#include <QDialog>

class QComboBox;

class TAndereKategorieForm : public QDialog {
    Q_OBJECT
  public:
    explicit TAndereKategorieForm(QWidget* parent = nullptr);
    QComboBox* ComboBox1;
};
