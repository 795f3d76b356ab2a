// What reaches the print server, read back from it: the print dialog's choices
// and copies in the job's attributes, pages arranged on sheets, and what the
// user is told when no scheduler answers (set up in a child process).

#include "CupsOutput.h"
#include "PrintDriver.h"
#include "platform/DialogCupsOptions.h"
#include "print/PrintChoices.h"

#include <csignal>

using namespace preview_driver;
using namespace quillet::testing;

namespace {

/// Set in a child process: why no print service answers it.
const char *const ChildVariable = "QUILLET_TEST_NO_PRINT_SERVICE";
/// Offers two-sided printing, so that the dialog's choices can be read back from its jobs.
const QString DuplexQueue = QStringLiteral("PSDuplex");

// A side of a sheet reads as the "Folha n" in its slots in order, "-" for a
// blank one: halves bottom then top (their pages are turned), quarters left to
// right, then down.
const QList<QRectF> Halves{{0, 421, 595, 421}, {0, 0, 595, 421}}; // points
const QList<QRectF> Quarters{{0, 0, 298, 421}, {298, 0, 298, 421}, {0, 421, 298, 421}, {298, 421, 298, 421}};

QStringList sidesOf(const QString &pdf, const QList<QRectF> &regions)
{
    static const QRegularExpression sheet("Folha (\\d+) de");
    QStringList sides;
    for (int side = 1; side <= pdfPageCount(pdf); ++side) {
        QStringList numbers;
        for (const QRectF &r : regions) {
            const QStringList crop = QString::asprintf("-f %d -l %d -x %g -y %g -W %g -H %g", side, side,
                                                       r.x(), r.y(), r.width(), r.height())
                                         .split(u' ');
            const auto found = sheet.match(outputOf("pdftotext", crop + QStringList{pdf, "-"}));
            numbers << (found.hasMatch() ? found.captured(1) : QStringLiteral("-"));
        }
        sides << numbers.join(u' ');
    }
    return sides;
}

} // namespace

class PrintServerTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        // A child run without a scheduler that answers must not ask it.
        if (qEnvironmentVariableIsEmpty(ChildVariable) && !hasCupsPdfQueue())
            QSKIP("no CUPS queue named PDF as the default printer");
    }

    void withoutCupsJobsAreKeptAsPdf()
    {
        // In a process of its own whose CUPS client finds no scheduler; Qt alone sees only no printer.
        runChild(printsThroughLibcups() ? "não há serviço de impressão"
                                        : "não há nenhuma impressora instalada",
                 m_tempDir.filePath("no-cupsd.sock"));
    }

    void printChoicesReachTheJobForOnePrintOnly()
    {
        if (QPrinterInfo::printerInfo(DuplexQueue).isNull())
            QSKIP("no CUPS queue named PSDuplex (scripts/setup-machine.sh adds it)");
        if (!printsThroughLibcups())
            QSKIP("built without libcups: Qt does not say the job's id, which the scheduler is asked by");
        // clang-format off
        const struct {
            QPrinter::DuplexMode duplex;
            bool collate;
            QPrinter::ColorMode colour;
            int copies;
            QStringList cupsOptions, job; ///< options as the dialog's Properties page keeps them
            const char *why;
        } rows[] = {
            {QPrinter::DuplexLongSide, true, QPrinter::Color, 1, {},
             {"sides=two-sided-long-edge", "multiple-document-handling=separate-documents-collated-copies",
              "print-color-mode=color"}, "long edge, collated, colour"},
            {QPrinter::DuplexShortSide, false, QPrinter::GrayScale, 2, {},
             {"sides=two-sided-short-edge", "multiple-document-handling=separate-documents-uncollated-copies",
              "print-color-mode=monochrome", "copies=2"}, "short edge, uncollated, greyscale, two copies"},
            {QPrinter::DuplexAuto, true, QPrinter::Color, 1, {"job-priority", "70"},
             {"sides=two-sided-long-edge", "job-priority=70", "copies=1"},
             "automatic on a portrait page; a Properties option; one copy again"},
        };
        // clang-format on
        for (const auto &row : rows) {
            const auto explained = explainFailure(row.why);
            composeSheets(m_control, uniqueDocumentName("choices-"), 1);
            showAndCheck(m_control, [&](PreviewWindow &window) {
                pickPrinter(window, DuplexQueue);
                QPrinter &printer = printerDevice().printer();
                printer.setDuplex(row.duplex);
                printer.setCollateCopies(row.collate);
                printer.setColorMode(row.colour);
                printer.setCopyCount(row.copies);
                quillet::dialogoptions::set(printer, row.cupsOptions);
                clickPrint(window);
                QVERIFY(QToolTip::text().contains("enviada para a impressora PSDuplex"));
                QCOMPARE(printer.copyCount(), 1); // the copies hold for one print: the next starts at one
            });
            const auto attributes = jobAttributes(printerDevice().lastOutput().section(u' ', -1));
            for (const QString &expected : row.job)
                QCOMPARE(expected.section(u'=', 0, 0) + u'=' + attributes.value(expected.section(u'=', 0, 0)),
                         expected);
        }
    }

    /// A later run of the program: the dialog opens on the printer, two-sided
    /// printing and colour chosen in the last, never on its copies.
    void printDialogRemembersTheUserUnlessTheHostSaysNot()
    {
        if (QPrinterInfo::printerInfo(DuplexQueue).isNull())
            QSKIP("no CUPS queue named PSDuplex (scripts/setup-machine.sh adds it)");
        const auto setUp = [this](const std::function<void(QWidget & dialog)> &inDialog) {
            openListing(m_control);
            showAndCheck(m_control, [&](PreviewWindow &window) {
                onNextModal("QPrintDialog", [&](QWidget &dialog) {
                    inDialog(dialog);
                    static_cast<QDialog &>(dialog).accept();
                });
                child<QToolButton>(window, "butSETUP")->click();
            });
        };
        for (const bool remember : {true, false}) {
            QSettings().clear();
            m_control.setRememberPrintChoices(remember);
            setUp([](QWidget &dialog) {
                auto *printers = child<QComboBox>(dialog, "printers");
                printers->setCurrentIndex(printers->findText(DuplexQueue));
                child<QRadioButton>(dialog, "duplexShort")->click();
                child<QRadioButton>(dialog, "grayscale")->click();
                child<QSpinBox>(dialog, "copies")->setValue(2);
            });
            QPrinter &printer = printerDevice().printer(); // as a new run of the program finds it
            printer.setPrinterName(QPrinterInfo::defaultPrinterName());
            printer.setDuplex(QPrinter::DuplexNone);
            printer.setColorMode(QPrinter::Color);
            const QString offered = remember ? DuplexQueue : QPrinterInfo::defaultPrinterName();
            setUp([&](QWidget &dialog) {
                QCOMPARE(child<QComboBox>(dialog, "printers")->currentText(), offered);
                QCOMPARE(child<QRadioButton>(dialog, "duplexShort")->isChecked(), remember);
                QCOMPARE(child<QRadioButton>(dialog, "grayscale")->isChecked(), remember);
                QCOMPARE(child<QSpinBox>(dialog, "copies")->value(), 1);
            });
        }
        m_control.setRememberPrintChoices(true);
    }

    /// The dialog writes the printer's own options only when its Properties
    /// were opened; otherwise those chosen before go back on the job.
    void printersOwnOptionsStayUntilChangedInProperties()
    {
        QSettings().clear();
        QPrinter printer(QPrinterInfo::printerInfo(DuplexQueue));
        const auto keptAfter = [&](const QStringList &accepted, bool propertiesOpened) {
            quillet::dialogoptions::set(printer, accepted);
            quillet::printchoices::keep(printer, propertiesOpened);
            return quillet::dialogoptions::of(printer);
        };
        const QStringList job{"number-up", "1"}, printersOwn{"Resolution", "600dpi"};
        keptAfter(QStringList{"number-up", "2", "job-priority", "70"} + printersOwn, true);
        QCOMPARE(keptAfter(job, false), job + printersOwn); // only the printer's own
        QCOMPARE(keptAfter(job, true), job);                // set back in Properties
        QCOMPARE(keptAfter(job, false), job);
    }

    /// The PDF of SavePDFSheets and what cups-pdf printed from the preview,
    /// read slot by slot of each A4 side, and what the scheduler was asked.
    void pagesLandInTheirSlots()
    {
        // clang-format off
        const struct {
            const char *queue; ///< printed there from the preview; none: SavePDFSheets
            int pagesPerSheet; bool booklet; int pages; const char *pageList;
            QStringList sides; const char *attributes; ///< sides and number-up the scheduler was asked
            const char *why;
        } rows[] = {
            {nullptr, 1, true, 8, "", {"8 1", "2 7", "6 3", "4 5"}, "", "folded, the sheets read 1 to 8"},
            {nullptr, 4, false, 9, "2-6", {"2 3 4 5", "6 - - -"}, "", "4 a side, of a page list"},
            {"PDF", 2, false, 3, "", {"1 2", "3 -"}, "one-sided -", "the dialog's 2 a sheet, not asked of CUPS"},
            {"PSDuplex", 1, true, 3, "", {"- 1", "2 3"}, "two-sided-short-edge 1", "a booklet on a duplexer"},
        };
        // clang-format on
        for (const auto &row : rows) {
            const auto explained = explainFailure(row.why);
            const QString name = uniqueDocumentName("sheets-");
            composeSheets(m_control, name, row.pages);
            QString pdf = m_tempDir.filePath(name + QStringLiteral(".pdf")), attributes;
            if (!row.queue) {
                QVERIFY(m_control.SavePDFSheets(pdf, row.pagesPerSheet, row.booklet, row.pageList));
                m_control.Abort();
            } else {
                showAndCheck(m_control, [&](PreviewWindow &window) {
                    onNextModal("QPrintDialog", [&](QWidget &dialog) {
                        auto *printers = child<QComboBox>(dialog, "printers");
                        printers->setCurrentIndex(printers->findText(QLatin1String(row.queue)));
                        onNextModal("QDialog", [&](QWidget &properties) { // the printer's own options
                            auto *perSheet = child<QComboBox>(properties, "pagesPerSheetCombo");
                            perSheet->setCurrentIndex(
                                perSheet->findText(QString::number(row.pagesPerSheet) + u' ',
                                                   Qt::MatchStartsWith)); // "2 (2x1)"
                            static_cast<QDialog &>(properties).accept();
                        });
                        child<QPushButton>(dialog, "properties")->click();
                        child<QCheckBox>(dialog, "cbBooklet")->setChecked(row.booklet);
                        static_cast<QDialog &>(dialog).accept();
                    });
                    child<QToolButton>(window, "butSETUP")->click();
                    clickPrint(window);
                });
                const auto job = jobAttributes(printerDevice().lastOutput().section(u' ', -1));
                attributes = job.value("sides", "-") + u' ' + job.value("number-up", "-");
                pdf = waitForCupsPdf(name, 30000, QLatin1String(row.queue));
            }
            QCOMPARE(sidesOf(pdf, row.booklet || row.pagesPerSheet == 2 ? Halves : Quarters), row.sides);
            if (printsThroughLibcups())
                QCOMPARE(attributes, QLatin1String(row.attributes));
            else if (row.queue)
                qInfo("SKIP reading back what %s was asked: without libcups, Qt does not say the job's id",
                      row.queue);
            QFile::remove(pdf);
        }
        composeSheets(m_control, uniqueDocumentName("refused-"), 2);
        // 1, 2 or 4 pages a side only.
        QVERIFY(!m_control.SavePDFSheets(m_tempDir.filePath("three.pdf"), 3));
        m_control.Abort();
    }

    void stalledSchedulerNeverFreezesTheHost()
    {
        if (!printsThroughLibcups())
            QSKIP("built without libcups: nothing bounds Qt's own wait for a scheduler that never answers");
        if (geteuid() != 0)
            QSKIP("a scheduler of the test's own needs root");
        // A scheduler of our own on its own socket, so that stopping it disturbs no one else.
        const QString conf = m_tempDir.filePath("cupsd.conf"), files = m_tempDir.filePath("cups-files.conf"),
                      socket = m_tempDir.filePath("cups.sock");
        QByteArray folders;
        for (const char *key : {"ServerRoot", "RequestRoot", "CacheDir", "StateDir", "ErrorLog"})
            folders +=
                QByteArray(key) + ' ' + QFile::encodeName(m_tempDir.path()) + (*key == 'E' ? "/log\n" : "\n");
        for (const auto &[path, text] : {std::pair{conf, ("Listen " + socket + "\nBrowsing Off\n").toUtf8()},
                                         std::pair{files, folders}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text) == text.size());
        }
        QProcess scheduler;
        scheduler.start("cupsd", {"-f", "-c", conf, "-s", files});
        QVERIFY(scheduler.waitForStarted());
        const auto stopScheduler = qScopeGuard([&] {
            ::kill(pid_t(scheduler.processId()), SIGCONT); // whatever happened
            scheduler.terminate();
            scheduler.waitForFinished(10000);
        });
        // Answering, not only bound: stopped between bind and listen, it would refuse, not stall.
        const auto answers = [&] {
            return outputOf("lpstat", {"-h", socket, "-r"}, 5000).startsWith("scheduler is running");
        };
        QVERIFY(QTest::qWaitFor(answers, 20000));
        QVERIFY(::kill(pid_t(scheduler.processId()), SIGSTOP) == 0);

        runChild("o serviço de impressão não responde", socket);
    }

    void noPrintServiceChild()
    {
        const QString reason = qEnvironmentVariable(ChildVariable);
        if (reason.isEmpty())
            QSKIP("runs inside the two tests above");
        constexpr int BoundMs = 20000; // returns at all: a stalled scheduler never answers
        QDeadlineTimer bound(BoundMs);
        const QString name = uniqueDocumentName("stalled-");
        composeSheets(m_control, name, 2);
        QVERIFY(!bound.hasExpired());
        QString message;
        showAndCheck(m_control, [&](PreviewWindow &window) {
            bound.setRemainingTime(BoundMs);
            message = messageDuring([&] { clickPrint(window); });
            QVERIFY(!bound.hasExpired());
        });
        // Direct mode tells it over the host's window after Show.
        QCOMPARE(m_control.Init(&m_host, name, "P"), quint8(0));
        m_control.PNP();
        const QString direct = messageDuring([&] { m_control.Show(); });
        for (const QString &told : {message, direct}) {
            const QString kept = told.section("guardada em ", 1).chopped(1);
            QVERIFY2(told.startsWith(QStringLiteral("Não foi possível imprimir a listagem: %1.").arg(reason)),
                     qPrintable(told));
            QCOMPARE(pdfPageCount(kept), 2);
            QVERIFY(QFileInfo(kept).fileName().startsWith(name));
            QFile::remove(kept);
        }
    }

private:
    /// Runs noPrintServiceChild in a child process whose CUPS client asks
    /// cupsServer, which does not answer for reason; it must pass.
    void runChild(const char *reason, const QString &cupsServer)
    {
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("CUPS_SERVER", cupsServer);
        environment.insert(QString::fromLatin1(ChildVariable), QString::fromUtf8(reason));
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        child.start(QCoreApplication::applicationFilePath(), {"noPrintServiceChild"});
        QVERIFY(child.waitForFinished(120000));
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 child.readAll().constData());
    }

    QTemporaryDir m_tempDir;
    QWidget m_host;
    quillet::Quillet m_control{&m_host};
};

QTEST_MAIN(PrintServerTest)
#include "print_server_test.moc"
