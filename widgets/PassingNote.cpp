#include "widgets/PassingNote.h"

#include <QToolTip>
#include <QWidget>

namespace quillet {

namespace {

/// How long the note stays shown.
constexpr int NoteMs = 10000;

} // namespace

void showPassingNote(QWidget *owner, const QString &text)
{
    if (owner)
        QToolTip::showText(owner->mapToGlobal(QPoint(owner->width() / 2, owner->height() / 3)), text, owner,
                           {}, NoteMs);
}

} // namespace quillet
