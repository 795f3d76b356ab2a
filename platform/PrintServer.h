#pragma once
// The system's print service as the printer device needs it: whether it
// answers, the printer a device starts on, and one job from its first page to
// the queue. Two builds of it (QUILLET_CUPS): on libcups, platform/cups/, a job
// is drawn into a private PDF and handed to CUPS whole when it ends, so a
// discarded job never prints; on QPrinter alone, platform/qprinter/, the pages
// go to Qt's print engine as they are drawn, and a discarded job is aborted
// there, which not every engine can undo. What both say to the user is here.

#include <QPageLayout>
#include <QString>

#include <memory>

class QPainter;
class QPrinter;
class QTemporaryFile;
class QTransform;

namespace quillet {
class PdfJob;
}

namespace quillet::printserver {

enum class Backend { Libcups, QPrinterOnly };
/// The hand-over this build has.
Backend backend();

enum class Status { Answering, Absent, Silent };
/// Whether the print service answers now, asked within a few seconds. On
/// QPrinter alone nothing can ask it, and it counts as answering.
Status status();
/// Why no job reaches a printer when the server is in this state, for the user.
QString unreachableReason(Status state);

enum class Refusal { NoSuchPrinter, NotAccepting, Stopped };
/// Why the queue took no job, as a short phrase for the user.
QString refusalReason(Refusal refusal);

/// A printer on the system's default queue at high resolution, or a PDF
/// printer when there is none or the print service does not answer.
std::unique_ptr<QPrinter> defaultPrinter();
/// True when printer writes PDF files instead of printing on a queue.
bool isPdfPrinter(const QPrinter &printer);
/// The layout a job is drawn with: the printer's paper, its border as margins.
QPageLayout jobLayout(const QPageLayout &printerLayout);
/// A free path for a job kept as a PDF in the user's documents folder (or
/// home), after its document name.
QString keptJobPath(const QString &documentName);
/// Why a job's temporary PDF could not be written, for the user.
QString unwrittenReason();

/// One job on printer, drawn in millimetres from the corner of jobLayout().
/// Destroyed before handOver(), it is discarded.
class Job {
public:
    /// Starts the job; isOpen() tells whether it could. A booklet asks for
    /// both sides turned on the short edge when the printer prints both.
    Job(QPrinter &printer, const QString &documentName, bool booklet);
    /// A job of pages written into pdf beforehand (not open when pdf is
    /// null), handed over as the others. None on QPrinter alone, whose
    /// engine draws every job itself.
    static std::unique_ptr<Job> ofWrittenPdf(QPrinter &printer, const QString &documentName, bool booklet,
                                             std::unique_ptr<QTemporaryFile> pdf);
    ~Job();

    bool isOpen() const;
    /// The painter of the current page; mmToDevice maps millimetres to it.
    QPainter *painter(QTransform &mmToDevice);
    void newPage();

    struct Outcome {
        /// Where the job went: "<queue>, job <id>", the queue, or the PDF kept
        /// for the user; empty when nothing of it could be kept.
        QString output;
        /// Why no printer took it, for the user; empty when one did.
        QString error;
    };
    Outcome handOver();
    /// Discards the job; false when pages already handed to the printer may still print.
    bool discard();

private:
    struct Private;
    explicit Job(std::unique_ptr<Private> d);
    std::unique_ptr<Private> d;
};

/// Finishes pdf and keeps it for the user: the outcome of a job no printer took, and why.
Job::Outcome keptForUser(PdfJob &pdf, const QString &documentName, const QString &why);

} // namespace quillet::printserver
