#pragma once
// The dialog "In andere Kategorie verschieben": choose the category that the
// selected fields move to.

#include <QDialog>

class QComboBox;

class MoveFieldsDialog : public QDialog {
    Q_OBJECT
  public:
    explicit MoveFieldsDialog(QWidget* parent = nullptr);
    QComboBox* categoryBox;
};
