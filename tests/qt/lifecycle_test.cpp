// Opening and ending listings through the widget on the real printer set-up,
// and the spool file a listing keeps. A damaged spool file is fuzzed
// (fuzz/spool_replay_fuzz.cpp), a full disk is in the core's spool tests; a
// failing printer is in printing_test.

#include "PreviewDriver.h"
#include "compose/ListingState.h"
#include "control/Runtime.h"

#include <sys/stat.h>
#include <unistd.h>

using namespace preview_driver;
using quillet::Quillet;
using quillet::state;

namespace {

constexpr char ExitChildSwitch[] = "--compose-and-exit";

QString spoolPath()
{
    return QString::fromStdString(state().SpoolPath);
}

} // namespace

class LifecycleTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        m_control.setAbortPRT(false); // clears the flag and ends whatever is open
        m_host.setEnabled(true);
    }

    void initArguments()
    {
        QStringList opened;
        for (const auto &[orientation, paper] : std::initializer_list<std::pair<QVariant, QVariant>>{
                 {"land", "A4"}, {"X", "A4"}, {"P", "B99"}, {"P", 256}, {"L", "A3"}, {}, {"P", -1}}) {
            const int result = m_control.Init(&m_host, QString(), QStringLiteral("S"), orientation, paper);
            // A refused Init opens nothing and ends what was open: no spool file, no dialog, the
            // host's window usable again.
            const bool nothingOpen = state().SpoolNum == 0 && m_host.isEnabled() && !topLevel("wWAIT");
            // One opened over another replaces it: only its spool and text index, and it measures.
            const bool replaced =
                QDir(m_tmp.path()).entryList({QStringLiteral("Prt*")}, QDir::Files).size() == 2 &&
                m_control.WX(QStringLiteral("S")) > 0 && m_control.NLines() > 0;
            const QString size = QStringLiteral("%1 x %2").arg(m_control.PW()).arg(m_control.PH());
            opened << (result == 0   ? size + (replaced ? "" : ", not replaced")
                       : nothingOpen ? QString::number(result)
                                     : QStringLiteral("%1, yet open").arg(result));
        }
        // "land" is landscape; X is no orientation, B99 no paper, custom 0 x 0 no size. Missing
        // arguments keep the printer's settings; paper -1 is the loaded paper, turned to portrait.
        QCOMPARE(opened, (QStringList{"297 x 210", "1", "2", "30", "420 x 297", "420 x 297", "297 x 420"}));
    }

    void waitDialogCountsThePagesUntilTheListingEnds()
    {
        enum End { PreviewClosed, Cancelled, AbortPRT };
        // previewed: the preview as it opened: the wait dialog still shown, the pages to print,
        // the page count and the page on view; empty when none opened.
        // clang-format off
        const struct { End end; bool canShow; const char *previewed; bool waitAfter, hostEnabled;
                       const char *why; } rows[] = {
            {PreviewClosed, false, "0 1-7 of 7 on 1", true, true, "closing the preview ends the listing"},
            {Cancelled, false, "", false, true, "the wait dialog's Cancel aborts"},
            {Cancelled, true, "0 1-7 of 7 on 1", false, true, "or shows what was composed, if allowed"},
            {AbortPRT, false, "", false, false, "AbortPRT ends it too, leaving the host disabled"},
        };
        // clang-format on
        for (const auto &row : rows) {
            const auto explained = explainFailure(row.why);
            QCOMPARE(m_control.Init(&m_host, QStringLiteral("  Sete  "), QStringLiteral("S"),
                                    QStringLiteral("P"), QStringLiteral("A4"), true, true, true, true, true,
                                    true, row.canShow),
                     quint8(0));
            QVERIFY(state().Preview && !m_host.isEnabled() && m_control.Wait());
            QCOMPARE(QSizeF(m_control.PW(), m_control.PH()), QSizeF(210, 297));
            QWidget *wait = topLevel("wWAIT");
            QVERIFY(wait);
            QCOMPARE(child<QLabel>(*wait, "LBName")->text(), QStringLiteral("Sete"));
            for (int i = 0; i < 6; ++i)
                m_control.PNP();
            QCOMPARE(child<QLabel>(*wait, "LBPag")->text(), QStringLiteral("Página 7"));
            const QString spool = spoolPath();
            QString previewed;
            QPointer<QTimer> watch = onNextModal("quillet::PreviewWindow", [&](QWidget &preview) {
                QObject *cmd = preview.findChild<QObject *>(QStringLiteral("CMD"));
                previewed = QString::asprintf(
                    "%d %d-%d of %d on %d", bool(topLevel("wWAIT")), cmd->property("fromPage").toInt(),
                    cmd->property("toPage").toInt(), int(state().NumPages), int(state().CurPage));
                preview.close();
            });
            if (row.end == PreviewClosed)
                m_control.Show();
            else if (row.end == Cancelled)
                child<QPushButton>(*wait, "bCAN")->click();
            else
                m_control.setAbortPRT(true);
            QCOMPARE(m_control.Wait(), row.waitAfter);
            delete watch;
            QCOMPARE(previewed, QString::fromLatin1(row.previewed));
            QVERIFY(state().SpoolNum == 0 && !QFile::exists(spool));
            QCOMPARE(m_host.isEnabled(), row.hostEnabled);
            m_control.Show(); // the listing has ended: Show returns at once
            QVERIFY(!topLevel("ScrLst"));
            cleanup();
        }
    }

    void unusableTempDirMakesInitReturn3()
    {
        const auto restore = qScopeGuard([this] { qputenv("TMPDIR", QFile::encodeName(m_tmp.path())); });
        for (const QByteArray &tmpdir :
             {QByteArray("/nonexistent/quillet-tmp"), "/tmp/" + QByteArray(3995, 'd')}) {
            qputenv("TMPDIR", tmpdir);
            QCOMPARE(m_control.Init(nullptr, QStringLiteral("Sem espaço")), quint8(3));
            m_control.L(QStringLiteral("nada é gravado"));
            QVERIFY(!m_control.SavePDF(m_tmp.filePath(QStringLiteral("nada.pdf"))));
            m_control.Show(); // no listing: returns at once
            QCOMPARE(state().SpoolNum, 0);
            QVERIFY(!QApplication::activeModalWidget());
        }
    }

    void spoolIsAPrivateFileNeverWrittenThroughAPlantedLink()
    {
        // The name a listing took before is the best guess of the next one.
        openListing(m_control);
        const QString linkPath = spoolPath();
        m_control.Abort();
        const QString victim = m_tmp.filePath(QStringLiteral("victim"));
        QFile::remove(victim);
        QVERIFY(QFile(victim).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(victim, linkPath));

        openListing(m_control);
        struct stat info {};
        QCOMPARE(::lstat(spoolPath().toLocal8Bit().constData(), &info), 0);
        QVERIFY(S_ISREG(info.st_mode) && info.st_nlink == 1 && info.st_uid == ::getuid());
        QCOMPARE(info.st_mode & 07777, mode_t(0600));
        QCOMPARE(QFileInfo(spoolPath()).absolutePath(), QFileInfo(m_tmp.path()).absoluteFilePath());
        composePages(m_control, 3);
        // Someone swaps the open spool for a link to the victim: writes go on
        // into the file that was opened, never through the link.
        const QString swapped = spoolPath();
        QVERIFY(QFile::remove(swapped) && QFile::link(victim, swapped));
        composePages(m_control, 3);
        showAndCheck(m_control, [](PreviewWindow &) {});
        QCOMPARE(QFileInfo(victim).size(), 0);
        QCOMPARE(QFileInfo(linkPath).symLinkTarget(), victim);
    }

    void spoolIsDeletedByTheProcessExit()
    {
        // Abort and the component's end are in listing_owner_test.
        QProcess child; // this program, composing and returning (see main)
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(ExitChildSwitch)});
        QVERIFY(child.waitForFinished(120000) && child.exitStatus() == QProcess::NormalExit &&
                child.exitCode() == 0);
        const QString path = QString::fromLocal8Bit(child.readAllStandardOutput().trimmed());
        QVERIFY(path.startsWith(m_tmp.path()));
        QVERIFY(!QFile::exists(path));
    }

private:
    PrivateTemporaryFolder m_tmp;
    QWidget m_host;
    Quillet m_control{&m_host};
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 2 && qstrcmp(argv[1], ExitChildSwitch) == 0) {
        // Composes, tells where its spool is and returns without ending the listing.
        Quillet control;
        control.Init(nullptr, QStringLiteral("Filho"), QStringLiteral("S"), QStringLiteral("P"),
                     QStringLiteral("A4"), true, true, true, true, false, true, false, true);
        control.L(QStringLiteral("página aberta"));
        QTextStream(stdout) << spoolPath() << Qt::endl;
        return 0;
    }
    LifecycleTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "lifecycle_test.moc"
