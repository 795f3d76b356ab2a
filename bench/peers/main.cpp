// One measurement of the peer comparison per process, since the peak
// resident memory (VmHWM) never goes down:
//   quillet_peers <qt-preview|qpdfwriter|quillet-preview|quillet-savepdf|quillet-straight-pdf|quillet-print|grep> <pages>
// prints one JSON line of figures; bench/peers/run runs and tabulates them.

#include "Measurements.h"
#include "QtPeers.h"
#include "QuilletRuns.h"
#include "TextSearch.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <string>
#include <thread>

int main(int argc, char **argv)
{
    using namespace quillet::bench;
    const std::map<std::string, std::function<void(int, Measurements &)>> runs{
        {"qt-preview", measureQtPreview}, {"qpdfwriter", measureQPdfWriter},
        {"quillet-preview", measureQuilletPreview}, {"quillet-savepdf", measureQuilletSavePdf},
        {"quillet-straight-pdf", measureQuilletStraightPdf}, {"quillet-print", measureQuilletPrint},
        {"grep", measureGrep}};
    const auto run = argc == 3 ? runs.find(argv[1]) : runs.end();
    const int pages = argc == 3 ? std::atoi(argv[2]) : 0;
    if (run == runs.end() || pages < 1 || pages > 32767) {
        std::fprintf(stderr, "usage: %s <qt-preview|qpdfwriter|quillet-preview|quillet-savepdf|quillet-straight-pdf|quillet-print|grep> <pages 1..32767>\n",
                     argv[0]);
        return 2;
    }
    if (run->first == "quillet-print")
        qputenv("CUPS_SERVER", "/nonexistent/socket"); // the job's PDF is kept, not printed
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Measurements out;
    // The machine is shared: the report says how busy it was.
    if (std::FILE *load = std::fopen("/proc/loadavg", "r")) {
        double lastMinute = 0;
        if (std::fscanf(load, "%lf", &lastMinute) == 1)
            out.set("load_1min", lastMinute);
        std::fclose(load);
    }
    out.set("cores", std::thread::hardware_concurrency()); // the PDF writers use them all
    run->second(pages, out);
    out.print(run->first, pages);
    return 0;
}
