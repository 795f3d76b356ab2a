#pragma once
// What a screen reader says of a control: its name and a description of what
// it does.

#include <QString>
#include <QWidget>

#include <initializer_list>

namespace quillet {

struct AccessibleText {
    QWidget *widget;
    QString name; ///< empty: the control's own text (a label's, a button's) names it
    QString description;
};

inline void setAccessibleTexts(std::initializer_list<AccessibleText> texts)
{
    for (const AccessibleText &text : texts) {
        if (!text.name.isEmpty())
            text.widget->setAccessibleName(text.name);
        text.widget->setAccessibleDescription(text.description);
    }
}

} // namespace quillet
