#pragma once
// A font setting: the button that opens its font dialog, holding the font itself.
// OK in the dialog makes the chosen font the setting; Cancel keeps the former one.

#include "FontSpec.h"

#include <QPushButton>

class FontSettingButton : public QPushButton {
    Q_OBJECT
public:
    FontSettingButton(const QString& caption, QWidget* parent = nullptr);
    const FontSpec& font() const { return value; }
    void setFontSpec(const FontSpec& f) { value = f; }
    // Name of the dialog this button stands for (FontDialog1 .. FontDialog9).
    QString dialogName;

private:
    void ChooseFont();
    FontSpec value;
};
