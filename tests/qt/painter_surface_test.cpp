// The QPainter surfaces: text measured the same in millimetres whatever the
// device, fonts resolved like the printer's, shapes drawn in millimetres.

#include "platform/ImagePicture.h"
#include "platform/ImageSurface.h"
#include "platform/QtPrinterDevice.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace quillet;

namespace {

/// An A4 preview page as the preview window makes it for a zoom: 96 dpi at 100 %.
void showA4(ImageSurface &page, double zoom)
{
    page.setPixelSize(QSize(int(11906 * zoom) / 15, int(16838 * zoom) / 15));
    page.setScale(0, 0, 210, 297);
}

SurfaceFont font(const char *name, float size)
{
    SurfaceFont f;
    f.name = name;
    f.size = size;
    return f;
}

QColor pixelAtMm(const ImageSurface &page, double xMm, double yMm)
{
    const QImage &image = page.image();
    return image.pixelColor(int(xMm / 210 * image.width()), int(yMm / 297 * image.height()));
}

} // namespace

class PainterSurfaceTest : public QObject {
    Q_OBJECT
private slots:
    void metricsAreTheSameMillimetresAtEveryZoomAndOnPaper()
    {
        const std::string line = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod.";
        QtPrinterDevice printer;
        printer.surface().setFont(font("Times New Roman", 12));
        const float paperWidth = printer.surface().textWidth(line);
        QVERIFY(paperWidth > 100 && paperWidth < 200);
        for (double zoom : {0.1, 1.0, 2.0}) {
            ImageSurface page;
            showA4(page, zoom);
            page.setFont(font("Times New Roman", float(12 * zoom))); // the preview scales font sizes
            QCOMPARE_LT(std::abs(page.textWidth(line) - paperWidth), 0.01f);
            QCOMPARE_LT(std::abs(page.fontAscent() - printer.surface().fontAscent()), 0.001f);
        }
    }

    void unknownFamilyFallsBackToLiberationSerif()
    {
        const std::string sample = "Wide Mmm and narrow iii 0123";
        ImageSurface page, reference;
        page.setFont(font("No Such Family 42", 10));
        reference.setFont(font("Liberation Serif", 10));
        QCOMPARE(QString::fromStdString(page.font().name), QStringLiteral("Liberation Serif"));
        QCOMPARE(page.textWidth(sample), reference.textWidth(sample));
    }

    void boxFillsInMillimetres()
    {
        ImageSurface page;
        showA4(page, 1);
        page.pen().fillStyle = 0;
        page.pen().fillColor = 0x0000ff;                    // 0xBBGGRR
        page.line(LineKind::BoxRelative, 80, 60, -40, -20); // corner plus size: (40, 40)-(80, 60)
        QCOMPARE(pixelAtMm(page, 60, 50), QColor(Qt::red));
        QCOMPARE(pixelAtMm(page, 40, 50), QColor(Qt::black)); // the outline
        QCOMPARE(pixelAtMm(page, 85, 50), QColor(Qt::white));
    }

    void nanDrawsNothing()
    {
        constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
        ImageSurface page;
        showA4(page, 1);
        page.pen().fillStyle = 0;
        page.line(LineKind::Line, 10, 10, NaN, 20);
        page.line(LineKind::Box, NaN, 10, 20, 20);
        page.circle(10, 10, NaN);
        QImage black(10, 10, QImage::Format_RGB32);
        black.fill(Qt::black);
        page.paintPicture(ImagePicture(black), 10, NaN);
        page.setCurrentX(NaN);
        page.print("text");
        QImage blank(page.image().size(), page.image().format());
        blank.fill(Qt::white);
        QCOMPARE(page.image(), blank);
    }
};

QTEST_MAIN(PainterSurfaceTest)
#include "painter_surface_test.moc"
