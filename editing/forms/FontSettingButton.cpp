#include "FontSettingButton.h"

#include <QFontDialog>

FontSettingButton::FontSettingButton(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    connect(this, &QPushButton::clicked, this, &FontSettingButton::ChooseFont);
}

void FontSettingButton::ChooseFont() {
    QFont start(value.name);
    start.setPointSize(value.size > 0 ? value.size : 10);
    start.setBold(value.style & fsBold);
    start.setItalic(value.style & fsItalic);
    start.setUnderline(value.style & fsUnderline);
    start.setStrikeOut(value.style & fsStrikeOut);
    QFontDialog dialog(start, this);
    dialog.setObjectName(dialogName);
    if (dialog.exec() != QDialog::Accepted) return;
    const QFont chosen = dialog.selectedFont();
    value.name = chosen.family();
    if (chosen.pointSize() > 0) value.size = chosen.pointSize();
    value.style = static_cast<std::uint8_t>(
        (chosen.bold() ? fsBold : 0) | (chosen.italic() ? fsItalic : 0) |
        (chosen.underline() ? fsUnderline : 0) | (chosen.strikeOut() ? fsStrikeOut : 0));
    emit fontChosen(value);
}
