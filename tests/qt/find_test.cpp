// Find in the preview through its dialog, F3 and the hit counter. Find and the
// counter through the page text index give what a scan of the whole spool
// gives, however the index is left. How texts match is in core/FindTest.

#include "PreviewDriver.h"
#include "compose/ListingState.h"
#include "compose/Session.h"
#include "control/Runtime.h"
#include "find/TextFinder.h"
#include "preview/HitCounter.h"
#include "preview/PageView.h"

using namespace preview_driver;
using quillet::HitCounter;
using quillet::Quillet;
using quillet::TextFinder;

namespace {

/// One use of the find dialog: the text typed (which selects the first page as the
/// start), the case option, the next page as the start, Cancel rather than Find.
struct FindStep {
    const char *text = nullptr;
    std::optional<bool> ignoreCase = std::nullopt;
    bool fromNext = false, cancel = false;
    const char *seen = nullptr; ///< the dialog as it opened, the page label afterwards, any message
    const char *why = nullptr;
};

/// Runs step through butFIND and answers the message box if one comes. The dialog as it opened
/// reads "text" then i: ignoring case, n: from the next page, -: that option disabled.
QString find(PreviewWindow &window, const FindStep &step)
{
    QString opened, message;
    QPointer<QTimer> messageWatch;
    onNextModal("quillet::FindDialog", [&](QWidget &dialog) {
        auto *next = child<QRadioButton>(dialog, "CP");
        auto *ignoreCase = child<QCheckBox>(dialog, "MM");
        opened = QString::asprintf("\"%s\" %s%s%s", qUtf8Printable(child<QLineEdit>(dialog, "TB1")->text()),
                                   ignoreCase->isChecked() ? "i" : "", next->isChecked() ? "n" : "",
                                   next->isEnabled() ? "" : "-");
        if (step.text) { // then edited by keys, as a user does
            child<QLineEdit>(dialog, "TB1")->setText(QString::fromUtf8(step.text));
            QTest::keyClick(child(dialog, "TB1"), Qt::Key_Space);
            QTest::keyClick(child(dialog, "TB1"), Qt::Key_Backspace);
        }
        if (step.fromNext)
            next->setChecked(true);
        if (step.ignoreCase)
            ignoreCase->setChecked(*step.ignoreCase);
        messageWatch = onNextModal("QMessageBox", [&](QWidget &box) {
            QCOMPARE(box.windowTitle(), QStringLiteral("Pesquisar..."));
            message = static_cast<QMessageBox &>(box).text();
            static_cast<QMessageBox &>(box).accept();
        });
        QTest::mouseClick(child(dialog, step.cancel ? "Command2" : "Command1"), Qt::LeftButton);
    });
    QTest::mouseClick(child(window, "butFIND"), Qt::LeftButton);
    delete messageWatch; // found: no message came
    return QStringList{opened, pageLabelText(window), message}.join(QStringLiteral(" | ")).trimmed();
}

/// Pages 1 to 5; "Alfa" on pages 2 and 4, "ALFA" on page 5, "Total 7n" on page n.
void composeAlfaListing(Quillet &control)
{
    openListing(control);
    composePages(control, 5, [](Quillet &c, int page) {
        if (page == 2 || page == 4)
            c.C(QStringLiteral("Relatório Alfa"));
        if (page == 5)
            c.R(QStringLiteral("ALFA"));
        c.L(QStringLiteral("Total %1").arg(page * 7));
    });
}

/// Markers, column cells, a paragraph, texts never joined, folding and accents
/// that the byte filter must let through, wildcards that leave it no literal.
const QStringList Patterns{
    "Página 5 de 12", "de 12",   "página 9",  "PRICOCO",   "longo demais para a coluna",
    "total 12",       "alfa",    "STRASSE",   "NÚMERO 1?", "NUMERO 1#",
    "[ab]lfa",        "de []12", "Artigo*#2", "*"};

void composeMixedListing(Quillet &control)
{
    openListing(control);
    composePages(control, 12, [](Quillet &c, int page) {
        c.NewCol(0, 25);
        c.LCol(1, QStringLiteral("Artigo número %1, longo demais para a coluna").arg(page));
        c.C(page % 3 == 0 ? QStringLiteral("ALFA total tricoco") : QStringLiteral("alfa"));
        if (page == 7)
            c.R(QStringLiteral("Straße"));
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

class FindTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { m_control.Abort(); }

    void findsStepFromTheChosenStartAndCancelKeepsTheOptions()
    {
        // clang-format off
        const FindStep steps[] = {
            {"alfa", {}, false, false, "\"\" in | Página 2 de 5 |",
             "opens empty, from the next page, ignoring case; typing starts from the first page"},
            {.seen = "\"alfa\" in | Página 4 de 5 |", .why = "the next goes on from where the last stopped"},
            {.seen = "\"alfa\" in | Página 5 de 5 |", .why = "\"ALFA\" on page 5, case ignored"},
            {.seen = "\"alfa\" i- | Página 2 de 5 |", .why = "on the last page only page 1 can start"},
            {"Alfa", false, false, true, "\"alfa\" in | Página 2 de 5 |", "a cancelled find stays"},
            {.seen = "\"alfa\" in | Página 4 de 5 |", .why = "and keeps the last text and options"},
            {"ALFA", false, false, false, "\"alfa\" in | Página 5 de 5 |", "case kept: only its own page"},
            {"ALFA", true, false, false, "\"ALFA\" - | Página 2 de 5 |", "then ignored: every page"},
            {"Total 7", {}, false, false, "\"ALFA\" in | Página 1 de 5 |", "typed, from the first page"},
            {"Total 7", {}, true, false,
             "\"Total 7\" in | Página 1 de 5 | \"Total 7\" não foi encontrado !", "or from the next one"},
            {"[Alfa", {}, false, false,
             "\"Total 7\" in | Página 1 de 5 | \"[Alfa\" não foi encontrado !", "a bad pattern"},
        };
        // clang-format on
        composeAlfaListing(m_control);
        showAndCheck(m_control, [&](PreviewWindow &window) {
            for (const FindStep &step : steps) {
                const auto explained = explainFailure(step.why);
                QCOMPARE(find(window, step), QString::fromUtf8(step.seen));
            }
        });
    }

    void foundTextIsMarkedStepsWithF3AndIsCountedForTheLastTextOnly()
    {
        // The counter's "ordinal de hits" as the dialog's text and accent option change, on page 6.
        // clang-format off
        const struct { const char *text; bool ignoreAccents; const char *hits, *why; } counts[] = {
            {"alfa", false, "4 de 5", "as opened: the hit marked is the fourth of five"},
            {"Total", false, "0 de 5", "none on the page in view"},
            {"relatorio", true, "0 de 2", "accents ignored: \"Relatório\" on pages 2 and 4"},
            {"[x", false, "0 de 0", "a bad pattern counts nothing"},
            {"", false, "", "no text, no count"},
        };
        // clang-format on
        composeAlfaListing(m_control);
        m_control.PNP(); // page 6: two hits
        m_control.L(QStringLiteral("alfa um"));
        m_control.PNL();
        m_control.L(QStringLiteral("outra alfa"));
        QList<QRectF> marks; // on page 2, at 100 % then at 200 %
        QStringList steps, counted;
        QList<int> arrivedCounts;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            auto *view = window.findChild<quillet::PageView *>(QStringLiteral("PRT"));
            const auto where = [&] {
                return QString::asprintf("%d:%d/%d", int(quillet::state().CurPage), view->currentHighlight(),
                                         int(view->highlights().size()));
            };
            find(window, {"alfa"});
            steps << where();
            // The mark covers drawn text: dark pixels inside.
            const QImage page = view->grab().toImage();
            const QRect box = view->highlights().value(0).toAlignedRect();
            int dark = 0;
            for (int y = box.top(); y <= box.bottom(); ++y)
                for (int x = box.left(); x <= box.right(); ++x)
                    dark += qGray(page.pixel(x, y)) < 100;
            QVERIFY(dark > 10);
            marks << view->highlights();
            child<QLineEdit>(window, "ESC")->setText(QStringLiteral("200"));
            QTest::keyClick(child(window, "ESC"), Qt::Key_Return);
            view->grab();
            marks << view->highlights();
            for (int press = 1; press <= 7; ++press) { // F3 five times, then Shift+F3 twice
                QTest::keyClick(&window, Qt::Key_F3, press <= 5 ? Qt::NoModifier : Qt::ShiftModifier);
                steps << where();
            }
            // The counter counts while the dialog stays usable.
            onNextModal("quillet::FindDialog", [&](QWidget &dialog) {
                auto *hits = child<QLabel>(dialog, "LHits");
                for (const auto &row : counts) {
                    child<QCheckBox>(dialog, "AC")->setChecked(row.ignoreAccents);
                    child<QLineEdit>(dialog, "TB1")->setText(QString::fromUtf8(row.text));
                    (void)QTest::qWaitFor([&] { return hits->text() == QString::fromUtf8(row.hits); });
                    counted << hits->text();
                }
                QTest::mouseClick(child(dialog, "Command2"), Qt::LeftButton);
            });
            QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
            QTest::keyClick(&window, Qt::Key_PageDown); // the marks last until the page changes
            QTest::keyClick(&window, Qt::Key_PageUp);
            steps << where();
            // A count for an earlier text never arrives.
            HitCounter counter;
            connect(&counter, &HitCounter::counted, [&](int, int hits, bool) { arrivedCounts << hits; });
            for (const QString &text : {QStringLiteral("alfa"), QStringLiteral("outra")}) {
                counter.start(quillet::session().spool->snapshot(quillet::state().PageIndex), 6, text,
                              {.ignoreCase = true}, {});
                QThread::msleep(100); // the count is sent, not yet received
            }
            QTRY_VERIFY(!arrivedCounts.isEmpty());
        });
        QCOMPARE(arrivedCounts, QList<int>{1});
        // Hits on pages 2, 4, 5 and twice on 6; F3 past the last goes round to the
        // first, Shift+F3 from there back round to the last.
        QCOMPARE(steps, (QStringList{"2:0/1", "4:0/1", "5:0/1", "6:0/2", "6:1/2", "2:0/1", "6:1/2", "6:0/2",
                                     "5:-1/0"}));
        QCOMPARE(counted.size(), qsizetype(std::size(counts)));
        for (int i = 0; i < counted.size(); ++i) {
            const auto explained = explainFailure(counts[i].why);
            QCOMPARE(counted[i], QString::fromUtf8(counts[i].hits));
        }
        QVERIFY(marks.size() == 2 && qAbs(marks[1].width() - 2 * marks[0].width()) < 2 &&
                qAbs(marks[1].left() - 2 * marks[0].left()) < 2);
    }

    void findAndCountOverTheIndexAgreeWithTheFullScan()
    {
        composeMixedListing(m_control);
        QStringList indexed;
        showAndCheck(m_control, [&](PreviewWindow &) {
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
              "página 9 (any case): 9 0 9 0 0 9 1/2", "PRICOCO (any case): 0 0 0 0 0 0 0/0",
              "[ab]lfa (any case): 1 1 6 6 12 12 9/12", "Artigo*#2: 12 0 12 0 12 12 0/1",
              "NUMERO 1# (any case): 0 0 0 0 0 0 0/0",
              "NUMERO 1# (any case, any accent): 10 0 10 0 12 12 0/3"})
            QVERIFY2(indexed.contains(QString::fromUtf8(expected)), expected);
    }

private:
    Quillet m_control;
};

QTEST_MAIN(FindTest)
#include "find_test.moc"
