// Faults from outside: a full disk while composing, a temporary directory that
// cannot hold the spool. A damaged spool file is fuzzed (fuzz/spool_replay_fuzz.cpp);
// a printer queue that fails before printing is in printing_test.

#include "PreviewDriver.h"
#include "compose/Session.h"
#include "control/Runtime.h"
#include "platform/ImageSurface.h"

#include <QProcess>
#include <QtTest>

#include <csignal>
#include <sys/resource.h>

using quillet::Quillet;
using quillet::session;
using namespace preview_driver;

namespace {

constexpr char FullDiskChildSwitch[] = "--compose-on-a-full-disk";

/// A listing without the wait dialog, its first page written before the disk fills.
void openWithFirstPage(Quillet &q)
{
    q.Init(nullptr, QStringLiteral("Disco cheio"), QStringLiteral("S"), QStringLiteral("P"),
           QStringLiteral("A4"), true, true, true, true, false, true, false, true);
    q.C(QStringLiteral("Primeira página, gravada antes do disco encher"), 20);
    q.PBox(40, 0, 80, 120, 2);
}

QImage firstPageAsShown(Quillet &q)
{
    QImage page;
    showAndCheck(
        q, [&page](PreviewWindow &) { page = quillet::Runtime::instance().pageSurface().image().copy(); });
    return page;
}

QString spoolPath()
{
    return QString::fromStdString(session().state.SpoolPath);
}

} // namespace

class FaultsTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { m_control.Abort(); }

    void fullDiskKeepsComposingAndTheEarlierPagesReplay()
    {
        // In a child: a file size limit would also stop this runner's own logs.
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(FullDiskChildSwitch)});
        QVERIFY(child.waitForFinished(120000));
        QCOMPARE(child.exitStatus(), QProcess::NormalExit);
        QCOMPARE(child.exitCode(), 0);
    }

    void unusableTempDirMakesInitReturn3_data()
    {
        QTest::addColumn<QByteArray>("tmpdir");
        QTest::newRow("missing") << QByteArray("/nonexistent/quillet-tmp");
        QTest::newRow("read-only") << QByteArray("/proc"); // not writable even by root
        QTest::newRow("a file") << QByteArray("/etc/hostname");
        QTest::newRow("4000 characters") << QByteArray("/tmp/") + QByteArray(3995, 'd');
    }
    void unusableTempDirMakesInitReturn3()
    {
        QFETCH(QByteArray, tmpdir);
        const QByteArray saved = qgetenv("TMPDIR");
        qputenv("TMPDIR", tmpdir);
        const quint8 result = m_control.Init(nullptr, QStringLiteral("Sem espaço"));
        m_control.L(QStringLiteral("nada é gravado"));
        m_control.Show(); // no listing: returns at once
        qputenv("TMPDIR", saved);
        QCOMPARE(result, quint8(3));
        QCOMPARE(session().state.SpoolNum, 0);
        QVERIFY(!QApplication::activeModalWidget());
    }

private:
    Quillet m_control;
};

/// The child of fullDiskKeepsComposingAndTheEarlierPagesReplay: page 1 as
/// shown with room on the disk and with the disk full after it must match.
static int composeOnAFullDisk(int argc, char **argv)
{
    QApplication app(argc, argv);
    Quillet control;
    openWithFirstPage(control);
    const QImage withRoom = firstPageAsShown(control);

    openWithFirstPage(control);
    std::signal(SIGXFSZ, SIG_IGN);
    const rlim_t full = static_cast<rlim_t>(QFileInfo(spoolPath()).size());
    const rlimit limit{full, full};
    if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
        return 2;
    composePages(control, 40, [](Quillet &q, int) { q.M(QString(300, QChar(u'z')), -1, 0, 100); });
    const bool nothingMore = QFileInfo(spoolPath()).size() == qint64(full);
    const QImage afterTheFault = firstPageAsShown(control);
    if (!nothingMore)
        return 3;
    return afterTheFault == withRoom && !withRoom.isNull() ? 0 : 4;
}

int main(int argc, char **argv)
{
    if (argc == 2 && qstrcmp(argv[1], FullDiskChildSwitch) == 0)
        return composeOnAFullDisk(argc, argv);
    QApplication app(argc, argv);
    FaultsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "faults_test.moc"
