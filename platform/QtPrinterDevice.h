#pragma once
// The printer on Qt and the system's print service. Follows the system's
// default printer (or the one picked in the print dialog); when the system has
// no printer at all it is a PDF printer on A4 without a border, whose jobs are
// kept as PDF files for the user. How a job reaches the queue, and whether a
// discarded one is withdrawn whole, is the print server's (PrintServer.h).

#include "platform/PdfJob.h"
#include "render/PrinterDevice.h"

#include <QString>
#include <memory>

class QPrinter;
class QTemporaryFile;

namespace quillet {

class QtPrinterDevice : public PrinterDevice {
public:
    QtPrinterDevice();
    ~QtPrinterDevice() override;

    void followDefault() override;
    std::string deviceName() const override;
    bool setOrientation(int code) override;
    int orientation() const override;
    bool setPaperSize(int code) override;
    int paperSize() const override;
    CustomPaperResult setCustomPaper(int widthMm, int heightMm) override;
    PrinterPage page() const override;
    JobSurface &surface() override;
    void newPage() override;
    void endDoc() override;
    void killDoc() override;

    /// The QPrinter that holds the printer's name and page layout; the print
    /// dialog edits it. Never draw on it directly.
    QPrinter &printer();
    /// The paper the next job is drawn on, its printable area as margins.
    QPageLayout jobLayout() const;
    /// Pages a sheet that the print dialog's "Pages per sheet" asks of CUPS
    /// (1 when none): 2 and 4 are taken out of the options sent with the
    /// jobs, for the pages are arranged before they reach CUPS; other numbers
    /// stay there, for CUPS to arrange.
    int takePagesPerSheet();
    /// The next job sent is a booklet: on a printer that prints both sides it
    /// asks for both, turned on the short edge, whatever the print dialog said.
    void setNextJobBooklet(bool booklet);
    /// Name given to the next jobs (CUPS document name, PDF title).
    void setDocumentName(const QString &name);
    QString documentName() const;
    /// Whether a job's pages may be written into a PDF beforehand (on every
    /// core) and handed over whole: where jobs reach the queue as PDF files.
    bool takesWrittenPdf() const;
    /// Starts the next job with the pages written into pdf (null when they
    /// could not be: the job then fails), for endDoc() or killDoc() to end.
    void startWrittenJob(std::unique_ptr<QTemporaryFile> pdf);
    /// Where the last finished job went: "<queue>, job <id>" (or the queue alone
    /// where the job id is not known), the path of the PDF
    /// file kept (in the user's documents folder, or home) when no printer took
    /// it, or empty when its PDF could not be written.
    QString lastOutput() const;
    /// True when no CUPS printer was found and jobs are written to PDF files.
    bool isPdfFallback() const;
    /// True when the printer is a CUPS queue and the print server answers now.
    bool reachable() const;
    /// Why no printer took the job that the last endDoc() finished (the queue
    /// refused it, or there is no printer or print server), as a short
    /// Portuguese phrase for the user; empty when it was sent, when there was
    /// no job, and after killDoc().
    QString lastJobError() const;
    /// False when the last killDoc() could not withdraw pages the printer had
    /// already been given: they may still print.
    bool lastDiscardWithdrew() const;

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace quillet
