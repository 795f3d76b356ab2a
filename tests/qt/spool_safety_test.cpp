// The spool file is private to its user, never written through a link someone
// planted, and gone however the listing ends, the process's exit included.

#include "PreviewDriver.h"
#include "quillet/ListingState.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

using quillet::Quillet;
using quillet::state;
using namespace preview_driver;

namespace {

QString spoolPath()
{
    return QString::fromStdString(state().SpoolPath);
}

QByteArray contents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

constexpr char ExitChildSwitch[] = "--compose-and-exit";

} // namespace

class SpoolSafetyTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        QVERIFY(m_tmp.isValid());
        qputenv("TMPDIR", m_tmp.path().toLocal8Bit());
    }
    void cleanup() { m_control.Abort(); }

    void spoolIsAPrivateRegularFileOfItsOwn()
    {
        openListing(m_control);
        struct stat info {};
        QCOMPARE(::lstat(spoolPath().toLocal8Bit().constData(), &info), 0);
        QVERIFY(S_ISREG(info.st_mode));
        QCOMPARE(info.st_mode & 07777, mode_t(0600));
        QCOMPARE(info.st_uid, ::getuid());
        QCOMPARE(info.st_nlink, nlink_t(1));
        QCOMPARE(QFileInfo(spoolPath()).absolutePath(), QFileInfo(m_tmp.path()).absoluteFilePath());
    }

    void plantedLinkAndForeignFileAreNeverTouched()
    {
        // The names a listing took before are the best guess of the next one.
        openListing(m_control);
        const QString linkPath = spoolPath();
        openListing(m_control);
        const QString foreignPath = spoolPath();
        m_control.Abort();
        const QString victim = m_tmp.filePath(QStringLiteral("victim"));
        QFile::remove(victim);
        QVERIFY(QFile(victim).open(QIODevice::WriteOnly));
        QVERIFY(QFile::link(victim, linkPath));
        QFile foreign(foreignPath);
        QVERIFY(foreign.open(QIODevice::WriteOnly) && foreign.write("foreign") == 7);
        foreign.close();

        openListing(m_control);
        QVERIFY(spoolPath() != linkPath && spoolPath() != foreignPath);
        composePages(m_control, 3);
        // Someone swaps the open spool for a link to the victim: writes go on
        // into the file that was opened, never through the link.
        const QString swapped = spoolPath();
        QVERIFY(QFile::remove(swapped) && QFile::link(victim, swapped));
        composePages(m_control, 3);
        showAndCheck(m_control, [](PreviewWindow &) {});

        QCOMPARE(contents(victim), QByteArray());
        QCOMPARE(QFileInfo(linkPath).symLinkTarget(), victim);
        QCOMPARE(contents(foreignPath), QByteArray("foreign"));
    }

    // Closing the preview and a new Init are checked in preview_window_test and lifecycle_test.
    void spoolIsDeletedByAbortAndByTheComponentsDestruction()
    {
        openListing(m_control);
        QString path = spoolPath();
        m_control.Abort();
        QVERIFY(!QFile::exists(path)); // checked now: the next Init deletes it too
        {
            Quillet doomed;
            openListing(doomed);
            path = spoolPath();
        }
        QVERIFY(!QFile::exists(path));
    }

    void spoolIsDeletedWhenTheProcessExits()
    {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(ExitChildSwitch)});
        QVERIFY(child.waitForFinished(60000));
        QCOMPARE(child.exitCode(), 0);
        const QString path = QString::fromLocal8Bit(child.readAllStandardOutput()).trimmed();
        QVERIFY(path.startsWith(m_tmp.path()));
        QVERIFY(!QFile::exists(path));
    }

private:
    QTemporaryDir m_tmp;
    Quillet m_control;
};

/// The child of spoolIsDeletedWhenTheProcessExits: composes, tells where its
/// spool is and returns from main without ending the listing.
static int composeAndExit(int argc, char **argv)
{
    QApplication app(argc, argv);
    Quillet control;
    control.Init(nullptr, QStringLiteral("Saída"), QStringLiteral("S"), QStringLiteral("P"), QStringLiteral("A4"),
                 true, true, true, true, false, true, false, true);
    control.L(QStringLiteral("página aberta"));
    QTextStream(stdout) << spoolPath() << Qt::endl;
    return 0;
}

int main(int argc, char **argv)
{
    if (argc == 2 && qstrcmp(argv[1], ExitChildSwitch) == 0)
        return composeAndExit(argc, argv);
    QApplication app(argc, argv);
    SpoolSafetyTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "spool_safety_test.moc"
