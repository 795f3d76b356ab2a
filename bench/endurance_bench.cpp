// Many listings in a row, each composed (10 pages), shown, closed and ended:
// resident memory and open files must stay flat however many run. Reports the
// growth per listing; a growth of open files is an error of the run.

#include "QtBenchmarkMain.h"
#include "quillet/Quillet.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTimer>

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

using quillet::Quillet;

qint64 residentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    return -1;
}

qsizetype openFiles()
{
    return QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::System).size();
}

void oneListing(Quillet &control)
{
    control.Init(nullptr, QStringLiteral("Ciclo"), QStringLiteral("S"), QStringLiteral("P"), QStringLiteral("A4"),
                 true, true, true, true, false, true, false, true);
    for (int page = 1; page <= 10; ++page) {
        if (page > 1)
            control.PNP();
        control.C(QStringLiteral("Ciclo de resistência, página PRICOCO de TRICOCO"), 20);
        control.PBox(30, 0, 60, 100, 2);
        control.M(QStringLiteral("Texto %1 ").arg(page).repeated(30), -1, 0, 120);
    }
    // Closes the preview from inside its loop, once it is up.
    QTimer::singleShot(0, [] {
        if (QWidget *preview = QApplication::activeModalWidget())
            preview->close();
    });
    control.Show();
    control.Abort();
}

void BM_ListingCycles(benchmark::State &state)
{
    Quillet control;
    // Caches (fonts, glyphs, the printer's details, the toolbar's icons) fill
    // during the first listings.
    for (int i = 0; i < 20; ++i)
        oneListing(control);
    const qint64 residentBefore = residentKiB();
    const qsizetype filesBefore = openFiles();
    for (auto _ : state)
        oneListing(control);
    const auto listings = static_cast<double>(state.iterations());
    state.counters["rss_growth_KiB_per_listing"] = (residentKiB() - residentBefore) / listings;
    state.counters["open_files_growth"] = static_cast<double>(openFiles() - filesBefore);
    if (openFiles() != filesBefore)
        state.SkipWithError("open files grew with the listings");
}
// A smoke run only proves it runs.
BENCHMARK(BM_ListingCycles)->Iterations(std::getenv("QUILLET_BENCH_SMOKE") ? 50 : 1000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return quillet::bench::runQtBenchmarks<QApplication>(argc, argv);
}
