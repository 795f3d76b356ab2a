// The QPainter surfaces: text measured the same in millimetres on every device,
// fonts resolved like the printer's, a recorded page that paints nothing yet
// measures as drawing does, and every edge within a pixel on screen at 100 %
// and on paper at 96 dpi, for every paper and orientation.

#include "CupsOutput.h"
#include "PreviewDriver.h"
#include "compose/Composer.h"
#include "compose/Session.h"
#include "control/Listing.h"
#include "control/Runtime.h"
#include "platform/ImagePicture.h"
#include "platform/ImageSurface.h"
#include "platform/QtPrinterDevice.h"

#include <cstdio>

using namespace quillet;
using namespace preview_driver;
using namespace quillet::testing;

namespace {

/// An A4 preview page as the preview window makes it for a zoom: 96 dpi at 100 %.
void showA4(ImageSurface &page, double zoom)
{
    page.setPixelSize(QSize(int(11906 * zoom) / 15, int(16838 * zoom) / 15));
    page.setScale(0, 0, 210, 297);
}

/// The listing's and the surface's state, floats to the last bit.
QString snapshot(Composer &c, const ListingState &s, const Surface &page)
{
    const SurfaceFont &f = page.font();
    const SurfacePen &p = page.pen();
    char out[512];
    std::snprintf(out, sizeof out,
                  "cursor %a %a at %a %a font %s %a %d%d%d pen %d %d %d %d %d %d W %a H %a N %a", s.CursorX,
                  s.CursorY, page.currentX(), page.currentY(), f.name.c_str(), f.size, f.bold, f.italic,
                  f.transparent, p.foreColor, p.fillColor, p.fillStyle, p.drawWidth, p.drawStyle, p.drawMode,
                  c.WX("Total 1234,56"), c.WY("Ág"), c.NLines());
    return QString::fromUtf8(out);
}

/// Every kind of command a page holds on a fresh A4 preview page; the state after each.
QStringList composePage(ImageSurface &page)
{
    showA4(page, 1);
    Session listing;
    ListingState &s = listing.state;
    s.PageW = 210;
    s.PageH = 297;
    s.Preview = s.Spooling = true;
    s.Surface = listing.pageSurface = &page;
    QImage picture(40, 20, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    s.Imgs[0] = std::make_shared<ImagePicture>(picture);
    s.NumImgs = 1;
    Composer c(listing);
    std::string rest;
    const std::function<void()> commands[] = {
        [&] { c.ListingDefaults(); },
        [&] { c.PFont("Times New Roman", 14, true); },
        [&] { c.C("Listagem de teste - Página PRICOCO de TRICOCO"); },
        [&] { c.PNL(2), c.PLine(c.CurY(), 0, c.CurY(), 190, 3); },
        [&] { c.NewCol(0, 20), c.NewCol(20, 70), c.PFont("Times New Roman", 10), c.PNL(); },
        [&] { c.LCol(2, "Artigo de teste número 1 com uma descrição longa demais"), c.RCol(1, "97"); },
        [&] { c.L("à esquerda", -1, 5), c.R("à direita", -1, 150); },
        [&] { c.PFill(0xC0C0C0, 0), c.PFont("Arial", 11, false, true, false), c.L("texto opaco"); },
        [&] { rest = c.M("Um parágrafo justificado que não cabe numa linha só e continua na seguinte."); },
        [&] { c.PBox(-1, -1, 20, 50, 2), c.PDraw(2, 7), c.PCircle(100, 100, 10); },
        [&] { c.PDrawImg(1, 150, 20); },
    };
    QStringList states;
    for (const auto &command : commands) {
        command();
        states << snapshot(c, s, page) + QStringLiteral(" -> ") + QString::fromStdString(rest);
    }
    return states;
}

constexpr double PixelsPerMm = 96 / 25.4;
constexpr int Margin = 10; // the page defaults' margins, millimetres
/// One drawing per band of the usable height, so each is found alone.
constexpr int Bands = 6;

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

class PainterSurfaceTest : public QObject {
    Q_OBJECT
private slots:
    // Text measures the same in millimetres on paper and at every zoom. Latin
    // texts are measured from a table by character, others glyph by glyph; M
    // places a paragraph's rest by a width carried in width units from call to
    // call, so they must give textWidth to the bit.
    void textMeasuresAlikeOnEveryDeviceAndUnknownFamiliesFallBack()
    {
        const std::string line = "Lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod.";
        const std::string long_ = std::string(20000, 'W') + " relatório, preço e mês";
        QtPrinterDevice printer;
        printer.surface().setFont({"Times New Roman", 12});
        const float paperWidth = printer.surface().textWidth(line);
        QVERIFY(paperWidth > 100 && paperWidth < 200);
        for (double zoom : {0.1, 1.0, 1.5, 2.0}) {
            ImageSurface page;
            showA4(page, zoom);
            page.setFont({"Times New Roman", float(12 * zoom)}); // the preview scales font sizes
            QCOMPARE_LT(std::abs(page.textWidth(line) - paperWidth), 0.01f);
            QCOMPARE_LT(std::abs(page.fontAscent() - printer.surface().fontAscent()), 0.001f);
            for (const char *family : {"Times New Roman", "Arial", "Courier New"}) {
                page.setFont({family, float(11 * zoom)});
                for (const QString text : {"Preço ñ", "Total Ω Ж", "a\tb\u0085c"}) {
                    const std::vector<float> widths = page.prefixWidths(text.toStdString(), 1e6f);
                    QCOMPARE(qsizetype(widths.size()), text.size());
                    for (qsizetype i = 0; i < text.size(); ++i)
                        QCOMPARE(widths[i], page.textWidth(text.left(i + 1).toStdString()));
                }
                for (const std::string &text : {std::string("Preço ñ a\tb"), long_, std::string()}) {
                    const std::optional<int64_t> units = page.widthUnits(text);
                    QVERIFY(units);
                    QCOMPARE(page.widthMmOfUnits(*units), page.textWidth(text));
                }
                QVERIFY2(!page.widthUnits("Total Ω Ж"), "beyond the Latin table the widths are not added up");
            }
        }
        ImageSurface unknown, reference; // an unknown family falls back to Liberation Serif
        unknown.setFont({"No Such Family 42", 10});
        reference.setFont({"Liberation Serif", 10});
        QCOMPARE(QString::fromStdString(unknown.font().name), "Liberation Serif");
        QCOMPARE(unknown.textWidth(line), reference.textWidth(line));
    }

    void recordingMeasuresAsDrawingDoes()
    {
        ImageSurface drawn, hidden;
        hidden.setPainting(false); // the page of a listing being recorded
        QCOMPARE(composePage(hidden), composePage(drawn));
        const auto painted = [](const QImage &page) {
            return boundsOf(page, page.rect(), [](QRgb pixel) { return pixel != qRgb(255, 255, 255); });
        };
        QCOMPARE(painted(hidden.image()), QRect());
        QVERIFY(!painted(drawn.image()).isEmpty());
    }

    void samePageOnScreenAndPaper_data()
    {
        QTest::addColumn<QVariant>("paper");
        QTest::addColumn<QString>("orientation");
        QTest::addColumn<QSize>("sheetMm"); // as the page is seen, turned when landscape
        for (const auto &[paper, size] :
             {std::pair{"A4", QSize(210, 297)}, {"LETTER", {216, 279}}, {"A3", {297, 420}}}) {
            QTest::addRow("%s portrait", paper) << QVariant(paper) << "P" << size;
            QTest::addRow("%s landscape", paper) << QVariant(paper) << "L" << size.transposed();
        }
        QTest::newRow("custom 100x150 portrait") << QVariant(256) << "P" << QSize(100, 150);
        // A custom size is the page as printed, whatever the orientation.
        QTest::newRow("custom 100x150 landscape") << QVariant(256) << "L" << QSize(100, 150);
    }

    void samePageOnScreenAndPaper()
    {
        QFETCH(QVariant, paper);
        QFETCH(QString, orientation);
        QFETCH(QSize, sheetMm);
        QCOMPARE(m_control.Init(nullptr, "Folha", "S", orientation, paper, true, true, true, true, false,
                                true, false, true, 100, 150),
                 quint8(0));
        QCOMPARE(QSizeF(m_control.PW(), m_control.PH()), QSizeF(sheetMm));

        const float width = m_control.mx(), band = m_control.MY() / Bands;
        m_control.PAlign(-2); // a text's top on its line, as a box's
        m_control.L("Esquerda", 0 * band, 0);
        m_control.C("Centro", 1 * band);
        m_control.R("Direita", 2 * band, width);
        m_control.PLine(3 * band + 3, width * 0.2f, 3 * band + 3, width * 0.8f);
        m_control.PLine(4 * band, width * 0.5f, 4 * band + 6, width * 0.5f);
        m_control.PBox(5 * band, width * 0.25f, 6, width * 0.5f);
        const QString pdf = m_dir.filePath(QStringLiteral("%1.pdf").arg(QTest::currentDataTag()));
        QVERIFY(m_control.SavePDF(pdf));
        const QImage paperImage = pdfPageImage(pdf, 1, 96);
        const QImage screenImage = previewPage(m_control);
        const auto near = [](const QRect &a, const QRect &b) { // corners within a pixel
            const QPoint tl = a.topLeft() - b.topLeft(), br = a.bottomRight() - b.bottomRight();
            return std::max({std::abs(tl.x()), std::abs(tl.y()), std::abs(br.x()), std::abs(br.y())}) <= 1;
        };
        QVERIFY(near(paperImage.rect(), screenImage.rect()));
        const auto pixel = [](QPointF mm) { return pixelsOf(QRectF(mm, QSizeF())).topLeft(); };
        // Where each shape was asked for: its ink starts and ends there on both.
        const QRectF shapesMm[] = {{width * 0.2f, 3 * band + 3, width * 0.6f, 0},
                                   {width * 0.5f, 4 * band, 0, 6},
                                   {width * 0.25f, 5 * band, width * 0.5f, 6}};
        for (int i = 0; i < Bands; ++i) {
            const QRect area = pixelsOf(QRectF(-Margin, i * band - 2, sheetMm.width(), band - 1));
            const QRect onPaper = boundsOf(paperImage, area, isInk);
            QRect onScreen = boundsOf(screenImage, area, isInk);
            QString where;
            QDebug(&where) << "band" << i << "paper" << onPaper << "screen" << onScreen;
            if (i < 3) // of a text only its left edge is the same on both
                onScreen.setCoords(onScreen.left(), onPaper.top(), onPaper.right(), onPaper.bottom());
            QVERIFY2(!onPaper.isEmpty() && near(onPaper, onScreen), qPrintable(where));
            // A text starts, or with R ends, where it was asked, within its side bearing.
            if (i == 0 || i == 2)
                QVERIFY2(std::abs((i == 0 ? onPaper.left() : onPaper.right()) -
                                  pixel({i * width / 2, 0}).x()) <= 2,
                         qPrintable(where));
            if (i >= 3) {
                const QRectF &shape = shapesMm[i - 3];
                QVERIFY2(near(onPaper, QRect(pixel(shape.topLeft()), pixel(shape.bottomRight()))),
                         qPrintable(where));
            }
        }
    }

    void opaqueTextSitsOnSolidFill()
    {
        constexpr int Yellow = 0x00FFFF;    // 0xBBGGRR
        const int fillStyles[] = {0, 2, 7}; // solid, horizontal hatch, diagonal cross-hatch
        composeSheets(m_control, "Fundo", 0);
        m_control.PFont(QString(), 24, false, false, false);
        m_control.PAlign(-2);
        const QSizeF textMm(m_control.WX("Mm"), m_control.WY("Mm"));
        for (int i = 0; i < 3; ++i) {
            m_control.PFill(Yellow, fillStyles[i]);
            m_control.L("Mm", 20 + 80 * i, 20);
            m_control.PBox(50 + 80 * i, 20, 20, 20); // a box keeps the hatch
        }
        const QImage page = previewPage(m_control);
        const auto hasWhite = [&page](const QRectF &mm) {
            const auto isWhite = [](QRgb pixel) { return pixel == qRgb(255, 255, 255); };
            return !boundsOf(page, pixelsOf(mm).adjusted(2, 2, -2, -2), isWhite).isEmpty();
        };
        for (int i = 0; i < 3; ++i) {
            QVERIFY(!hasWhite(QRectF(QPointF(20, 20 + 80 * i), textMm))); // no hatch under the text
            QCOMPARE(hasWhite(QRectF(20, 50 + 80 * i, 20, 20)), fillStyles[i] != 0);
        }
    }

private:
    quillet::Quillet m_control;
    QTemporaryDir m_dir;
};

QTEST_MAIN(PainterSurfaceTest)
#include "painter_surface_test.moc"
