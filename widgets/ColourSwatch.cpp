#include "ColourSwatch.h"

#include <QApplication>
#include <QColorDialog>
#include <QPainter>
#include <QPalette>

namespace {
// The palette role that stands for a system colour number, where there is one.
bool PaletteRoleFor(int systemColour, QPalette::ColorRole* role) {
    switch (systemColour) {
    case 5:
        *role = QPalette::Base;
        return true; // window background
    case 7:          // menu text
    case 8:
        *role = QPalette::Text;
        return true; // window text
    case 12:
        *role = QPalette::Dark;
        return true; // application workspace
    case 13:
        *role = QPalette::Highlight;
        return true;
    case 14:
        *role = QPalette::HighlightedText;
        return true;
    case 15:
        *role = QPalette::Button;
        return true;
    case 18:
        *role = QPalette::ButtonText;
        return true;
    case 23:
        *role = QPalette::ToolTipText;
        return true;
    case 24:
        *role = QPalette::ToolTipBase;
        return true;
    default:
        return false;
    }
}
} // namespace

QColor ToQColor(ColourValue c) {
    QPalette::ColorRole role;
    if (IsSystemColour(c) && PaletteRoleFor(SystemColourIndex(c), &role))
        return QApplication::palette().color(role);
    const ColourValue rgb = ResolveColour(c);
    return QColor(RedOf(rgb), GreenOf(rgb), BlueOf(rgb));
}

ColourValue FromQColor(const QColor& c) {
    return MakeColour(c.red(), c.green(), c.blue());
}

ColourSwatch::ColourSwatch(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::Box);
    setMinimumSize(65, 22);
    setCursor(Qt::PointingHandCursor);
}

void ColourSwatch::setColour(ColourValue c) {
    if (c == value) return;
    value = c;
    update();
    emit colourChanged(c);
}

void ColourSwatch::mousePressEvent(QMouseEvent*) {
    const QColor shown = ToQColor(value);
    QColorDialog dialog(shown, this);
    dialog.setObjectName(QStringLiteral("ColorDialog1"));
    // Our own dialog everywhere: any colour with its custom-colour part, no alpha.
    dialog.setOptions(QColorDialog::DontUseNativeDialog);
    if (dialog.exec() != QDialog::Accepted) return;
    const QColor chosen = dialog.selectedColor();
    // OK on the colour it opened with keeps the value: a system colour stays one.
    if (chosen.rgb() == shown.rgb()) return;
    setColour(FromQColor(chosen));
}

void ColourSwatch::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.fillRect(rect(), ToQColor(value));
    p.end();
    QFrame::paintEvent(event);
}
