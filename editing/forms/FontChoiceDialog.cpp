#include "FontChoiceDialog.h"

#include "ColourSwatch.h"
#include "DialogButtons.h"

#include <QFontDatabase>
#include <QFontDialog>
#include <QGridLayout>
#include <QLabel>

#include <climits>
#include <cstdlib>

QFont QFontOf(const FontRecord& f) {
    QFont font(f.name);
    font.setPointSize(f.size > 0 ? f.size : 10);
    font.setBold(f.style & fsBold);
    font.setItalic(f.style & fsItalic);
    font.setUnderline(f.style & fsUnderline);
    font.setStrikeOut(f.style & fsStrikeOut);
    return font;
}

namespace {
// The chooser finds a font's style by its translated name ("Fett Kursiv" in a
// German program), which the font's own style names ("Bold Italic") need not
// match. This names the style of family nearest to font's weight and slant.
QString StyleNameFor(const QString& family, const QFont& font) {
    QString best;
    int bestDistance = INT_MAX;
    for (const QString& style : QFontDatabase::styles(family)) {
        if (QFontDatabase::italic(family, style) != font.italic()) continue;
        const int distance = std::abs(QFontDatabase::weight(family, style) - font.weight());
        if (distance < bestDistance) {
            best = style;
            bestDistance = distance;
        }
    }
    return best;
}
} // namespace

FontChoiceDialog::FontChoiceDialog(const FontRecord& start, QWidget* parent)
    : QDialog(parent), original(start) {
    auto* grid = new QGridLayout(this);

    chooser = new QFontDialog(this);
    chooser->setObjectName(QStringLiteral("FontChooser"));
    chooser->setWindowFlags(Qt::Widget);
    chooser->setOptions(QFontDialog::NoButtons | QFontDialog::DontUseNativeDialog);
    QFont startFont = QFontOf(start);
    chooser->setCurrentFont(startFont);
    // Again with the style named as the family shown (the face itself, or the
    // chooser's stand-in for a face this machine lacks) spells it.
    const QString styleName = StyleNameFor(chooser->currentFont().family(), startFont);
    if (!styleName.isEmpty()) {
        startFont.setStyleName(styleName);
        chooser->setCurrentFont(startFont);
    }
    shownAtStart = chooser->currentFont();
    // Return and Escape inside the chooser end this dialog, not the chooser alone.
    connect(chooser, &QDialog::accepted, this, &QDialog::accept);
    connect(chooser, &QDialog::rejected, this, &QDialog::reject);
    grid->addWidget(chooser, 0, 0, 1, 4);

    auto* label = new QLabel(QStringLiteral("Farbe:"), this);
    label->setObjectName(QStringLiteral("FontColourLabel"));
    colour = new ColourSwatch(this);
    colour->setObjectName(QStringLiteral("FontColour"));
    colour->setColour(start.color);
    label->setBuddy(colour);
    grid->addWidget(label, 1, 0);
    grid->addWidget(colour, 1, 1);
    AddOkCancelButtons(this, grid, 2, 2);
    grid->setColumnStretch(1, 1);
}

FontRecord FontChoiceDialog::chosenFont() const {
    FontRecord f = original;
    const QFont now = chooser->currentFont();
    if (now.family() != shownAtStart.family()) f.name = now.family();
    if (now.pointSize() > 0 && now.pointSize() != shownAtStart.pointSize())
        f.size = now.pointSize();
    const struct {
        bool before, after;
        std::uint8_t bit;
    } styles[] = {{shownAtStart.bold(), now.bold(), fsBold},
                  {shownAtStart.italic(), now.italic(), fsItalic},
                  {shownAtStart.underline(), now.underline(), fsUnderline},
                  {shownAtStart.strikeOut(), now.strikeOut(), fsStrikeOut}};
    for (const auto& s : styles) {
        if (s.before == s.after) continue;
        f.style = static_cast<std::uint8_t>(s.after ? (f.style | s.bit) : (f.style & ~s.bit));
    }
    f.color = colour->colour();
    return f;
}
