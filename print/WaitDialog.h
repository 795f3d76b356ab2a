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
    void setPage(int page);

private:
    void cancelClicked();

    QLabel *m_name;
    QLabel *m_page;
    QPushButton *m_cancel;
};

} // namespace quillet
