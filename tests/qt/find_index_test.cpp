// Find through the page text index gives the pages a scan of the whole spool
// gives: markers, column cells cut to their width, paragraphs, case folding
// beyond ASCII and wildcards, both ways from several pages; the index file
// goes with the listing.

#include "PreviewDriver.h"
#include "compose/Session.h"
#include "preview/TextFinder.h"

#include <QFile>

using namespace preview_driver;
using quillet::Quillet;
using quillet::TextFinder;

class FindIndexTest : public QObject {
    Q_OBJECT

private slots:
    void findOverTheIndexAgreesWithTheFullScan()
    {
        Quillet control;
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
        const QStringList patterns{"Página 5 de 12", "de 12", "total 12", "ALFA", "alfa", "STRASSE", "ID",
                                   "longo demais para a coluna", "NÚMERO 1?", "número 11", "[ab]lfa", "de []12",
                                   "PRICOCO", "página 9", "Artigo*#2", "*", "ß", "zzz"};
        using Results = QList<std::optional<int>>;
        const auto findAll = [&] {
            Results results;
            for (const QString &pattern : patterns)
                for (const bool ignoreCase : {false, true})
                    for (const int start : {1, 6, 12})
                        for (const auto direction : {TextFinder::Direction::Forward, TextFinder::Direction::Backward})
                            results << TextFinder(quillet::session()).find(pattern, ignoreCase, start, direction);
            return results;
        };
        Results indexed, scanned;
        std::string indexPath;
        showAndCheck(control, [&](PreviewWindow &) {
            indexPath = quillet::session().spool->texts()->path();
            indexed = findAll();
            QVERIFY(QFile::remove(QString::fromStdString(indexPath))); // without it every page is searched
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
};

QTEST_MAIN(FindIndexTest)
#include "find_index_test.moc"
