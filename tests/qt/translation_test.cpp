// The component's texts follow QLocale(): English under an English locale,
// the Portuguese source texts, byte for byte, under C and Portuguese, also
// when a host changes language while the preview is open.

#include "PreviewDriver.h"

#include <QMessageBox>

using namespace preview_driver;
using quillet::Quillet;

namespace {

QString toolTip(QWidget &window, const char *name)
{
    return child(window, name)->toolTip();
}

/// The progress dialog's caption and text on page 3 of a print, then cancelled.
QStringList printProgress(PreviewWindow &window)
{
    QStringList seen;
    atPageOfNextJob(3, [&](QWidget &dialog) {
        seen << dialog.windowTitle() << child<QLabel>(dialog, "LBPag")->text();
        child<QPushButton>(dialog, "bCAN")->click();
    });
    clickPrint(window);
    return seen;
}

/// The find dialog's caption and the message of a text not found.
QStringList findNothing(PreviewWindow &window)
{
    QStringList seen;
    onNextModal("quillet::FindDialog", [&](QWidget &dialog) {
        seen << dialog.windowTitle();
        child<QLineEdit>(dialog, "TB1")->setText(QStringLiteral("zzz"));
        onNextModal("QMessageBox", [&](QWidget &box) {
            seen << static_cast<QMessageBox &>(box).text();
            static_cast<QMessageBox &>(box).accept();
        });
        QTest::mouseClick(child(dialog, "Command1"), Qt::LeftButton);
    });
    QTest::mouseClick(child(window, "butFIND"), Qt::LeftButton);
    return seen;
}

const QStringList Portuguese{"Pesquisar... (Ctrl+F; seguinte F3, anterior Shift+F3)",
                             "Procura um texto nas páginas (Ctrl+F; seguinte F3, anterior Shift+F3)",
                             "Página 1 de 10",
                             "Imprimindo...",
                             "Página 3 de 10 Páginas",
                             "Pesquisar...",
                             "\"zzz\" não foi encontrado !"};
const QStringList English{"Search... (Ctrl+F; next F3, previous Shift+F3)",
                          "Finds a text in the pages (Ctrl+F; next F3, previous Shift+F3)",
                          "Page 1 of 10",
                          "Printing...",
                          "Page 3 of 10 Pages",
                          "Search...",
                          "\"zzz\" was not found!"};

} // namespace

class TranslationTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup()
    {
        m_control.Abort();
        QLocale::setDefault(QLocale::c());
    }

    void textsFollowTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("switchedTo"); // while the preview is open
        QTest::addColumn<QStringList>("texts");
        // clang-format off
        QTest::newRow("C") << "C" << "" << Portuguese;
        QTest::newRow("Portuguese") << "pt_BR" << "" << Portuguese;
        QTest::newRow("English") << "en_US" << "" << English;
        QTest::newRow("English, by language") << "en_GB" << "" << English;
        QTest::newRow("to English while open") << "C" << "en_US" << English;
        QTest::newRow("back to Portuguese while open") << "en_US" << "pt_PT" << Portuguese;
        // clang-format on
    }

    void textsFollowTheLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, switchedTo);
        QFETCH(QStringList, texts);
        QLocale::setDefault(QLocale(locale));
        openListing(m_control);
        composePages(m_control, 10);
        QStringList seen;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            if (!switchedTo.isEmpty()) { // as a host switches: its locale, then its translators
                QLocale::setDefault(QLocale(switchedTo));
                QEvent change(QEvent::LanguageChange);
                QCoreApplication::sendEvent(qApp, &change);
                QCoreApplication::processEvents();
            }
            seen << toolTip(window, "butFIND") << child(window, "butFIND")->accessibleDescription()
                 << child<QLabel>(window, "LPag")->text() << printProgress(window) << findNothing(window);
        });
        QCOMPARE(seen, texts);
    }

private:
    Quillet m_control;
};

QTEST_MAIN(TranslationTest)
#include "translation_test.moc"
