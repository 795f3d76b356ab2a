// What a user meets around the preview's jobs: every caption of the dialogs
// whole in either language, the file a PDF is first proposed as, and the
// set-up dialog's accept button saying what it does.

#include "PreviewDriver.h"
#include "print/PageRangeDialog.h"
#include "print/PdfExport.h"
#include "print/PrinterDialog.h"
#include "print/WaitDialog.h"
#include "widgets/FitTexts.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QStandardPaths>

using namespace preview_driver;

class WhatUsersSee : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void proposedPdfIsOneFileInTheDocuments_data()
    {
        QTest::addColumn<QString>("listName");
        QTest::addColumn<QString>("fileName");
        QTest::newRow("a slash would make a folder") << "Fatura 2024/0173" << "Fatura 2024-0173.pdf";
        QTest::newRow("characters Windows refuses") << "a:b*c?\"<d>|e\\f" << "a-b-c---d--e-f.pdf";
        QTest::newRow("a control character") << "Guia\tde remessa" << "Guia-de remessa.pdf";
        QTest::newRow("dots would hide it or be cut") << " .Stock. " << "Stock.pdf";
        QTest::newRow("no name") << "  " << "Listagem.pdf";
    }
    void proposedPdfIsOneFileInTheDocuments()
    {
        QFETCH(QString, listName);
        QFETCH(QString, fileName);
        const QString path = quillet::PdfExport::proposedPath(listName);
        QVERIFY2(QDir::isAbsolutePath(path), qPrintable(path));
        QCOMPARE(QFileInfo(path).fileName(), fileName);
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(QFileInfo(path).absolutePath(), QDir(documents).exists() ? documents : QDir::homePath());
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

    void everyCaptionFitsItsPlace_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::newRow("Portuguese, the longer captions") << "pt_PT";
        QTest::newRow("English") << "en_GB";
    }
    void everyCaptionFitsItsPlace()
    {
        QFETCH(QString, locale);
        QLocale::setDefault(QLocale(locale));
        // The wait dialog picks the language; the page choice follows it.
        quillet::WaitDialog wait(nullptr);
        wait.prepareForPrinting(QStringLiteral("Fatura 2024/0173"), true, QStringLiteral("Imprimindo..."));
        quillet::PrinterDialog choice;
        quillet::PageRangeDialog pages(167, choice, nullptr);
        for (QDialog *dialog : std::initializer_list<QDialog *>{&wait, &pages}) {
            dialog->show();
            for (const QWidget *place : dialog->findChildren<QWidget *>())
                QVERIFY2(quillet::widthForText(*place) <= place->width(),
                         qPrintable(dialog->objectName() + u' ' + place->objectName()));
            dialog->hide();
        }
    }
};

QTEST_MAIN(WhatUsersSee)
#include "what_users_see_test.moc"
