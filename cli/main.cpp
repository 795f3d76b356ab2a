// quillet: composes a listing from a script and previews, prints or saves it.
// Only --preview needs a display; everything else runs on the offscreen platform.

#include "cli/CommandLine.h"
#include "cli/Progress.h"
#include "cli/ScriptParser.h"
#include "cli/ScriptRunner.h"
#include "platform/QtPlatformChoice.h"

#include <quillet/Quillet.h>

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QFile>
#include <QFileInfo>
#include <QPrinterInfo>
#include <QTextStream>

using namespace quillet::cli;

namespace {

constexpr int OutputFailed = 1;
constexpr int ScriptFailed = 2;

/// Reports the problems; true when the run must stop before any output.
bool reportProblems(const std::vector<ScriptError> &problems, const QString &scriptName, bool keepGoing)
{
    QTextStream err(stderr);
    for (const ScriptError &problem : problems)
        err << QString::fromStdString(formatError(scriptName.toStdString(), problem)) << '\n';
    return !problems.empty() && !keepGoing;
}

/// Shows the pages composed so far as a step of progress.
std::function<void(int)> composing(Progress &progress)
{
    return [&progress](int pageCount) { progress.step(QStringLiteral("Composing: page %1").arg(pageCount)); };
}

/// Composes for the preview and makes the images, the PDF and the preview.
int composeForPreview(const std::vector<ScriptCommand> &commands, const CommandLine &line,
                      const QString &scriptName, const QDir &baseDir)
{
    QTextStream err(stderr);
    Progress progress(line.quiet);
    quillet::Quillet listing;
    listing.setPdfArchive(line.pdfArchive);
    const std::vector<ScriptError> problems =
        ScriptRunner(listing, nullptr, baseDir, QStringLiteral("S")).run(commands, composing(progress));
    progress.endStep();
    if (reportProblems(problems, scriptName, line.keepGoing)) {
        listing.Abort();
        return ScriptFailed;
    }
    int status = 0;
    QString output;
    QObject::connect(&listing, &quillet::Quillet::pageWritten, [&](int written, int pageCount) {
        progress.step(QStringLiteral("Writing %1: page %2 of %3").arg(output).arg(written).arg(pageCount));
    });
    if (!line.pngDir.isEmpty()) {
        output = line.pngDir;
        const QString error = listing.SavePageImages(line.pngDir, line.zoomPercent);
        progress.endStep();
        if (!error.isEmpty()) {
            err << "quillet: " << error << '\n';
            status = OutputFailed;
        } else {
            progress.done(output, listing.pageCount());
        }
    }
    if (!line.pdfPath.isEmpty()) {
        output = line.pdfPath;
        if (listing.SavePDFSheets(line.pdfPath, line.pagesPerSheet, line.booklet)) {
            progress.done(output, listing.pageCount());
        } else {
            progress.endStep();
            err << "quillet: could not save the PDF " << line.pdfPath << '\n';
            status = OutputFailed;
        }
    }
    if (line.preview)
        listing.Show(); // returns when the window is closed
    else
        listing.Abort();
    return status;
}

/// Composes for the printer and sends the job, every page with the page count.
int printDirectly(const std::vector<ScriptCommand> &commands, const CommandLine &line,
                  const QString &scriptName, const QDir &baseDir)
{
    Progress progress(line.quiet);
    quillet::Quillet listing;
    listing.setDirectPageCount(true);
    const std::vector<ScriptError> problems =
        ScriptRunner(listing, nullptr, baseDir, QStringLiteral("P")).run(commands, composing(progress));
    progress.endStep();
    const int pageCount = listing.pageCount();
    if (reportProblems(problems, scriptName, line.keepGoing)) {
        listing.Abort(); // the job is discarded whole
        return ScriptFailed;
    }
    listing.Show();
    if (listing.lastOutput().isEmpty()) {
        QTextStream(stderr) << "quillet: nothing was printed\n";
        return OutputFailed;
    }
    // A job no printer took is kept as a PDF file, whose path stands here instead of the job.
    const QString output = listing.lastOutput();
    if (QFileInfo(output).isAbsolute()) {
        QTextStream(stderr) << "quillet: no printer took the job; it was kept in " << output << '\n';
        return OutputFailed;
    }
    QTextStream(stdout) << "Printed: " << output << '\n';
    progress.done(output, pageCount);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    // A display that is missing or does not answer must not end the process:
    // the preview's list ends in offscreen, which the check below reports.
    const bool preview = asksForPreview(argc, argv);
    const bool choosesPlatform = quillet::choosePlatformsUnlessHostDid(
        preview ? quillet::desktopPlatforms() : QByteArrayLiteral("offscreen"));
    // CUPS takes LPDEST as the default destination, and the component prints on the default printer.
    const QString printer = printerArgument(argc, argv);
    if (!printer.isEmpty())
        qputenv("LPDEST", printer.toLocal8Bit());
    QApplication app(argc, argv);
    // Where the print dialog keeps the user's choices.
    QCoreApplication::setOrganizationName(QStringLiteral("Quillet"));
    // Qt's own dialogs (print, file) in the user's language, as the component's texts are.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qt"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    QTextStream err(stderr);
    if (preview && choosesPlatform && QGuiApplication::platformName() == QLatin1String("offscreen")) {
        err << "quillet: --preview needs a display, and none answers\n";
        return OutputFailed;
    }

    QString message;
    bool usageError = false;
    const std::optional<CommandLine> line = parseCommandLine(app.arguments().mid(1), message, usageError);
    if (!line && usageError) {
        err << "quillet: " << message << '\n';
        return OutputFailed;
    }
    if (!line) {
        QTextStream(stdout) << message;
        return 0;
    }
    if (!printer.isEmpty() && !QPrinterInfo::availablePrinterNames().contains(printer)) {
        err << "quillet: no printer named " << printer << '\n';
        return OutputFailed;
    }

    const bool fromStdin = line->scriptPath.isEmpty() || line->scriptPath == QLatin1String("-");
    QFile file(line->scriptPath);
    const bool opened = fromStdin ? file.open(stdin, QIODevice::ReadOnly) : file.open(QIODevice::ReadOnly);
    if (!opened) {
        err << "quillet: cannot read " << line->scriptPath << '\n';
        return OutputFailed;
    }
    const QByteArray text = file.readAll();
    const QString scriptName = fromStdin ? QStringLiteral("<stdin>") : line->scriptPath;
    const QDir baseDir = fromStdin ? QDir::current() : QFileInfo(line->scriptPath).absoluteDir();

    const ParsedScript script = parseScript(std::string_view(text.constData(), text.size()));
    if (reportProblems(script.errors, scriptName, line->keepGoing))
        return ScriptFailed;
    if (!line->makesOutput()) {
        err << scriptName << ": " << script.commands.size()
            << " commands read; give --preview, --pdf, --print or --png to make the listing\n";
        return script.errors.empty() ? 0 : ScriptFailed;
    }

    int status = 0;
    if (line->preview || !line->pdfPath.isEmpty() || !line->pngDir.isEmpty())
        status = composeForPreview(script.commands, *line, scriptName, baseDir);
    if (line->print && status != ScriptFailed)
        status = std::max(status, printDirectly(script.commands, *line, scriptName, baseDir));
    return script.errors.empty() ? status : ScriptFailed;
}
