#pragma once
// ePAGE, the box that takes the page label's place when the user clicks the
// label (or presses Ctrl+G): a page number typed and Enter go there; Escape
// or leaving the box gives the label back.

#include <QLineEdit>

namespace quillet {

class GoToPageBox : public QLineEdit {
    Q_OBJECT
public:
    /// Covers label, hidden until open() is called.
    explicit GoToPageBox(QWidget &label);

    /// Shows the box over the label with the current page, selected, and
    /// takes the focus.
    void open(int currentPage);

signals:
    /// Enter was pressed over a number; page is as typed, not yet clamped.
    void pageEntered(int page);
    /// The box gave its place back to the label, with Enter or Escape.
    void closed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void giveBackLabel();

    QWidget &m_label;
};

} // namespace quillet
