#pragma once
// Text boxes whose whole text is selected when they get the focus, so that
// typing replaces it.

class QLineEdit;

namespace quillet {

/// Selects the whole text; an empty box is left alone.
void SelectAllText(QLineEdit &box);

/// Makes the box select its whole text each time it gets the focus.
void selectAllOnFocus(QLineEdit &box);

} // namespace quillet
