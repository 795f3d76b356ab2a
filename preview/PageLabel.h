#pragma once
// LPag, "Página n de N" in the page panel. A focusable QLabel lays its text
// out as a rich-text document on every change, which showed in the time to
// the first page; this draws one plain line. Its text is also its name for
// assistive tools.

#include <QFrame>

namespace quillet {

class PageLabel : public QFrame {
    Q_OBJECT
    Q_PROPERTY(QString text READ text WRITE setText)
public:
    explicit PageLabel(QWidget *parent);

    QString text() const { return m_text; }
    void setText(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
};

} // namespace quillet
