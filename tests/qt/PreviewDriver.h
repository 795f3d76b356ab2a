#pragma once
// Drives the modal preview window of a listing from inside its event loop:
// timers find the windows by object name, never by sleeping.

#include "preview/PreviewWindow.h"
#include "quillet/Quillet.h"

#include <QtTest>
#include <QtWidgets>

#include <functional>

namespace preview_driver {

using quillet::PreviewWindow;

/// Tells why a table row exists when the test has failed by the end of the
/// row's scope: `const auto explained = explainFailure(row.why);`
inline auto explainFailure(const char *why)
{
    return qScopeGuard([why] {
        if (QTest::currentTestFailed())
            qWarning("row: %s", why);
    });
}

template <typename T = QWidget> T *child(QWidget &window, const char *name)
{
    return window.findChild<T *>(QLatin1String(name));
}

/// A temporary folder the process's temporary files go to while it lasts, so
/// that what a test finds there (spools, print jobs' run files) is its own.
struct PrivateTemporaryFolder : QTemporaryDir {
    PrivateTemporaryFolder() { qputenv("TMPDIR", QFile::encodeName(path())); }
};

/// What the page label says ("Página 2 de 3"), whatever widget draws it.
inline QString pageLabelText(QWidget &window)
{
    return child(window, "LPag")->property("text").toString();
}

/// The visible top-level window of that object name; null when none is shown.
inline QWidget *topLevel(const char *objectName)
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(objectName) && w->isVisible())
            return w;
    return nullptr;
}

/// Runs action once on the next modal window of the class className when it
/// is shown. Delete the returned timer to give up waiting.
inline QTimer *onNextModal(const char *className, std::function<void(QWidget &)> action)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, className, action] {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || !modal->inherits(className) || !modal->isVisible())
            return;
        poll->stop();
        poll->deleteLater();
        action(*modal);
    });
    poll->start(5);
    return poll;
}

/// Opens a preview listing without the wait dialog; the switches are Init's.
inline void openListing(quillet::Quillet &control, bool autoSize = false, bool setup = true,
                        bool selectPages = true, bool print = true, bool find = true,
                        const QString &name = QStringLiteral("Teste"),
                        const QVariant &paper = QStringLiteral("A4"))
{
    QCOMPARE(control.Init(nullptr, name, QStringLiteral("S"), QStringLiteral("P"), paper, setup, selectPages,
                          print, find, autoSize, true, false, true),
             quint8(0));
}

/// A listing of pages pages; each shows "Página n de N" and what addText adds.
inline void composePages(quillet::Quillet &control, int pages,
                         const std::function<void(quillet::Quillet &, int page)> &addText = {})
{
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            control.PNP();
        control.L(QStringLiteral("Página PRICOCO de TRICOCO"));
        if (addText)
            addText(control, page);
    }
}

/// A listing named documentName to print without the wait dialog, each of
/// its pages saying "Folha n de N".
inline void composeSheets(quillet::Quillet &control, const QString &documentName, int pages,
                          bool setup = true, const QVariant &paper = QStringLiteral("A4"))
{
    openListing(control, false, setup, true, true, true, documentName, paper);
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            control.PNP();
        control.L(QStringLiteral("Folha PRICOCO de TRICOCO"), 20, 20);
    }
}

/// Runs watch(progress dialog) before each page of the next print or export until it
/// returns false. Delete the returned timer to give up watching.
inline QTimer *watchProgress(std::function<bool(QWidget &dialog)> watch)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, [poll, watch] {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() == QLatin1String("wWAIT") && !watch(*modal)) {
            poll->stop();
            poll->deleteLater();
        }
    });
    poll->start(0);
    return poll;
}

/// Runs action(progress dialog) once, when the next print or export reaches page.
inline void atPageOfNextJob(int page, std::function<void(QWidget &dialog)> action)
{
    watchProgress([page, action](QWidget &dialog) {
        if (child<QLabel>(dialog, "LBPag")->text().section(u' ', 1, 1).toInt() < page)
            return true;
        action(dialog);
        return false;
    });
}

/// Answers the preview's "Guardar como PDF..." dialogs: the file name, then
/// the pages typed in ePages.
inline void answerSaveDialogs(const QString &fileName, const QString &pages)
{
    onNextModal("QFileDialog", [fileName, pages](QWidget &dialog) {
        onNextModal("quillet::PageRangeDialog", [pages](QWidget &range) {
            child<QLineEdit>(range, "ePages")->setText(pages);
            child<QRadioButton>(range, "oLISTPAG")->setChecked(true);
            child<QPushButton>(range, "Command1")->click();
        });
        static_cast<QFileDialog &>(dialog).selectFile(fileName);
        QMetaObject::invokeMethod(&dialog, "accept");
    });
}

inline void clickPrint(PreviewWindow &window)
{
    child<QToolButton>(window, "butPRT")->click();
}

/// Shows the listing and runs check inside the preview once page 1 has been
/// painted, then closes the window by its close box (unless check closed it).
inline void showAndCheck(quillet::Quillet &control, std::function<void(PreviewWindow &)> check,
                         QSize windowSize = QSize(900, 700))
{
    onNextModal("quillet::PreviewWindow", [check, windowSize](QWidget &modal) {
        auto &window = static_cast<PreviewWindow &>(modal);
        window.resize(windowSize);
        const bool painted = QTest::qWaitFor([&] { return !pageLabelText(window).isEmpty(); });
        if (painted)
            check(window);
        if (window.isVisible())
            window.close();
        QVERIFY2(painted, "page 1 of the preview was never painted");
    });
    control.Show();
}

} // namespace preview_driver
