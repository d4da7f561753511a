#pragma once
// Placing the first window: inside the screen's available area (without task
// bars and panels), centred, whatever the screen's scale; at its first start
// it takes about two thirds of that area, but never less than its controls need.

#include <QRect>
#include <QSize>

class QWidget;

// Where a window frame of size frame goes in available: no larger than the
// area, but never below minimum; centred; a frame that is still larger than the
// area starts at its top-left corner, so that title, menu and tool bar stay on
// the screen.
QRect FitIntoArea(QSize frame, QSize minimum, const QRect& available);

// The frame of a first window on a screen with that available area: two
// thirds of its width and height, and at least needed.
QSize FirstWindowFrame(QSize available, QSize needed);

// Places a shown window that has no placement of its own yet (its frame is
// known then): FirstWindowFrame of its screen's available area, needed being
// what its controls need, fitted into that area and centred.
void PlaceFirstWindow(QWidget& window, QSize needed);
