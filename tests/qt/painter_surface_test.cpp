// The QPainter surfaces: text measured from design metrics whatever the
// device, fonts resolved like the printer's, and shapes and pictures as pixels.

#include "platform/ImagePicture.h"
#include "platform/ImageSurface.h"
#include "platform/QtPrinterDevice.h"

#include <QTest>

#include <cmath>
#include <limits>

using namespace quillet;

namespace {

constexpr int Red = 0x0000ff; // 0xBBGGRR
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

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

/// Columns holding non-white pixels, as [first, last]; (-1, -1) when blank.
std::pair<int, int> inkColumns(const QImage &image)
{
    int first = -1, last = -1;
    for (int x = 0; x < image.width(); ++x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                first = first < 0 ? x : first;
                last = x;
                break;
            }
    return {first, last};
}

} // namespace

class PainterSurfaceTest : public QObject {
    Q_OBJECT
private slots:
    void widthIsTheDesignWidthAtEveryZoomAndOnPaper()
    {
        ImageSurface reference;
        showA4(reference, 1);
        reference.setFont(font("Liberation Serif", 12));
        // From the font's design units; hinted metrics would give 99.5536 mm here.
        QCOMPARE_LT(std::abs(reference.textWidth("The quick brown fox jumps over the lazy dog 0123456789") -
                             99.5826f),
                    0.001f);
        const std::string line =
            "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor "
            "incididunt ut labore.";
        QtPrinterDevice printer;
        printer.surface().setFont(font("Times New Roman", 12));
        const float paperWidth = printer.surface().textWidth(line);
        QVERIFY(paperWidth > 150 && paperWidth < 250);
        for (double zoom : {0.1, 1.0, 2.0}) {
            ImageSurface page;
            showA4(page, zoom);
            page.setFont(font("Times New Roman", float(12 * zoom))); // the preview scales font sizes
            QCOMPARE_LT(std::abs(page.textWidth(line) - paperWidth), 0.01f);
            QCOMPARE_LT(std::abs(page.fontAscent() - printer.surface().fontAscent()), 0.001f);
        }
    }

    void fontsResolveLikeThePrinters_data()
    {
        QTest::addColumn<QString>("asked");
        QTest::addColumn<QString>("twin");
        QTest::addColumn<QString>("nameAfter");
        QTest::newRow("Arial") << "Arial"
                               << "Liberation Sans"
                               << "Arial";
        QTest::newRow("Courier New") << "Courier New"
                                     << "Liberation Mono"
                                     << "Courier New";
        QTest::newRow("unknown family") << "No Such Family 42"
                                        << "Liberation Serif"
                                        << "Liberation Serif";
    }

    void fontsResolveLikeThePrinters()
    {
        QFETCH(QString, asked);
        QFETCH(QString, twin);
        QFETCH(QString, nameAfter);
        const std::string sample = "Wide Mmm and narrow iii 0123";
        ImageSurface page, reference;
        page.setFont(font(asked.toUtf8().constData(), 10));
        reference.setFont(font(twin.toUtf8().constData(), 10));
        QCOMPARE(QString::fromStdString(page.font().name), nameAfter);
        QVERIFY(page.textWidth(sample) > 0);
        QCOMPARE(page.textWidth(sample), reference.textWidth(sample));
        QCOMPARE(page.fontAscent(), reference.fontAscent());
    }

    void printAdvancesAndInksTheMeasuredWidth_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("zoom");
        // Qt rounds a font's pixel size: a 9.3 pt font at zoom 1 would be 5 % off.
        QTest::newRow("latin at zoom 1") << "HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH" << 1.0;
        QTest::newRow("latin at zoom 0.37") << "HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH" << 0.37;
        QTest::newRow("greek, cyrillic and accents") << "ΣΣΣΣΣΣΣΣΣΣЖЖЖЖЖЖЖЖЖЖe\u0301e\u0301ЖЖЖЖЖЖЖЖH" << 1.0;
    }

    void printAdvancesAndInksTheMeasuredWidth()
    {
        QFETCH(QString, text);
        QFETCH(double, zoom);
        ImageSurface page;
        showA4(page, zoom);
        page.setFont(font("Times New Roman", float(9.3 * zoom)));
        const float width = page.textWidth(text.toStdString());
        page.setCurrentX(20);
        page.setCurrentY(30);
        page.print(text.toStdString());
        QCOMPARE_LT(std::abs(page.currentX() - (20 + width)), 0.0001f);
        const auto [first, last] = inkColumns(page.image());
        const double pixelsPerMm = page.image().width() / 210.0;
        // Side bearings are a small fraction of a millimetre.
        QCOMPARE_LT(std::abs(first / pixelsPerMm - 20), 0.5 + 1 / pixelsPerMm);
        QCOMPARE_LT(std::abs((last + 1) / pixelsPerMm - (20 + width)), 0.01 * width + 2 / pixelsPerMm);
    }

    void boxesFillAndHatchInMillimetres()
    {
        ImageSurface page;
        showA4(page, 1);
        page.pen().fillStyle = 0;
        page.pen().fillColor = Red;
        page.line(LineKind::BoxRelative, 80, 60, -40, -20); // corner plus size: (40, 40)-(80, 60)
        QCOMPARE(pixelAtMm(page, 60, 50), QColor(Qt::red));
        QCOMPARE(pixelAtMm(page, 40, 50), QColor(Qt::black)); // the outline
        QCOMPARE(pixelAtMm(page, 85, 50), QColor(Qt::white));
        SurfaceFont opaque = font("Courier New", 12);
        opaque.transparent = false;
        page.setFont(opaque);
        page.setCurrentX(50);
        page.setCurrentY(45);
        page.print("  "); // an opaque text paints its cell white
        QCOMPARE(pixelAtMm(page, 51, 46), QColor(Qt::white));

        // One pattern pixel is 1/96 inch at every zoom and on paper: horizontal
        // hatch lines 2.1 mm apart, so 9 or 10 cross 20 mm.
        for (double zoom : {1.0, 2.0}) {
            ImageSurface hatched;
            showA4(hatched, zoom);
            hatched.pen().fillStyle = 2;
            hatched.pen().fillColor = Red;
            hatched.line(LineKind::Box, 10, 10, 50, 60);
            const QImage image = hatched.image();
            int lines = 0;
            for (int y = int(20 / 297.0 * image.height()); y < int(40 / 297.0 * image.height()); ++y)
                lines += image.pixelColor(image.width() / 7, y) == Qt::red &&
                         image.pixelColor(image.width() / 7, y - 1) != Qt::red;
            QVERIFY2(lines >= 9 && lines <= 10, qPrintable(QString::number(lines)));
        }
    }

    void badCoordinatesAndSizesDrawNothing()
    {
        for (float bad : {NaN, Inf, -Inf, 1e6f}) {
            ImageSurface page;
            showA4(page, 1);
            page.pen().fillStyle = 0;
            page.pen().drawStyle = 1; // dashes along a huge line would take forever
            for (LineKind kind : {LineKind::Line, LineKind::Box, LineKind::BoxRelative}) {
                page.line(kind, 10, 10, bad, 20);
                page.line(kind, bad, 10, 20, 20);
            }
            page.circle(bad, 10, 5);
            page.circle(10, 10, bad);
            page.circle(50, 50, -5);
            QImage image(10, 10, QImage::Format_RGB32);
            image.fill(Qt::black);
            page.paintPicture(ImagePicture(image), 10, bad);
            page.paintPicture(ImagePicture(image), 10, 10, bad, 5);
            page.setCurrentX(bad);
            page.print("text");
            QVERIFY2(inkColumns(page.image()).first < 0, qPrintable(QString::number(bad)));
        }
        ImageSurface page;
        page.setPixelSize(QSize(100000, 100000));
        QVERIFY(page.image().isNull());
        page.line(LineKind::Line, 0, 0, 10, 10);
        page.setPixelSize(QSize(-5, 10), NaN);
        QVERIFY(page.image().isNull());
        page.print("still measured");
        QVERIFY(page.currentX() > 0);
    }
};

QTEST_MAIN(PainterSurfaceTest)
#include "painter_surface_test.moc"
