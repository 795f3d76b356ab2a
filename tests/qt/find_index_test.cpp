// Find and the hit counter through the page text index give what a scan of
// the whole spool gives: markers, column cells cut to their width,
// paragraphs, case folding beyond ASCII and wildcards, finds both ways from
// several pages; the index file goes with the listing.

#include "PreviewDriver.h"
#include "compose/Session.h"
#include "control/Runtime.h"
#include "preview/HitCounter.h"
#include "preview/TextFinder.h"

#include <QFile>

using namespace preview_driver;
using quillet::HitCounter;
using quillet::Quillet;
using quillet::TextFinder;

namespace {

/// Markers, column cells, a paragraph, case beyond ASCII and wildcards.
const QStringList Patterns{"Página 5 de 12", "de 12", "total 12", "ALFA", "alfa", "STRASSE", "ID",
                           "longo demais para a coluna", "NÚMERO 1?", "número 11", "[ab]lfa", "de []12",
                           "PRICOCO", "página 9", "Artigo*#2", "*", "ß", "zzz"};

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

/// Puts a link to /dev/zero where a file of the listing was: whoever reads by
/// the name from now on reads zeros without end.
bool replacedByEndlessZeros(const std::string &path)
{
    const QString name = QString::fromStdString(path);
    return QFile::remove(name) && QFile::link(QStringLiteral("/dev/zero"), name);
}

} // namespace

class FindIndexTest : public QObject {
    Q_OBJECT

private slots:
    void findOverTheIndexAgreesWithTheFullScan()
    {
        Quillet control;
        composeMixedListing(control);
        using Results = QList<std::optional<int>>;
        const auto findAll = [&] {
            Results results;
            for (const QString &pattern : Patterns)
                for (const bool ignoreCase : {false, true})
                    for (const int start : {1, 6, 12})
                        for (const auto direction :
                             {TextFinder::Direction::Forward, TextFinder::Direction::Backward})
                            results
                                << TextFinder(quillet::session()).find(pattern, ignoreCase, start, direction);
            return results;
        };
        Results indexed, scanned;
        std::string indexPath;
        showAndCheck(control, [&](PreviewWindow &) {
            quillet::SpoolFile &spool = *quillet::session().spool;
            indexed = findAll();
            QVERIFY(replacedByEndlessZeros(spool.path()) && replacedByEndlessZeros(spool.texts()->path()));
            QCOMPARE(findAll(), indexed);
            spool.texts()->remove(); // without the index every page is searched
            scanned = findAll();
        });
        QCOMPARE(indexed, scanned);
        QVERIFY(indexed.contains(std::optional<int>(7)) && indexed.contains(std::nullopt));

        // Reopened, the index is written again and closing the preview deletes it.
        openListing(control);
        composePages(control, 2);
        showAndCheck(control, [&](PreviewWindow &) {
            indexPath = quillet::session().spool->texts()->path();
            QVERIFY(QFile::exists(QString::fromStdString(indexPath)));
        });
        QVERIFY(!QFile::exists(QString::fromStdString(indexPath)));
    }

    void hitCountOverTheIndexAgreesWithTheFullScan()
    {
        Quillet control;
        composeMixedListing(control);
        using Counts = QList<QPair<int, int>>; // (the ordinal of the hit on view, hits)
        const auto countAll = [](const std::vector<int32_t> &pageIndex) {
            quillet::Session &session = quillet::session();
            HitCounter counter;
            Counts counts;
            QEventLoop loop;
            QObject::connect(&counter, &HitCounter::counted, &loop,
                             [&](int ordinal, int hits, bool finished) {
                                 if (finished) {
                                     counts << qMakePair(ordinal, hits);
                                     loop.quit();
                                 }
                             });
            for (const QString &pattern : Patterns)
                for (const bool ignoreCase : {false, true}) {
                    counter.start(session.spool->snapshot(pageIndex), 12, pattern, ignoreCase, {9, 0});
                    loop.exec();
                }
            return counts;
        };
        Counts indexed, indexedToPage5, cutIndex, scanned;
        showAndCheck(control, [&](PreviewWindow &) {
            const std::vector<int32_t> &pageIndex = quillet::session().state.PageIndex;
            QFile index(QString::fromStdString(quillet::session().spool->texts()->path()));
            indexed = countAll(pageIndex);
            // Where the page index stops, the rest is read from the spool.
            indexedToPage5 = countAll({pageIndex.begin(), pageIndex.begin() + 5});
            QVERIFY(index.resize(index.size() / 2)); // damaged in the middle of a page's record
            cutIndex = countAll(pageIndex);
            QVERIFY(index.remove());
            scanned = countAll(pageIndex);
            const quillet::SpoolFile &spool = *quillet::session().spool;
            QVERIFY(replacedByEndlessZeros(spool.path()) && QFile::link("/dev/zero", index.fileName()));
            QCOMPARE(countAll(pageIndex), scanned);
        });
        QCOMPARE(indexed, scanned);
        QCOMPARE(indexedToPage5, scanned);
        QCOMPARE(cutIndex, scanned);
        // "alfa" ignoring case: one a page, the one on view the ninth; "*": every text command.
        QCOMPARE(scanned[2 * Patterns.indexOf("alfa") + 1], qMakePair(9, 12));
        QVERIFY(scanned[2 * Patterns.indexOf("*")].second > 12 * 3);
    }
};

QTEST_MAIN(FindIndexTest)
#include "find_index_test.moc"
