#pragma once
// A colour setting shown as a filled rectangle. A press of any mouse button on
// it opens the colour dialog; OK takes the chosen colour, Cancel keeps the old one.
// A system colour shows as its palette colour and stays a system colour unless
// another colour is chosen.

#include "Colour.h"

#include <QFrame>

class ColourSwatch : public QFrame {
    Q_OBJECT
  public:
    explicit ColourSwatch(QWidget* parent = nullptr);
    ColourValue colour() const { return value; }
    void setColour(ColourValue c);

  signals:
    // The colour changed, by setColour or by a choice in the dialog.
    void colourChanged(ColourValue c);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    ColourValue value = 0;
};

// Qt colour for a stored colour value (system colours through the palette's role).
QColor ToQColor(ColourValue c);
ColourValue FromQColor(const QColor& c);
