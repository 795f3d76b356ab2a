// The C interface: argument sentinels, strings the handle owns, pictures and
// files it refuses.

#include "compose/ListingState.h"
#include "control/Runtime.h"
#include "quillet/quillet.h"

#include <QtTest>

#include <string>

class CApiTest : public QObject {
    Q_OBJECT

private slots:
    void init() { m_q = quillet_create(); }
    void cleanup()
    {
        quillet_abort(m_q);
        quillet_destroy(m_q);
    }

    void initArguments()
    {
        // NULL stands for portrait and A4, whatever the listing before had.
        using Arguments = std::pair<const char *, const char *>;
        QStringList opened;
        for (const auto &[orientation, paper] : {Arguments{"l", "letter"}, Arguments{nullptr, nullptr},
                                                 Arguments{"P", "256"}, Arguments{"X", "A4"}}) {
            const int result =
                quillet_init(m_q, "C", nullptr, orientation, paper, QUILLET_NODIALOG, 100, 150);
            opened << (result != 0 ? QString::number(result)
                                   : QStringLiteral("%1 x %2").arg(quillet_pw(m_q)).arg(quillet_ph(m_q)));
        }
        QCOMPARE(opened, (QStringList{"279 x 216", "210 x 297", "100 x 150", "1"}));
    }

    void paragraphRestPicturesAndPdf()
    {
        QCOMPARE(quillet_init(m_q, "C", nullptr, nullptr, nullptr, QUILLET_NODIALOG, 0, 0), 0);
        const std::string words = "um dois três " + std::string(400, 'x');
        const char *rest = quillet_m(m_q, words.c_str(), QUILLET_CURRENT, 0, QUILLET_CURRENT);
        QVERIFY(rest && *rest && std::string(rest).size() < words.size());
        const std::string firstRest = rest;
        quillet_c(m_q, "Título", QUILLET_CURRENT, QUILLET_CURRENT, QUILLET_CURRENT);
        QCOMPARE(std::string(rest), firstRest); // the handle owns it: other calls leave it alone
        QCOMPARE(quillet_m(m_q, "", QUILLET_CURRENT, 0, QUILLET_CURRENT), "");

        // Pictures it refuses still take their number.
        const int pictures = quillet::state().NumImgs;
        const unsigned char pixel[4] = {255, 0, 0, 255};
        QCOMPARE(quillet_pnewimg_rgba(m_q, pixel, 1, 1, 4), 1);
        QCOMPARE(quillet_pnewimg_rgba(m_q, nullptr, 1, 1, 4), 0);
        QCOMPARE(quillet_pnewimg_rgba(m_q, pixel, 1, 1, 3), 0);        // stride shorter than a row
        QCOMPARE(quillet_pnewimg_rgba(m_q, pixel, 1 << 20, 1, -4), 0); // too wide
        QCOMPARE(quillet_pnewimg(m_q, "/no/such/picture.png"), 0);
        QCOMPARE(quillet::state().NumImgs, pictures + 5);

        QTemporaryDir dir;
        const QString path = dir.filePath("c-api.pdf");
        QCOMPARE(quillet_save_pdf(m_q, nullptr, 1, QUILLET_LAST_PAGE), 0);
        QVERIFY(quillet_save_pdf(m_q, path.toUtf8().constData(), 1, QUILLET_LAST_PAGE));
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }

private:
    quillet_t *m_q = nullptr;
};

QTEST_MAIN(CApiTest)
#include "c_api_test.moc"
