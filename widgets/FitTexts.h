#pragma once
// Forms laid out in fixed places were measured for one font and one language.
// A longer translation or a wider font would clip a caption: the form then
// grows across as a whole, every place in the same proportion, so that the
// arrangement stays and every caption fits.

class QWidget;

namespace quillet {

/// Each time form is shown, widens its places and itself as far as its
/// widest-needing label or button asks, and makes a caption's place as tall
/// as its text; never smaller than laid out.
void widenToFitTexts(QWidget &form);

/// The width a label's or a button's text needs; 0 for other widgets and
/// empty or wrapped texts.
int widthForText(const QWidget &widget);

} // namespace quillet
