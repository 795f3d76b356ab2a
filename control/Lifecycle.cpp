#include "control/Lifecycle.h"

#include "compose/Composer.h"
#include "control/InitArguments.h"
#include "control/Listing.h"
#include "control/Runtime.h"
#include "platform/ImageSurface.h"
#include "platform/QtPrinterDevice.h"
#include "preview/PreviewWindow.h"
#include "print/PrintJob.h"
#include "print/PrinterDialog.h"
#include "print/WaitDialog.h"
#include "render/SetupSurface.h"
#include "spool/StaleSpoolSweep.h"
#include "spool/TempDir.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <algorithm>

namespace quillet::lifecycle {

namespace {


int16_t toInt16(int value)
{
    return static_cast<int16_t>(std::clamp(value, -32768, 32767));
}

/// Applies orientation and paper to the printer; returns the failure codes.
int applyPaper(const InitRequest &r, Session &ses)
{
    ListingState &s = ses.state;
    PrinterDevice &printer = *ses.printer;
    int result = Opened;

    int orientation = printer.orientation();
    if (r.POri.isValid()) {
        const std::optional<int> code = orientationCode(r.POri);
        if (!code || !printer.setOrientation(*code))
            result += OrientationRefused;
        orientation = code.value_or(0);
    }

    int paper = printer.paperSize();
    if (r.PPaper.isValid()) {
        const std::optional<int> code = paperCode(r.PPaper);
        paper = code.value_or(0);
        // A custom paper is set by its size below; -1 keeps the printer's paper.
        if (!code)
            result += PaperRefused;
        else if (paper != -1 && paper != CustomPaperCode && !printer.setPaperSize(paper) &&
                 printer.paperSize() != paper)
            result += PaperRefused;
    }
    if (paper == CustomPaperCode) {
        s.PaperW = toInt16(r.NPW);
        s.PaperH = toInt16(r.NPH);
        result += SetCustomPaper(ses, r.NPW, r.NPH);
    }
    s.PrtOri = static_cast<uint8_t>(orientation);
    s.PrtPaper = toInt16(paper);
    return result;
}

void openPreviewWindow(Listing &listing, const QString &listName)
{
    PreviewWindow &window = listing.loadPreviewWindow();
    window.DIMWINDOW(); // the hidden page takes the sheet's size at once
    window.setWindowTitle(listName.isEmpty() ? QCoreApplication::applicationName() : listName);
}

/// Gives a host window back: enabled, active, focused.
void reactivate(QWidget *parent)
{
    if (!parent)
        return;
    parent->setEnabled(true);
    parent->activateWindow();
    parent->setFocus();
}

/// Ends the listing open before an Init. Its direct print job is left to
/// SetupSurface, which sends it, unless the Init is refused.
void endPrevious(Listing &previous, QWidget *nextParent)
{
    previous.end();
    if (previous.parentWindow() != nextParent && !previous.state().AbortPrtFlag)
        reactivate(previous.parentWindow());
}

} // namespace

quint8 Init(const InitRequest &r)
{
    Runtime &rt = Runtime::instance();
    endPrevious(rt.listing(), r.ParentWin);
    Listing &listing = rt.startListing();
    Session &ses = listing.session();
    ListingState &s = ses.state;

    s.ParentWin = r.ParentWin;
    listing.setParentWindow(r.ParentWin);
    s.ShowSetup = r.cSETUP;
    s.ShowSelPag = r.cSELPAG;
    s.ShowPrint = r.cPRINT;
    s.ShowFind = r.cFIND;
    s.ASizeOn = r.ASize;
    s.ShowCancel = r.cCANCEL;
    s.CanShow = r.CanShow;
    s.ShowWait = !r.NoDialog;
    s.Zoom = 1.0f;
    s.CurPage = 1;
    s.PrtCancel = false;
    s.AbortPrtFlag = false;
    s.NumCols = 0;
    s.NumImgs = 0;

    QtPrinterDevice &printer = rt.printer();
    printer.followDefault();
    const int result = applyPaper(r, ses);
    if (result != Opened) {
        // No listing is open after a refusal, and the host's window is free.
        listing.end();
        if (!s.Preview)
            printer.killDoc();
        reactivate(r.ParentWin);
        return static_cast<quint8>(result);
    }

    // Printed at Show, a direct listing is recorded as for the preview: only then is its page count known.
    const bool toPrinter = isDirectMode(r.PrtScreen);
    s.PrintAtShow = toPrinter && s.DirectPageCount;
    const bool direct = toPrinter && !s.PrintAtShow;
    s.Preview = s.Spooling = !direct;
    const QString listName = r.LName.trimmed();
    s.ListName = listName.toStdString();
    printer.setDocumentName(listName.isEmpty() ? QStringLiteral("Quillet") : listName);

    SetupSurface(ses);
    // Taken after the set-up, which ends any job still open on the printer.
    s.Surface = direct ? &printer.surface() : static_cast<Surface *>(&listing.pageSurface());
    listing.pageSurface().setPainting(false);

    if (s.ShowWait)
        listing.loadWaitDialog().showForComposing(listName, s.ShowCancel);
    if (!listName.isEmpty())
        QGuiApplication::setApplicationDisplayName(listName);
    if (s.Preview && !s.PrintAtShow)
        openPreviewWindow(listing, listName);

    if (s.Spooling) {
        s.PageIndex.push_back(1);
        sweepStaleSpools(TempDir()); // what crashed hosts left there, with room reserved on disk
        ses.spool = SpoolFile::create(spoolPrefixForToday());
        if (!ses.spool) {
            listing.end();
            return SpoolNotOpened;
        }
        s.SpoolPath = ses.spool->path();
        s.SpoolNum = ses.spool->handle();
    }

    Composer(ses).ListingDefaults();
    if (QWidget *parent = listing.parentWindow())
        parent->setEnabled(false);
    return Opened;
}

void Show()
{
    Runtime &rt = Runtime::instance();
    // Held while the preview runs: the host may end or replace it meanwhile.
    const std::shared_ptr<Listing> listing = rt.listingHandle();
    Session &ses = listing->session();
    ListingState &s = ses.state;
    if (!ses.spool && s.Preview)
        return; // no listing to show
    if (s.Preview && !s.Spooling)
        return; // already previewing: a second window would end the listing under the first
    if (s.ShowWait)
        listing->unloadWaitDialog();
    s.Spooling = false;
    if (s.Preview) {
        s.Surface = &listing->pageSurface();
        listing->pageSurface().setPainting(true);
        s.NumPages = s.CurPage;
        s.CurPage = 1;
        if (s.PrintAtShow) {
            listing->printAllPages();
        } else if (const QPointer<PreviewWindow> window = listing->previewWindow()) {
            window->printerDialog().reset(s.NumPages, rt.printer().printer());
            window->exec();
        }
        if (listing->isEnded())
            return; // aborted or replaced meanwhile, by code that took care of the host's window
    } else {
        rt.printer().endDoc();
    }
    listing->end();
    if (!s.AbortPrtFlag)
        reactivate(listing->parentWindow());
    // Over the host's window when the job reached no printer; a host without one reads lastOutput().
    if (QWidget *host = listing->parentWindow(); !s.Preview && host && !rt.printer().lastJobError().isEmpty())
        PrintJob::tellNotPrinted(host, rt.printer());
}

void Abort()
{
    Runtime &rt = Runtime::instance();
    Listing &listing = rt.listing();
    listing.end();
    if (!listing.state().Preview)
        rt.printer().killDoc();
    if (!listing.state().AbortPrtFlag)
        ReactivateParent();
}

bool Wait()
{
    Runtime &rt = Runtime::instance();
    const std::shared_ptr<Listing> entered = rt.listingHandle();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    if (rt.listingHandle() != entered)
        return false; // the host opened another listing meanwhile: this one has ended
    const ListingState &s = entered->state();
    if (s.AbortPrtFlag) {
        Abort();
        return false;
    }
    if (s.Spooling && s.PrtCancel && s.Preview) {
        if (s.CanShow)
            Show();
        else
            Abort();
        return false;
    }
    return true;
}

void ReactivateParent()
{
    reactivate(Runtime::instance().listing().parentWindow());
}

} // namespace quillet::lifecycle
