#include "print/BookletTab.h"

#include <QCheckBox>
#include <QLabel>
#include <QVBoxLayout>

namespace quillet {

BookletTab::BookletTab(bool booklet, QWidget *parent)
    : QWidget(parent), m_booklet(new QCheckBox(tr("Imprimir como folheto"), this))
{
    setWindowTitle(tr("Folheto")); // the tab's title
    setObjectName(QStringLiteral("tabBooklet"));
    m_booklet->setObjectName(QStringLiteral("cbBooklet"));
    m_booklet->setChecked(booklet);
    auto *note = new QLabel(tr("Duas páginas de cada lado da folha, pela ordem em que se lêem depois de "
                               "dobradas. Imprima frente e verso, virando pela margem curta."),
                            this);
    note->setWordWrap(true);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_booklet);
    layout->addWidget(note);
    layout->addStretch();
}

bool BookletTab::booklet() const
{
    return m_booklet->isChecked();
}

} // namespace quillet
