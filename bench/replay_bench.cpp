// Page replay on long listings: page 1 and page 30 000 of a 32 000-page
// listing of the workload page, on the recording surface and into the preview
// page at 100 %, with the peak memory while replaying; and how many records a
// second a listing is recorded and replayed at. The long listing is made once
// per process.

#include "BenchSurface.h"
#include "PeakMemory.h"
#include "QtBenchmarkMain.h"
#include "WorkloadPage.h"

#include "render/PageRenderer.h"
#include "spool/SpoolCodec.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

using quillet::PageRenderer;
using quillet::bench::BenchListing;
using quillet::bench::SurfaceKind;
using Clock = std::chrono::steady_clock;

/// 32 000 pages make a spool file of about 2.4 GB; the CI's smoke run
/// (QUILLET_BENCH_SMOKE set) keeps to 1 000 and replays its last page.
int longListingPages()
{
    return std::getenv("QUILLET_BENCH_SMOKE") ? 1000 : 32000;
}
constexpr int ThroughputPages = 100;

struct LongListing {
    std::unique_ptr<BenchListing> bench;
    double buildSeconds = 0;
};

/// Freed by main while the application object still exists: the preview page holds fonts.
std::unique_ptr<LongListing> theLongListing;

/// Gives the listing a spool file of pageCount copies of its page 1, each
/// record carrying its own page number: the file composing that many workload
/// pages writes, but for the numbers in the cells. Composing them all through
/// the commands takes seconds, too long for a smoke run; BM_RecordAndReplay
/// measures that path.
bool repeatFirstPage(quillet::testing::TestSession &listing, int pageCount)
{
    const std::vector<quillet::SpoolRecord> firstPage = listing.pageRecords(1);
    const std::string path = listing.session.spool->path() + ".pages";
    std::vector<int32_t> pageIndex;
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        int32_t slotCount = 0;
        for (int page = 1; page <= pageCount && out; ++page) {
            pageIndex.push_back(slotCount + 1);
            for (quillet::SpoolRecord record : firstPage) {
                record.page = static_cast<int16_t>(page);
                std::vector<char> bytes(quillet::commandSlots(record.text) * quillet::SlotSize);
                quillet::encodeCommand(record, bytes);
                out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
                slotCount += static_cast<int32_t>(bytes.size() / quillet::SlotSize);
            }
        }
        if (!out.flush()) {
            std::filesystem::remove(path);
            return false;
        }
    }
    listing.session.spool->remove();
    listing.session.spool = quillet::SpoolFile::open(path);
    listing.state().PageIndex = std::move(pageIndex);
    listing.state().CurPage = static_cast<int16_t>(pageCount);
    listing.endComposition();
    return listing.session.spool != nullptr;
}

const LongListing &longListing()
{
    if (!theLongListing) {
        theLongListing = std::make_unique<LongListing>(LongListing{std::make_unique<BenchListing>()});
        BenchListing &bench = *theLongListing->bench;
        const Clock::time_point start = Clock::now();
        // On the preview page, as a preview listing is composed: the lines get the real fonts' heights.
        bench.drawOn(SurfaceKind::PreviewImage);
        quillet::bench::composeWorkloadPage(bench.composer, 1);
        if (!bench.spoolOpen() || !repeatFirstPage(bench.listing, longListingPages()))
            bench.listing.state().NumPages = 0;
        theLongListing->buildSeconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return *theLongListing;
}

template <SurfaceKind kind> void BM_ReplayPage(benchmark::State &state)
{
    const LongListing &composed = longListing();
    BenchListing &bench = *composed.bench;
    quillet::ListingState &s = bench.listing.state();
    if (s.NumPages != longListingPages()) {
        state.SkipWithError("the long listing was not composed");
        return;
    }
    const auto page = static_cast<int16_t>(std::min<int64_t>(state.range(0), s.NumPages));
    bench.drawOn(kind);
    quillet::bench::resetPeakMemory();
    for (auto _ : state) {
        if (kind == SurfaceKind::PreviewImage)
            bench.previewPage.clear(); // as the preview does before each page
        PageRenderer(bench.listing.session).render(page);
    }
    quillet::bench::addPeakMemory(state);
    state.counters["records"] = static_cast<double>(bench.listing.pageRecords(page).size());
    state.counters["build_s"] = composed.buildSeconds;
}
BENCHMARK_TEMPLATE(BM_ReplayPage, SurfaceKind::Recording)->Arg(1)->Arg(30000)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_ReplayPage, SurfaceKind::PreviewImage)
    ->Arg(1)
    ->Arg(30000)
    ->Unit(benchmark::kMicrosecond);

// Records a listing of workload pages, then replays every page of it, on the
// recording surface; the time is the two together.
void BM_RecordAndReplay(benchmark::State &state)
{
    int64_t records = 0;
    double recordSeconds = 0;
    double replaySeconds = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = std::make_unique<BenchListing>();
        if (!bench->spoolOpen()) {
            state.SkipWithError("cannot create a spool file in the temporary directory");
            break;
        }
        quillet::ListingState &s = bench->listing.state();
        const auto recordsBefore = static_cast<int64_t>(bench->listing.records().size());
        state.ResumeTiming();

        const Clock::time_point start = Clock::now();
        quillet::bench::composeWorkloadListing(bench->composer, ThroughputPages);
        bench->listing.endComposition();
        const Clock::time_point recorded = Clock::now();
        for (int page = 1; page <= s.NumPages; ++page) {
            PageRenderer(bench->listing.session).render(page);
        }
        const Clock::time_point replayed = Clock::now();

        state.PauseTiming();
        recordSeconds += std::chrono::duration<double>(recorded - start).count();
        replaySeconds += std::chrono::duration<double>(replayed - recorded).count();
        records += static_cast<int64_t>(bench->listing.records().size()) - recordsBefore;
        bench.reset();
        state.ResumeTiming();
    }
    const auto perSecond = [records](double seconds) { return seconds > 0 ? records / seconds : 0; };
    state.counters["record_per_s"] = perSecond(recordSeconds);
    state.counters["replay_per_s"] = perSecond(replaySeconds);
    state.counters["both_per_s"] = perSecond(recordSeconds + replaySeconds);
    state.counters["pages"] = ThroughputPages;
}
BENCHMARK(BM_RecordAndReplay)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    // The preview page's fonts need the application object.
    return quillet::bench::runQtBenchmarks<QGuiApplication>(argc, argv, [] { theLongListing.reset(); });
}
