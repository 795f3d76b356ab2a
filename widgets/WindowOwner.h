#pragma once

class QWidget;

namespace quillet {

/// Keeps a top-level window in front of its owner without making it a child:
/// a child would be disabled together with the host's window while composing.
void setWindowOwner(QWidget *window, QWidget *owner);

} // namespace quillet
