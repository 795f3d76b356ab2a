// Text commands on the recording surface (fixed metrics) and on the preview
// page at zoom 1 (real fonts): single-line L, FitText cutting near the end of
// long texts, M wrapping a long paragraph, and a page of column cells. Every
// listing is in preview mode, so the commands also write the spool file.

#include "BenchSurface.h"
#include "QtBenchmarkMain.h"
#include "WorkloadPage.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using quillet::Composer;
using quillet::bench::BenchListing;
using quillet::bench::SurfaceKind;

constexpr int MaxLinesOfParagraph = 1000000;
constexpr float CutAtFractionOfText = 0.9f;

/// count characters of words and spaces, ASCII, so characters are bytes.
std::string sampleText(size_t count)
{
    static const std::string words = "Listagem de teste com valores 0123456789 e nomes de artigos; ";
    std::string text;
    text.reserve(count + words.size());
    while (text.size() < count)
        text += words;
    text.resize(count);
    return text;
}

/// A paragraph of wordCount words separated by single spaces.
std::string sampleParagraph(int wordCount)
{
    static const char *const words[] = {"o",   "relatório",  "de",    "vendas", "mostra", "cada", "artigo",
                                        "com", "quantidade", "preço", "e",      "total",  "por",  "mês"};
    std::string paragraph;
    for (int word = 0; word < wordCount; ++word) {
        if (word > 0)
            paragraph += ' ';
        paragraph += words[word % std::size(words)];
    }
    return paragraph;
}

/// A listing whose commands draw on kind, its page defaults applied there.
std::unique_ptr<BenchListing> listingOn(SurfaceKind kind)
{
    auto bench = std::make_unique<BenchListing>();
    bench->drawOn(kind);
    bench->composer.ListingDefaults();
    return bench;
}

template <SurfaceKind kind> void BM_L(benchmark::State &state)
{
    auto bench = listingOn(kind);
    const std::string text = sampleText(100);
    for (auto _ : state)
        bench->composer.L(text, 10, 0);
    state.counters["calls"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK_TEMPLATE(BM_L, SurfaceKind::Recording);
BENCHMARK_TEMPLATE(BM_L, SurfaceKind::PreviewImage);

// Cut near the end, so every prefix up to there is measured.
template <SurfaceKind kind> void BM_FitText(benchmark::State &state)
{
    auto bench = listingOn(kind);
    const Composer &composer = bench->composer;
    const std::string text = sampleText(static_cast<size_t>(state.range(0)));
    const float widthMm = composer.WX(text) * CutAtFractionOfText;
    std::string fitted;
    for (auto _ : state) {
        fitted = composer.FitText(text, widthMm);
        benchmark::DoNotOptimize(fitted.data());
    }
    if (fitted.size() >= text.size() || fitted.size() < text.size() * CutAtFractionOfText / 2)
        state.SkipWithError("the text was not cut near its end");
    state.counters["chars"] = benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK_TEMPLATE(BM_FitText, SurfaceKind::Recording)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_FitText, SurfaceKind::PreviewImage)
    ->Arg(1000)
    ->Arg(100000)
    ->Unit(benchmark::kMicrosecond);

// The host's loop over a paragraph: one line per call, a new page when the
// page is full. 1 000 words beside 10 000 show how the time grows.
template <SurfaceKind kind> void BM_MParagraph(benchmark::State &state)
{
    const std::string paragraph = sampleParagraph(static_cast<int>(state.range(0)));
    int64_t lines = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto bench = listingOn(kind);
        if (!bench->spoolOpen()) {
            state.SkipWithError("cannot create a spool file in the temporary directory");
            break;
        }
        Composer &composer = bench->composer;
        std::string rest = paragraph;
        state.ResumeTiming();

        for (int line = 0; !rest.empty() && line < MaxLinesOfParagraph; ++line, ++lines) {
            if (composer.NLines() < 1)
                composer.PNP();
            rest = composer.M(rest);
            composer.PNL();
        }

        state.PauseTiming();
        if (!rest.empty())
            state.SkipWithError("the paragraph did not end");
        bench.reset();
        state.ResumeTiming();
    }
    state.counters["lines"] = benchmark::Counter(static_cast<double>(lines), benchmark::Counter::kIsRate);
    state.counters["words"] = benchmark::Counter(static_cast<double>(state.iterations() * state.range(0)),
                                                 benchmark::Counter::kIsRate);
}
BENCHMARK_TEMPLATE(BM_MParagraph, SurfaceKind::Recording)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_MParagraph, SurfaceKind::PreviewImage)
    ->Arg(1000)
    ->Arg(10000)
    ->Unit(benchmark::kMillisecond);

// One page per iteration: the workload page's five columns, 50 rows of cells.
template <SurfaceKind kind> void BM_LColPage(benchmark::State &state)
{
    using namespace quillet::bench;
    constexpr int Columns = static_cast<int>(WorkloadColumns.size());
    std::vector<std::string> cells;
    for (int row = 0; row < WorkloadRows; ++row)
        for (int column = 0; column < Columns; ++column)
            cells.push_back(workloadCell(1, row, column));
    auto bench = listingOn(kind);
    Composer &composer = bench->composer;
    bool firstPage = true;
    for (auto _ : state) {
        if (!std::exchange(firstPage, false))
            composer.PNP();
        for (const WorkloadColumn &column : WorkloadColumns)
            composer.NewCol(column.leftMm, column.widthMm);
        for (int row = 0; row < WorkloadRows; ++row) {
            for (int column = 0; column < Columns; ++column)
                composer.LCol(column + 1, cells[row * Columns + column]);
            composer.PNL();
        }
    }
    state.counters["cells"] =
        benchmark::Counter(static_cast<double>(state.iterations() * static_cast<int64_t>(cells.size())),
                           benchmark::Counter::kIsRate);
}
BENCHMARK_TEMPLATE(BM_LColPage, SurfaceKind::Recording)->Unit(benchmark::kMicrosecond);
BENCHMARK_TEMPLATE(BM_LColPage, SurfaceKind::PreviewImage)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    return quillet::bench::runQtBenchmarks<QGuiApplication>(argc, argv); // the preview page's fonts need it
}
