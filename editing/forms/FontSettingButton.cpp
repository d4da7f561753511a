#include "FontSettingButton.h"

#include "FontChoiceDialog.h"
#include "TranslateComponents.h"
#include "Translator.h"

FontSettingButton::FontSettingButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    connect(this, &QPushButton::clicked, this, &FontSettingButton::ChooseFont);
}

void FontSettingButton::ChooseFont() {
    FontChoiceDialog dialog(value, this);
    dialog.setObjectName(dialogName);
    // Made after the start-up translation: its own texts are translated here,
    // before the title, which comes from this button's text, already translated.
    if (ProgramTranslator().language != 0) TranslateComponents(&dialog);
    QString title = text();
    title.remove(QLatin1Char('&'));
    while (title.endsWith(QLatin1Char('.')))
        title.chop(1);
    dialog.setWindowTitle(title);
    if (dialog.exec() != QDialog::Accepted) return;
    const FontRecord chosen = dialog.chosenFont();
    if (chosen == value) return;
    value = chosen;
    emit fontChosen(value);
}
