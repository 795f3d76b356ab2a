// A page of 50 QR codes replayed on the preview page at 100 % and into a PDF,
// beside the same page drawing the same modules with PBox: what a symbol
// costs beyond its rectangles, with its encoding remembered as a listing's is.

#include "BenchSurface.h"
#include "QtBenchmarkMain.h"

#include "compose/BarcodeLayout.h"
#include "platform/PdfJob.h"
#include "platform/ZintBarcodeEncoder.h"
#include "render/PageRenderer.h"
#include "render/RememberingBarcodeEncoder.h"

#include <QGuiApplication>
#include <QPageLayout>

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace quillet;
using bench::BenchListing;

constexpr int Columns = 5, Rows = 10;
constexpr float SideMm = 25, StepXMm = 38, StepYMm = 27.5f;
constexpr int BarcodePage = 1, BoxesPage = 2;
/// A PDF job is started afresh every so many pages, so the file stays small.
constexpr int PagesPerPdf = 20;

std::string payload(int i)
{
    return "https://quillet.example/nf?id=" + std::to_string(100000 + i);
}

/// The same modules as PBarcode draws, as filled boxes without outline.
void drawWithBoxes(Composer &c, const BarcodeEncoder &encoder, const std::string &data, float y, float x)
{
    BarcodeModules symbol;
    encoder.encode({Symbology::QR, data, QrCorrection::M}, symbol);
    mergeBarsDown(symbol.bars);
    BarcodeFrame frame;
    layOutBarcode(symbol, Symbology::QR, {}, SideMm, 0, 0, frame);
    c.PDraw(5, 13); // no outline
    c.PFill(0xFFFFFF, 0);
    c.PBox(y + frame.y, x + frame.x, frame.height, frame.width);
    c.PFill(0, 0);
    for (const BarcodeModules::Bar &bar : symbol.bars)
        c.PBox(y + frame.y + bar.y * frame.moduleY, x + frame.x + bar.x * frame.moduleX,
               bar.height * frame.moduleY, bar.width * frame.moduleX);
    c.PDraw(0, 13);
}

/// Page 1: 50 QR codes; page 2: their modules as boxes.
BenchListing &listing()
{
    static BenchListing *made = [] {
        auto *bench = new BenchListing;
        bench->listing.session.barcodes =
            std::make_shared<RememberingBarcodeEncoder>(std::make_shared<ZintBarcodeEncoder>());
        Composer &c = bench->composer;
        for (int page : {BarcodePage, BoxesPage}) {
            if (page == BoxesPage)
                c.PNP();
            for (int i = 0; i < Columns * Rows; ++i) {
                const float x = (i % Columns) * StepXMm, y = (i / Columns) * StepYMm;
                if (page == BarcodePage)
                    c.PBarcode("QR", payload(i), y, x, SideMm);
                else
                    drawWithBoxes(c, *bench->listing.session.barcodes, payload(i), y, x);
            }
        }
        bench->listing.endComposition();
        return bench;
    }();
    return *made;
}

void BM_PreviewPage(benchmark::State &state)
{
    BenchListing &bench = listing();
    const int page = static_cast<int>(state.range(0));
    ListingReplay replay(bench.listing.session, bench.previewPage, ListingReplay::Look::Previewed);
    for (auto _ : state) {
        bench.previewPage.clear();
        replay.render(page);
    }
    state.SetLabel(page == BarcodePage ? "50 PBarcode" : "the same modules as PBox");
}
BENCHMARK(BM_PreviewPage)->Arg(BarcodePage)->Arg(BoxesPage)->Unit(benchmark::kMillisecond);

void BM_PdfPage(benchmark::State &state)
{
    BenchListing &bench = listing();
    const int page = static_cast<int>(state.range(0));
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    std::unique_ptr<PdfJob> job;
    int pages = 0;
    JobSurface surface([&](QTransform &mmToDevice) { return job ? job->painter(mmToDevice) : nullptr; });
    ListingReplay replay(bench.listing.session, surface, ListingReplay::Look::Printed);
    for (auto _ : state) {
        if (pages++ % PagesPerPdf == 0) {
            state.PauseTiming();
            job = std::make_unique<PdfJob>(a4, 1200, QStringLiteral("bench"));
            state.ResumeTiming();
        } else {
            job->newPage();
        }
        replay.render(page);
    }
    state.SetLabel(page == BarcodePage ? "50 PBarcode" : "the same modules as PBox");
}
BENCHMARK(BM_PdfPage)->Arg(BarcodePage)->Arg(BoxesPage)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    return quillet::bench::runQtBenchmarks<QGuiApplication>(argc, argv);
}
