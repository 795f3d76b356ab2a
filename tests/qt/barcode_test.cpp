// Barcodes read back as a user's scanner would: from the PDF at 300 dpi, from
// the preview's page pictures at 100 % and 200 %, on a coloured page and from
// a job printed through the cups-pdf queue; and the inputs PBarcode refuses.

#include "BarcodeReaders.h"
#include "PreviewDriver.h"
#include "compose/Session.h"
#include "control/Runtime.h"

using namespace quillet::testing;

namespace {

constexpr int PaperWidthMm = 180, PaperHeightMm = 60, MarginMm = 10, CustomPaper = 256;
constexpr int Background = 0x33CCFF; // 0xBBGGRR: an orange the symbol's white box must cover

struct Sample {
    const char *reason, *kind, *data, *options;
    float height, width;
    int readers; ///< those that read it from the PDF and at 200 %
    /// At 100 % a 0.33 mm module is 1.25 pixels: its edges on whole pixels
    /// make bars of one module one or two pixels wide, ratios no reader of
    /// Code 128, Code 39 or EAN-13 takes (0: not read there). From 0.4 mm
    /// (1.5 pixels) ZXing reads Code 128.
    int readersAt100;
    const char *read;  ///< what the readers give back, when not the data
    QSizeF whiteBoxMm; ///< on a coloured page: the white box the symbol is drawn on
};

// clang-format off
const Sample Samples[] = {
    {"payment QR code, highest correction", "QR", "00020126360014BR.GOV.BCB.PIX0114+5511999998888520400005303986540522.355802BR5913LOJA EXEMPLO6009SAO PAULO62070503***6304ABCD", "ecc=H", 30, 0, Zbar | Zxing, Zbar | Zxing, nullptr, {}},
    {"QR text outside Latin-1 travels with its ECI; zbar garbles it", "qr", "Fatura nº 2024/0173 — ação", "", 30, 0, Zxing, Zxing, nullptr, {}},
    {"QR on a coloured page: the white box covers its quiet zone", "QR", "https://quillet.example/nf?id=42", "ecc=L", 30, 0, Zbar | Zxing, Zbar | Zxing, nullptr, {30, 30}},
    {"DataMatrix of a part, a GS separator inside", "DATAMATRIX", "PN4711\x1dSN0815", "", 20, 0, Zxing, Zxing, nullptr, {}},
    {"PDF417 in a wide box keeps its row height", "PDF417", "Remessa 2024-0173, volume 3 de 5", "", 25, 120, Zxing, Zxing, nullptr, {}},
    {"invoice access key in Code 128, with its line of text", "CODE128", "35240112345678000199550010000012341000012345", "text=1", 15, 0, Zbar | Zxing, 0, nullptr, {}},
    {"Code 128 at 0.4 mm a module, for the screen at 100 %", "CODE128", "NF 2024/0173", "module=0.4", 15, 0, Zbar | Zxing, Zxing, nullptr, {}},
    {"GS1-128 pallet label", "GS1-128", "(01)09501101530003(10)ABC123", "", 15, 0, Zbar | Zxing, 0, "010950110153000310ABC123", {}},
    {"EAN-13 on a coloured page, check digit computed", "EAN13", "590123412345", "text=1", 20, 0, Zbar | Zxing, 0, "5901234123457", {37.29, 20}},
    {"EAN-8, check digit given", "EAN8", "96385074", "", 15, 0, Zbar | Zxing, Zxing, nullptr, {}},
    {"UPC-A, check digit computed; zbar gives it as EAN-13", "UPCA", "03600029145", "", 20, 0, Zxing, Zxing, "036000291452", {}},
    {"bank slip code in Interleaved 2 of 5", "ITF", "23797926700000123453381260007827130000633330", "", 15, 0, Zbar | Zxing, Zbar | Zxing, nullptr, {}},
    {"ITF-14 with its bearer bars", "ITF14", "1540014128876", "", 20, 0, Zbar | Zxing, Zbar, "15400141288763", {}},
    {"Code 39", "CODE39", "QUILLET-42", "text=1", 15, 0, Zbar | Zxing, 0, nullptr, {}},
};
// clang-format on

/// Readers' texts with the GS1 separators and brackets some of them add left out.
QStringList plain(QStringList texts)
{
    for (QString &text : texts)
        text.remove("]C1").remove(QChar(0x1d)).remove(u'(').remove(u')');
    return texts;
}

} // namespace

class BarcodeTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QCOMPARE(m_control.Init(nullptr, "barcodes", "S", "P", CustomPaper, true, true, true, true, true,
                                true, false, true, PaperWidthMm, PaperHeightMm),
                 quint8(0));
        for (const Sample &sample : Samples) {
            if (&sample != Samples)
                m_control.PNP();
            if (!sample.whiteBoxMm.isEmpty()) {
                m_control.PColor(0x0000FF);
                m_control.PFill(Background, 0);
                m_control.PBox(0, 0, m_control.MY(), m_control.mx(), 3);
            }
            QCOMPARE(m_control.PBarcode(sample.kind, sample.data, 5, 5, sample.height, sample.width,
                                        sample.options),
                     0);
        }
        const QString pdf = m_dir.filePath("barcodes.pdf");
        QVERIFY(m_control.SavePDF(pdf));
        m_pictures[0] = pdfPagePictures(pdf, m_dir.filePath("pdf"));
        for (const int zoom : {100, 200}) {
            const QString folder = m_dir.filePath(QString::number(zoom));
            QVERIFY(QDir().mkpath(folder));
            QCOMPARE(m_control.SavePageImages(folder, zoom), QString());
            for (const QString &page : QDir(folder).entryList({"page-*.png"}, QDir::Files, QDir::Name))
                m_pictures[zoom].append(QDir(folder).filePath(page));
        }
        m_control.Abort();
        for (const QStringList &pictures : m_pictures)
            QCOMPARE(pictures.size(), int(std::size(Samples)));
        if (m_hasZxing)
            m_zxing = zxingRead(m_pictures[0] + m_pictures[100] + m_pictures[200]);
    }

    void readsBack_data()
    {
        QTest::addColumn<int>("sample");
        QTest::addColumn<int>("zoom"); // 0: the PDF at 300 dpi
        for (int i = 0; i < int(std::size(Samples)); ++i)
            for (const int zoom : {0, 100, 200})
                if (zoom != 100 || Samples[i].readersAt100)
                    QTest::addRow("%s, %s", Samples[i].reason,
                                  zoom ? qPrintable(QString::number(zoom) + " %") : "PDF")
                        << i << zoom;
    }

    void readsBack()
    {
        QFETCH(int, sample);
        QFETCH(int, zoom);
        const Sample &s = Samples[sample];
        const int readers = zoom == 100 ? s.readersAt100 : s.readers;
        if (((readers & Zbar) && !m_hasZbar) || ((readers & Zxing) && !m_hasZxing))
            QSKIP("a barcode reader is missing (zbar-tools, python3-zxing-cpp)");
        const QString picture = m_pictures[zoom].at(sample);
        const QStringList expected = plain({QString::fromUtf8(s.read ? s.read : s.data)});
        if (readers & Zxing)
            QCOMPARE(plain(m_zxing.value(picture)), expected);
        if (readers & Zbar)
            QCOMPARE(plain(zbarRead(picture)), expected);
    }

    /// On the coloured pages the white box shows: it keeps its size in
    /// millimetres to a pixel, and no pixel of it is grey, so every module
    /// edge falls on a whole pixel.
    void snapsModulesToPixels()
    {
        for (int sample = 0; sample < int(std::size(Samples)); ++sample)
            for (const int zoom : {100, 200}) {
                const Sample &s = Samples[sample];
                if (s.whiteBoxMm.isEmpty())
                    continue;
                const QByteArray why =
                    s.reason + QByteArrayLiteral(", at ") + QByteArray::number(zoom) + " %";
                const auto explained = preview_driver::explainFailure(why.constData());
                const QImage page = QImage(m_pictures[zoom].at(sample)).convertToFormat(QImage::Format_RGB32);
                const double pixelsPerMm = zoom / 100.0 * 96 / 25.4;
                // Inside the coloured box, clear of its outline.
                const QRect inside(
                    QPoint(qCeil((MarginMm + 2) * pixelsPerMm), qCeil((MarginMm + 2) * pixelsPerMm)),
                    QPoint(qFloor((PaperWidthMm - MarginMm - 2) * pixelsPerMm),
                           qFloor((PaperHeightMm - MarginMm - 2) * pixelsPerMm)));
                QRect bars =
                    boundsOf(page, inside, [](QRgb pixel) { return pixel != qRgb(0xFF, 0xCC, 0x33); });
                QCOMPARE_LE(std::abs(bars.width() - s.whiteBoxMm.width() * pixelsPerMm), 1);
                QCOMPARE_LE(std::abs(bars.height() - s.whiteBoxMm.height() * pixelsPerMm), 1);
                if (s.options == std::string_view("text=1"))
                    bars.setBottom(bars.top() + qFloor(bars.height() * 0.6)); // above the text
                const auto isGrey = [](QRgb pixel) {
                    return pixel != qRgb(0, 0, 0) && pixel != qRgb(255, 255, 255);
                };
                QCOMPARE(boundsOf(page, bars, isGrey), QRect());
            }
    }

    void refusesWhatItCannotDraw()
    {
        const struct {
            const char *reason, *kind, *data;
            float height, width;
            const char *options;
            int result;
        } rows[] = {
            {"a kind there is not", "QR-CODE", "x", 30, 0, "", 1},
            {"an unknown option", "QR", "x", 30, 0, "colour=red", 2},
            {"a letter in EAN-13", "EAN13", "59012341234X", 20, 0, "", 3},
            {"a wrong EAN-13 check digit", "EAN13", "5901234123458", 20, 0, "", 3},
            {"a wrong ITF-14 check digit (zint takes no check digit there)", "ITF14", "15400141288762", 20, 0,
             "", 3},
            {"no data", "QR", "", 30, 0, "", 3},
            {"a dash outside Code 128's characters", "CODE128", "a—b", 15, 0, "", 3},
            {"nine digits for EAN-8", "EAN8", "123456789", 15, 0, "", 4},
            {"more than a QR code holds", "QR", nullptr, 30, 0, "", 4},
            {"a module asked under 0.1 mm", "QR", "x", 30, 0, "module=0.05", 5},
            {"a width that is no number", "QR", "x", 30, float(qQNaN()), "", 6},
        };
        for (const auto &row : rows) {
            const auto explained = preview_driver::explainFailure(row.reason);
            const QString data = row.data ? QString::fromUtf8(row.data) : QString(3000, u'a');
            QCOMPARE(m_control.Init(nullptr, "refused", "S"), quint8(0));
            const int32_t before = quillet::session().spool->lastSlot();
            QCOMPARE(m_control.PBarcode(row.kind, data, 5, 5, row.height, row.width, row.options),
                     row.result);
            QCOMPARE(quillet::session().spool->lastSlot(), before); // nothing recorded
            m_control.PBox(5, 5, 10, 10);
            QCOMPARE_GT(quillet::session().spool->lastSlot(), before); // and the listing goes on
            m_control.Abort();
        }
    }

    void readsBackWhatThePrinterPrinted()
    {
        if (!hasCupsPdfQueue())
            QSKIP("no CUPS queue named PDF as the default printer");
        if (!m_hasZxing)
            QSKIP("ZXing (python3-zxing-cpp) is missing");
        const QString name = uniqueDocumentName("barcodes-");
        QCOMPARE(m_control.Init(nullptr, name, "P", "P", CustomPaper, true, true, true, true, true, true,
                                false, true, PaperWidthMm, PaperHeightMm),
                 quint8(0));
        const Sample &qr = Samples[0], &key = Samples[5]; // key: the access key at 0.33 mm
        QCOMPARE(m_control.PBarcode(qr.kind, qr.data, 5, 0, qr.height), 0);
        QCOMPARE(m_control.PBarcode(key.kind, key.data, 10, 45, key.height, 0, key.options), 0);
        m_control.Show();
        const QString pdf = waitForCupsPdf(name);
        const auto removePdf = qScopeGuard([&] { QFile::remove(pdf); });
        const QStringList pictures = pdfPagePictures(pdf, m_dir.filePath("printed"));
        QCOMPARE(pictures.size(), 1);
        QStringList read = zxingRead(pictures).value(pictures.first());
        read.sort();
        QCOMPARE(read, QStringList({QString::fromUtf8(qr.data), QString::fromUtf8(key.data)}));
    }

private:
    quillet::Quillet m_control;
    QTemporaryDir m_dir;
    const bool m_hasZbar = hasZbar(), m_hasZxing = hasZxing();
    QMap<int, QStringList> m_pictures; ///< by zoom; 0 for the PDF's pages
    QMap<QString, QStringList> m_zxing;
};

QTEST_MAIN(BarcodeTest)
#include "barcode_test.moc"
