// Opening and ending listings through the widget, on the real printer set-up.

#include "PreviewDriver.h"
#include "quillet/ListingState.h"
#include "spool/SpoolRecord.h"

#include <QPushButton>

using preview_driver::onNextModal;
using quillet::Quillet;
using quillet::state;

namespace {

QWidget *topLevel(const char *objectName)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(objectName) && w->isVisible())
            return w;
    return nullptr;
}

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

    void defaultsOpenAPreviewOnA4PortraitWithAPrivateSpool()
    {
        QCOMPARE(m_control.Init(&m_host, QStringLiteral("  Vendas  ")), quint8(0));
        QVERIFY(state().Preview && state().Spooling && !m_host.isEnabled());
        QCOMPARE(state().ListName, std::string("Vendas"));
        QCOMPARE(QSizeF(m_control.PW(), m_control.PH()), QSizeF(210, 297));
        QVERIFY(QFileInfo(spoolPath()).fileName().startsWith(QStringLiteral("Prt")));
        // Eight default commands, the font name in one chunk.
        QCOMPARE(QFileInfo(spoolPath()).size(), 9 * quillet::SlotSize);

        QWidget *wait = topLevel("wWAIT");
        QVERIFY(wait);
        QCOMPARE(wait->findChild<QLabel *>(QStringLiteral("LBName"))->text(), QStringLiteral("Vendas"));
        m_control.PNP();
        QCOMPARE(wait->findChild<QLabel *>(QStringLiteral("LBPag"))->text(), QStringLiteral("Página 2"));

        const QString first = spoolPath(); // a second Init replaces the listing
        QCOMPARE(m_control.Init(&m_host), quint8(0));
        QVERIFY(!QFile::exists(first) && QFile::exists(spoolPath()));
        QCOMPARE(state().PageIndex, std::vector<int32_t>{1});
        m_control.PMargins(1e30f, 1e30f, 1e30f, 1e30f);
        QVERIFY(qIsFinite(m_control.mx()) && qIsFinite(m_control.CurY()));
    }

    void initArguments()
    {
        using Arguments = std::pair<QVariant, QVariant>;
        QStringList opened;
        for (const auto &[orientation, paper] :
             {Arguments{"X", "A4"}, Arguments{"P", "B99"}, Arguments{"P", 256}, Arguments{"land", "A4"}}) {
            const int result = m_control.Init(&m_host, QString(), QStringLiteral("S"), orientation, paper);
            // A refused Init opens nothing: no spool file, no dialog, the host's window stays usable.
            const bool nothingOpen = state().SpoolNum == 0 && m_host.isEnabled() && !topLevel("wWAIT");
            opened << (result == 0   ? QStringLiteral("%1 x %2").arg(m_control.PW()).arg(m_control.PH())
                       : nothingOpen ? QString::number(result)
                                     : QStringLiteral("%1, yet open").arg(result));
        }
        // X is no orientation, B99 no paper, custom 0 x 0 no size; "land" is landscape.
        QCOMPARE(opened, (QStringList{"1", "2", "30", "297 x 210"}));
    }

    void missingArgumentsKeepThePrintersSettings()
    {
        QCOMPARE(m_control.Init(nullptr, QString(), QStringLiteral("S"), QStringLiteral("L"),
                                QStringLiteral("A3")),
                 quint8(0));
        QCOMPARE(m_control.Init(nullptr, QString(), QStringLiteral("S"), QVariant(), QVariant()), quint8(0));
        QCOMPARE(QSizeF(m_control.PW(), m_control.PH()), QSizeF(420, 297));
        QCOMPARE(m_control.Init(nullptr, QString(), QStringLiteral("S"), QStringLiteral("P"), -1), quint8(0));
        QCOMPARE(m_control.PH(), 420.0f);
    }

    void showOpensThePreviewAndClosingItEndsTheListing()
    {
        QCOMPARE(m_control.Init(&m_host, QStringLiteral("Sete")), quint8(0));
        for (int i = 0; i < 6; ++i)
            m_control.PNP();
        const QString spool = spoolPath();
        QStringList seen;
        onNextModal("quillet::PreviewWindow", [&](QWidget &preview) {
            QObject *cmd = preview.findChild<QObject *>(QStringLiteral("CMD"));
            seen << QStringLiteral("%1 %2-%3 of %4 on %5")
                        .arg(bool(topLevel("wWAIT")))
                        .arg(cmd->property("fromPage").toInt())
                        .arg(cmd->property("toPage").toInt())
                        .arg(state().NumPages)
                        .arg(state().CurPage);
            preview.close();
        });
        m_control.Show();
        QCOMPARE(seen, QStringList{QStringLiteral("0 1-7 of 7 on 1")});
        QVERIFY(!QFile::exists(spool) && m_host.isEnabled());
        m_control.Show(); // the listing has ended: a second Show returns at once, and Wait goes on
        QVERIFY(!topLevel("ScrLst") && m_control.Wait());
    }

    void waitReportsCancel()
    {
        for (bool canShow : {false, true}) { // Cancel aborts, or shows what was composed
            QCOMPARE(m_control.Init(&m_host, QString(), QStringLiteral("S"), QStringLiteral("P"),
                                    QStringLiteral("A4"), true, true, true, true, true, true, canShow),
                     quint8(0));
            QVERIFY(m_control.Wait());
            const QString spool = spoolPath();
            topLevel("wWAIT")->findChild<QPushButton *>(QStringLiteral("bCAN"))->click();
            bool previewShown = false;
            QPointer<QTimer> watch = onNextModal("quillet::PreviewWindow", [&](QWidget &preview) {
                previewShown = true;
                preview.close();
            });
            QVERIFY(!m_control.Wait());
            delete watch;
            QCOMPARE(previewShown, canShow);
            QVERIFY(!QFile::exists(spool) && m_host.isEnabled());
        }
        QCOMPARE(m_control.Init(&m_host), quint8(0)); // AbortPRT ends it too, leaving the host disabled
        m_control.setAbortPRT(true);
        QVERIFY(m_control.AbortPRT() && !m_control.Wait());
        QVERIFY(state().SpoolNum == 0 && !m_host.isEnabled());
    }

private:
    QWidget m_host;
    Quillet m_control{&m_host};
};

QTEST_MAIN(LifecycleTest)
#include "lifecycle_test.moc"
