#pragma once
// wFIND, the find dialog: the text to look for, the case and accent options
// and the page to start from. Accepted by "Aceitar", rejected by "Cancelar" or closing.

#include "find/TextFolding.h"

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
    /// from, and the case and accent options.
    void prepare(const QString &text, bool hasNextPage, FindOptions options);

    QString text() const;
    FindOptions options() const;
    bool fromNextPage() const;

    /// Shows the hit counter: "n de m", with an ellipsis while counting goes
    /// on; "0 de m" when no hit of this text is on view.
    void showHits(int ordinal, int hits, bool finished);

signals:
    /// The text or an option changed: the hits need counting again.
    void searchChanged(const QString &text, FindOptions options);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void describeForAssistiveTools();

    QLineEdit *m_text;
    QCheckBox *m_ignoreCase;
    QCheckBox *m_ignoreAccents;
    QRadioButton *m_fromFirst;
    QRadioButton *m_fromNext;
    QLabel *m_hits;
};

} // namespace quillet
