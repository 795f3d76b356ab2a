#pragma once
// A note over a window that goes by itself and takes no keys from it: how a
// job that went as asked is told.

class QString;
class QWidget;

namespace quillet {

/// Shows text over owner for a few seconds; nothing without an owner.
void showPassingNote(QWidget *owner, const QString &text);

} // namespace quillet
