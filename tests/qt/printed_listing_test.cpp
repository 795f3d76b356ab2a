// Listings printed in direct mode through the CUPS queue "PDF" and read back:
// pdftotext -layout for where the texts stand, pdftoppm for the shapes and
// pictures. Positions are in millimetres of the A4 sheet (cups-pdf has no
// unprintable border; every page starts with 10 mm margins).

#include "CupsOutput.h"
#include "quillet/Quillet.h"

#include <QFile>
#include <QtTest>

using namespace quillet::testing;

namespace {

constexpr float MarginMm = 10;
constexpr int RenderDpi = 50;

/// Layout columns this many points wide: narrower than any printed
/// character, so pdftotext puts every word at the column of its own x.
constexpr double LayoutPitchPt = 2;
/// A column is 0.7 mm; pdftotext rounds each word's x to one.
constexpr double PlacementSlackMm = 1.0;

/// Where a text of one or more words stands in pdftotext's layout of a page.
struct PlacedText {
    int line = -1;
    double xMm = -1; ///< its first letter, from the sheet's left edge
    bool startsLine = false;
    bool endsLine = false;
};

PlacedText findText(const QStringList &layoutLines, const QString &text)
{
    const QStringList wanted = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    const auto columnToMm = [](qsizetype column) { return column * LayoutPitchPt * 25.4 / 72; };
    static const QRegularExpression wordPattern(QStringLiteral("\\S+"));
    for (int line = 0; line < layoutLines.size(); ++line) {
        QStringList words;
        QList<qsizetype> columns;
        for (const auto &match : wordPattern.globalMatch(layoutLines[line])) {
            words << match.captured();
            columns << match.capturedStart();
        }
        for (qsizetype first = 0; first + wanted.size() <= words.size(); ++first)
            if (words.mid(first, wanted.size()) == wanted)
                return {line, columnToMm(columns[first]), first == 0, first + wanted.size() == words.size()};
    }
    return {};
}

/// Where text stands if its first letter is at xMm, within a column's rounding; else line -1.
PlacedText placedAt(const QStringList &layoutLines, const QString &text, double xMm)
{
    const PlacedText found = findText(layoutLines, text);
    return qAbs(found.xMm - xMm) <= PlacementSlackMm ? found : PlacedText{};
}

QImage redSquare96Dpi(int sidePx)
{
    QImage image(sidePx, sidePx, QImage::Format_RGB32);
    image.fill(Qt::red);
    const int dotsPerMetre = qRound(96 / 0.0254);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    return image;
}

QPoint pixelAt(float xMm, float yMm)
{
    return QPoint(int(xMm * RenderDpi / 25.4f), int(yMm * RenderDpi / 25.4f));
}

/// The darkest grey within one pixel of a point of the sheet given in mm:
/// a thin line may fall on either side of a pixel boundary, and a hairline
/// comes out grey at this resolution.
int darkestNear(const QImage &page, float xMm, float yMm)
{
    const QPoint centre = pixelAt(xMm, yMm);
    int darkest = 255;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
            darkest = qMin(darkest, qGray(page.pixel(centre + QPoint(dx, dy))));
    return darkest;
}

bool isRedAt(const QImage &page, float xMm, float yMm)
{
    const QColor colour = page.pixelColor(pixelAt(xMm, yMm));
    return colour.red() > 200 && colour.green() < 60 && colour.blue() < 60;
}

} // namespace

class PrintedListingTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        if (!hasCupsPdfQueue())
            QSKIP("no CUPS queue named PDF as the default printer");
    }

    void textsStandWhereTheyWerePlaced()
    {
        const QString name = uniqueDocumentName(QStringLiteral("placed-"));
        QCOMPARE(m_control.Init(&m_host, name, QStringLiteral("P")), quint8(0));
        const float usableMm = m_control.mx();
        const float rightMarginMm = MarginMm + usableMm;

        const QString left = QStringLiteral("Margem esquerda"), right = QStringLiteral("margem direita");
        const QString centred = QStringLiteral("Título centrado");
        m_control.L(left, 10, 0);
        m_control.R(right, 10, usableMm);
        m_control.C(centred, 20);

        for (const auto &[leftMm, widthMm] : {std::pair{0, 30}, {30, 50}, {80, 60}, {140, 50}})
            m_control.NewCol(leftMm, widthMm);
        const QString code = QStringLiteral("Código"), amount = QStringLiteral("1.234,56");
        const QString middle = QStringLiteral("No meio");
        const QString longCell = QStringLiteral("Descrição comprida demais para a coluna");
        m_control.LCol(1, code, 0, 30);
        m_control.RCol(2, amount, 0, 30);
        m_control.CCol(3, middle, 30);
        m_control.LCol(4, longCell, 0, 30);
        // The longest prefix that fits the 50 mm column, less its 0.2 mm edge, with "...".
        QString cutCell = longCell;
        while (!cutCell.isEmpty() && m_control.WX(cutCell + QStringLiteral("...")) > 50 - 0.2f)
            cutCell.chop(1);
        cutCell += QStringLiteral("...");

        m_control.L(QStringLiteral("Página PRICOCO de TRICOCO"), 80, 0);

        const float rightStartMm = rightMarginMm - m_control.WX(right);
        const float centredStartMm = MarginMm + (usableMm - m_control.WX(centred)) / 2 + 0.2f;
        const float amountStartMm = MarginMm + 80 - 0.2f - m_control.WX(amount);
        const float middleStartMm = MarginMm + 80 + (60 - m_control.WX(middle)) / 2 + 0.2f;
        m_control.PNP();
        m_control.L(QStringLiteral("Página PRICOCO de TRICOCO"), 10, 0);
        m_control.Show();

        const QString pdf = waitForCupsPdf(name);
        QVERIFY2(!pdf.isEmpty(), qPrintable(m_control.lastOutput()));
        const QStringList pages = pdfLayoutPages(pdf, LayoutPitchPt);
        QCOMPARE(pages.size(), 2);
        const QStringList lines = pages[0].split(QLatin1Char('\n'));
        const QByteArray context = pages[0].toUtf8(); // shown when a check fails

        // Left text starts its line, right text ends it; the centred one stands alone.
        const PlacedText leftText = placedAt(lines, left, MarginMm);
        const PlacedText rightText = placedAt(lines, right, rightStartMm);
        const PlacedText centredText = placedAt(lines, centred, centredStartMm);
        QVERIFY2(leftText.line >= 0 && leftText.startsLine && rightText.endsLine && rightText.line == leftText.line,
                 context.constData());
        QVERIFY2(centredText.startsLine && centredText.endsLine && centredText.line > leftText.line,
                 context.constData());
        // Cells at their column's edges or centre on one line, the long one cut with "...".
        const PlacedText codeText = placedAt(lines, code, MarginMm + 0.2);
        const PlacedText cutText = placedAt(lines, cutCell, MarginMm + 140.2);
        QVERIFY2(codeText.line > centredText.line && cutText.endsLine && cutText.line == codeText.line &&
                     placedAt(lines, amount, amountStartMm).line == codeText.line &&
                     placedAt(lines, middle, middleStartMm).line == codeText.line,
                 context.constData());

        // Direct mode knows the page number but not yet the page count.
        QVERIFY2(placedAt(lines, QStringLiteral("Página 1 de *"), MarginMm).line >= 0, context.constData());
        QVERIFY2(placedAt(pages[1].split(QLatin1Char('\n')), QStringLiteral("Página 2 de *"), MarginMm).line >= 0,
                 qPrintable(pages[1]));
        QFile::remove(pdf);
    }

    void workloadPagesCarryTextsBoxAndPicture()
    {
        const QString name = uniqueDocumentName(QStringLiteral("workload-"));
        QCOMPARE(m_control.Init(&m_host, name, QStringLiteral("P")), quint8(0));
        const float usableMm = m_control.mx();
        // Shapes and picture, in mm from the margins' corner.
        constexpr float titleLineMm = 10;
        constexpr float boxTopMm = 12, boxHeightMm = 236;
        constexpr float pictureTopMm = 258, pictureLeftMm = 150;
        constexpr int pictureSidePx = 60;
        constexpr float pictureSideMm = pictureSidePx * 25.4f / 96;
        m_control.PNewImg(redSquare96Dpi(pictureSidePx));
        constexpr int pages = 3;
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                m_control.PNP();
            m_control.PFont(QStringLiteral("Times New Roman"), 14, true);
            m_control.C(QStringLiteral("Listagem de teste - Página PRICOCO de TRICOCO"), 8);
            m_control.PLine(titleLineMm, 0, titleLineMm, usableMm);
            m_control.PFont(QStringLiteral("Times New Roman"), 10);
            for (const float leftMm : {0, 20, 90, 120, 150})
                m_control.NewCol(leftMm, 30);
            for (int column = 1; column <= 5; ++column)
                m_control.LCol(column, QStringLiteral("Coluna %1").arg(column), 0, 18);
            for (int row = 1; row <= 50; ++row)
                for (int column = 1; column <= 5; ++column)
                    m_control.LCol(column, QStringLiteral("L%1C%2").arg(row).arg(column), 0, 18 + 4.5f * row);
            m_control.PBox(boxTopMm, 0, boxHeightMm, usableMm);
            m_control.L(QStringLiteral("Fim da página PRICOCO"), 256, 0);
            m_control.PDrawImg(1, pictureTopMm, pictureLeftMm);
        }
        m_control.Show();

        const QString pdf = waitForCupsPdf(name);
        QVERIFY2(!pdf.isEmpty(), qPrintable(m_control.lastOutput()));
        const QStringList texts = pdfLayoutPages(pdf);
        QCOMPARE(texts.size(), pages);
        for (int page = 1; page <= pages; ++page) {
            const QString &text = texts[page - 1];
            for (const QString &expected :
                 {QStringLiteral("Listagem de teste - Página %1 de *").arg(page), QStringLiteral("Coluna 1"),
                  QStringLiteral("Coluna 5"), QStringLiteral("L1C1"), QStringLiteral("L25C3"),
                  QStringLiteral("L50C5"), QStringLiteral("Fim da página %1").arg(page)})
                QVERIFY2(text.contains(expected),
                         qPrintable(expected + QStringLiteral(" missing from\n") + text));

            const QImage image = pdfPageImage(pdf, page, RenderDpi);
            QVERIFY(!image.isNull());
            // The line under the title and the box's four sides, sampled away
            // from any text; the sheet outside them stays white.
            const float left = MarginMm, right = MarginMm + usableMm;
            const float top = MarginMm + boxTopMm, bottom = top + boxHeightMm;
            for (const QPointF &onOutline :
                 {QPointF(100, MarginMm + titleLineMm), QPointF(100, top), QPointF(180, top),
                  QPointF(100, bottom), QPointF(180, bottom), QPointF(left, bottom - 3), QPointF(right, 40),
                  QPointF(right, 150), QPointF(right, 250)})
                QVERIFY2(darkestNear(image, onOutline.x(), onOutline.y()) < 200,
                         qPrintable(QStringLiteral("page %1, line at %2, %3 mm")
                                        .arg(page)
                                        .arg(onOutline.x())
                                        .arg(onOutline.y())));
            QCOMPARE(darkestNear(image, right + 4, 150), 255);
            QCOMPARE(darkestNear(image, 100, top - 1), 255); // between the title's line and the box
            // The picture covers its natural 15.9 mm square and nothing more.
            constexpr float inset = 1.5f;
            for (const float dx : {-inset, inset, pictureSideMm - inset, pictureSideMm + inset})
                for (const float dy : {-inset, inset, pictureSideMm - inset, pictureSideMm + inset}) {
                    const float x = MarginMm + pictureLeftMm + dx, y = MarginMm + pictureTopMm + dy;
                    const bool inside = dx > 0 && dx < pictureSideMm && dy > 0 && dy < pictureSideMm;
                    QVERIFY2(isRedAt(image, x, y) == inside,
                             qPrintable(QStringLiteral("page %1, %2, %3 mm").arg(page).arg(x).arg(y)));
                }
        }
        QFile::remove(pdf);
    }

private:
    QWidget m_host;
    quillet::Quillet m_control{&m_host};
};

QTEST_MAIN(PrintedListingTest)
#include "printed_listing_test.moc"
