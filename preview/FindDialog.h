#pragma once
// wFIND, the find dialog: the text to look for, the case option and the page
// to start from. Accepted by "Aceitar", rejected by "Cancelar" or closing.

#include <QDialog>

class QCheckBox;
class QLabel;
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

    /// Shows the hit counter: "n de m", with an ellipsis while counting goes
    /// on; "0 de m" when no hit of this text is on view.
    void showHits(int ordinal, int hits, bool finished);

signals:
    /// The text or the case option changed: the hits need counting again.
    void searchChanged(const QString &text, bool ignoreCase);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void describeForAssistiveTools();

    QLineEdit *m_text;
    QCheckBox *m_ignoreCase;
    QRadioButton *m_fromFirst;
    QRadioButton *m_fromNext;
    QLabel *m_hits;
};

} // namespace quillet
