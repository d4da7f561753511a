#include "ExactSpinBox.h"

#include <QLocale>

ExactSpinBox::ExactSpinBox(QWidget* parent) : QDoubleSpinBox(parent) {
    // QDoubleSpinBox rounds every value to its decimals; with the most it allows
    // the rounding gives back the very same double.
    setDecimals(323);
}

QString ExactSpinBox::textFromValue(double value) const {
    // The shortest text that reads back as the same value.
    QString text = locale().toString(value, 'f', QLocale::FloatingPointShortest);
    if (!isGroupSeparatorShown()) text.remove(locale().groupSeparator());
    return text;
}
