#include "print/PageRangeDialog.h"

#include "base/ErrorsIgnored.h"
#include "print/PageList.h"
#include "print/PrinterDialog.h"
#include "widgets/AccessibleText.h"
#include "widgets/FitTexts.h"
#include "widgets/PaintPattern.h"
#include "widgets/SelectAllText.h"
#include "widgets/Twips.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>

namespace quillet {

namespace {

constexpr QRect PanelRect = twipsRect(120, 120, 3960, 1800);
constexpr QRect AllPagesRect = twipsRect(240, 240, 2400, 255);
constexpr QRect SomePagesRect = twipsRect(240, 720, 900, 255);
constexpr QRect FromRect = twipsRect(1200, 675, 735, 315);
constexpr QRect UntilRect = twipsRect(2055, 720, 375, 255);
constexpr QRect ToRect = twipsRect(2520, 675, 735, 315);
// The page list sits in a row of its own under the range.
constexpr QRect PagesLabelRect = twipsRect(240, 1200, 900, 255);
constexpr QRect PagesRect = twipsRect(1200, 1155, 2055, 315);
constexpr QRect PagesProblemRect = twipsRect(240, 1560, 3720, 255);
constexpr QRect AcceptRect = twipsRect(840, 2100, 1215, 435);
constexpr QRect CancelRect = twipsRect(2280, 2100, 1215, 435);
constexpr QSize DialogTwips(4200, 2760);

QString pageListProblem(PageListError error)
{
    switch (error) {
    case PageListError::EmptyItem:
        return PageRangeDialog::tr("Falta uma página entre as vírgulas.");
    case PageListError::Reversed:
        return PageRangeDialog::tr("Um intervalo vai da menor à maior página.");
    default:
        return PageRangeDialog::tr("Escreva as páginas assim: 1-3,7,10-");
    }
}

} // namespace

int PageRangeDialog::leadingNumber(const QString &text)
{
    qint64 value = 0;
    for (const QChar c : text) {
        if (!c.isDigit() || c.digitValue() < 0)
            break;
        value = std::min<qint64>(value * 10 + c.digitValue(), 32767);
    }
    return static_cast<int>(value);
}

PageRangeDialog::PageRangeDialog(int numPages, PrinterDialog &cmd, QWidget *owner)
    : QDialog(owner), m_cmd(cmd), m_highestPage(numPages)
{
    setObjectName(QStringLiteral("wSELPAG"));
    setWindowTitle(tr("Páginas a Imprimir..."));
    setFixedSize(twipsToPixels(DialogTwips.width()), twipsToPixels(DialogTwips.height()));
    auto *panel = placed(new QFrame(this), "SSPanel1", PanelRect);
    panel->setFrameShape(QFrame::StyledPanel);
    m_allPages = placed(new QRadioButton(tr("Todas as Páginas"), this), "oALLPAG", AllPagesRect);
    m_somePages = placed(new QRadioButton(tr("Desde"), this), "oSELPAG", SomePagesRect);
    m_from = placed(new QLineEdit(QStringLiteral("1"), this), "eFrom", FromRect);
    placed(new QLabel(tr("até"), this), "Label1", UntilRect);
    m_to = placed(new QLineEdit(QString::number(numPages), this), "eTo", ToRect);
    m_listedPages = placed(new QRadioButton(tr("Páginas"), this), "oLISTPAG", PagesLabelRect);
    m_pages = placed(new QLineEdit(this), "ePages", PagesRect);
    m_pages->setPlaceholderText(tr("ex.: 1-3,7,10-"));
    m_pagesProblem = placed(new QLabel(this), "LPagesProblem", PagesProblemRect);
    auto *accept = placed(new QPushButton(tr("Aceitar"), this), "Command1", AcceptRect);
    auto *cancel = placed(new QPushButton(tr("Cancelar"), this), "Command2", CancelRect);
    m_allPages->setChecked(true);

    // Pasted text is held to digits too; typed keys are filtered with a beep.
    auto *digitsOnly = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), this);
    for (QLineEdit *box : {m_from, m_to}) {
        box->setValidator(digitsOnly);
        box->installEventFilter(this);
        selectAllOnFocus(*box);
    }
    m_pages->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9,\\- \\t]*")), this));
    m_pages->installEventFilter(this);
    selectAllOnFocus(*m_pages);
    installPatternBackground(*this);
    widenToFitTexts(*this);
    connect(m_from, &QLineEdit::editingFinished, this, guarded(this, &PageRangeDialog::fromLeft));
    connect(m_to, &QLineEdit::editingFinished, this, guarded(this, &PageRangeDialog::toLeft));
    connect(m_pages, &QLineEdit::textEdited, m_pagesProblem, &QLabel::clear);
    connect(accept, &QPushButton::clicked, this, guarded(this, &PageRangeDialog::acceptRange));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    describeForAssistiveTools();
}

void PageRangeDialog::describeForAssistiveTools()
{
    auto *untilCaption = findChild<QLabel *>(QStringLiteral("Label1"));
    untilCaption->setBuddy(m_to);
    setAccessibleTexts({
        {this, {}, tr("Escolhe as páginas da listagem a imprimir")},
        {m_allPages, {}, tr("Imprime todas as páginas")},
        {m_somePages, {}, tr("Imprime as páginas de um intervalo")},
        {m_from, tr("Desde a página"), tr("Primeira página do intervalo")},
        {untilCaption, {}, tr("Legenda da última página do intervalo")},
        {m_to, tr("Até à página"), tr("Última página do intervalo")},
        {m_listedPages, {}, tr("Imprime as páginas de uma lista")},
        {m_pages, tr("Páginas"), tr("Páginas e intervalos separados por vírgulas, por exemplo 1-3,7,10-")},
        {m_pagesProblem, tr("Problema da lista de páginas"), tr("O que está errado na lista de páginas")},
        {findChild<QPushButton *>(QStringLiteral("Command1")), {}, tr("Imprime as páginas escolhidas")},
        {findChild<QPushButton *>(QStringLiteral("Command2")), {}, tr("Fecha sem imprimir")},
    });
}

bool PageRangeDialog::eventFilter(QObject *watched, QEvent *event)
{
    return ignoringErrors(false, [&] {
        auto *box = qobject_cast<QLineEdit *>(watched);
        if (!box)
            return QDialog::eventFilter(watched, event);
        if (event->type() == QEvent::FocusIn) {
            (box == m_pages ? m_listedPages : m_somePages)->setChecked(true);
        } else if (event->type() == QEvent::KeyPress && box != m_pages) {
            const QString text = static_cast<QKeyEvent *>(event)->text();
            if (!text.isEmpty()) {
                const char16_t code = text.front().unicode();
                if (code == 13 || code == 10 || (code >= 32 && !(code >= u'0' && code <= u'9'))) {
                    QApplication::beep();
                    return true;
                }
            }
        }
        return QDialog::eventFilter(watched, event);
    });
}

void PageRangeDialog::fromLeft()
{
    keepInRange(*m_from, *m_to);
}

void PageRangeDialog::toLeft()
{
    keepInRange(*m_to, *m_from);
}

void PageRangeDialog::keepInRange(QLineEdit &box, const QLineEdit &other)
{
    if (m_highestPage < leadingNumber(box.text()))
        box.setText(QString::number(m_highestPage));
    if (leadingNumber(box.text()) < 1)
        box.setText(QStringLiteral("1"));
    if (leadingNumber(m_to->text()) < leadingNumber(m_from->text()))
        box.setText(other.text());
}

void PageRangeDialog::acceptRange()
{
    if (m_allPages->isChecked()) {
        accept();
        return;
    }
    if (m_somePages->isChecked()) {
        m_cmd.setAllowedRange(leadingNumber(m_from->text()), leadingNumber(m_to->text()));
    } else {
        const PageList pages = PageList::parse(m_pages->text().toStdString(), m_highestPage);
        if (!pages.isValid()) {
            m_pagesProblem->setText(pageListProblem(pages.error()));
            QApplication::beep();
            m_pages->setFocus();
            return;
        }
        m_cmd.setPageList(pages);
    }
    accept();
}

} // namespace quillet
