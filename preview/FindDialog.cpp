#include "preview/FindDialog.h"

#include "base/ErrorsIgnored.h"
#include "widgets/AccessibleText.h"
#include "widgets/FitTexts.h"
#include "widgets/PaintPattern.h"
#include "widgets/SelectAllText.h"
#include "widgets/Twips.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quillet {

namespace {

constexpr int MaxTextChars = 50;
// Geometry in twips.
constexpr int DialogWidth = 4200;
// The rows below the options, one row lower since the accent option came.
constexpr int Lowered = 300;
constexpr int DialogHeight = 2280 + Lowered;
constexpr int ButtonTop = 1680 + Lowered;
constexpr int ButtonWidth = 1215;
constexpr int ButtonHeight = 405;
constexpr int AcceptLeft = 900;
constexpr int CancelLeft = 2400;

} // namespace

FindDialog::FindDialog(QWidget *owner)
    : QDialog(owner), m_text(placed(new QLineEdit(this), "TB1", twipsRect(900, 180, 3075, 315))),
      m_ignoreCase(placed(new QCheckBox(tr("Ignorar Maiúsculas / Minúsculas"), this), "MM",
                          twipsRect(900, 600, 2715, 255))),
      m_ignoreAccents(
          placed(new QCheckBox(tr("Ignorar Acentos"), this), "AC", twipsRect(900, 600 + Lowered, 2715, 255))),
      m_fromFirst(
          placed(new QRadioButton(tr("1º Página"), this), "FP", twipsRect(900, 1020 + Lowered, 1575, 195))),
      m_fromNext(placed(new QRadioButton(tr("Página Seguinte"), this), "CP",
                        twipsRect(900, 1260 + Lowered, 1575, 195))),
      m_hits(placed(new QLabel(this), "LHits", twipsRect(2580, 1140 + Lowered, 1440, 255)))
{
    setObjectName(QStringLiteral("wFIND"));
    setWindowTitle(tr("Pesquisar..."));
    setFixedSize(twipsToPixels(DialogWidth), twipsToPixels(DialogHeight));
    installPatternBackground(*this);
    widenToFitTexts(*this);

    placed(new QLabel(tr("Procurar:"), this), "Label1", twipsRect(120, 240, 675, 195));
    placed(new QLabel(tr("Desde:"), this), "Label1", twipsRect(120, 1020 + Lowered, 675, 195));
    // The option texts are taller than their design rows at today's font sizes.
    for (QRadioButton *option : {m_fromFirst, m_fromNext})
        option->resize(option->width(), option->sizeHint().height());
    m_fromNext->move(m_fromNext->x(), m_fromFirst->geometry().bottom() + 1);

    auto *accept = placed(new QPushButton(tr("Aceitar"), this), "Command1",
                          twipsRect(AcceptLeft, ButtonTop, ButtonWidth, ButtonHeight));
    auto *cancel = placed(new QPushButton(tr("Cancelar"), this), "Command2",
                          twipsRect(CancelLeft, ButtonTop, ButtonWidth, ButtonHeight));
    accept->setDefault(true);
    connect(accept, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    m_text->setMaxLength(MaxTextChars);
    selectAllOnFocus(*m_text);
    // A new text searches from the first page.
    connect(m_text, &QLineEdit::textChanged, m_fromFirst, [this] { m_fromFirst->setChecked(true); });

    m_hits->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const auto changed = [this] {
        m_hits->clear();
        emit searchChanged(text(), options());
    };
    connect(m_text, &QLineEdit::textChanged, this, changed);
    for (QCheckBox *option : {m_ignoreCase, m_ignoreAccents})
        connect(option, &QCheckBox::toggled, this, changed);
    describeForAssistiveTools();
}

void FindDialog::describeForAssistiveTools()
{
    // The two captions share their name; they come in the order they were made.
    const QList<QLabel *> captions = findChildren<QLabel *>(QStringLiteral("Label1"));
    QLabel &textCaption = *captions.at(0);
    QLabel &startCaption = *captions.at(1);
    textCaption.setBuddy(m_text);
    setAccessibleTexts({
        {this, {}, tr("Procura um texto nas páginas da listagem")},
        {&textCaption, {}, tr("Legenda da caixa do texto a procurar")},
        {m_text, tr("Procurar"), tr("Texto a procurar, até 50 caracteres")},
        {m_ignoreCase, {}, tr("Encontra o texto esteja escrito em maiúsculas ou em minúsculas")},
        {m_ignoreAccents, {}, tr("Encontra o texto esteja escrito com acentos ou sem eles")},
        {&startCaption, {}, tr("Legenda da página onde a pesquisa começa")},
        {m_fromFirst, {}, tr("Começa a pesquisa na primeira página")},
        {m_fromNext, {}, tr("Começa a pesquisa na página seguinte à que está em vista")},
        {m_hits, tr("Ocorrências"), tr("A ocorrência em vista e quantas há")},
        {findChild<QPushButton *>(QStringLiteral("Command1")), {}, tr("Procura o texto")},
        {findChild<QPushButton *>(QStringLiteral("Command2")), {}, tr("Fecha sem procurar")},
    });
}

void FindDialog::showHits(int ordinal, int hits, bool finished)
{
    m_hits->setText(tr("%1 de %2%3").arg(ordinal).arg(hits).arg(finished ? QString() : QStringLiteral("…")));
}

void FindDialog::prepare(const QString &text, bool hasNextPage, FindOptions options)
{
    m_text->setText(text);
    m_fromNext->setChecked(true);
    if (!hasNextPage) {
        m_fromNext->setEnabled(false);
        m_fromFirst->setEnabled(true);
        m_fromFirst->setChecked(true);
    }
    m_ignoreCase->setChecked(options.ignoreCase);
    m_ignoreAccents->setChecked(options.ignoreAccents);
}

QString FindDialog::text() const
{
    return m_text->text();
}

FindOptions FindDialog::options() const
{
    return {m_ignoreCase->isChecked(), m_ignoreAccents->isChecked()};
}

bool FindDialog::fromNextPage() const
{
    return m_fromNext->isChecked();
}

void FindDialog::showEvent(QShowEvent *event)
{
    ignoringErrors([&] {
        QDialog::showEvent(event);
        m_text->setFocus(Qt::OtherFocusReason);
    });
}

} // namespace quillet
