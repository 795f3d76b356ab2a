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

constexpr int A4WidthTwips = 11906;
constexpr int A4HeightTwips = 16838;
constexpr int Red = 0x0000ff; // 0xBBGGRR
constexpr int White = 0xffffff;
constexpr float NaN = std::numeric_limits<float>::quiet_NaN();
constexpr float Inf = std::numeric_limits<float>::infinity();

/// An A4 preview page as the preview window makes it for a zoom.
void showA4(ImageSurface &page, double zoom)
{
    page.setPixelSize(QSize(int(A4WidthTwips * zoom) / 15, int(A4HeightTwips * zoom) / 15));
    page.setScale(0, 0, 210, 297);
}

SurfaceFont font(const char *name, float size, bool transparent = true)
{
    SurfaceFont f;
    f.name = name;
    f.size = size;
    f.transparent = transparent;
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
                if (first < 0)
                    first = x;
                last = x;
                break;
            }
    return {first, last};
}

bool isBlank(const QImage &image)
{
    return inkColumns(image).first < 0;
}

} // namespace

class PainterSurfaceTest : public QObject {
    Q_OBJECT
private slots:
    void referenceSentenceHasDesignWidth();
    void widthIsTheSameAtEveryZoomAndOnPaper();
    void fontsResolve_data();
    void fontsResolve();
    void setFontKeepsSizeAndFamily();
    void lineHeightIsAscentPlusDescent();
    void prefixWidthsMatchTextWidth_data();
    void prefixWidthsMatchTextWidth();
    void textSkipsControlsAndReplacesBadUtf8();
    void printAdvancesAndInksTheMeasuredWidth_data();
    void printAdvancesAndInksTheMeasuredWidth();
    void opaqueTextPaintsItsCellWhite();
    void boxFill_data();
    void boxFill();
    void hatchSpacingIsMillimetres();
    void xorPenInvertsAndRestores();
    void penWidthAndStyle_data();
    void penWidthAndStyle();
    void circleIsFilled();
    void pictureNaturalSize_data();
    void pictureNaturalSize();
    void badCoordinatesDrawNothing_data();
    void badCoordinatesDrawNothing();
    void imageCopyDoesNotChangeWithLaterDrawing();
    void absurdImageSizeLeavesNothingToDrawOn();
};

void PainterSurfaceTest::referenceSentenceHasDesignWidth()
{
    ImageSurface page;
    showA4(page, 1);
    page.setFont(font("Liberation Serif", 12));
    // From the font's design units; hinted metrics would give 99.5536 mm here.
    QCOMPARE_LT(std::abs(page.textWidth("The quick brown fox jumps over the lazy dog 0123456789") - 99.5826f),
                0.001f);
}

void PainterSurfaceTest::widthIsTheSameAtEveryZoomAndOnPaper()
{
    const std::string line = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod tempor "
                             "incididunt ut labore.";
    QCOMPARE(line.size(), std::size_t(100));
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

void PainterSurfaceTest::fontsResolve_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("twin");
    QTest::addColumn<QString>("nameAfter");
    QTest::newRow("Times New Roman") << "Times New Roman"
                                     << "Liberation Serif"
                                     << "Times New Roman";
    QTest::newRow("Arial") << "Arial"
                           << "Liberation Sans"
                           << "Arial";
    QTest::newRow("Courier New") << "Courier New"
                                 << "Liberation Mono"
                                 << "Courier New";
    QTest::newRow("unknown family") << "No Such Family 42"
                                    << "Liberation Serif"
                                    << "Liberation Serif";
    QTest::newRow("blank family") << "   "
                                  << "Liberation Serif"
                                  << "Liberation Serif";
}

void PainterSurfaceTest::fontsResolve()
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

void PainterSurfaceTest::setFontKeepsSizeAndFamily()
{
    ImageSurface page;
    page.setFont(font("Arial", 20));
    const float arialWidth = page.textWidth("Sample");
    page.setFont(font("", 0)); // neither a name nor a size
    QCOMPARE(page.font().name, std::string("Arial"));
    QCOMPARE(page.font().size, 20.0f);
    QCOMPARE(page.textWidth("Sample"), arialWidth);
    page.setFont(font("Arial", NaN));
    QCOMPARE(page.font().size, 20.0f);
    SurfaceFont bold = font("Arial", 20);
    bold.bold = true;
    page.setFont(bold);
    QVERIFY(page.textWidth("Sample") > arialWidth);
}

void PainterSurfaceTest::lineHeightIsAscentPlusDescent()
{
    ImageSurface page;
    page.setFont(font("Times New Roman", 12));
    // Liberation Serif: ascent 1825 and descent 443 of 2048 units per em.
    const float emMm = 12 * 25.4f / 72;
    QCOMPARE_LT(std::abs(page.fontAscent() - emMm * 1825 / 2048), 0.0001f);
    QCOMPARE_LT(std::abs(page.fontDescent() - emMm * 443 / 2048), 0.0001f);
    QCOMPARE(page.textHeight(""), page.fontAscent() + page.fontDescent());
    QCOMPARE(page.textHeight("any text"), page.textHeight(""));
}

void PainterSurfaceTest::prefixWidthsMatchTextWidth_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<float>("stopAfterMm");
    QTest::addColumn<int>("expectedCount");
    QTest::newRow("latin, summed in one pass") << QByteArray("Total: 1.234,56 AV") << Inf << 18;
    QTest::newRow("a tab takes no room") << QByteArray("a\tb") << Inf << 3;
    QTest::newRow("two-byte characters") << QByteArray("a\xc3\xa7\xc3\xa3o") << Inf << 4;
    QTest::newRow("combining accent, shaped") << QByteArray("e\xcc\x81x") << Inf << 3;
    QTest::newRow("malformed bytes count one each") << QByteArray("x\xff\xfey") << Inf << 4;
    QTest::newRow("stops after the first too wide") << QByteArray("WWWWWWWWWW") << 10.0f << 3; // 12 mm
}

void PainterSurfaceTest::prefixWidthsMatchTextWidth()
{
    QFETCH(QByteArray, text);
    QFETCH(float, stopAfterMm);
    QFETCH(int, expectedCount);
    ImageSurface page;
    page.setFont(font("Times New Roman", 12)); // "W" is 4 mm wide
    const std::vector<float> widths = page.prefixWidths(text.toStdString(), stopAfterMm);
    QCOMPARE(int(widths.size()), expectedCount);
    const std::vector<float> generic = page.Surface::prefixWidths(text.toStdString(), stopAfterMm);
    QCOMPARE(widths, generic); // the base measures each prefix with textWidth
}

void PainterSurfaceTest::textSkipsControlsAndReplacesBadUtf8()
{
    ImageSurface page;
    showA4(page, 1);
    QCOMPARE(page.textWidth("a\tb\r\n"), page.textWidth("ab"));
    QCOMPARE(page.textWidth(""), 0.0f);
    const float replacement = page.textWidth("\xef\xbf\xbd"); // U+FFFD, drawn from a fallback font
    QVERIFY(replacement > 0);
    QCOMPARE(page.textWidth("x\xff"), page.textWidth("x") + replacement);
    page.setCurrentX(10);
    page.setCurrentY(10);
    page.print("x\xff\xc3");
    QCOMPARE_LT(std::abs(page.currentX() - (10 + page.textWidth("x") + 2 * replacement)), 0.0001f);
    QVERIFY(!isBlank(page.image()));
}

void PainterSurfaceTest::printAdvancesAndInksTheMeasuredWidth_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<double>("zoom");
    // Qt rounds a font's pixel size: a 9.3 pt font at zoom 1 would be 5 % off.
    QTest::newRow("latin at zoom 1") << "HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH" << 1.0;
    QTest::newRow("latin at zoom 0.37") << "HHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHHH" << 0.37;
    QTest::newRow("accents shaped") << "HHHHHHHHHHe\u0301e\u0301HHHHHHHHHHHHHHHHHHHHHHHH" << 1.0;
    QTest::newRow("greek and cyrillic") << "ΣΣΣΣΣΣΣΣΣΣЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖЖH" << 1.0;
}

void PainterSurfaceTest::printAdvancesAndInksTheMeasuredWidth()
{
    QFETCH(QString, text);
    QFETCH(double, zoom);
    const std::string utf8 = text.toStdString();
    ImageSurface page;
    showA4(page, zoom);
    page.setFont(font("Times New Roman", float(9.3 * zoom)));
    const float width = page.textWidth(utf8);
    page.setCurrentX(20);
    page.setCurrentY(30);
    page.print(utf8);
    QCOMPARE_LT(std::abs(page.currentX() - (20 + width)), 0.0001f);
    const auto [first, last] = inkColumns(page.image());
    const double pixelsPerMm = page.image().width() / 210.0;
    const double inkLeftMm = first / pixelsPerMm;
    const double inkRightMm = (last + 1) / pixelsPerMm;
    // Side bearings of "H" are a small fraction of a millimetre.
    QCOMPARE_LT(std::abs(inkLeftMm - 20), 0.5 + 1 / pixelsPerMm);
    QCOMPARE_LT(std::abs(inkRightMm - (20 + width)), 0.01 * width + 2 / pixelsPerMm);
}

void PainterSurfaceTest::opaqueTextPaintsItsCellWhite()
{
    ImageSurface page;
    showA4(page, 1);
    page.pen().fillStyle = 0;
    page.pen().fillColor = Red;
    page.line(LineKind::Box, 10, 10, 100, 50);
    page.setFont(font("Courier New", 12, false));
    page.setCurrentX(20);
    page.setCurrentY(20);
    page.print("    "); // blanks: the cell shows as white
    const float cellRight = 20 + page.textWidth("    ");
    QCOMPARE(pixelAtMm(page, 21, 20.5), QColor(Qt::white));
    QCOMPARE(pixelAtMm(page, cellRight - 1, 20 + page.textHeight("") - 0.5), QColor(Qt::white));
    QCOMPARE(pixelAtMm(page, cellRight + 1, 21), QColor(Qt::red));
    QCOMPARE(pixelAtMm(page, 21, 20 + page.textHeight("") + 1), QColor(Qt::red));
}

void PainterSurfaceTest::boxFill_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<int>("fillStyle");
    QTest::addColumn<QColor>("inside");
    QTest::newRow("corners, solid") << int(LineKind::Box) << 0 << QColor(Qt::red);
    QTest::newRow("corners, no fill") << int(LineKind::Box) << 1 << QColor(Qt::white);
    QTest::newRow("width and height, solid") << int(LineKind::BoxRelative) << 0 << QColor(Qt::red);
    QTest::newRow("unknown fill style fills nothing") << int(LineKind::Box) << 42 << QColor(Qt::white);
}

void PainterSurfaceTest::boxFill()
{
    QFETCH(int, kind);
    QFETCH(int, fillStyle);
    QFETCH(QColor, inside);
    ImageSurface page;
    showA4(page, 1);
    page.pen().fillStyle = fillStyle;
    page.pen().fillColor = Red;
    page.pen().foreColor = 0; // black outline
    // Corners (40, 40)-(80, 60), or the same box as corner plus size.
    const bool relative = LineKind(kind) == LineKind::BoxRelative;
    page.line(LineKind(kind), 80, 60, relative ? -40 : 40, relative ? -20 : 40);
    QCOMPARE(pixelAtMm(page, 60, 50), inside);
    QCOMPARE(pixelAtMm(page, 40, 50), QColor(Qt::black));
    QCOMPARE(pixelAtMm(page, 85, 50), QColor(Qt::white));
    QCOMPARE(pixelAtMm(page, 60, 65), QColor(Qt::white));
}

void PainterSurfaceTest::hatchSpacingIsMillimetres()
{
    // One pattern pixel is 1/96 inch at every zoom and on paper: horizontal
    // hatch lines 8 of them (2.1 mm) apart, so 9 or 10 lines cross 20 mm.
    for (double zoom : {1.0, 2.0}) {
        ImageSurface page;
        showA4(page, zoom);
        page.pen().fillStyle = 2;
        page.pen().fillColor = Red;
        page.line(LineKind::Box, 10, 10, 50, 60);
        const QImage image = page.image();
        const int column = int(30 / 210.0 * image.width());
        int hatchLines = 0;
        bool onLine = false;
        for (int y = int(20 / 297.0 * image.height()); y < int(40 / 297.0 * image.height()); ++y) {
            const bool red = image.pixelColor(column, y) == QColor(Qt::red);
            hatchLines += red && !onLine;
            onLine = red;
        }
        QVERIFY2(hatchLines >= 9 && hatchLines <= 10, qPrintable(QString::number(hatchLines)));
    }
}

void PainterSurfaceTest::xorPenInvertsAndRestores()
{
    ImageSurface page;
    showA4(page, 1);
    page.pen().drawMode = 7;
    page.pen().fillStyle = 0;
    page.pen().fillColor = White;
    page.line(LineKind::Box, 10, 10, 30, 30);
    QCOMPARE(pixelAtMm(page, 20, 20), QColor(Qt::black)); // white xor white
    page.line(LineKind::Box, 10, 10, 30, 30);
    QVERIFY(isBlank(page.image()));
}

void PainterSurfaceTest::penWidthAndStyle_data()
{
    QTest::addColumn<int>("drawWidth");
    QTest::addColumn<int>("drawStyle");
    QTest::addColumn<int>("inkedRows");
    QTest::newRow("width 1") << 1 << 0 << 1;
    QTest::newRow("width 4 is device pixels") << 4 << 0 << 4;
    QTest::newRow("width 0 counts as 1") << 0 << 0 << 1;
    QTest::newRow("style 5 draws no pen") << 3 << 5 << 0;
    QTest::newRow("style 1 dashes") << 1 << 1 << 1;
}

void PainterSurfaceTest::penWidthAndStyle()
{
    QFETCH(int, drawWidth);
    QFETCH(int, drawStyle);
    QFETCH(int, inkedRows);
    ImageSurface page;
    page.setPixelSize(QSize(200, 200));
    page.setScale(0, 0, 200, 200); // 1 px per mm
    page.pen().drawWidth = drawWidth;
    page.pen().drawStyle = drawStyle;
    page.line(LineKind::Line, 10, 100.5, 190, 100.5);
    const QImage image = page.image();
    int rows = 0;
    int inkedOnRow100 = 0;
    for (int y = 0; y < image.height(); ++y) {
        int inked = 0;
        for (int x = 0; x < image.width(); ++x)
            inked += image.pixel(x, y) != qRgb(255, 255, 255);
        rows += inked > 0;
        if (y == 100)
            inkedOnRow100 = inked;
    }
    QCOMPARE(rows, inkedRows);
    if (drawStyle == 1) // dashes leave gaps
        QVERIFY(inkedOnRow100 > 40 && inkedOnRow100 < 170);
}

void PainterSurfaceTest::circleIsFilled()
{
    ImageSurface page;
    showA4(page, 1);
    page.pen().fillStyle = 0;
    page.pen().fillColor = Red;
    page.circle(100, 100, 20);
    QCOMPARE(pixelAtMm(page, 100, 100), QColor(Qt::red));
    QCOMPARE(pixelAtMm(page, 115, 115), QColor(Qt::white)); // outside the round, inside its square
    page.circle(50, 50, -5);
    QCOMPARE(pixelAtMm(page, 50, 50), QColor(Qt::white));
}

void PainterSurfaceTest::pictureNaturalSize_data()
{
    QTest::addColumn<int>("dotsPerMetre");
    QTest::addColumn<float>("widthMm");
    QTest::newRow("QImage's default, 96 dpi") << 3780 << 25.4f;
    QTest::newRow("no resolution, 96 dpi") << 0 << 25.4f;
    QTest::newRow("300 dpi") << 11811 << 8.128f;
}

void PainterSurfaceTest::pictureNaturalSize()
{
    QFETCH(int, dotsPerMetre);
    QFETCH(float, widthMm);
    QImage image(96, 48, QImage::Format_RGB32);
    image.fill(Qt::red);
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    const ImagePicture picture(image);
    QCOMPARE_LT(std::abs(picture.widthMm() - widthMm), 0.005f);
    QCOMPARE_LT(std::abs(picture.heightMm() - widthMm / 2), 0.005f);

    ImageSurface page;
    showA4(page, 2);
    page.paintPicture(picture, 50, 50);
    QCOMPARE(pixelAtMm(page, 50 + widthMm - 0.3, 50 + widthMm / 2 - 0.3), QColor(Qt::red));
    QCOMPARE(pixelAtMm(page, 50 + widthMm + 0.3, 50.5), QColor(Qt::white));
    page.paintPicture(picture, 100, 100, 40, 10); // stretched
    QCOMPARE(pixelAtMm(page, 139.5, 109.5), QColor(Qt::red));
}

void PainterSurfaceTest::badCoordinatesDrawNothing_data()
{
    QTest::addColumn<float>("bad");
    QTest::newRow("NaN") << NaN;
    QTest::newRow("infinity") << Inf;
    QTest::newRow("minus infinity") << -Inf;
    QTest::newRow("a kilometre") << 1e6f;
}

void PainterSurfaceTest::badCoordinatesDrawNothing()
{
    QFETCH(float, bad);
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
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::black);
    page.paintPicture(ImagePicture(image), 10, bad);
    page.paintPicture(ImagePicture(image), 10, 10, bad, 5);
    page.setCurrentX(bad);
    page.setCurrentY(10);
    page.print("text");
    QVERIFY(std::isnan(bad) ? std::isnan(page.currentX()) : page.currentX() == bad);
    QVERIFY(isBlank(page.image()));
}

void PainterSurfaceTest::imageCopyDoesNotChangeWithLaterDrawing()
{
    ImageSurface page;
    showA4(page, 1);
    const QImage before = page.image();
    page.pen().fillStyle = 0;
    page.line(LineKind::Box, 10, 10, 50, 50);
    QVERIFY(isBlank(before));
    QVERIFY(!isBlank(page.image()));
    page.clear();
    QVERIFY(isBlank(page.image()));
}

void PainterSurfaceTest::absurdImageSizeLeavesNothingToDrawOn()
{
    ImageSurface page;
    page.setPixelSize(QSize(100000, 100000));
    QVERIFY(page.image().isNull());
    page.line(LineKind::Line, 0, 0, 10, 10);
    page.setPixelSize(QSize(-5, 10), NaN);
    QVERIFY(page.image().isNull());
    page.print("still measured");
    QVERIFY(page.currentX() > 0);
}

QTEST_MAIN(PainterSurfaceTest)
#include "painter_surface_test.moc"
