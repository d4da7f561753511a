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

void FitOnScreen(QWidget& window) {
    const QScreen* screen = window.screen();
    if (!screen) return;
    // The frame adds the title bar and borders to the window's own size.
    const QSize decorations = window.frameGeometry().size() - window.size();
    const QRect fitted =
        FitIntoArea(window.frameGeometry().size(), window.minimumSize() + decorations,
                    screen->availableGeometry());
    window.resize(fitted.size() - decorations);
    window.move(fitted.topLeft());
}
