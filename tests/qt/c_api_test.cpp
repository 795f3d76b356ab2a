// The C interface: argument sentinels, strings the handle owns, bad input.

#include "quillet/ListingState.h"
#include "quillet/quillet.h"

#include <QFile>
#include <QTemporaryDir>
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

    void initArguments_data()
    {
        QTest::addColumn<QByteArray>("orientation"); // "null" stands for NULL
        QTest::addColumn<QByteArray>("paper");
        QTest::addColumn<int>("result");
        QTest::addColumn<float>("widthMm");
        QTest::addColumn<float>("heightMm");
        QTest::newRow("NULL orientation and paper") << QByteArray("null") << QByteArray("null") << 0 << 210.f << 297.f;
        QTest::newRow("landscape letter") << QByteArray("l") << QByteArray("letter") << 0 << 279.4f << 215.9f;
        QTest::newRow("custom 100 x 150") << QByteArray("P") << QByteArray("256") << 0 << 100.f << 150.f;
        QTest::newRow("unknown orientation") << QByteArray("X") << QByteArray("A4") << 1 << 0.f << 0.f;
    }

    void initArguments()
    {
        QFETCH(QByteArray, orientation);
        QFETCH(QByteArray, paper);
        QFETCH(int, result);
        const auto arg = [](const QByteArray &a) { return a == "null" ? nullptr : a.constData(); };
        QCOMPARE(quillet_init(m_q, "C", nullptr, arg(orientation), arg(paper), QUILLET_NODIALOG, 100, 150), result);
        if (result != 0)
            return;
        QFETCH(float, widthMm);
        QFETCH(float, heightMm);
        QVERIFY(qAbs(quillet_pw(m_q) - widthMm) < 0.5f);
        QVERIFY(qAbs(quillet_ph(m_q) - heightMm) < 0.5f);
    }

    void paragraphRestIsOwnedByTheHandleAndPdfIsWritten()
    {
        QCOMPARE(quillet_init(m_q, "C", nullptr, nullptr, nullptr, QUILLET_NODIALOG, 0, 0), 0);
        const std::string paragraph(400, 'x');
        const std::string words = "um dois três " + paragraph;
        const char *rest = quillet_m(m_q, words.c_str(), QUILLET_CURRENT, 0, QUILLET_CURRENT);
        QVERIFY(rest && *rest && std::string(rest).size() < words.size());
        const std::string firstRest = rest;
        quillet_c(m_q, "Título", QUILLET_CURRENT, QUILLET_CURRENT, QUILLET_CURRENT);
        QCOMPARE(std::string(rest), firstRest); // other calls leave it alone
        QCOMPARE(quillet_m(m_q, "", QUILLET_CURRENT, 0, QUILLET_CURRENT), "");

        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("c-api.pdf"));
        QVERIFY(quillet_save_pdf(m_q, path.toUtf8().constData(), 1, QUILLET_LAST_PAGE));
        QFile pdf(path);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        QVERIFY(pdf.read(5) == "%PDF-");
    }

    void badInputIsANoOpOrADocumentedResult()
    {
        QCOMPARE(quillet_init(m_q, "C", nullptr, nullptr, nullptr, QUILLET_NODIALOG, 0, 0), 0);
        const int pictures = quillet::state().NumImgs;
        const unsigned char pixel[4] = {255, 0, 0, 255};
        QCOMPARE(quillet_pnewimg_rgba(m_q, pixel, 1, 1, 4), 1);
        QCOMPARE(quillet_pnewimg_rgba(m_q, nullptr, 1, 1, 4), 0);
        QCOMPARE(quillet_pnewimg_rgba(m_q, pixel, 1, 1, 3), 0);        // stride shorter than a row
        QCOMPARE(quillet_pnewimg_rgba(m_q, pixel, 1 << 20, 1, -4), 0); // too wide
        QCOMPARE(quillet_pnewimg(m_q, "/no/such/picture.png"), 0);
        QCOMPARE(quillet::state().NumImgs, pictures + 5); // each still takes its number
        QVERIFY(quillet_wx(m_q, "\xff\xfe invalid UTF-8") > 0);
        quillet_l(m_q, nullptr, QUILLET_CURRENT, QUILLET_CURRENT, 0);
        QCOMPARE(quillet_save_pdf(m_q, nullptr, 1, QUILLET_LAST_PAGE), 0);
    }

    void nullHandleDoesNothing()
    {
        QCOMPARE(quillet_init(nullptr, "C", nullptr, nullptr, nullptr, 0, 0, 0), -1);
        QCOMPARE(quillet_m(nullptr, "text", 0, 0, 0), static_cast<const char *>(nullptr));
        QCOMPARE(quillet_last_output(nullptr), static_cast<const char *>(nullptr));
        QCOMPARE(quillet_wait(nullptr), 0);
        QCOMPARE(quillet_mx(nullptr), 0.0f);
        quillet_pnp(nullptr);
        quillet_destroy(nullptr);
    }

private:
    quillet_t *m_q = nullptr;
};

QTEST_MAIN(CApiTest)
#include "c_api_test.moc"
