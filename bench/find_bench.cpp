// The find's worst pages: marking the hits of one very long text, and how soon
// the hit counter stops when its pattern changes while it reads a page of
// four million drawing records. Each runs on the component's own classes.

#include "QtBenchmarkMain.h"
#include "find/TextMatcher.h"
#include "preview/HitCounter.h"
#include "spool/SpoolFile.h"
#include "spool/SpoolRecord.h"

#include <QCoreApplication>

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

/// A text of length characters whose one hit for "fim*#" is at its end.
std::string longText(size_t length)
{
    std::string text;
    while (text.size() + 10 < length)
        text += "fim linha ";
    text.resize(length - 5, 'x');
    return text + "fim 7";
}

void BM_MarkHitInLongText(benchmark::State &state)
{
    const std::string text = longText(static_cast<size_t>(state.range(0)));
    const std::optional<quillet::TextMatcher> matcher =
        quillet::TextMatcher::compile("FIM*#", {.ignoreCase = true});
    for (auto _ : state) {
        const auto run = matcher->firstMatch(text);
        if (!run || run->second != text.size())
            state.SkipWithError("the hit at the end was not marked");
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_MarkHitInLongText)
    ->RangeMultiplier(10)
    ->Range(200, 200000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

/// A spool of one page with four million line records (512 MB), kept for the whole process.
quillet::SpoolFile &pageOfMillionRecords()
{
    static const std::unique_ptr<quillet::SpoolFile> spool = [] {
        auto created = quillet::SpoolFile::create("quillet-bench-find");
        quillet::SpoolRecord line;
        line.page = 1;
        line.op = quillet::RecLine; // no text: nothing the counter looks at
        for (int record = 0; record < 4000000 && created; ++record)
            created->write(line);
        return created;
    }();
    return *spool;
}

/// From a new pattern (the count of the last one cancelled) to the counter's thread ended.
void BM_HitCounterStopsOnNewPattern(benchmark::State &state)
{
    quillet::SpoolFile &spool = pageOfMillionRecords();
    quillet::HitCounter counter;
    int countsAfterCancel = 0;
    QObject::connect(&counter, &quillet::HitCounter::counted, [&](int, int, bool) { ++countsAfterCancel; });
    for (auto _ : state) {
        counter.start(spool.snapshot({1}), 1, QStringLiteral("Total"), {.ignoreCase = true}, {});
        std::this_thread::sleep_for(std::chrono::milliseconds(5)); // well inside the page
        const Clock::time_point start = Clock::now();
        counter.cancel();
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        QCoreApplication::processEvents();
    }
    state.counters["counts_after_cancel"] = countsAfterCancel;
}
BENCHMARK(BM_HitCounterStopsOnNewPattern)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return quillet::bench::runQtBenchmarks<QCoreApplication>(argc, argv,
                                                             [] { pageOfMillionRecords().remove(); });
}
