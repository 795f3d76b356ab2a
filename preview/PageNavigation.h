#pragma once
// PPag, the page panel of the preview's toolbar: first, previous, next and
// last page, and the page label "Página n de N", which opens a box to type a
// page number in when clicked (or on Enter, or Ctrl+G). It reads the page on
// view from the listing and asks for another one by pageRequested.

#include <QFrame>
#include <QList>

class QPushButton;

namespace quillet {

class GoToPageBox;
class PageLabel;
struct ListingState;

class PageNavigation : public QFrame {
    Q_OBJECT
public:
    PageNavigation(const ListingState &listing, QWidget *parent);

    /// Writes the page label and enables the buttons that lead somewhere from
    /// the page on view.
    void showCurrentPage();
    /// Shows the box for a page number over the label.
    void openGoToPage();
    /// The buttons, the label and its box, in the order Tab walks them.
    QList<QWidget *> tabStops() const;

signals:
    /// A page numbered from 1, to show when the listing has it.
    void pageRequested(int page);
    /// The page label was written: what a screen reader says of the page.
    void labelWritten(const QString &text);
    /// The go-to-page box closed with a key: the keyboard goes back to the page.
    void doneWithKeys();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void writePageLabel();
    void describeForAssistiveTools();

    const ListingState &m_listing;
    QPushButton *m_firstPage;
    QPushButton *m_previousPage;
    QPushButton *m_nextPage;
    QPushButton *m_lastPage;
    PageLabel *m_pageLabel;
    GoToPageBox *m_goToPage;
};

} // namespace quillet
