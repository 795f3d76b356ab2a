// quillet: composes a listing from a script and previews, prints or saves it.
// Without a display and without --preview it runs on the offscreen platform.

#include "cli/CommandLine.h"
#include "cli/ScriptParser.h"
#include "cli/ScriptRunner.h"

#include <quillet/Quillet.h>

#include <QApplication>
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

/// Composes for the preview and makes the images, the PDF and the preview.
int composeForPreview(const std::vector<ScriptCommand> &commands, const CommandLine &line,
                      const QString &scriptName, const QDir &baseDir)
{
    QTextStream err(stderr);
    quillet::Quillet listing;
    const std::vector<ScriptError> problems =
        ScriptRunner(listing, nullptr, baseDir, QStringLiteral("S")).run(commands);
    if (reportProblems(problems, scriptName, line.keepGoing)) {
        listing.Abort();
        return ScriptFailed;
    }
    int status = 0;
    if (!line.pngDir.isEmpty()) {
        const QString error = listing.SavePageImages(line.pngDir, line.zoomPercent);
        if (!error.isEmpty()) {
            err << "quillet: " << error << '\n';
            status = OutputFailed;
        }
    }
    if (!line.pdfPath.isEmpty() && !listing.SavePDF(line.pdfPath)) {
        err << "quillet: could not save the PDF " << line.pdfPath << '\n';
        status = OutputFailed;
    }
    if (line.preview)
        listing.Show(); // returns when the window is closed
    else
        listing.Abort();
    return status;
}

/// Composes straight on the printer and sends the job.
int printDirectly(const std::vector<ScriptCommand> &commands, const CommandLine &line,
                  const QString &scriptName, const QDir &baseDir)
{
    quillet::Quillet listing;
    const std::vector<ScriptError> problems =
        ScriptRunner(listing, nullptr, baseDir, QStringLiteral("P")).run(commands);
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
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
        qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !asksForPreview(argc, argv))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // CUPS takes LPDEST as the default destination, and the component prints on the default printer.
    const QString printer = printerArgument(argc, argv);
    if (!printer.isEmpty())
        qputenv("LPDEST", printer.toLocal8Bit());
    QApplication app(argc, argv);
    QTextStream err(stderr);

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
