#pragma once
// The translation editor window: the whole translation table as a grid.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QTableWidget;

class TTranslateForm : public QDialog {
    Q_OBJECT
  public:
    explicit TTranslateForm(QWidget* parent = nullptr);

    QLineEdit* FilterEdit;
    QCheckBox* FixedColCheck;
    QTableWidget* StringGrid1;
};
