#pragma once
// The dialog of one font setting: face, size, style, underline and strike-out
// in Qt's font chooser, shown inside it, and the font's colour in a swatch
// beside it. The chosen font keeps every field of the starting one that the
// user did not change, so a face this machine lacks survives an OK given to
// change the colour only. A new face brings its own character set and pitch.
// The chooser's lists and edits are named for screen readers by their captions.

#include "FontRecord.h"

#include <QDialog>
#include <QFont>

class QFontDialog;
class ColourSwatch;

class FontChoiceDialog : public QDialog {
    Q_OBJECT
  public:
    FontChoiceDialog(const FontRecord& start, QWidget* parent = nullptr);

    // The font as the dialog now holds it.
    FontRecord chosenFont() const;

    // The parts, for the dialog's users and tests.
    QFontDialog* fontPart() const { return chooser; }
    ColourSwatch* colourPart() const { return colour; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void NameChooserControls();

    FontRecord original;
    QFontDialog* chooser;
    ColourSwatch* colour;
    QFont shownAtStart; // what the chooser showed for the starting font
};

// The Qt font a font setting stands for (colour aside).
QFont QFontOf(const FontRecord& f);
