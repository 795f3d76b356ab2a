// The page is the same on screen and on paper: the preview's page at 100 %
// and the PDF of the same page rasterised at 96 dpi put every text, rule and
// box edge within a pixel of each other, for every paper and orientation.

#include "CupsOutput.h"
#include "PreviewDriver.h"
#include "control/Listing.h"
#include "control/Runtime.h"
#include "platform/ImageSurface.h"

#include <QTemporaryDir>

using namespace preview_driver;
using namespace quillet::testing;

namespace {

constexpr double PixelsPerMm = 96 / 25.4;
constexpr int Margin = 10; // the page defaults' margins, millimetres
/// One drawing per band of the usable height, so each is found alone.
constexpr int Bands = 6;

/// The bounds of the ink (darker than mid-grey) inside area; empty when none.
QRect inkBounds(const QImage &image, const QRect &area)
{
    QRect bounds;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
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
        QTest::newRow("custom 100x150 landscape") << QVariant(256) << "L" << QSize(150, 100);
    }

    void samePageOnScreenAndPaper()
    {
        QFETCH(QVariant, paper);
        QFETCH(QString, orientation);
        QFETCH(QSize, sheetMm);
        QCOMPARE(m_control.Init(nullptr, QStringLiteral("Folha"), QStringLiteral("S"), orientation, paper, true,
                                true, true, true, false, true, false, true, 100, 150),
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
        QVERIFY(!paperImage.isNull() && !screenImage.isNull());
        QVERIFY2(std::abs(paperImage.width() - screenImage.width()) <= 1 &&
                     std::abs(paperImage.height() - screenImage.height()) <= 1,
                 qPrintable(QStringLiteral("paper %1x%2 px, screen %3x%4 px")
                                .arg(paperImage.width())
                                .arg(paperImage.height())
                                .arg(screenImage.width())
                                .arg(screenImage.height())));

        for (int i = 0; i < Bands; ++i) {
            const bool text = i < 3; // of a text only its left edge is the same on both
            const QRect area(0, qRound((Margin + i * band - 2) * PixelsPerMm), paperImage.width(),
                             qRound((band - 1) * PixelsPerMm));
            const QRect onPaper = inkBounds(paperImage, area), onScreen = inkBounds(screenImage, area);
            const QString where = QStringLiteral("band %1: paper (%2,%3)-(%4,%5), screen (%6,%7)-(%8,%9)")
                                      .arg(i)
                                      .arg(onPaper.left())
                                      .arg(onPaper.top())
                                      .arg(onPaper.right())
                                      .arg(onPaper.bottom())
                                      .arg(onScreen.left())
                                      .arg(onScreen.top())
                                      .arg(onScreen.right())
                                      .arg(onScreen.bottom());
            QVERIFY2(!onPaper.isEmpty() && !onScreen.isEmpty(), qPrintable(where));
            const QMargins apart(onPaper.left() - onScreen.left(), onPaper.top() - onScreen.top(),
                                 onPaper.right() - onScreen.right(), onPaper.bottom() - onScreen.bottom());
            const bool agree = std::abs(apart.left()) <= 1 &&
                               (text || (std::abs(apart.top()) <= 1 && std::abs(apart.right()) <= 1 &&
                                         std::abs(apart.bottom()) <= 1));
            QVERIFY2(agree, qPrintable(where));
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
        QCOMPARE(m_control.Init(nullptr, QStringLiteral("Fundo"), QStringLiteral("S"), QStringLiteral("P"),
                                QStringLiteral("A4"), true, true, true, true, false, true, false, true),
                 quint8(0));
        m_control.PFill(Yellow, fillStyle);
        m_control.PFont(QString(), 24, false, false, false);
        m_control.PAlign(-2);
        m_control.L(QStringLiteral("Mm"), 20, 20);
        const QSizeF textMm(m_control.WX(QStringLiteral("Mm")), m_control.WY(QStringLiteral("Mm")));
        m_control.PBox(60, 20, 20, 20); // a box keeps the hatch
        const QImage page = previewPage(m_control);
        const auto whitePixels = [&page](QPointF cornerMm, QSizeF sizeMm) {
            const QRect area = QRectF((cornerMm + QPointF(Margin, Margin)) * PixelsPerMm, sizeMm * PixelsPerMm)
                                   .toRect()
                                   .adjusted(2, 2, -2, -2);
            int count = 0;
            for (int y = area.top(); y <= area.bottom(); ++y)
                for (int x = area.left(); x <= area.right(); ++x)
                    count += page.pixel(x, y) == qRgb(255, 255, 255);
            return count;
        };
        QCOMPARE(whitePixels({20, 20}, textMm), 0);
        QCOMPARE(whitePixels({20, 60}, {20, 20}) > 0, fillStyle != 0);
    }

private:
    quillet::Quillet m_control;
    QTemporaryDir m_dir;
};

QTEST_MAIN(ScreenAndPaperTest)
#include "screen_and_paper_test.moc"
