// Find and the hit counter through the page text index give what a scan of
// the whole spool gives: markers, column cells cut to their width,
// paragraphs, case folding beyond ASCII, accents and wildcards, finds both
// ways from several pages, with the index whole, cut short, damaged or gone.

#include "PreviewDriver.h"
#include "compose/Session.h"
#include "control/Runtime.h"
#include "find/TextFinder.h"
#include "preview/HitCounter.h"

#include <QFile>

using namespace preview_driver;
using quillet::HitCounter;
using quillet::Quillet;
using quillet::TextFinder;

namespace {

/// Markers, column cells, a paragraph, case beyond ASCII and wildcards.
const QStringList Patterns{"Página 5 de 12",
                           "de 12",
                           "total 12",
                           "ALFA",
                           "alfa",
                           "STRASSE",
                           "ID",
                           "longo demais para a coluna",
                           "NÚMERO 1?",
                           "número 11",
                           "[ab]lfa",
                           "de []12",
                           "PRICOCO",
                           "página 9",
                           "Artigo*#2",
                           "*",
                           "ß",
                           "zzz",
                           "NUMERO 1#"};

void composeMixedListing(Quillet &control)
{
    openListing(control);
    composePages(control, 12, [](Quillet &c, int page) {
        c.NewCol(0, 25);
        c.LCol(1, QStringLiteral("Artigo número %1, longo demais para a coluna").arg(page));
        c.C(page % 3 == 0 ? QStringLiteral("ALFA total tricoco") : QStringLiteral("alfa"));
        if (page == 7)
            c.R(QStringLiteral("Straße ıd"));
        if (page == 9)
            c.M(QStringLiteral("Um parágrafo que pode ocupar mais de uma linha, página PRICOCO"));
    });
}

/// For each pattern, case kept, ignored, and accents ignored too: the page found from pages 1, 6 and
/// 12 forward and backward (0: none), then the hit counter's "ordinal/hits"
/// with page 9 on view, the page index read up to indexedPages.
QStringList findAndCountAll(std::size_t indexedPages)
{
    quillet::Session &session = quillet::session();
    const std::vector<int32_t> &pageIndex = session.state.PageIndex;
    HitCounter counter;
    QEventLoop loop;
    QStringList results;
    QObject::connect(&counter, &HitCounter::counted, &loop, [&](int ordinal, int hits, bool finished) {
        if (finished) {
            results.last() += QStringLiteral(" %1/%2").arg(ordinal).arg(hits);
            loop.quit();
        }
    });
    for (const QString &pattern : Patterns)
        for (const quillet::FindOptions options :
             {quillet::FindOptions{}, quillet::FindOptions{true, false}, quillet::FindOptions{true, true}}) {
            results << pattern + (options.ignoreAccents ? QStringLiteral(" (any case, any accent):")
                                  : options.ignoreCase  ? QStringLiteral(" (any case):")
                                                        : QStringLiteral(":"));
            for (const int start : {1, 6, 12})
                for (const auto direction : {TextFinder::Direction::Forward, TextFinder::Direction::Backward})
                    results.last() +=
                        u' ' + QString::number(TextFinder(session)
                                                   .find(pattern.toStdString(), options, start, direction)
                                                   .value_or(0));
            counter.start(session.spool->snapshot({pageIndex.begin(), pageIndex.begin() + indexedPages}), 12,
                          pattern, options, {9, 0});
            loop.exec();
        }
    return results;
}

} // namespace

class FindIndexTest : public QObject {
    Q_OBJECT

private slots:
    void findAndCountOverTheIndexAgreeWithTheFullScan()
    {
        Quillet control;
        composeMixedListing(control);
        QStringList indexed;
        showAndCheck(control, [&](PreviewWindow &) {
            quillet::SpoolFile &spool = *quillet::session().spool;
            QFile index(QString::fromStdString(spool.texts()->path()));
            indexed = findAndCountAll(12);
            // Where the page index stops, the rest is read from the spool.
            QCOMPARE(findAndCountAll(5), indexed);
            QVERIFY(index.resize(index.size() / 2)); // damaged in the middle of a page's record
            QCOMPARE(findAndCountAll(12), indexed);
            spool.texts()->remove(); // without the index every page is searched
            QCOMPARE(findAndCountAll(12), indexed);
            // Both are read through the descriptors opened with them: by name there are endless zeros now.
            QVERIFY(QFile::remove(QString::fromStdString(spool.path())) &&
                    QFile::link("/dev/zero", QString::fromStdString(spool.path())) &&
                    QFile::link("/dev/zero", index.fileName()));
            QCOMPARE(findAndCountAll(12), indexed);
        });
        // What a user looks for: case kept, case folded beyond ASCII, a marker as its page shows it
        // and never as written, wildcards.
        for (const char *expected :
             {"alfa: 1 1 7 5 0 11 0/8", "STRASSE (any case): 7 0 7 0 0 7 0/1",
              "ID (any case): 0 0 0 0 0 0 0/0", "página 9 (any case): 9 0 9 0 0 9 1/2",
              "PRICOCO (any case): 0 0 0 0 0 0 0/0", "[ab]lfa (any case): 1 1 6 6 12 12 9/12",
              "Artigo*#2: 12 0 12 0 12 12 0/1", "NUMERO 1# (any case): 0 0 0 0 0 0 0/0",
              "NUMERO 1# (any case, any accent): 10 0 10 0 12 12 0/3"})
            QVERIFY2(indexed.contains(QString::fromUtf8(expected)), expected);
    }
};

QTEST_MAIN(FindIndexTest)
#include "find_index_test.moc"
