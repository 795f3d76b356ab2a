// The page is the same on screen and on paper: the preview's page at 100 %
// and the PDF of the same page rasterised at 96 dpi put every text, rule and
// box edge within a pixel of each other, for every paper and orientation.

#include "CupsOutput.h"
#include "PreviewDriver.h"
#include "control/Listing.h"
#include "control/Runtime.h"
#include "platform/ImageSurface.h"

#include <QTemporaryDir>

#include <functional>

using namespace preview_driver;
using namespace quillet::testing;

namespace {

constexpr double PixelsPerMm = 96 / 25.4;
constexpr int Margin = 10; // the page defaults' margins, millimetres
/// One drawing per band of the usable height, so each is found alone.
constexpr int Bands = 6;

/// The bounds of the pixels inside area that match; empty when none does.
QRect boundsOf(const QImage &image, const QRect &area, const std::function<bool(QRgb)> &matches)
{
    QRect bounds;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (matches(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

bool isInk(QRgb pixel)
{
    return qGray(pixel) < 128;
}

/// A rectangle in millimetres from the margins' corner, in pixels at 96 dpi.
QRect pixelsOf(const QRectF &mm)
{
    return QRectF((mm.topLeft() + QPointF(Margin, Margin)) * PixelsPerMm, mm.size() * PixelsPerMm).toRect();
}

/// The page of the open listing as the preview draws it at 100 %.
QImage previewPage(quillet::Quillet &control)
{
    QImage page;
    showAndCheck(control, [&page](PreviewWindow &) {
        page = quillet::Runtime::instance().listing().pageSurface().image().copy();
    });
    return page;
}

} // namespace

class ScreenAndPaperTest : public QObject {
    Q_OBJECT

private slots:
    void samePageOnScreenAndPaper_data()
    {
        QTest::addColumn<QVariant>("paper");
        QTest::addColumn<QString>("orientation");
        QTest::addColumn<QSize>("sheetMm"); // as the page is seen, turned when landscape
        QTest::newRow("A4 portrait") << QVariant("A4") << "P" << QSize(210, 297);
        QTest::newRow("A4 landscape") << QVariant("A4") << "L" << QSize(297, 210);
        QTest::newRow("Letter portrait") << QVariant("LETTER") << "P" << QSize(216, 279);
        QTest::newRow("Letter landscape") << QVariant("LETTER") << "L" << QSize(279, 216);
        QTest::newRow("A3 portrait") << QVariant("A3") << "P" << QSize(297, 420);
        QTest::newRow("A3 landscape") << QVariant("A3") << "L" << QSize(420, 297);
        QTest::newRow("custom 100x150 portrait") << QVariant(256) << "P" << QSize(100, 150);
        // A custom size is the page as printed, whatever the orientation.
        QTest::newRow("custom 100x150 landscape") << QVariant(256) << "L" << QSize(100, 150);
    }

    void samePageOnScreenAndPaper()
    {
        QFETCH(QVariant, paper);
        QFETCH(QString, orientation);
        QFETCH(QSize, sheetMm);
        QCOMPARE(m_control.Init(nullptr, QStringLiteral("Folha"), QStringLiteral("S"), orientation, paper,
                                true, true, true, true, false, true, false, true, 100, 150),
                 quint8(0));
        QCOMPARE(QSizeF(m_control.PW(), m_control.PH()), QSizeF(sheetMm));

        const float width = m_control.mx(), band = m_control.MY() / Bands;
        m_control.PAlign(-2); // a text's top on its line, as a box's
        m_control.L(QStringLiteral("Esquerda"), 0 * band, 0);
        m_control.C(QStringLiteral("Centro"), 1 * band);
        m_control.R(QStringLiteral("Direita"), 2 * band, width);
        m_control.PLine(3 * band + 3, width * 0.2f, 3 * band + 3, width * 0.8f);
        m_control.PLine(4 * band, width * 0.5f, 4 * band + 6, width * 0.5f);
        m_control.PBox(5 * band, width * 0.25f, 6, width * 0.5f);
        const QString pdf = m_dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
        QVERIFY(m_control.SavePDF(pdf));
        const QImage paperImage = pdfPageImage(pdf, 1, 96);
        const QImage screenImage = previewPage(m_control);
        const auto near = [](QPoint apart) { return std::abs(apart.x()) <= 1 && std::abs(apart.y()) <= 1; };
        QVERIFY(near(
            QPoint(paperImage.width() - screenImage.width(), paperImage.height() - screenImage.height())));
        // Where each shape was asked for: its ink starts and ends there on both.
        const QRectF shapesMm[] = {{width * 0.2f, 3 * band + 3, width * 0.6f, 0},
                                   {width * 0.5f, 4 * band, 0, 6},
                                   {width * 0.25f, 5 * band, width * 0.5f, 6}};
        const auto pixel = [](QPointF mm) {
            return ((mm + QPointF(Margin, Margin)) * PixelsPerMm).toPoint();
        };
        for (int i = 0; i < Bands; ++i) {
            const QRect area = pixelsOf(QRectF(-Margin, i * band - 2, sheetMm.width(), band - 1));
            const QRect onPaper = boundsOf(paperImage, area, isInk);
            QRect onScreen = boundsOf(screenImage, area, isInk);
            QString where;
            QDebug(&where) << "band" << i << "paper" << onPaper << "screen" << onScreen;
            if (i < 3) // of a text only its left edge is the same on both
                onScreen.setCoords(onScreen.left(), onPaper.top(), onPaper.right(), onPaper.bottom());
            QVERIFY2(!onPaper.isEmpty() && near(onPaper.topLeft() - onScreen.topLeft()) &&
                         near(onPaper.bottomRight() - onScreen.bottomRight()),
                     qPrintable(where));
            // A text starts, or with R ends, where it was asked, within its side bearing.
            if (i == 0 || i == 2)
                QVERIFY2(std::abs((i == 0 ? onPaper.left() : onPaper.right()) -
                                  pixel({i * width / 2, 0}).x()) <= 2,
                         qPrintable(where));
            if (i >= 3)
                QVERIFY2(near(onPaper.topLeft() - pixel(shapesMm[i - 3].topLeft())) &&
                             near(onPaper.bottomRight() - pixel(shapesMm[i - 3].bottomRight())),
                         qPrintable(where));
        }
    }

    void opaqueTextSitsOnSolidFill_data()
    {
        QTest::addColumn<int>("fillStyle");
        QTest::newRow("solid") << 0;
        QTest::newRow("horizontal hatch") << 2;
        QTest::newRow("diagonal cross-hatch") << 7;
    }

    void opaqueTextSitsOnSolidFill()
    {
        QFETCH(int, fillStyle);
        constexpr int Yellow = 0x00FFFF; // 0xBBGGRR
        composeSheets(m_control, QStringLiteral("Fundo"), 0);
        m_control.PFill(Yellow, fillStyle);
        m_control.PFont(QString(), 24, false, false, false);
        m_control.PAlign(-2);
        m_control.L(QStringLiteral("Mm"), 20, 20);
        const QSizeF textMm(m_control.WX(QStringLiteral("Mm")), m_control.WY(QStringLiteral("Mm")));
        m_control.PBox(60, 20, 20, 20); // a box keeps the hatch
        const QImage page = previewPage(m_control);
        const auto hasWhite = [&page](const QRectF &mm) {
            const auto isWhite = [](QRgb pixel) { return pixel == qRgb(255, 255, 255); };
            return !boundsOf(page, pixelsOf(mm).adjusted(2, 2, -2, -2), isWhite).isEmpty();
        };
        QVERIFY(!hasWhite(QRectF(QPointF(20, 20), textMm))); // no hatch under the text
        QCOMPARE(hasWhite(QRectF(20, 60, 20, 20)), fillStyle != 0);
    }

private:
    quillet::Quillet m_control;
    QTemporaryDir m_dir;
};

QTEST_MAIN(ScreenAndPaperTest)
#include "screen_and_paper_test.moc"
