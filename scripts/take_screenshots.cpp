// Draws the README's pictures of the preview into a folder (docs/ by
// scripts/take-screenshots.sh): a found text marked on its page, the find
// dialog, the thumbnail panel, and the page box open. Not a test.

#include "PreviewDriver.h"

#include <QLineEdit>

using namespace preview_driver;
using quillet::Quillet;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        qCritical("usage: take_screenshots FOLDER");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    Quillet control;
    control.Init(nullptr, QStringLiteral("Teste"), QStringLiteral("S"), QStringLiteral("P"),
                 QStringLiteral("A4"), true, true, true, true, false, true, false, true);
    composePages(control, 12, [](Quillet &c, int page) {
        c.PFont(QStringLiteral("DejaVu Sans"), 14, true);
        c.C(QStringLiteral("Relatório de vendas"), 25);
        c.PFont(QStringLiteral("DejaVu Sans"), 11);
        for (int line = 0; line < 18; ++line) {
            c.L(QStringLiteral("Artigo %1 - %2")
                    .arg(page * 100 + line)
                    .arg(line % 5 ? "parafuso" : "porca sextavada"),
                40 + line * 7, 10);
            c.R(QString::number((page * 37 + line * 11) % 500) + QStringLiteral(",00 €"), 40 + line * 7, 180);
        }
        c.PLine(36, 0, 36, 190, 1);
    });
    bool saved = false;
    onNextModal("quillet::PreviewWindow", [&](QWidget &window) {
        window.resize(1000, 760);
        if (!QTest::qWaitFor([&] { return !pageLabelText(window).isEmpty(); }))
            qWarning("page 1 of the preview was never painted");
        onNextModal("quillet::FindDialog", [&](QWidget &dialog) {
            child<QLineEdit>(dialog, "TB1")->setText(QStringLiteral("porca"));
            QTest::qWait(200);
            dialog.grab().save(folder + QStringLiteral("/preview-find-dialog.png"));
            QTest::mouseClick(child(dialog, "Command1"), Qt::LeftButton);
        });
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
        QTest::keyClick(&window, Qt::Key_F3);
        QTest::keyClick(&window, Qt::Key_F3);
        saved = window.grab().save(folder + QStringLiteral("/preview-find.png"));

        QTest::mouseClick(child(window, "butTHUMB"), Qt::LeftButton);
        QTest::qWait(300);
        saved = saved && window.grab().save(folder + QStringLiteral("/preview-thumbnails.png"));

        QTest::keyClick(&window, Qt::Key_G, Qt::ControlModifier);
        QTest::keyClicks(child(window, "ePAGE"), QStringLiteral("7"));
        saved = saved && window.grab().save(folder + QStringLiteral("/preview-go-to-page.png"));
        window.close();
    });
    control.Show();
    return saved ? 0 : 1;
}
