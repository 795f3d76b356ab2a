// The preview window on long listings against a short one, offscreen: Show
// until page 1 is painted, ">>" to the last page, ">" from the middle, a
// find whose text is only on the last page, counting the hits of a find, and
// the thumbnail panel scrolled from the first page to the last, with the
// bytes its cache held. Each listing is composed once per process; every run
// shows a hard link of its spool file, since closing the preview deletes the
// file it shows. With QUILLET_BENCH_SMOKE set the long listing has 1 000
// pages, not 32 000.

#include "PeakMemory.h"
#include "QtBenchmarkMain.h"
#include "compose/Session.h"
#include "control/Listing.h"
#include "control/Runtime.h"
#include "preview/HitCounter.h"
#include "preview/PreviewWindow.h"
#include "preview/ThumbnailPanel.h"
#include "quillet/Quillet.h"

#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>

namespace {

using quillet::PreviewWindow;
using quillet::Quillet;
using quillet::session;
using Clock = std::chrono::steady_clock;

const QString LastPageText = QStringLiteral("Fim da listagem");

/// The long listing's page count.
int longListing()
{
    return std::getenv("QUILLET_BENCH_SMOKE") ? 1000 : 32000;
}

/// A composed listing kept for the whole process: its spool file and page index.
struct Listing {
    std::filesystem::path spool;
    std::vector<int32_t> pageIndex;
    int16_t pages = 0;
};

Quillet &control()
{
    static Quillet theControl;
    return theControl;
}

bool openPreview()
{
    return control().Init(nullptr, QStringLiteral("Bench"), QStringLiteral("S"), QStringLiteral("P"),
                          QStringLiteral("A4"), true, true, true, true, false, true, false, true) == 0;
}

/// pages pages of a title with its page markers and ten table lines.
const Listing &listing(int pages)
{
    static std::map<int, Listing> composed;
    if (auto found = composed.find(pages); found != composed.end())
        return found->second;
    openPreview();
    Quillet &c = control();
    for (int page = 1; page <= pages; ++page) {
        if (page > 1)
            c.PNP();
        c.C(QStringLiteral("Relatório de vendas - página PRICOCO de TRICOCO"));
        c.PNL();
        for (int line = 0; line < 10; ++line) {
            c.L(QStringLiteral("Artigo %1").arg(line), -1, 0);
            c.R(QString::number(page * 10 + line), -1, 150);
            c.PNL();
        }
    }
    c.L(LastPageText);
    quillet::Session &s = session();
    Listing kept;
    kept.spool = std::filesystem::temp_directory_path() / ("quillet-bench-" + std::to_string(pages));
    std::filesystem::remove(kept.spool);
    std::filesystem::copy_file(s.spool->path(), kept.spool);
    kept.pageIndex = s.state.PageIndex;
    kept.pages = s.state.CurPage;
    c.Abort();
    return composed.emplace(pages, std::move(kept)).first->second;
}

/// Opens a preview listing whose spool is (a link to) the composed one.
PreviewWindow *openComposed(const Listing &kept)
{
    if (!openPreview())
        return nullptr;
    quillet::Session &s = session();
    const std::filesystem::path link = s.spool->path() + ".shown";
    s.spool->remove();
    std::filesystem::create_hard_link(kept.spool, link);
    s.spool = quillet::SpoolFile::open(link.string());
    s.state.SpoolPath = link.string();
    s.state.SpoolNum = s.spool ? s.spool->handle() : 0;
    s.state.PageIndex = kept.pageIndex;
    s.state.CurPage = kept.pages;
    return quillet::Runtime::instance().listing().previewWindow();
}

/// Runs body inside the modal preview of the listing, then closes it.
template <typename Body> void insidePreview(const Listing &kept, Body &&body)
{
    PreviewWindow *window = openComposed(kept);
    if (!window)
        return;
    QObject::connect(window, &PreviewWindow::pageRendered, window, [window, &body](int page) {
        if (page != 1 || !window->property("benchStarted").isNull())
            return;
        window->setProperty("benchStarted", true);
        QTimer::singleShot(0, window, [window, &body] {
            body(*window);
            window->close();
        });
    });
    control().Show();
}

void BM_ShowToFirstPagePainted(benchmark::State &state)
{
    const Listing &kept = listing(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        PreviewWindow *window = openComposed(kept);
        if (!window) {
            state.SkipWithError("Init failed");
            return;
        }
        Clock::time_point painted;
        QObject::connect(window, &PreviewWindow::pageRendered, window, [window, &painted] {
            painted = Clock::now();
            QTimer::singleShot(0, window, &QWidget::close);
        });
        const Clock::time_point start = Clock::now();
        control().Show();
        state.SetIterationTime(std::chrono::duration<double>(painted - start).count());
    }
    quillet::bench::addPeakMemory(state);
}
BENCHMARK(BM_ShowToFirstPagePainted)
    ->Arg(10)
    ->Arg(1000)
    ->Arg(longListing())
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_LastPageButton(benchmark::State &state)
{
    insidePreview(listing(static_cast<int>(state.range(0))), [&state](PreviewWindow &window) {
        auto *first = window.findChild<QPushButton *>(QStringLiteral("FstPag"));
        auto *last = window.findChild<QPushButton *>(QStringLiteral("LstPag"));
        for (auto _ : state) {
            last->click();
            state.PauseTiming();
            first->click();
            state.ResumeTiming();
        }
    });
    quillet::bench::addPeakMemory(state);
}
BENCHMARK(BM_LastPageButton)->Arg(10)->Arg(longListing())->Unit(benchmark::kMillisecond);

/// The next page from the middle of the listing.
void BM_NextPageButton(benchmark::State &state)
{
    insidePreview(listing(static_cast<int>(state.range(0))), [&state](PreviewWindow &window) {
        auto *next = window.findChild<QPushButton *>(QStringLiteral("bPag1"));
        const int middle = session().state.NumPages / 2;
        for (auto _ : state) {
            state.PauseTiming();
            session().state.CurPage = static_cast<int16_t>(middle);
            state.ResumeTiming();
            next->click();
        }
        if (session().state.CurPage != middle + 1)
            state.SkipWithError("\">\" did not turn the page");
    });
    quillet::bench::addPeakMemory(state);
}
BENCHMARK(BM_NextPageButton)->Arg(10)->Arg(longListing())->Unit(benchmark::kMillisecond);

void BM_FindOnLastPage(benchmark::State &state)
{
    insidePreview(listing(static_cast<int>(state.range(0))), [&state](PreviewWindow &window) {
        auto *find = window.findChild<QAbstractButton *>(QStringLiteral("butFIND"));
        auto *first = window.findChild<QPushButton *>(QStringLiteral("FstPag"));
        for (auto _ : state) {
            // The dialog is modal: fill it in and accept it from inside its loop.
            QTimer::singleShot(0, &window, [] {
                QWidget *dialog = QApplication::activeModalWidget();
                dialog->findChild<QLineEdit *>(QStringLiteral("TB1"))->setText(LastPageText);
                dialog->findChild<QPushButton *>(QStringLiteral("Command1"))->click();
            });
            find->click();
            state.PauseTiming();
            if (session().state.CurPage != session().state.NumPages)
                state.SkipWithError("the text was not found on the last page");
            first->click();
            state.ResumeTiming();
        }
    });
    quillet::bench::addPeakMemory(state);
}
BENCHMARK(BM_FindOnLastPage)->Arg(10)->Arg(longListing())->Unit(benchmark::kMillisecond);

/// Counts the hits of a text on every page, in the counter's own thread, until it reports the end.
void BM_CountHits(benchmark::State &state)
{
    insidePreview(listing(static_cast<int>(state.range(0))), [&state](PreviewWindow &) {
        quillet::HitCounter counter;
        QEventLoop loop;
        int hits = 0;
        QObject::connect(&counter, &quillet::HitCounter::counted, &loop,
                         [&](int, int counted, bool finished) {
                             hits = counted;
                             if (finished)
                                 loop.quit();
                         });
        quillet::bench::resetPeakMemory();
        for (auto _ : state) {
            counter.start(session().spool->snapshot(session().state.PageIndex), session().state.NumPages,
                          QStringLiteral("Artigo 7"), {.ignoreCase = true}, {});
            loop.exec();
        }
        if (hits != session().state.NumPages)
            state.SkipWithError("wrong hit count");
    });
    quillet::bench::addPeakMemory(state);
}
BENCHMARK(BM_CountHits)->Arg(10)->Arg(longListing())->Unit(benchmark::kMillisecond);

/// Opens the thumbnail panel and scrolls it to the end, until the last
/// page's picture is drawn; the cache never holds more than its bound.
void BM_ThumbnailsToLastPage(benchmark::State &state)
{
    insidePreview(listing(static_cast<int>(state.range(0))), [&state](PreviewWindow &window) {
        auto *button = window.findChild<QToolButton *>(QStringLiteral("butTHUMB"));
        auto *panel = window.findChild<quillet::ThumbnailPanel *>();
        quillet::bench::resetPeakMemory();
        const int lastPage = session().state.NumPages;
        int cached = 0;
        qsizetype cachedBytes = 0;
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (panel->isDrawn(lastPage))
                loop.quit();
        });
        for (auto _ : state) {
            button->click();
            panel->verticalScrollBar()->setValue(panel->verticalScrollBar()->maximum());
            poll.start(1);
            loop.exec();
            poll.stop();
            cached = std::max(cached, panel->cachedCount());
            cachedBytes = std::max(cachedBytes, panel->cachedBytes());
            state.PauseTiming();
            button->click();
            state.ResumeTiming();
        }
        state.counters["thumbnails_cached"] = cached;
        state.counters["thumbnail_bytes_cached"] = double(cachedBytes);
    });
    quillet::bench::addPeakMemory(state);
}
BENCHMARK(BM_ThumbnailsToLastPage)->Arg(10)->Arg(longListing())->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return quillet::bench::runQtBenchmarks<QApplication>(argc, argv, [] {
        for (const auto &entry : std::filesystem::directory_iterator(std::filesystem::temp_directory_path()))
            if (entry.path().filename().string().rfind("quillet-bench-", 0) == 0)
                std::filesystem::remove(entry.path());
    });
}
