// What a user meets around the preview: its texts in the language of QLocale()
// (the Portuguese source texts byte for byte under C), the dialogs' captions
// whole in either language, a screen reader, the keyboard alone, and the file
// a PDF is first proposed as.

#include "PreviewDriver.h"
#include "preview/FindDialog.h"
#include "print/PageRangeDialog.h"
#include "print/PdfExport.h"
#include "print/PrinterDialog.h"
#include "print/WaitDialog.h"
#include "widgets/FitTexts.h"

using namespace preview_driver;

namespace {

QString accessibleText(QWidget *widget, QAccessible::Text kind)
{
    return QAccessible::queryAccessibleInterface(widget)->text(kind);
}

/// Every control a user can meet in window is named and described.
void expectDescribed(QWidget &window)
{
    QList<QWidget *> controls = window.findChildren<QWidget *>();
    controls.removeIf([&](QWidget *child) {
        return !child->isVisibleTo(&window) ||
               !(child->inherits("QAbstractButton") || child->inherits("QLineEdit") ||
                 child->inherits("QLabel") || child->inherits("QAbstractSlider"));
    });
    for (QWidget *control : controls << &window)
        QVERIFY2(!accessibleText(control, QAccessible::Name).isEmpty() &&
                     !accessibleText(control, QAccessible::Description).isEmpty(),
                 qPrintable(control->objectName()));
}

/// Focuses the control named first, if any, then presses keys on whatever has the focus.
std::function<void(QWidget &)> press(std::initializer_list<QKeyCombination> keys, const char *first = nullptr)
{
    return [keys = QList<QKeyCombination>(keys), first](QWidget &window) {
        if (first)
            child(window, first)->setFocus();
        for (const QKeyCombination key : keys)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &window, key.key(),
                            key.keyboardModifiers());
    };
}

// clang-format off
const QStringList Portuguese{"Pesquisar... (Ctrl+F; seguinte F3, anterior Shift+F3)",
                             "Procura um texto nas páginas (Ctrl+F; seguinte F3, anterior Shift+F3)",
                             "Página 1 de 10", "Imprimindo...", "Página 3 de 10 Páginas", "Pesquisar...",
                             "\"zzz\" não foi encontrado !"};
const QStringList English{"Search... (Ctrl+F; next F3, previous Shift+F3)",
                          "Finds a text in the pages (Ctrl+F; next F3, previous Shift+F3)",
                          "Page 1 of 10", "Printing...", "Page 3 of 10 Pages", "Search...",
                          "\"zzz\" was not found!"};
// clang-format on

} // namespace

class WhatUsersSee : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() { QLocale::setDefault(QLocale::c()); }

    void textsFollowTheLocale()
    {
        // clang-format off
        // switchedTo: the locale a host switches to while the preview is open.
        const struct { const char *locale, *switchedTo; const QStringList &texts;
                       const char *why; } rows[] = {
            {"C", nullptr, Portuguese, "C: the Portuguese source texts"},
            {"pt_BR", nullptr, Portuguese, "Portuguese"},
            {"en_US", nullptr, English, "English"},
            {"en_GB", nullptr, English, "English by language, whatever the country"},
            {"C", "en_US", English, "to English while the preview is open"},
            {"en_US", "pt_PT", Portuguese, "back to Portuguese while the preview is open"},
        };
        // clang-format on
        for (const auto &row : rows) {
            const auto explained = explainFailure(row.why);
            QLocale::setDefault(QLocale(QString::fromLatin1(row.locale)));
            quillet::Quillet control;
            openListing(control);
            composePages(control, 10);
            QStringList seen;
            showAndCheck(control, [&](PreviewWindow &window) {
                if (row.switchedTo) { // as a host switches: its locale, then its translators
                    QLocale::setDefault(QLocale(QString::fromLatin1(row.switchedTo)));
                    QEvent change(QEvent::LanguageChange);
                    QCoreApplication::sendEvent(qApp, &change);
                    QCoreApplication::processEvents();
                }
                seen << child(window, "butFIND")->toolTip()
                     << child(window, "butFIND")->accessibleDescription() << pageLabelText(window);
                atPageOfNextJob(3, [&](QWidget &progress) { // of a print, then cancelled
                    seen << progress.windowTitle() << child<QLabel>(progress, "LBPag")->text();
                    child<QPushButton>(progress, "bCAN")->click();
                });
                clickPrint(window);
                onNextModal("quillet::FindDialog", [&](QWidget &find) { // its caption, a text not found
                    seen << find.windowTitle();
                    child<QLineEdit>(find, "TB1")->setText(QStringLiteral("zzz"));
                    onNextModal("QMessageBox", [&](QWidget &box) {
                        seen << static_cast<QMessageBox &>(box).text();
                        static_cast<QMessageBox &>(box).accept();
                    });
                    QTest::mouseClick(child(find, "Command1"), Qt::LeftButton);
                });
                QTest::mouseClick(child(window, "butFIND"), Qt::LeftButton);
            });
            QCOMPARE(seen, row.texts);
        }
    }

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

    void keyboardAloneGoesThroughThePagesAndRoundTheWindow()
    {
        // After each step: the control with the keys, and the page as its label and a screen reader tell it.
        // clang-format off
        const struct { std::function<void(QWidget &)> act; const char *seen, *why; } rows[] = {
            {press({}), "PRT Página 1 de 5", "the page has the keys from the start"},
            {press({Qt::Key_Space, Qt::Key_Return, Qt::Key_End}), "PRT Página 5 de 5",
             "Space and Enter press no button; End is the last page"},
            {[](QWidget &w) { QTest::mouseClick(child(w, "PRT"), Qt::LeftButton, {}, QPoint(20, 20));
                              press({Qt::Key_Home})(w); },
             "PRT Página 1 de 5", "a click zooms, and the keys stay with the page"},
            {press({Qt::Key_5, Qt::Key_0, Qt::Key_Return, Qt::Key_PageDown}, "ESC"), "PRT Página 2 de 5",
             "Enter in the zoom box gives the keys back to the page"},
            {press({Qt::CTRL | Qt::Key_G, Qt::Key_4, Qt::Key_Return}), "PRT Página 4 de 5",
             "so does the page box of Ctrl+G"},
            {press({Qt::Key_Space}, "bPag0"), "bPag0 Página 3 de 5", "Space presses the focused button"},
            {press({Qt::Key_Return}, "bPag1"), "bPag1 Página 4 de 5", "so does Return"},
            {press({Qt::Key_Return, Qt::Key_2, Qt::Key_Return}, "LPag"), "PRT Página 2 de 5",
             "Return on the label opens the page box; the reader goes on at the page just shown"},
        };
        // clang-format on
        quillet::Quillet control;
        openListing(control);
        composePages(control, 5);
        showAndCheck(control, [&](PreviewWindow &window) {
            QVERIFY(QTest::qWaitForWindowActive(&window));
            expectDescribed(window);
            for (const auto &row : rows) {
                const auto explained = explainFailure(row.why);
                row.act(window);
                const QString page = pageLabelText(window);
                QCOMPARE(QApplication::focusWidget()->objectName() + u' ' + page,
                         QString::fromUtf8(row.seen));
                QCOMPARE(accessibleText(child(window, "PRT"), QAccessible::Name), page);
            }
            // With every button enabled, Tab goes round the whole window.
            QStringList walk;
            press({Qt::Key_Tab}, "butCAN")(window);
            while (QApplication::focusWidget() != child(window, "butCAN") && walk.size() < 20) {
                walk << QApplication::focusWidget()->objectName();
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            }
            QCOMPARE(walk, QStringList({"butSETUP", "butPRT", "butFIND", "butPDF", "butTHUMB", "FstPag",
                                        "bPag0", "bPag1", "LstPag", "LPag", "PRT", "ESC"}));
            press({Qt::Key_Escape}, "PRT")(window);
            QVERIFY2(!window.isVisible(), "Escape closes the preview");
        });
    }

    void everyDialogCaptionFitsAndEveryControlIsDescribed()
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
                if (dialog != &wait)
                    expectDescribed(*dialog);
                dialog->hide();
            }
        }
    }
};

QTEST_MAIN(WhatUsersSee)
#include "what_users_see_test.moc"
