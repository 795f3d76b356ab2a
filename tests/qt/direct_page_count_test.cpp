// A listing printed directly, without and with DirectPageCount, read back from
// the cups-pdf queue: the page count prints as "*" or as the count, and
// nothing else differs, neither on paper nor in what the host measured while
// composing.

#include "CupsOutput.h"
#include "PreviewDriver.h"
#include "compose/ListingState.h"
#include "control/Runtime.h"

#include <QTemporaryDir>

using namespace preview_driver;
using namespace quillet::testing;
using quillet::state;

class DirectPageCountTest : public QObject {
    Q_OBJECT

private slots:
    void pageCountAndWhatTheHostMeasures()
    {
        if (!hasCupsPdfQueue())
            QSKIP("no CUPS queue named PDF as the default printer");
        // Only the component's files land here: spool files, job PDFs.
        qputenv("TMPDIR", QFile::encodeName(m_tempDir.path()));
        // clang-format off
        const struct {
            bool pageCount, show;
            QStringList pages; ///< each page's text, blanks simplified; none: no job
            const char *why;
        } rows[] = {
            {false, true, {"Página 1 de * Fatura 1/*", "Página 2 de *"}, "drawn as composed: no count yet"},
            {true, true, {"Página 1 de 2 Fatura 1/2", "Página 2 de 2"}, "printed at Show, with the count"},
            {true, false, {}, "Abort before Show: no job, and the spool file goes"},
        };
        // clang-format on
        QList<float> measuredFirst;
        for (const auto &row : rows) {
            const auto explained = explainFailure(row.why);
            const QString name = uniqueDocumentName(QStringLiteral("count-"));
            const QString outputBefore = m_control.lastOutput();
            m_control.setDirectPageCount(row.pageCount);
            QCOMPARE(m_control.Init(&m_host, name, QStringLiteral("P")), quint8(0));
            QCOMPARE(state().Spooling, row.pageCount); // recorded, markers and all, until Show
            const QString spool = QString::fromStdString(state().SpoolPath);
            QCOMPARE(QFile::exists(spool), row.pageCount);
            // Every row measures what the first did: the marker text moves CurX as "1 de *" does.
            const QList<float> measured = composeAndMeasure();
            if (measuredFirst.isEmpty())
                measuredFirst = measured;
            QCOMPARE(measured, measuredFirst);

            row.show ? m_control.Show() : m_control.Abort();
            QVERIFY(m_host.isEnabled());
            QVERIFY(!QFile::exists(spool));
            QCOMPARE(QDir(m_tempDir.path()).entryList({"Prt*", "quillet-*"}, QDir::Files), QStringList());
            if (row.pages.isEmpty()) {
                QCOMPARE(m_control.lastOutput(), outputBefore);
                QVERIFY(waitForCupsPdf(name, 1000).isEmpty());
                continue;
            }
            const QString pdf = waitForCupsPdf(name);
            QVERIFY(!pdf.isEmpty());
            const auto removePdf = qScopeGuard([&] { QFile::remove(pdf); });
            QStringList texts;
            for (const QString &page : pdfLayoutPages(pdf))
                texts << page.simplified();
            QCOMPARE(texts, row.pages);
        }
    }

private:
    /// Two pages whose texts hold the markers; what the host reads meanwhile.
    QList<float> composeAndMeasure()
    {
        QList<float> measured;
        m_control.C(QStringLiteral("Fatura"), 20);
        m_control.L(QStringLiteral("Página PRICOCO de TRICOCO")); // at the cursor, which it moves on
        measured << m_control.CurX() << m_control.WX(QStringLiteral("Página 1 de *"));
        m_control.NewCol(150, 30);
        m_control.LCol(1, QStringLiteral("PRICOCO/TRICOCO"));
        m_control.PFont(QStringLiteral("Liberation Sans"), 17.5f, true);
        measured << m_control.CurX() << m_control.CurY() << m_control.WY(QString()) << m_control.NLines()
                 << m_control.mx() << m_control.MY() << m_control.PW() << m_control.PH();
        m_control.PNP();
        m_control.L(QStringLiteral("Página PRICOCO de TRICOCO"), 0, 0);
        measured << m_control.CurX() << m_control.NLines();
        return measured;
    }

    QTemporaryDir m_tempDir;
    QWidget m_host;
    quillet::Quillet m_control{&m_host};
};

QTEST_MAIN(DirectPageCountTest)
#include "direct_page_count_test.moc"
