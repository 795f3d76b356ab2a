// Printing from the preview against writing the same pages straight with
// QPdfWriter. A listing of workload pages is composed once per page count with
// the widget in preview mode; each run prints it page by page from the spool
// onto the printer, as the print job does, and draws the same pages on a
// QPdfWriter with QPainter. No CUPS server is reachable here, so the printer
// writes its job to a PDF file in the temporary directory, which is deleted.

#include "DirectWorkloadPage.h"
#include "PeakMemory.h"
#include "QtBenchmarkMain.h"
#include "WorkloadPage.h"

#include "compose/Session.h"
#include "control/Listing.h"
#include "control/Runtime.h"
#include "platform/ImageSurface.h"
#include "platform/QtPrinterDevice.h"
#include "quillet/Quillet.h"
#include "render/PageRenderer.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace {

using quillet::Quillet;
using quillet::Runtime;
using quillet::session;
using namespace quillet::bench;
using Clock = std::chrono::steady_clock;

/// Deleted before the application object, as widgets must be.
std::unique_ptr<Quillet> theControl;

Quillet &control()
{
    if (!theControl)
        theControl = std::make_unique<Quillet>();
    return *theControl;
}

/// Opens a preview listing of pageCount workload pages and ends its
/// composition as Show does; an open listing of that many pages is kept.
bool composeListing(int pageCount)
{
    static int composedPages = 0;
    if (composedPages == pageCount)
        return true;
    composedPages = 0;
    if (control().Init(nullptr, QStringLiteral("Bench"), QStringLiteral("S"), QStringLiteral("P"),
                       QStringLiteral("A4"), true, true, true, true, false, true, false, true) != 0)
        return false;
    composeWorkloadListing(control(), pageCount);
    quillet::ListingState &s = session().state;
    if (s.CurPage != pageCount)
        return false;
    s.Spooling = false;
    s.NumPages = s.CurPage;
    composedPages = pageCount;
    return true;
}

/// Prints every page of the open listing as the print job does, without its
/// dialogs: each page replayed on the printer, a new sheet between pages, the
/// job ended after the last. The size of the PDF written, 0 when none was.
qint64 printListing()
{
    quillet::Session &ses = session();
    quillet::ListingState &s = ses.state;
    quillet::QtPrinterDevice &printer = Runtime::instance().printer();
    s.Preview = false;
    s.Surface = &printer.surface();
    for (int page = 1; page <= s.NumPages; ++page) {
        quillet::PageRenderer(ses).render(page);
        if (page != s.NumPages)
            printer.newPage();
    }
    printer.endDoc();
    s.CurPage = 1;
    s.Preview = true;
    s.Surface = &Runtime::instance().listing().pageSurface();

    const QString pdf = printer.lastOutput();
    const qint64 bytes = QFileInfo(pdf).size();
    QFile::remove(pdf);
    return bytes;
}

/// Writes pageCount workload pages with QPdfWriter; the size of the PDF.
qint64 writeDirectly(int pageCount)
{
    QTemporaryFile file(QDir::temp().filePath(QStringLiteral("quillet-direct-XXXXXX.pdf")));
    return file.open() ? writeWorkloadPdf(file, pageCount) : 0;
}

// The manual time is the print job's; the counters compare it with QPdfWriter.
void BM_PrintWorkload(benchmark::State &state)
{
    const int pageCount = static_cast<int>(state.range(0));
    if (!Runtime::instance().printer().isPdfFallback()) {
        state.SkipWithError("a CUPS printer is reachable: the job would be printed");
        return;
    }
    if (!composeListing(pageCount)) {
        state.SkipWithError("the listing could not be composed");
        return;
    }
    resetPeakMemory();
    double printSeconds = 0;
    double directSeconds = 0;
    qint64 printBytes = 0;
    qint64 directBytes = 0;
    for (auto _ : state) {
        const Clock::time_point start = Clock::now();
        printBytes = printListing();
        const Clock::time_point printed = Clock::now();
        directBytes = writeDirectly(pageCount);
        const Clock::time_point written = Clock::now();
        if (printBytes == 0 || directBytes == 0) {
            state.SkipWithError("a PDF file was not written");
            break;
        }
        const double seconds = std::chrono::duration<double>(printed - start).count();
        state.SetIterationTime(seconds);
        printSeconds += seconds;
        directSeconds += std::chrono::duration<double>(written - printed).count();
    }
    addPeakMemory(state);
    const double pages = static_cast<double>(state.iterations()) * pageCount;
    if (pages > 0 && directSeconds > 0) {
        state.counters["print_ms_per_page"] = printSeconds * 1000 / pages;
        state.counters["qpdfwriter_ms_per_page"] = directSeconds * 1000 / pages;
        state.counters["ratio"] = printSeconds / directSeconds;
    }
    state.counters["print_KiB_per_page"] = static_cast<double>(printBytes) / 1024 / pageCount;
    state.counters["qpdfwriter_KiB_per_page"] = static_cast<double>(directBytes) / 1024 / pageCount;
}
BENCHMARK(BM_PrintWorkload)->Arg(100)->Arg(1000)->UseManualTime()->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // No print server: the printer falls back to PDF files instead of queueing jobs.
    qputenv("CUPS_SERVER", "/nonexistent/socket");
    return runQtBenchmarks<QApplication>(argc, argv, [] {
        if (theControl)
            theControl->Abort();
        theControl.reset();
    });
}
