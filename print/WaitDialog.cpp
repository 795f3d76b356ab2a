#include "print/WaitDialog.h"

#include "base/ErrorsIgnored.h"
#include "widgets/AccessibleText.h"
#include "widgets/FitTexts.h"
#include "widgets/PaintPattern.h"
#include "widgets/Translation.h"
#include "widgets/Twips.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>

namespace quillet {

namespace {
// Geometry in twips.
constexpr int DialogWidth = 4800;
constexpr int DialogHeight = 1200;
constexpr int CancelExtraHeight = 855;
constexpr int LabelLeft = 120;
constexpr int LabelWidth = 4560;
constexpr int LabelHeight = 300;
constexpr int NameTop = 120;
constexpr int PageTop = 600;
constexpr int PageTopWithoutName = 360;
constexpr int CancelTop = 1200;
constexpr int CancelWidth = 1215;
constexpr int CancelHeight = 495;
constexpr int SmallNamePoints = 8;
} // namespace

WaitDialog::WaitDialog(QWidget *owner)
    : QDialog(owner), m_name(new QLabel(this)), m_page(new QLabel(this)), m_cancel(new QPushButton(this))
{
    setObjectName(QStringLiteral("wWAIT"));
    m_name->setObjectName(QStringLiteral("LBName"));
    m_page->setObjectName(QStringLiteral("LBPag"));
    m_cancel->setObjectName(QStringLiteral("bCAN"));
    for (QLabel *label : {m_name, m_page})
        label->setAlignment(Qt::AlignCenter);
    m_name->setGeometry(twipsRect(LabelLeft, NameTop, LabelWidth, LabelHeight));
    m_page->setGeometry(twipsRect(LabelLeft, PageTop, LabelWidth, LabelHeight));
    m_cancel->setGeometry(twipsRect((DialogWidth - CancelWidth) / 2, CancelTop, CancelWidth, CancelHeight));
    m_cancel->hide();
    setFixedSize(twipsToPixels(DialogWidth), twipsToPixels(DialogHeight));
    installPatternBackground(*this);
    widenToFitTexts(*this);
    connect(m_cancel, &QPushButton::clicked, this, guarded(this, &WaitDialog::cancelClicked));
    translated(*this, [this] {
        m_cancel->setText(tr("Cancelar"));
        // The labels' texts, the listing's name and its page, name them.
        setAccessibleTexts({
            {this, {}, tr("Mostra o andamento da listagem")},
            {m_name, {}, tr("Nome da listagem")},
            {m_page, {}, tr("Página a que a listagem vai")},
            {m_cancel, {}, tr("Interrompe a listagem")},
        });
    });
}

void WaitDialog::showForComposing(const QString &listName, bool showCancel)
{
    fillIn(listName, showCancel, tr("Compondo a Listagem..."));
    setPage(1);
    show(); // a new window comes up in front
    repaint();
}

void WaitDialog::prepareForPrinting(const QString &listName, bool showCancel, const QString &caption)
{
    m_printing = true;
    fillIn(listName, showCancel, caption);
    if (listName.isEmpty())
        setPage(1);
}

void WaitDialog::fillIn(const QString &listName, bool showCancel, const QString &caption)
{
    if (!listName.isEmpty()) {
        if (QFontMetrics(m_name->font()).horizontalAdvance(listName) > m_name->width()) {
            QFont small = m_name->font();
            small.setPointSize(SmallNamePoints);
            m_name->setFont(small);
        }
        m_name->setText(listName);
    } else {
        m_page->move(m_page->x(), twipsToPixels(PageTopWithoutName));
    }
    if (showCancel) {
        m_cancel->show();
        setFixedSize(width(), twipsToPixels(DialogHeight + CancelExtraHeight));
    }
    setWindowTitle(caption);
}

void WaitDialog::setPage(int page)
{
    setProgressText(tr("Página %1").arg(page));
}

void WaitDialog::setProgressText(const QString &text)
{
    m_page->setText(text);
}

void WaitDialog::cancelClicked()
{
    if (m_printing)
        m_printCancelled = true;
    else
        emit composingCancelled();
}

} // namespace quillet
