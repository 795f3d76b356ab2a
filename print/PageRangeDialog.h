#pragma once
// The page-range dialog: all pages, or pages "Desde" .. "até" for the next print,
// or a list of pages typed as in a print dialog ("1-3,7,10-"). The choice is
// kept in the printer dialog: the range as its allowed range, a list as its
// page list.

#include <QDialog>

class QLabel;
class QLineEdit;
class QRadioButton;

namespace quillet {

class PrinterDialog;

class PageRangeDialog : public QDialog {
    Q_OBJECT
public:
    PageRangeDialog(int numPages, PrinterDialog &cmd, QWidget *owner = nullptr);

    /// The number a page box's text begins with; 0 when it begins with none.
    static int leadingNumber(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void fromLeft();
    void toLeft();
    /// On leaving a page box: its page between 1 and the highest page, and
    /// not past the other box's page (then it takes the other's text).
    void keepInRange(QLineEdit &box, const QLineEdit &other);
    void acceptRange();
    void describeForAssistiveTools();

    PrinterDialog &m_cmd;
    int m_highestPage;
    QRadioButton *m_allPages;
    QRadioButton *m_somePages;
    QRadioButton *m_listedPages;
    QLineEdit *m_from;
    QLineEdit *m_to;
    QLineEdit *m_pages;
    QLabel *m_pagesProblem;
};

} // namespace quillet
