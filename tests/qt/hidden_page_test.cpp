// While a preview listing is recorded its page surface paints no pixels; every
// measurement and every change of the listing's and the surface's state must
// stay what drawing gives, or replayed pages would land elsewhere.

#include "compose/Composer.h"
#include "compose/Session.h"
#include "control/Runtime.h"
#include "platform/ImagePicture.h"
#include "platform/ImageSurface.h"

#include <QTest>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

using namespace quillet;

namespace {

/// The listing's and the surface's state, floats to the last bit.
std::string snapshot(Composer &c, const ListingState &s, const Surface &page)
{
    const SurfaceFont &f = page.font();
    const SurfacePen &p = page.pen();
    char out[512];
    std::snprintf(out, sizeof out, "cursor %a %a at %a %a font %s %a %d%d%d pen %d %d %d %d %d %d W %a H %a N %a",
                  s.CursorX, s.CursorY, page.currentX(), page.currentY(), f.name.c_str(), f.size, f.bold, f.italic,
                  f.transparent, p.foreColor, p.fillColor, p.fillStyle, p.drawWidth, p.drawStyle, p.drawMode,
                  c.WX("Total 1234,56"), c.WY("Ág"), c.NLines());
    return out;
}

/// Every kind of command a page holds, with what each returns.
const std::vector<std::function<std::string(Composer &)>> PageCommands{
    [](Composer &c) { c.ListingDefaults(); return std::string(); },
    [](Composer &c) { c.PFont("Times New Roman", 14, true); return std::string(); },
    [](Composer &c) { c.C("Listagem de teste - Página PRICOCO de TRICOCO"); return std::string(); },
    [](Composer &c) { c.PNL(2); c.PLine(c.CurY(), 0, c.CurY(), 190, 3); return std::string(); },
    [](Composer &c) { c.NewCol(0, 20); c.NewCol(20, 70); c.NewCol(90, 30); return std::string(); },
    [](Composer &c) { c.PFont("Times New Roman", 10); c.PNL(); return std::string(); },
    [](Composer &c) { c.LCol(1, "100001"); return std::string(); },
    [](Composer &c) { c.LCol(2, "Artigo de teste número 1 com uma descrição longa demais"); return std::string(); },
    [](Composer &c) { c.RCol(3, "97"); c.CCol(3, "centro"); return std::string(); },
    [](Composer &c) { c.L("à esquerda", -1, 5); c.R("à direita", -1, 150); return std::string(); },
    [](Composer &c) { c.PFill(0xC0C0C0, 0); c.PFont("Arial", 11, false, true, false); return std::string(); },
    [](Composer &c) { c.L("texto opaco"); return std::string(); },
    [](Composer &c) { return c.M("Um parágrafo justificado que não cabe numa linha só e continua na seguinte."); },
    [](Composer &c) { c.PBox(-1, -1, 20, 50, 2); c.PCircle(100, 100, 10); return std::string(); },
    [](Composer &c) { c.PDraw(2, 7); c.PBox(120, 0, 0, 190); return std::string(); },
    [](Composer &c) { c.PDrawImg(1, 150, 20); return std::string(); },
};

/// Composes the page on a fresh A4 preview page; one snapshot per command.
std::vector<std::string> composePage(ImageSurface &page)
{
    page.setPixelSize(QSize(794, 1123));
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
    std::vector<std::string> states;
    for (const auto &command : PageCommands) {
        const std::string result = command(c);
        states.push_back(snapshot(c, s, page) + " -> " + result);
    }
    return states;
}

} // namespace

class HiddenPageTest : public QObject {
    Q_OBJECT
private slots:
    void recordingMeasuresAsDrawingDoes()
    {
        ImageSurface drawn;
        const std::vector<std::string> drawing = composePage(drawn);
        ImageSurface hidden;
        hidden.setPainting(false); // the page of a listing being recorded
        const std::vector<std::string> recording = composePage(hidden);
        QImage blank(hidden.image().size(), hidden.image().format());
        blank.fill(Qt::white);
        QCOMPARE(hidden.image(), blank);
        QVERIFY(drawn.image() != blank);

        QCOMPARE(recording.size(), drawing.size());
        for (size_t i = 0; i < drawing.size(); ++i)
            QCOMPARE(QString::fromStdString(recording[i]), QString::fromStdString(drawing[i]));
    }
};

QTEST_MAIN(HiddenPageTest)
#include "hidden_page_test.moc"
