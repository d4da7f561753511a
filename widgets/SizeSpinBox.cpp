#include "SizeSpinBox.h"

#include <QDoubleSpinBox>

QDoubleSpinBox* SizeSpinBox(QWidget* parent, const char* name, double centimetres) {
    auto* spin = new QDoubleSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->setDecimals(2);
    spin->setRange(0.01, 10000);
    spin->setSingleStep(0.1);
    spin->setValue(centimetres);
    return spin;
}
