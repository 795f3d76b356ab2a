#pragma once
// The small modeless dialog that shows which page is being composed (or
// printed) and offers Cancel.

#include <QDialog>

class QLabel;
class QPushButton;

namespace quillet {

class WaitDialog : public QDialog {
    Q_OBJECT
public:
    explicit WaitDialog(QWidget *owner = nullptr);

    /// Fills in the listing's name and the Cancel button for a listing being
    /// composed, and shows the dialog without blocking.
    void showForComposing(const QString &listName, bool showCancel);
    /// Prepares the dialog to show the progress of a print or of another
    /// replay of the pages, captioned caption.
    void prepareForPrinting(const QString &listName, bool showCancel, const QString &caption);
    void setPage(int page);
    void setProgressText(const QString &text);

    /// Cancel was pressed while printing.
    bool printCancelled() const { return m_printCancelled; }

signals:
    /// Cancel was pressed while the listing was being composed.
    void composingCancelled();

private:
    void fillIn(const QString &listName, bool showCancel, const QString &caption);
    void cancelClicked();

    QLabel *m_name;
    QLabel *m_page;
    QPushButton *m_cancel;
    bool m_printing = false;
    bool m_printCancelled = false;
};

} // namespace quillet
