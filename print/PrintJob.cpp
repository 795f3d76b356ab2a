#include "print/PrintJob.h"

#include "compose/Session.h"
#include "control/Lifecycle.h"
#include "control/Runtime.h"
#include "control/WindowOwner.h"
#include "platform/ImageSurface.h"
#include "platform/QtPrinterDevice.h"
#include "print/PrinterDialog.h"
#include "print/WaitDialog.h"
#include "render/PageRenderer.h"
#include "render/SetupSurface.h"

#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <algorithm>

namespace quillet {

namespace {

struct PageRange {
    int first;
    int last;
};

PageRange rangeToPrint(const ListingState &s, const PrinterDialog &cmd)
{
    PageRange range{1, s.NumPages};
    if (s.ShowSetup)
        range = {cmd.fromPage(), cmd.toPage()};
    else if (s.ShowSelPag)
        range = {cmd.minPage(), cmd.maxPage()};
    // Pages outside the listing have nothing to print.
    return {std::max(range.first, 1), std::min<int>(range.last, s.NumPages)};
}

QString progressText(int page, int count)
{
    return QStringLiteral("Página %1 de %2 Página%3").arg(page).arg(count).arg(count > 1 ? "s" : "");
}

/// Tells the user that the printer did not take the job, why, and where its
/// PDF was kept.
void tellJobRefused(QWidget *owner, const QtPrinterDevice &printer)
{
    QString text = QStringLiteral("Não foi possível imprimir a listagem em %1: %2.")
                       .arg(QString::fromStdString(printer.deviceName()), printer.lastJobError());
    if (!printer.lastOutput().isEmpty())
        text += QStringLiteral("\n\nA listagem ficou guardada em %1.").arg(printer.lastOutput());
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Imprimir"), text, QMessageBox::Ok, owner);
    box.setObjectName(QStringLiteral("msgPrintFailed"));
    box.exec();
}

/// Prints the range; false when the listing was ended meanwhile (AbortPRT).
bool printPages(WaitDialog &dialog, PrinterDialog &cmd)
{
    Session &ses = session();
    ListingState &s = ses.state;
    QtPrinterDevice &printer = Runtime::instance().printer();
    const int16_t shownPage = s.CurPage;
    s.Preview = false;
    s.Surface = &printer.surface();

    const PageRange range = rangeToPrint(s, cmd);
    const int count = range.last - range.first + 1;
    bool cancelled = false;
    for (int page = range.first; page <= range.last; ++page) {
        s.CurPage = static_cast<int16_t>(page);
        dialog.setProgressText(progressText(page, count));
        if (!lifecycle::Wait())
            return false; // Abort has discarded the job and closed the preview
        PageRenderer(ses).render();
        if (page != range.last)
            printer.newPage();
        if (dialog.printCancelled()) {
            printer.killDoc();
            cancelled = true;
            break;
        }
    }
    if (!cancelled)
        printer.endDoc();

    s.CurPage = shownPage;
    s.Preview = true;
    s.Surface = &Runtime::instance().pageSurface();
    cmd.reset(s.NumPages);
    return true;
}

} // namespace

void PrintJob::run(QWidget *owner, PrinterDialog &cmd)
{
    Session &ses = session();
    ListingState &s = ses.state;
    if (!s.Preview)
        return; // a print is already running
    WaitDialog dialog;
    setWindowOwner(&dialog, owner);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.prepareForPrinting(QString::fromStdString(s.ListName).trimmed(), s.ShowCancel);
    bool listingOpen = true;
    // The loop runs once the dialog is up, so its Cancel button can be pressed.
    QTimer::singleShot(0, &dialog, [&] {
        listingOpen = printPages(dialog, cmd);
        dialog.accept();
    });
    dialog.exec();
    if (!listingOpen || s.AbortPrtFlag)
        return;
    QtPrinterDevice &printer = Runtime::instance().printer();
    // Read before SetupSurface, whose endDoc clears it.
    if (!printer.lastJobError().isEmpty())
        tellJobRefused(owner, printer);
    SetupSurface(ses);
}

} // namespace quillet
