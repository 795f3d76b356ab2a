#pragma once
// The body of main for a benchmark that needs Qt: the run happens inside an
// application object, offscreen unless QT_QPA_PLATFORM says otherwise.

#include <QByteArray>
#include <QtGlobal>

#include <benchmark/benchmark.h>

#include <functional>

namespace quillet::bench {

/// App is QGuiApplication or QApplication; beforeQuit runs while it still exists.
template <typename App>
int runQtBenchmarks(int argc, char **argv, const std::function<void()> &beforeQuit = {})
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    App app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    if (beforeQuit)
        beforeQuit();
    return 0;
}

} // namespace quillet::bench
