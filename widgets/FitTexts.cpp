#include "widgets/FitTexts.h"

#include "widgets/EventHook.h"

#include <QAbstractButton>
#include <QLabel>
#include <QVariant>

#include <algorithm>
#include <cmath>

namespace quillet {

namespace {

/// Where a place and the form were laid out, kept the first time they are widened.
const char *const LaidOutGeometry = "quilletLaidOutGeometry";
const char *const LaidOutWidth = "quilletLaidOutWidth";

QRect laidOut(QWidget &place)
{
    const QVariant kept = place.property(LaidOutGeometry);
    if (kept.isValid())
        return kept.toRect();
    place.setProperty(LaidOutGeometry, place.geometry());
    return place.geometry();
}

int stretched(int length, double stretch)
{
    return static_cast<int>(std::ceil(length * stretch));
}

void widen(QWidget &form)
{
    if (!form.property(LaidOutWidth).isValid())
        form.setProperty(LaidOutWidth, form.width());
    const QList<QWidget *> places = form.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    double stretch = 1;
    for (QWidget *place : places) {
        const QRect at = laidOut(*place);
        if (!place->isHidden() && at.width() > 0)
            stretch = std::max(stretch, static_cast<double>(widthForText(*place)) / at.width());
    }
    for (QWidget *place : places) {
        const QRect at = laidOut(*place);
        // A caption taller than its row grows about its middle: the rows lie further apart than that.
        const int height = std::max(at.height(), widthForText(*place) > 0 ? place->sizeHint().height() : 0);
        place->setGeometry(stretched(at.x(), stretch), at.y() - (height - at.height()) / 2,
                           stretched(at.width(), stretch), height);
    }
    form.setFixedWidth(stretched(form.property(LaidOutWidth).toInt(), stretch));
}

} // namespace

int widthForText(const QWidget &widget)
{
    if (const auto *label = qobject_cast<const QLabel *>(&widget))
        return label->text().isEmpty() || label->wordWrap() ? 0 : label->sizeHint().width();
    if (const auto *button = qobject_cast<const QAbstractButton *>(&widget))
        return button->text().isEmpty() ? 0 : button->sizeHint().width();
    return 0;
}

void widenToFitTexts(QWidget &form)
{
    onEvent(form, QEvent::Show, [&form] { widen(form); });
}

} // namespace quillet
