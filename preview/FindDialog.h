#pragma once
// wFIND, the find dialog: the text to look for, the case option and the page
// to start from. Accepted by "Aceitar", rejected by "Cancelar" or closing.

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace quillet {

class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(QWidget *owner);

    /// Fills the dialog in: the last text, whether a next page exists to start
    /// from, and the case option.
    void prepare(const QString &text, bool hasNextPage, bool ignoreCase);

    QString text() const;
    bool ignoreCase() const;
    bool fromNextPage() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    QLineEdit *m_text;
    QCheckBox *m_ignoreCase;
    QRadioButton *m_fromFirst;
    QRadioButton *m_fromNext;
};

} // namespace quillet
