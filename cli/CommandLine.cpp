#include "cli/CommandLine.h"

#include "cli/CommandTable.h"

#include <QCommandLineParser>

#include <span>

namespace quillet::cli {

namespace {

constexpr int MinZoomPercent = 10;
constexpr int MaxZoomPercent = 400;
const QString PrintWithName = QStringLiteral("--print=");

std::span<char *> arguments(int argc, char **argv)
{
    return {argv + 1, static_cast<std::size_t>(std::max(argc - 1, 0))};
}

} // namespace

bool asksForPreview(int argc, char **argv)
{
    return std::ranges::any_of(arguments(argc, argv),
                               [](const char *arg) { return qstrcmp(arg, "--preview") == 0; });
}

QString printerArgument(int argc, char **argv)
{
    QString name;
    for (const char *arg : arguments(argc, argv)) {
        const QString text = QString::fromLocal8Bit(arg);
        if (text.startsWith(PrintWithName))
            name = text.mid(PrintWithName.size());
    }
    return name;
}

std::optional<CommandLine> parseCommandLine(const QStringList &arguments, QString &message, bool &isError)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Composes a listing from a script (SCRIPT, or standard input) and previews, prints or saves it.\n"
        "Exit codes: 0 done, 1 usage or output error, 2 errors in the script."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Shows this help and every script command."));
    const QCommandLineOption preview(QStringLiteral("preview"),
                                     QStringLiteral("Shows the listing in the preview window."));
    const QCommandLineOption pdf(QStringLiteral("pdf"), QStringLiteral("Saves the listing as a PDF file."),
                                 QStringLiteral("FILE"));
    const QCommandLineOption pdfa(QStringLiteral("pdfa"),
                                  QStringLiteral("Makes the --pdf file PDF/A-1b, for archiving."));
    const QCommandLineOption pagesPerSheet(
        QStringLiteral("pages-per-sheet"),
        QStringLiteral("Puts N pages (1, 2 or 4) on each side of the --pdf file's sheets."),
        QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption booklet(
        QStringLiteral("booklet"),
        QStringLiteral(
            "Makes the --pdf file a booklet: print it on both sides, turned on the short edge, and "
            "fold the stack in the middle."));
    const QCommandLineOption print(
        QStringLiteral("print"),
        QStringLiteral("Prints the listing directly, on the default printer or, with "
                       "--print=PRINTER, on that CUPS queue."));
    const QCommandLineOption png(QStringLiteral("png"),
                                 QStringLiteral("Writes DIR/page-0001.png ... one image a page."),
                                 QStringLiteral("DIR"));
    const QCommandLineOption zoom(
        QStringLiteral("zoom"),
        QStringLiteral("Zoom of the --png images, %1 to %2 (100: 96 dots per inch).")
            .arg(MinZoomPercent)
            .arg(MaxZoomPercent),
        QStringLiteral("PERCENT"), QStringLiteral("100"));
    const QCommandLineOption keepGoing(
        QStringLiteral("keep-going"),
        QStringLiteral("Skips the bad lines of a script and makes the outputs anyway."));
    const QCommandLineOption quiet(
        QStringLiteral("quiet"),
        QStringLiteral("Shows no progress (shown on standard error when it is a terminal)."));
    parser.addOptions({help, preview, pdf, pdfa, pagesPerSheet, booklet, print, png, zoom, keepGoing, quiet});
    parser.addPositionalArgument(QStringLiteral("SCRIPT"),
                                 QStringLiteral("The listing script; - or none: standard input."),
                                 QStringLiteral("[SCRIPT]"));

    // --print=NAME is read before the application exists; here it is --print.
    QStringList plain = arguments;
    for (QString &arg : plain)
        if (arg.startsWith(PrintWithName))
            arg = QStringLiteral("--print");
    plain.prepend(QStringLiteral("quillet"));

    isError = true;
    if (!parser.parse(plain)) {
        message = parser.errorText();
        return std::nullopt;
    }
    if (parser.isSet(help)) {
        isError = false;
        message = parser.helpText() +
                  QStringLiteral("\nScript commands (any case; [Name=default] may be left out):\n") +
                  QString::fromStdString(commandHelp());
        return std::nullopt;
    }
    if (parser.positionalArguments().size() > 1) {
        message = QStringLiteral("one script at most");
        return std::nullopt;
    }
    CommandLine line;
    line.scriptPath = parser.positionalArguments().value(0);
    line.preview = parser.isSet(preview);
    line.pdfPath = parser.value(pdf);
    line.print = parser.isSet(print);
    line.pngDir = parser.value(png);
    line.keepGoing = parser.isSet(keepGoing);
    line.pdfArchive = parser.isSet(pdfa);
    line.quiet = parser.isSet(quiet);
    bool pagesIsNumber = false;
    line.pagesPerSheet = parser.value(pagesPerSheet).toInt(&pagesIsNumber);
    line.booklet = parser.isSet(booklet);
    if (!pagesIsNumber || (line.pagesPerSheet != 1 && line.pagesPerSheet != 2 && line.pagesPerSheet != 4)) {
        message = QStringLiteral("--pages-per-sheet takes 1, 2 or 4");
        return std::nullopt;
    }
    if ((parser.isSet(pagesPerSheet) || line.booklet) && line.pdfPath.isEmpty()) {
        message = QStringLiteral("--pages-per-sheet and --booklet arrange the --pdf file: give one");
        return std::nullopt;
    }
    bool zoomIsNumber = false;
    line.zoomPercent = parser.value(zoom).toInt(&zoomIsNumber);
    if (!zoomIsNumber || line.zoomPercent < MinZoomPercent || line.zoomPercent > MaxZoomPercent) {
        message = QStringLiteral("--zoom takes a whole number from %1 to %2")
                      .arg(MinZoomPercent)
                      .arg(MaxZoomPercent);
        return std::nullopt;
    }
    return line;
}

} // namespace quillet::cli
