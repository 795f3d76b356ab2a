// Takes the README's screenshots of the preview when QUILLET_SCREENSHOTS_DIR
// names a folder: a found text marked on its page, the thumbnail panel, and
// the page box open. Without it there is nothing to do.

#include "PreviewDriver.h"

#include <QCheckBox>
#include <QLineEdit>

using namespace preview_driver;
using quillet::Quillet;

class ScreenshotsTest : public QObject {
    Q_OBJECT

private slots:
    void takeScreenshots()
    {
        const QString folder = qEnvironmentVariable("QUILLET_SCREENSHOTS_DIR");
        if (folder.isEmpty())
            QSKIP("QUILLET_SCREENSHOTS_DIR is not set");
        Quillet control;
        openListing(control);
        composePages(control, 12, [](Quillet &c, int page) {
            c.PFont(QStringLiteral("DejaVu Sans"), 14, true);
            c.C(QStringLiteral("Relatório de vendas"), 25);
            c.PFont(QStringLiteral("DejaVu Sans"), 11);
            for (int line = 0; line < 18; ++line) {
                c.L(QStringLiteral("Artigo %1 - %2").arg(page * 100 + line).arg(line % 5 ? "parafuso" : "porca sextavada"),
                    40 + line * 7, 10);
                c.R(QString::number((page * 37 + line * 11) % 500) + QStringLiteral(",00 €"), 40 + line * 7, 180);
            }
            c.PLine(36, 0, 36, 190, 1);
        });
        showAndCheck(
            control,
            [&](PreviewWindow &window) {
                onNextModal("quillet::FindDialog", [&](QWidget &dialog) {
                    child<QLineEdit>(dialog, "TB1")->setText(QStringLiteral("porca"));
                    QTest::qWait(200);
                    dialog.grab().save(folder + QStringLiteral("/preview-find-dialog.png"));
                    QTest::mouseClick(child(dialog, "Command1"), Qt::LeftButton);
                });
                QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
                QTest::keyClick(&window, Qt::Key_F3);
                QTest::keyClick(&window, Qt::Key_F3);
                window.grab().save(folder + QStringLiteral("/preview-find.png"));

                QTest::mouseClick(child(window, "butTHUMB"), Qt::LeftButton);
                QTest::qWait(300);
                window.grab().save(folder + QStringLiteral("/preview-thumbnails.png"));

                QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
                QTest::keyClicks(child(window, "ePAGE"), QStringLiteral("7"));
                window.grab().save(folder + QStringLiteral("/preview-go-to-page.png"));
            },
            QSize(1000, 760));
    }
};

QTEST_MAIN(ScreenshotsTest)
#include "screenshots_test.moc"
