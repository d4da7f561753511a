#pragma once
// A spin edit for decimal layout values that keeps the value exactly as given
// (a project file's 12.345 stays 12.345, so saving it again writes the same
// bytes) and shows it without trailing zeros.

#include <QDoubleSpinBox>

class ExactSpinBox : public QDoubleSpinBox {
    Q_OBJECT
  public:
    explicit ExactSpinBox(QWidget* parent = nullptr);
    QString textFromValue(double value) const override;
};
