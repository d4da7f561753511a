#pragma once
// Names for screen readers: a caption in front of a control (in the same row of
// a grid, or just before it in a row of controls) becomes the control's label,
// so the control is announced by the caption's text.

class QWidget;

// Makes every caption label under root without a control of its own the buddy
// label of the focusable control that follows it in its layout.
void BuddyCaptionsToControls(QWidget* root);
