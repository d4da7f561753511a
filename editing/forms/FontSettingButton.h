#pragma once
// A font setting: the button that opens its font dialog, holding the font itself.
// OK in the dialog makes the chosen font the setting; Cancel keeps the former one
// exactly.

#include "FontRecord.h"

#include <QPushButton>

class FontSettingButton : public QPushButton {
    Q_OBJECT
  public:
    FontSettingButton(const QString& caption, QWidget* parent = nullptr);
    const FontRecord& font() const { return value; }
    void setFontRecord(const FontRecord& f) { value = f; }
    // Name of the dialog this button stands for (FontDialog1 .. FontDialog9).
    QString dialogName;

  signals:
    // The user chose another font in the dialog (not emitted by setFontRecord,
    // nor by an OK that changed nothing).
    void fontChosen(const FontRecord& font);

  private:
    void ChooseFont();
    FontRecord value;
};
