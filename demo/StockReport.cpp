#include "StockReport.h"

#include <quillet/Quillet.h>

#include <QImage>
#include <QLocale>
#include <array>

namespace {

constexpr int ItemCount = 10000;
constexpr float TopMarginMm = 15, LeftMarginMm = 20, BottomMarginMm = 15, RightMarginMm = 15;
const QString BodyFont = QStringLiteral("Times New Roman");
constexpr int Grey = 0xC0C0C0;
constexpr int SolidFill = 0, NoFill = 1;

const std::array<const char *, 12> Products = {"Caneta tinteiro, preta",  "Cartuchos de tinta, azul (6)",
                                               "Caderno A5, pautado",     "Caderno A4, quadriculado",
                                               "Envelopes C5 (50)",       "Papel de impressão A4 (500)",
                                               "Agrafador de secretária", "Agrafos 24/6 (1000)",
                                               "Lápis HB (12)",           "Borracha, branca",
                                               "Régua 30 cm, aço",        "Bolsa de documentos A4"};

const QString Introduction = QStringLiteral(
    "Esta listagem mostra o inventário do armazém de papelaria no fim do mês. Cada linha indica o código do "
    "artigo, a sua descrição, a quantidade contada, o preço unitário e o valor em stock. As descrições "
    "demasiado longas para a sua coluna são cortadas com reticências, e o número de cada página e o total "
    "de páginas são preenchidos quando a página é desenhada, no ecrã ou no papel.");

/// Columns of the table, from the left margin: code, description, quantity, price, value.
struct Column {
    float leftMm;
    float widthMm;
};
constexpr std::array<Column, 5> Columns = {{{0, 22}, {22, 62}, {100, 25}, {125, 25}, {150, 25}}};
constexpr int CodeColumn = 1, DescriptionColumn = 2, QuantityColumn = 3, PriceColumn = 4, ValueColumn = 5;

int quantityOf(int item)
{
    return 1 + (item * 37) % 240;
}
double unitPriceOf(int item)
{
    return 0.35 + (item * 53 % 1900) / 100.0;
}
/// Amounts as the invoice writes them: decimal comma, thousands apart.
QString money(double value)
{
    return QLocale(QLocale::Portuguese, QLocale::Portugal).toString(value, 'f', 2);
}

} // namespace

void StockReport::compose()
{
    m_listing.PNewImg(QImage(QStringLiteral(":/samples/logo.png"))); // picture 1, shared with the letter
    startPage();
    introduction();
    columnHeader();
    for (int item = 1; item <= ItemCount; ++item) {
        // Nothing breaks a page by itself: keep a line free for the total.
        if (!fits(2)) {
            endPage();
            m_listing.PNP();
            startPage();
            columnHeader();
        }
        itemRow(item);
    }
    totalRow();
    endPage();
}

void StockReport::startPage()
{
    // Every new page starts from the defaults (10 mm margins, Times 12, no columns).
    m_listing.PMargins(TopMarginMm, LeftMarginMm, BottomMarginMm, RightMarginMm);
    m_listing.PDrawImg(1, 0, 0);
    m_listing.PFont(BodyFont, 16, true);
    m_listing.PNL();
    m_listing.C(QStringLiteral("Inventário do armazém"));
    m_listing.PFont(BodyFont, 10, false, true);
    m_listing.PNL();
    m_listing.C(QStringLiteral("Listagem de teste - Página PRICOCO de TRICOCO"));
    m_listing.PNL(3);
    m_listing.PLine(m_listing.CurY(), 0, m_listing.CurY(), m_listing.mx(), 2);
    m_listing.PNL(3);
    for (const Column &column : Columns)
        m_listing.NewCol(column.leftMm, column.widthMm);
}

void StockReport::introduction()
{
    m_listing.PFont(BodyFont, 11);
    QString rest = Introduction;
    while (!rest.isEmpty()) {
        m_listing.PNL();
        rest = m_listing.M(rest);
    }
    m_listing.PNL(4);
}

void StockReport::columnHeader()
{
    m_listing.PFont(BodyFont, 11, true, false, false);
    m_listing.PFill(Grey, SolidFill);
    m_listing.PNL();
    m_listing.LCol(CodeColumn, QStringLiteral("Código"));
    m_listing.LCol(DescriptionColumn, QStringLiteral("Descrição"));
    m_listing.RCol(QuantityColumn, QStringLiteral("Quantidade"));
    m_listing.RCol(PriceColumn, QStringLiteral("Preço"));
    m_listing.RCol(ValueColumn, QStringLiteral("Valor"));
    m_listing.PFill(0, NoFill);
    m_listing.PNL(1);
    m_listing.PFont(BodyFont, 10);
}

void StockReport::itemRow(int item)
{
    const int quantity = quantityOf(item);
    const double price = unitPriceOf(item);
    const double value = quantity * price;
    m_totalValue += value;

    m_listing.PNL();
    m_listing.LCol(CodeColumn, QStringLiteral("S-%1").arg(item, 4, 10, QLatin1Char('0')));
    // Long descriptions are cut to their column with "...".
    m_listing.LCol(DescriptionColumn,
                   QString::fromUtf8(Products[item % Products.size()]) +
                       (item % 7 == 0 ? QStringLiteral(", edição especial de aniversário") : QString()));
    m_listing.RCol(QuantityColumn, QString::number(quantity));
    m_listing.RCol(PriceColumn, money(price));
    m_listing.RCol(ValueColumn, money(value));
}

void StockReport::totalRow()
{
    m_listing.PFont(BodyFont, 11, true);
    // A line of its own below the last row, a little apart: the box takes its height.
    m_listing.PNL(2);
    m_listing.PNL();
    const float top = m_listing.CurY() - m_listing.WY(QString());
    m_listing.PBox(top - 1, Columns[DescriptionColumn - 1].leftMm, m_listing.WY(QString()) + 2,
                   m_listing.mx() - Columns[DescriptionColumn - 1].leftMm, 1);
    m_listing.LCol(DescriptionColumn, QStringLiteral("Valor total de %1 artigos").arg(ItemCount));
    m_listing.RCol(ValueColumn, money(m_totalValue));
}

void StockReport::endPage()
{
    // The page number and count are filled in when the page is drawn.
    m_listing.PFont(BodyFont, 9, false, true);
    m_listing.C(QStringLiteral("Página PRICOCO de TRICOCO"), m_listing.MY());
}

bool StockReport::fits(int lines)
{
    const float footerMm = 6;
    return m_listing.CurY() + lines * m_listing.WY(QString()) <= m_listing.MY() - footerMm;
}
