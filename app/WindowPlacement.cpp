#include "WindowPlacement.h"

#include <QScreen>
#include <QWidget>

QRect FitIntoArea(QSize frame, QSize minimum, const QRect& available) {
    QRect fitted(QPoint(0, 0), frame.boundedTo(available.size()).expandedTo(minimum));
    fitted.moveCenter(available.center());
    if (fitted.left() < available.left()) fitted.moveLeft(available.left());
    if (fitted.top() < available.top()) fitted.moveTop(available.top());
    return fitted;
}

QSize FirstWindowFrame(QSize available, QSize needed) {
    return QSize(available.width() * 2 / 3, available.height() * 2 / 3).expandedTo(needed);
}

void PlaceFirstWindow(QWidget& window, QSize needed) {
    const QScreen* screen = window.screen();
    if (!screen) return;
    // The frame adds the title bar and borders to the window's own size.
    const QSize decorations = window.frameGeometry().size() - window.size();
    const QRect available = screen->availableGeometry();
    const QRect fitted =
        FitIntoArea(FirstWindowFrame(available.size(), needed + decorations),
                    window.minimumSize() + decorations, available);
    window.resize(fitted.size() - decorations);
    window.move(fitted.topLeft());
}
