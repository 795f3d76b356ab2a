#pragma once
// The print dialog's own tab for a booklet: the dialog offers several pages a
// sheet but no booklet.

#include <QWidget>

class QCheckBox;

namespace quillet {

class BookletTab : public QWidget {
    Q_OBJECT
public:
    explicit BookletTab(bool booklet, QWidget *parent = nullptr);

    bool booklet() const;

private:
    QCheckBox *m_booklet;
};

} // namespace quillet
