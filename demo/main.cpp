// quillet-demo: a host window with sample listings to preview, print or save.
//   --sample KEY   the listing for --print and --pdf (invoice, barcodes, stock,
//                  letter, graphics; the invoice when left out)
//   --print        prints it on the default printer, says where it went, exits
//   --pdf FILE     saves it as a PDF file and exits

#include "DemoSamples.h"
#include "DemoWindow.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <QCommandLineParser>
#include <QDir>
#include <QPrinterInfo>
#include <QTextStream>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Where the print dialog keeps the user's choices.
    QCoreApplication::setOrganizationName(QStringLiteral("Quillet"));
    // Qt's own dialogs (print, file) in the user's language, as the component's texts are.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qt"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        app.installTranslator(&qtTexts);
    QTextStream out(stdout);
    QTextStream err(stderr);

    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption sampleOption(QStringLiteral("sample"),
                                          QStringLiteral("invoice, stock, letter or graphics."),
                                          QStringLiteral("KEY"), QStringLiteral("invoice"));
    const QCommandLineOption printOption(QStringLiteral("print"),
                                         QStringLiteral("Prints the sample and exits."));
    const QCommandLineOption pdfOption(QStringLiteral("pdf"),
                                       QStringLiteral("Saves the sample as a PDF and exits."),
                                       QStringLiteral("FILE"));
    parser.addOptions({sampleOption, printOption, pdfOption});
    parser.process(app);
    const DemoSample *sample = findDemoSample(parser.value(sampleOption));
    if (!sample) {
        err << "quillet-demo: no sample " << parser.value(sampleOption) << '\n';
        return 1;
    }

    DemoWindow window;
    window.show();
    if (parser.isSet(pdfOption)) {
        if (!window.savePdf(*sample, parser.value(pdfOption))) {
            err << "quillet-demo: " << window.lastError() << '\n';
            return 1;
        }
        out << "PDF: " << parser.value(pdfOption) << '\n';
        return 0;
    }
    if (!parser.isSet(printOption))
        return app.exec();

    const QString output = window.print(*sample);
    if (output.isEmpty()) {
        err << "quillet-demo: " << window.lastError() << '\n';
        return 1;
    }
    out << "Output: " << output << '\n';
    if (QPrinterInfo::defaultPrinter().makeAndModel().contains(QLatin1String("CUPS-PDF"),
                                                               Qt::CaseInsensitive))
        out << "cups-pdf writes the job as a PDF file into " << QDir::homePath() << "/PDF/\n";
    return 0;
}
