#pragma once
// The dotted grey background of the desk and the dialogs: silver with a white
// dot on every second pixel of every second row, tiled from the window's
// top-left corner.

class QPixmap;
class QWidget;

namespace quillet {

/// The 8 x 8 tile of the pattern.
const QPixmap &patternTile();

/// Fills the target's whole client area with the pattern; call it from the
/// target's paint event.
void PaintPattern(QWidget &target);

/// Gives a form the silver background colour and paints the pattern under its
/// own drawing on every paint.
void installPatternBackground(QWidget &form);

} // namespace quillet
