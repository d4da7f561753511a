#pragma once
// Placing the first window: inside the screen's available area (without task
// bars and panels), centred, whatever the screen's scale.

#include <QRect>
#include <QSize>

class QWidget;

// Where a window frame of size frame goes in available: no larger than the
// area, but never below minimum; centred; a frame that is still larger than the
// area starts at its top-left corner, so that title, menu and tool bar stay on
// the screen.
QRect FitIntoArea(QSize frame, QSize minimum, const QRect& available);

// Fits a shown window (its frame is known then) into its screen's available
// area, centred.
void FitOnScreen(QWidget& window);
