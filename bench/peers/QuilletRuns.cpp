#include "QuilletRuns.h"

#include "../WorkloadPage.h"
#include "Measurements.h"
#include "TextSearch.h"

#include "compose/Session.h"
#include "control/Listing.h"
#include "control/Runtime.h"
#include "platform/QtPrinterDevice.h"
#include "preview/PreviewWindow.h"
#include "quillet/Quillet.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace quillet::bench {

namespace {

/// Navigation is timed this many times each way (the median is kept), or
/// QUILLET_PEERS_NAV_ROUNDS times, for a profiler attached meanwhile.
int navigationRounds()
{
    bool set = false;
    const int rounds = qEnvironmentVariableIntValue("QUILLET_PEERS_NAV_ROUNDS", &set);
    return set && rounds > 0 ? rounds : 9;
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

/// Opens a preview listing without dialogs or page choices and composes
/// pages workload pages; compose_ms (and compose_cpu_ms) is Init to the last command.
bool compose(Quillet &control, int pages, Measurements &out)
{
    const Stopwatch watch;
    if (control.Init(nullptr, QStringLiteral("Bench"), QStringLiteral("S"), QStringLiteral("P"), QStringLiteral("A4"),
                     false, false, true, true, false, true, false, true) != 0)
        return false;
    composeWorkloadListing(control, pages);
    out.set("compose_ms", watch.wallMs());
    out.set("compose_cpu_ms", watch.cpuMs());
    return session().state.CurPage == pages;
}

/// Shows the listing; once page 1 is painted, runs body in the preview and closes it.
void showThen(Quillet &control, Measurements &out, const std::function<void(PreviewWindow &)> &body)
{
    PreviewWindow *window = Runtime::instance().listing().previewWindow();
    if (!window)
        return;
    Stopwatch watch;
    bool started = false;
    QObject::connect(window, &PreviewWindow::pageRendered, window, [&](int page) {
        if (page != 1 || started)
            return;
        started = true;
        QTimer::singleShot(0, window, [&, window] {
            out.set("show_first_page_ms", watch.wallMs());
            out.set("show_first_page_cpu_ms", watch.cpuMs());
            body(*window);
            window->close();
        });
    });
    watch.restart();
    control.Show();
}

/// Milliseconds a click takes, wall and CPU; clicks run their slots before returning.
std::pair<double, double> timeClickWithCpu(QAbstractButton &button)
{
    const Stopwatch watch;
    button.click();
    return {watch.wallMs(), watch.cpuMs()};
}

double timeClick(QAbstractButton &button)
{
    return timeClickWithCpu(button).first;
}

void measureNavigation(PreviewWindow &window, Measurements &out)
{
    auto *first = window.findChild<QAbstractButton *>(QStringLiteral("FstPag"));
    auto *last = window.findChild<QAbstractButton *>(QStringLiteral("LstPag"));
    if (!first || !last)
        return;
    std::vector<double> toLast;
    std::vector<double> toFirst;
    const int rounds = navigationRounds();
    if (qEnvironmentVariableIsSet("QUILLET_PEERS_NAV_ROUNDS"))
        std::fprintf(stderr, "quillet_peers: navigating\n"); // a profiler can attach now
    for (int round = 0; round < rounds; ++round) {
        toLast.push_back(timeClick(*last));
        toFirst.push_back(timeClick(*first));
    }
    out.set("last_page_ms", median(toLast));
    out.set("first_page_button_ms", median(toFirst));
}

void measureFind(PreviewWindow &window, int pages, Measurements &out)
{
    auto *find = window.findChild<QAbstractButton *>(QStringLiteral("butFIND"));
    if (!find)
        return;
    const QString text = QString::fromStdString(lastPageOnlyText(pages));
    // The dialog is modal: fill it in and accept it from inside its loop.
    QTimer::singleShot(0, &window, [text] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("TB1")))
                edit->setText(text);
            if (auto *ok = dialog->findChild<QPushButton *>(QStringLiteral("Command1")))
                ok->click();
        }
    });
    const auto [ms, cpuMs] = timeClickWithCpu(*find);
    out.set("find_ms", ms);
    out.set("find_cpu_ms", cpuMs);
    out.set("find_found_last_page", session().state.CurPage == pages ? 1 : 0);

    // The hit count: from the text entered afresh to the count shown without
    // its ellipsis; the dialog is then cancelled, so no find runs again.
    QTimer::singleShot(0, &window, [text, &out] {
        QWidget *dialog = QApplication::activeModalWidget();
        auto *edit = dialog ? dialog->findChild<QLineEdit *>(QStringLiteral("TB1")) : nullptr;
        auto *hits = dialog ? dialog->findChild<QLabel *>(QStringLiteral("LHits")) : nullptr;
        if (edit && hits) {
            edit->clear();
            const Stopwatch watch;
            edit->setText(text);
            // Every report of the counter wakes the loop; the last one has no ellipsis.
            while (hits->text().isEmpty() || hits->text().endsWith(u'…'))
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
            out.set("hit_count_ms", watch.wallMs());
        }
        if (dialog)
            dialog->close();
    });
    find->click();
}

/// Takes the size of a PDF file written for the bench and deletes it; 0 when none.
qint64 takePdf(const QString &path)
{
    const qint64 bytes = QFileInfo(path).size();
    QFile::remove(path);
    return bytes;
}

/// Saves the composed listing with SavePDF; the figures, named name_ms and so
/// on, are timed from watch.
void savePdfTimed(Quillet &control, int pages, const Stopwatch &watch, const std::string &name,
                  Measurements &out)
{
    const QString path =
        QDir::temp().filePath(QStringLiteral("quillet-peer-%1.pdf").arg(QString::fromStdString(name)));
    const bool saved = control.SavePDF(path);
    const double ms = watch.wallMs();
    const double cpuMs = watch.cpuMs();
    out.set(name + "_ok", saved ? 1 : 0);
    if (saved) {
        out.set(name + "_ms", ms);
        out.set(name + "_cpu_ms", cpuMs);
        out.set(name + "_bytes_per_page", static_cast<double>(takePdf(path)) / pages);
    }
}

} // namespace

void measureQuilletPreview(int pages, Measurements &out)
{
    Quillet control;
    if (!compose(control, pages, out))
        return;
    showThen(control, out, [&](PreviewWindow &window) {
        measureNavigation(window, out);
        measureFind(window, pages, out);
    });
}

void measureQuilletSavePdf(int pages, Measurements &out)
{
    Quillet control;
    if (compose(control, pages, out))
        savePdfTimed(control, pages, Stopwatch(), "savepdf", out);
}

void measureQuilletStraightPdf(int pages, Measurements &out)
{
    const Stopwatch watch;
    Quillet control;
    if (compose(control, pages, out))
        savePdfTimed(control, pages, watch, "straight", out);
}

void measureQuilletPrint(int pages, Measurements &out)
{
    Quillet control;
    if (!compose(control, pages, out))
        return;
    QtPrinterDevice &printer = Runtime::instance().printer();
    out.set("printer_pdf_fallback", printer.isPdfFallback() ? 1 : 0);
    showThen(control, out, [&](PreviewWindow &window) {
        auto *print = window.findChild<QAbstractButton *>(QStringLiteral("butPRT"));
        if (!print)
            return;
        const Stopwatch watch;
        std::optional<std::pair<double, double>> done; // wall and CPU time when the job ended
        // Without a scheduler the job is kept as a file, and the user is told so in
        // a message box: the job ends when the box comes up.
        QTimer toldUser;
        QObject::connect(&toldUser, &QTimer::timeout, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                done = {watch.wallMs(), watch.cpuMs()};
                box->accept();
            }
        });
        toldUser.start(0);
        print->click(); // runs the whole print job before returning
        const auto [wallMs, cpuMs] = done.value_or(std::pair{watch.wallMs(), watch.cpuMs()});
        out.set("print_ms", wallMs);
        out.set("print_cpu_ms", cpuMs);
        out.set("print_bytes_per_page", static_cast<double>(takePdf(printer.lastOutput())) / pages);
    });
}

} // namespace quillet::bench
