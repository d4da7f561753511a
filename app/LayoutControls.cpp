#include "LayoutControls.h"

#include "ColourSwatch.h"
#include "ExactSpinBox.h"
#include "FilenameEditBox.h"
#include "FontSettingButton.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QLineEdit>

#include <QRadioButton>
#include <QSpinBox>
#include <limits>

namespace {
const LayoutSettings& Defaults() {
    static const LayoutSettings defaults;
    return defaults;
}
} // namespace

QDoubleSpinBox* LayoutControls::MakeSpin(const SpinSetting& s, QWidget* parent) {
    QDoubleSpinBox* spin = s.decimals > 0 ? new ExactSpinBox(parent) : new QDoubleSpinBox(parent);
    spin->setObjectName(QString::fromLatin1(s.name));
    if (s.decimals == 0) spin->setDecimals(0);
    spin->setMinimumWidth(90);
    spin->setRange(s.minimum, s.maximum);
    spin->setSingleStep(s.step);
    spin->setValue(Defaults().*s.value);
    spin->setVisible(!s.hidden);
    spins.emplace_back(&s, spin);
    return spin;
}

QCheckBox* LayoutControls::MakeCheck(const CheckSetting& s, QWidget* parent) {
    auto* check = new QCheckBox(QString::fromUtf8(s.caption), parent);
    check->setObjectName(QString::fromLatin1(s.name));
    check->setChecked(Defaults().*s.value);
    check->setVisible(!s.hidden);
    checks.emplace_back(&s, check);
    return check;
}

ColourSwatch* LayoutControls::MakeSwatch(const ColourSetting& s, QWidget* parent) {
    auto* swatch = new ColourSwatch(parent);
    swatch->setObjectName(QString::fromLatin1(s.name));
    swatch->setColour(Defaults().*s.value);
    swatch->setVisible(!s.hidden);
    swatches.emplace_back(&s, swatch);
    return swatch;
}

FontSettingButton* LayoutControls::MakeFontButton(const FontSetting& s, QWidget* parent) {
    auto* button = new FontSettingButton(QString::fromUtf8(s.caption), parent);
    button->setObjectName(QString::fromLatin1(s.buttonName));
    button->dialogName = QString::fromLatin1(s.dialogName);
    button->setFontRecord(Defaults().fonts[static_cast<std::size_t>(s.index)]);
    button->setVisible(!s.hidden);
    fonts.emplace_back(&s, button);
    return button;
}

QLineEdit* LayoutControls::MakeText(const char* name, QString LayoutSettings::*value,
                                    QWidget* parent) {
    auto* edit = new QLineEdit(Defaults().*value, parent);
    edit->setObjectName(QString::fromLatin1(name));
    // A text of any length stays whole (the default limit cuts at 32,767).
    edit->setMaxLength(std::numeric_limits<int>::max());
    texts.emplace_back(value, edit);
    return edit;
}

LayoutSettings LayoutControls::Read() const {
    LayoutSettings s;
    for (const auto& [setting, spin] : spins)
        s.*setting->value = spin->value();
    for (const auto& [setting, check] : checks)
        s.*setting->value = check->isChecked();
    for (const auto& [setting, swatch] : swatches)
        s.*setting->value = swatch->colour();
    for (const auto& [setting, button] : fonts)
        s.fonts[static_cast<std::size_t>(setting->index)] = button->font();
    for (const auto& [member, edit] : texts)
        s.*member = edit->text();
    if (firstPageNr) s.firstPageNumber = firstPageNr->value();
    if (bildLinks && bildLinks->isChecked())
        s.pictureAlignment = 0;
    else if (bildZentr && bildZentr->isChecked())
        s.pictureAlignment = 1;
    else if (bildRechts && bildRechts->isChecked())
        s.pictureAlignment = 2;
    if (backgroundFile) s.backgroundFile = backgroundFile->fileName();
    if (logoFile) s.logoFile = logoFile->fileName();
    return s;
}

void LayoutControls::Apply(const LayoutSettings& s) {
    // The two picture names first: their change handlers load the pictures, and
    // the processing settings that follow prepare the background again.
    if (backgroundFile) backgroundFile->setFileName(s.backgroundFile);
    if (logoFile) logoFile->setFileName(s.logoFile);
    for (const auto& [setting, spin] : spins)
        spin->setValue(s.*setting->value);
    for (const auto& [setting, check] : checks)
        check->setChecked(s.*setting->value);
    for (const auto& [setting, swatch] : swatches)
        swatch->setColour(s.*setting->value);
    for (const auto& [setting, button] : fonts)
        button->setFontRecord(s.fonts[static_cast<std::size_t>(setting->index)]);
    for (const auto& [member, edit] : texts)
        edit->setText(s.*member);
    if (firstPageNr) firstPageNr->setValue(s.firstPageNumber);
    QRadioButton* align[] = {bildLinks, bildZentr, bildRechts};
    if (s.pictureAlignment >= 0 && s.pictureAlignment <= 2 && align[s.pictureAlignment])
        align[s.pictureAlignment]->setChecked(true);
}
