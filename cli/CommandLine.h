#pragma once
// The options of the quillet command line.

#include <QString>
#include <QStringList>
#include <optional>

namespace quillet::cli {

struct CommandLine {
    QString scriptPath; ///< empty or "-": standard input
    bool preview = false;
    QString pdfPath;
    bool pdfArchive = false; ///< the PDF is PDF/A-1b
    int pagesPerSheet = 1;   ///< pages on each side of the PDF's sheets
    bool booklet = false;    ///< the PDF's sheets make a booklet
    bool print = false;
    QString pngDir;
    int zoomPercent = 100;
    bool keepGoing = false;
    bool quiet = false; ///< no progress even on a terminal

    bool makesOutput() const { return preview || print || !pdfPath.isEmpty() || !pngDir.isEmpty(); }
};

/// Reads the arguments (without the program name). On a usage error or --help
/// it returns nothing and sets message to what to print (and isError for the
/// exit code).
std::optional<CommandLine> parseCommandLine(const QStringList &arguments, QString &message, bool &isError);

/// Whether the arguments ask for the preview window, read before the
/// application exists (it decides the window system platform).
bool asksForPreview(int argc, char **argv);
/// The printer named by --print=NAME, read before the application exists.
QString printerArgument(int argc, char **argv);

} // namespace quillet::cli
