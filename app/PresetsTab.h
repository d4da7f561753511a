#pragma once
// The tab "Voreinstellungen": the width and height given to new fields. They
// are not saved; the tab "Felder" reads them when it makes a field.

#include <QWidget>

class QDoubleSpinBox;

class PresetsTab : public QWidget {
    Q_OBJECT
  public:
    explicit PresetsTab(QWidget* parent = nullptr);
    double NewFieldWidth() const;
    double NewFieldHeight() const;
    QDoubleSpinBox* WidthBox() const { return newWidthBox; }
    QDoubleSpinBox* HeightBox() const { return newHeightBox; }

  private:
    QDoubleSpinBox* newWidthBox;
    QDoubleSpinBox* newHeightBox;
};
