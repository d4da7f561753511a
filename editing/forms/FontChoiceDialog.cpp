#include "FontChoiceDialog.h"

#include "ColourSwatch.h"
#include "DialogButtons.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

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

// A caption as a screen reader says it: without its mnemonic marker.
QString WithoutMnemonic(QString caption) {
    for (qsizetype i = 0; i < caption.size(); ++i)
        if (caption[i] == u'&') caption.remove(i, 1); // "&&" leaves one "&"
    return caption;
}

// The character set (as Windows numbers them) a face is made for: ANSI (0) for
// a face with Latin letters, else that of its script (the table's first that the
// face covers), SYMBOL (2) for symbols only, DEFAULT (1) for anything else.
std::uint8_t CharsetOfFace(const QString& family) {
    const QList<QFontDatabase::WritingSystem> systems = QFontDatabase::writingSystems(family);
    if (systems.contains(QFontDatabase::Latin)) return 0;
    static const struct {
        QFontDatabase::WritingSystem system;
        std::uint8_t charset;
    } kCharsets[] = {{QFontDatabase::Symbol, 2},
                     {QFontDatabase::Japanese, 128},
                     {QFontDatabase::Korean, 129},
                     {QFontDatabase::SimplifiedChinese, 134},
                     {QFontDatabase::TraditionalChinese, 136},
                     {QFontDatabase::Greek, 161},
                     {QFontDatabase::Vietnamese, 163},
                     {QFontDatabase::Hebrew, 177},
                     {QFontDatabase::Arabic, 178},
                     {QFontDatabase::Cyrillic, 204},
                     {QFontDatabase::Thai, 222}};
    for (const auto& c : kCharsets)
        if (systems.contains(c.system)) return c.charset;
    return 1;
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
    NameChooserControls();
    // The chooser translates its captions when the toolkit's language changes;
    // its labels hear of it after the chooser, and the names follow.
    for (QLabel* caption : chooser->findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        caption->installEventFilter(this);

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
    if (now.family() != shownAtStart.family()) {
        // Another face brings its own character set and pitch.
        f.name = now.family();
        f.charset = CharsetOfFace(now.family());
        f.pitch = QFontDatabase::isFixedPitch(now.family()) ? 2 : 1; // fixed : variable
    }
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

void FontChoiceDialog::NameChooserControls() {
    // The chooser's lists and edits have no names of their own; each takes the
    // caption above its column (the label whose buddy is the column's edit or
    // list), in the chooser's grid: caption, edit, list.
    auto* grid = qobject_cast<QGridLayout*>(chooser->layout());
    if (!grid) return;
    for (QLabel* caption : chooser->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        if (!caption->buddy()) continue;
        const int at = grid->indexOf(caption);
        if (at < 0) continue;
        int row, column, rowSpan, columnSpan;
        grid->getItemPosition(at, &row, &column, &rowSpan, &columnSpan);
        const QString name = WithoutMnemonic(caption->text());
        caption->buddy()->setAccessibleName(name);
        for (int below = row + 1; below <= row + 2; ++below) {
            QLayoutItem* item = grid->itemAtPosition(below, column);
            QWidget* w = item ? item->widget() : nullptr;
            if (qobject_cast<QLineEdit*>(w) || qobject_cast<QAbstractItemView*>(w))
                w->setAccessibleName(name);
        }
    }
}

bool FontChoiceDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::LanguageChange) NameChooserControls();
    return QDialog::eventFilter(watched, event);
}
