// The QPainter surfaces: text measured the same in millimetres whatever the
// device, fonts resolved like the printer's, and a preview page that paints no
// pixels while its listing is recorded, yet measures and changes state as
// drawing does (or replayed pages would land elsewhere). Shapes in millimetres
// are compared on screen and paper in screen_and_paper_test.

#include "compose/Composer.h"
#include "compose/Session.h"
#include "platform/ImagePicture.h"
#include "platform/ImageSurface.h"
#include "platform/QtPrinterDevice.h"

#include <QTest>

#include <cmath>
#include <cstdio>
#include <functional>

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

/// The listing's and the surface's state, floats to the last bit.
QString snapshot(Composer &c, const ListingState &s, const Surface &page)
{
    const SurfaceFont &f = page.font();
    const SurfacePen &p = page.pen();
    char out[512];
    std::snprintf(out, sizeof out, "cursor %a %a at %a %a font %s %a %d%d%d pen %d %d %d %d %d %d W %a H %a N %a",
                  s.CursorX, s.CursorY, page.currentX(), page.currentY(), f.name.c_str(), f.size, f.bold, f.italic,
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

QImage blankLike(const QImage &image)
{
    QImage blank(image.size(), image.format());
    blank.fill(Qt::white);
    return blank;
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

    // Latin texts are measured from a table by character, others glyph by glyph.
    void eachPrefixWidthIsThatPrefixsWidth()
    {
        ImageSurface page;
        page.setFont(font("Times New Roman", 12));
        for (const QString &text :
             {QStringLiteral("Preço ñ"), QStringLiteral("Total Ω Ж"), QStringLiteral("a\tb\u0085c")}) {
            const std::vector<float> widths = page.prefixWidths(text.toStdString(), 1e6f);
            QCOMPARE(qsizetype(widths.size()), text.size());
            for (qsizetype i = 0; i < text.size(); ++i)
                QCOMPARE(widths[i], page.textWidth(text.left(i + 1).toStdString()));
        }
    }

    // M places a paragraph's rest by a width carried in these units from
    // call to call, so they must give textWidth to the bit.
    void widthUnitsGiveTextWidthExactly()
    {
        const std::string long_ = std::string(20000, 'W') + " relatório, preço e mês";
        for (double zoom : {0.1, 1.0, 1.5}) {
            ImageSurface page;
            showA4(page, zoom);
            for (const char *family : {"Times New Roman", "Arial", "Courier New"}) {
                page.setFont(font(family, float(11 * zoom)));
                for (const std::string &text : {std::string("Preço ñ a\tb"), long_, std::string()}) {
                    const std::optional<int64_t> units = page.widthUnits(text);
                    QVERIFY(units);
                    QCOMPARE(page.widthMmOfUnits(*units), page.textWidth(text));
                }
                QVERIFY2(!page.widthUnits("Total Ω Ж"), "beyond the Latin table the widths are not added up");
            }
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

    void recordingMeasuresAsDrawingDoes()
    {
        ImageSurface drawn, hidden;
        hidden.setPainting(false); // the page of a listing being recorded
        QCOMPARE(composePage(hidden), composePage(drawn));
        QCOMPARE(hidden.image(), blankLike(hidden.image()));
        QVERIFY(drawn.image() != blankLike(drawn.image()));
    }
};

QTEST_MAIN(PainterSurfaceTest)
#include "painter_surface_test.moc"
