#pragma once
// The component's own texts in the language of QLocale(). Its source texts are
// Portuguese, so a Portuguese or C locale loads no translation; any other
// language loads the translation compiled into the library, if there is one.

#include <functional>

class QWidget;

namespace quillet {

/// Sets a window's texts now, after picking the translation for QLocale(), and
/// again on each change of language that reaches widget: a host that installs
/// a translator (after QLocale::setDefault) gets the component in its language.
void translated(QWidget &widget, std::function<void()> setTexts);

} // namespace quillet
