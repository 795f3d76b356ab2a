// What a user meets around the preview's jobs: every caption of the dialogs
// whole in either language, the file a PDF is first proposed as, and the
// set-up dialog's accept button saying what it does.

#include "PreviewDriver.h"
#include "preview/FindDialog.h"
#include "print/PageRangeDialog.h"
#include "print/PdfExport.h"
#include "print/PrinterDialog.h"
#include "print/WaitDialog.h"
#include "widgets/FitTexts.h"

#include <QDialogButtonBox>
#include <QStandardPaths>

using namespace preview_driver;

class WhatUsersSee : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void proposedPdfIsOneFileInTheDocuments()
    {
        // clang-format off
        const struct { const char *listName, *fileName, *why; } rows[] = {
            {"Fatura 2024/0173", "Fatura 2024-0173.pdf", "a slash would make a folder"},
            {"a:b*c?\"<d>|e\\f", "a-b-c---d--e-f.pdf", "characters Windows refuses"},
            {"Guia\tde remessa", "Guia-de remessa.pdf", "a control character"},
            {" .Stock. ", "Stock.pdf", "dots would hide it or be cut"},
            {"  ", "Listagem.pdf", "no name"},
        };
        // clang-format on
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        for (const auto &row : rows) {
            const auto explained = explainFailure(row.why);
            const QFileInfo path(quillet::PdfExport::proposedPath(QString::fromUtf8(row.listName)));
            QVERIFY2(path.isAbsolute(), qPrintable(path.filePath()));
            QCOMPARE(path.fileName(), QString::fromUtf8(row.fileName));
            QCOMPARE(path.absolutePath(), QDir(documents).exists() ? documents : QDir::homePath());
        }
    }

    void theKeysStayWithThePage()
    {
        quillet::Quillet control;
        openListing(control);
        composePages(control, 5);
        QStringList seen;
        showAndCheck(control, [&](PreviewWindow &window) {
            QWidget *page = child(window, "PRT");
            // Keys go where a user's would; nowhere once the window closed.
            const auto focused = [&window] {
                return QApplication::focusWidget() ? QApplication::focusWidget() : &window;
            };
            const auto note = [&](const char *step) {
                seen << QStringLiteral("%1: %2 %3")
                            .arg(QLatin1String(step), focused()->objectName(),
                                 child<QLabel>(window, "LPag")->text());
            };
            QVERIFY(QTest::qWaitForWindowActive(&window));
            note("opened");
            QTest::keyClick(&window, Qt::Key_Space);
            QTest::keyClick(&window, Qt::Key_Return);
            QTest::keyClick(focused(), Qt::Key_End);
            note("Space, Enter, End");
            QTest::mouseClick(page, Qt::LeftButton, {}, QPoint(20, 20));
            QTest::keyClick(focused(), Qt::Key_Home);
            note("a click zooms, Home");
            QLineEdit *zoom = child<QLineEdit>(window, "ESC");
            zoom->setFocus();
            QTest::keyClicks(zoom, QStringLiteral("50"));
            QTest::keyClick(zoom, Qt::Key_Return);
            QTest::keyClick(focused(), Qt::Key_PageDown);
            note("zoom typed, Enter, PgDown");
            QTest::keyClick(focused(), Qt::Key_G, Qt::ControlModifier);
            QTest::keyClicks(focused(), QStringLiteral("4"));
            QTest::keyClick(focused(), Qt::Key_Return);
            note("Ctrl+G 4 Enter");
            QVERIFY(window.isVisible());
            QTest::keyClick(focused(), Qt::Key_Escape);
            QVERIFY2(!window.isVisible(), "Escape closes the preview");
        });
        QCOMPARE(seen, (QStringList{"opened: PRT Página 1 de 5", "Space, Enter, End: PRT Página 5 de 5",
                                    "a click zooms, Home: PRT Página 1 de 5",
                                    "zoom typed, Enter, PgDown: PRT Página 2 de 5",
                                    "Ctrl+G 4 Enter: PRT Página 4 de 5"}));
    }

    void setUpDialogChoosesRatherThanPrints()
    {
        quillet::Quillet control;
        openListing(control);
        composePages(control, 2);
        QString acceptText;
        showAndCheck(control, [&](PreviewWindow &window) {
            onNextModal("QPrintDialog", [&](QWidget &dialog) {
                const auto *buttons = dialog.findChild<QDialogButtonBox *>();
                acceptText = buttons ? buttons->button(QDialogButtonBox::Ok)->text() : QString();
                static_cast<QDialog &>(dialog).reject();
            });
            child<QToolButton>(window, "butSETUP")->click();
        });
        QCOMPARE(acceptText, QStringLiteral("Escolher"));
    }

    void everyCaptionFitsItsPlace()
    {
        for (const char *locale : {"pt_PT", "en_GB"}) { // Portuguese has the longer captions
            QLocale::setDefault(QLocale(QString::fromLatin1(locale)));
            // The wait dialog picks the language; the page choice follows it.
            quillet::WaitDialog wait(nullptr);
            wait.prepareForPrinting(QStringLiteral("Fatura 2024/0173"), true,
                                    QStringLiteral("Imprimindo..."));
            quillet::PrinterDialog choice;
            quillet::PageRangeDialog pages(167, choice, nullptr);
            quillet::FindDialog find(nullptr);
            find.prepare(QStringLiteral("Total"), false, {});
            for (QDialog *dialog : std::initializer_list<QDialog *>{&wait, &pages, &find}) {
                dialog->show();
                for (const QWidget *place : dialog->findChildren<QWidget *>())
                    QVERIFY2(quillet::widthForText(*place) <= place->width(),
                             qPrintable(QLatin1String(locale) + u' ' + dialog->objectName() + u' ' +
                                        place->objectName()));
                dialog->hide();
            }
        }
    }
};

QTEST_MAIN(WhatUsersSee)
#include "what_users_see_test.moc"
