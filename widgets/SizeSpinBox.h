#pragma once
// A spin edit for a size in centimetres, as the field editors and the new-field
// defaults use it: two decimals, 0.01 to 10000, steps of 0.1.

class QDoubleSpinBox;
class QWidget;

QDoubleSpinBox* SizeSpinBox(QWidget* parent, const char* name, double centimetres);
