// quillet-demo: a host window that composes a sample listing and shows it in
// the preview window, or, with --print, prints it straight to the default
// printer and says where the output went.

#include "SampleListing.h"

#include <quillet/Quillet.h>

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QPrinterInfo>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    const bool printDirectly = app.arguments().contains(QStringLiteral("--print"));

    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Quillet demo"));
    auto *listing = new quillet::Quillet(&window);
    window.setCentralWidget(listing);
    window.show();

    // "P" prints directly; "S" previews.
    const quint8 result = listing->Init(&window, QStringLiteral("Quillet demo"),
                                        printDirectly ? QStringLiteral("P") : QStringLiteral("S"));
    if (result != 0) {
        err << "quillet-demo: Init failed with code " << result << '\n';
        return 1;
    }
    SampleListing(*listing).compose();
    listing->Show(); // the preview returns when its window is closed
    if (!printDirectly)
        return 0;

    const QString output = listing->lastOutput();
    if (output.isEmpty()) {
        err << "quillet-demo: nothing was printed\n";
        return 1;
    }
    out << "Output: " << output << '\n';
    if (QPrinterInfo::defaultPrinter().makeAndModel().contains(QLatin1String("CUPS-PDF"), Qt::CaseInsensitive))
        out << "cups-pdf writes the job as a PDF file into " << QDir::homePath() << "/PDF/\n";
    return 0;
}
