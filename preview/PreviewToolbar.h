#pragma once
// PTop, the preview's toolbar: the close, set-up, print, find, PDF and
// thumbnail buttons from the left, a rule under them, and room right of them
// for the page and zoom panels, which the window places. The buttons the
// listing switched off are hidden and leave no gap.

#include <QFrame>
#include <QList>

class QToolButton;

namespace quillet {

struct ListingState;

class PreviewToolbar : public QFrame {
    Q_OBJECT
public:
    /// Shows the buttons that the listing's switches leave on.
    PreviewToolbar(const ListingState &listing, QWidget *parent);

    /// Spans width across the top of the window, the rule at its bottom.
    void stretchTo(int width);
    /// Where the row of buttons ends: the panels stand right of it.
    int buttonsRight() const;
    /// The buttons in the order Tab walks them.
    QList<QWidget *> tabStops() const;

    QToolButton &printButton() const { return *m_printButton; }
    QToolButton &findButton() const { return *m_findButton; }

signals:
    void closeClicked();
    void setupClicked();
    void printClicked();
    void findClicked();
    void pdfClicked();
    void thumbnailsToggled(bool shown);

private:
    void hideSwitchedOffButtons(const ListingState &listing);
    /// Names and describes the buttons for screen readers: they show icons only.
    void describeForAssistiveTools(bool pageRangeOnly);

    QFrame *m_rule;
    QToolButton *m_closeButton;
    QToolButton *m_setupButton;
    QToolButton *m_printButton;
    QToolButton *m_findButton;
    QToolButton *m_pdfButton;
    QToolButton *m_thumbButton;
};

} // namespace quillet
