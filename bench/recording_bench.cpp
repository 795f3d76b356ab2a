// How fast a listing is recorded in preview mode. Every command appends to a
// real spool file, so these measure composition and spool writing together,
// on a page surface with fixed metrics that keeps no log. Each run composes a
// fresh listing; opening it (with the first page's defaults), reading it back
// to count its records and deleting it are not timed.

#include "support/TestSession.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>

namespace {

using quillet::Composer;
using quillet::MaxPages;
using quillet::testing::TestSession;

constexpr int NewLinesPerListing = 100000;
constexpr int NewLinesPerPage = 50;
constexpr int PagesForSize = 100;

/// Times compose(composer) on a fresh listing per iteration, then hands the
/// listing to inspect (untimed); reports the recorded commands per second.
template <typename Compose, typename Inspect>
void measureListings(benchmark::State &state, Compose compose, Inspect inspect)
{
    int64_t records = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto listing = std::make_unique<TestSession>();
        listing->pageSurface.logging = false;
        if (!listing->session.spool) {
            state.SkipWithError("cannot create a spool file in the temporary directory");
            break;
        }
        const auto recordsBefore = static_cast<int64_t>(listing->records().size());
        state.ResumeTiming();

        compose(listing->composer);

        state.PauseTiming();
        records += static_cast<int64_t>(listing->records().size()) - recordsBefore;
        inspect(*listing);
        listing.reset();
        state.ResumeTiming();
    }
    state.counters["records"] = benchmark::Counter(static_cast<double>(records), benchmark::Counter::kIsRate);
}

void BM_RecordNewLines(benchmark::State &state)
{
    measureListings(
        state,
        [](Composer &composer) {
            for (int line = 0; line < NewLinesPerListing; ++line)
                composer.PNL();
        },
        [](TestSession &) {});
}
BENCHMARK(BM_RecordNewLines)->Unit(benchmark::kMillisecond)->UseRealTime();

// The longest listing there can be; the time is seconds per listing.
void BM_RecordLongestListing(benchmark::State &state)
{
    measureListings(
        state,
        [](Composer &composer) {
            for (int page = 1; page < MaxPages; ++page)
                composer.PNP();
        },
        [&state](TestSession &listing) {
            if (listing.state().CurPage != MaxPages || listing.state().PageIndex.size() != MaxPages)
                state.SkipWithError("the listing did not reach the last page");
        });
    state.counters["pages"] = MaxPages;
}
BENCHMARK(BM_RecordLongestListing)->Unit(benchmark::kSecond)->UseRealTime();

// Pages of the defaults and 50 new lines: how much spool file a page costs.
void BM_SpoolBytesPerPage(benchmark::State &state)
{
    double bytesPerPage = 0;
    measureListings(
        state,
        [](Composer &composer) {
            for (int page = 1; page <= PagesForSize; ++page) {
                if (page > 1)
                    composer.PNP();
                for (int line = 0; line < NewLinesPerPage; ++line)
                    composer.PNL();
            }
        },
        [&state, &bytesPerPage](TestSession &listing) {
            std::error_code error;
            const auto bytes = std::filesystem::file_size(listing.session.spool->path(), error);
            if (error)
                state.SkipWithError("cannot read the size of the spool file");
            bytesPerPage = static_cast<double>(bytes) / listing.state().CurPage;
        });
    state.counters["bytes_per_page"] = bytesPerPage;
}
BENCHMARK(BM_SpoolBytesPerPage)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
