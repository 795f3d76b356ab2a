#include "control/Lifecycle.h"

#include "compose/Composer.h"
#include "control/InitArguments.h"
#include "control/Runtime.h"
#include "platform/ImageSurface.h"
#include "platform/QtPrinterDevice.h"
#include "preview/PreviewWindow.h"
#include "print/PrinterDialog.h"
#include "print/WaitDialog.h"
#include "render/SetupSurface.h"
#include "spool/TempDir.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QWidget>
#include <algorithm>

namespace quillet::lifecycle {

namespace {


void clearImages(ListingState &s)
{
    s.Imgs.fill(nullptr);
}

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

void openPreviewWindow(Runtime &rt, const QString &listName)
{
    PreviewWindow &window = rt.loadPreviewWindow(rt.parentWindow());
    window.DIMWINDOW(); // the hidden page takes the sheet's size at once
    window.setWindowTitle(listName.isEmpty() ? QCoreApplication::applicationName() : listName);
}

} // namespace

quint8 Init(const InitRequest &r)
{
    Runtime &rt = Runtime::instance();
    Session &ses = session();
    ListingState &s = ses.state;

    s.ParentWin = r.ParentWin;
    rt.setParentWindow(r.ParentWin);
    clearImages(s);
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

    rt.printer().followDefault();
    const int result = applyPaper(r, ses);
    if (result != Opened)
        return static_cast<quint8>(result);

    const bool direct = isDirectMode(r.PrtScreen);
    s.Preview = s.Spooling = !direct;
    const QString listName = r.LName.trimmed();
    s.ListName = listName.toStdString();
    rt.printer().setDocumentName(listName.isEmpty() ? QStringLiteral("Quillet") : listName);

    SetupSurface(ses);
    // Taken after the set-up, which ends any job still open on the printer.
    s.Surface = direct ? &rt.printer().surface() : static_cast<Surface *>(&rt.pageSurface());

    if (s.ShowWait)
        rt.loadWaitDialog(rt.parentWindow()).showForComposing(listName, s.ShowCancel);
    else
        rt.unloadWaitDialog();
    if (!listName.isEmpty())
        QGuiApplication::setApplicationDisplayName(listName);
    if (s.Preview)
        openPreviewWindow(rt, listName);
    else
        rt.unloadPreviewWindow();

    closeSpool(ses);
    s.PageIndex.clear();
    s.SpoolPath.clear();
    if (s.Spooling) {
        s.PageIndex.push_back(1);
        ses.spool = SpoolFile::create(spoolPrefixForToday());
        if (!ses.spool) {
            rt.unloadWaitDialog();
            rt.unloadPreviewWindow();
            return SpoolNotOpened;
        }
        s.SpoolPath = ses.spool->path();
        s.SpoolNum = ses.spool->handle();
    }

    Composer(ses).ListingDefaults();
    if (QWidget *parent = rt.parentWindow())
        parent->setEnabled(false);
    return Opened;
}

void Show()
{
    Runtime &rt = Runtime::instance();
    Session &ses = session();
    ListingState &s = ses.state;
    if (!ses.spool && s.Preview)
        return; // no listing to show
    if (s.Preview && !s.Spooling)
        return; // already previewing: a second window would end the listing under the first
    if (s.ShowWait)
        rt.unloadWaitDialog();
    s.Spooling = false;
    if (s.Preview) {
        s.Surface = &rt.pageSurface();
        s.NumPages = s.CurPage;
        s.CurPage = 1;
        if (PreviewWindow *window = rt.previewWindow()) {
            window->printerDialog().reset(s.NumPages);
            window->exec();
        }
        rt.unloadPreviewWindow();
        closeSpool(ses);
    } else {
        rt.printer().endDoc();
    }
    clearImages(s);
    if (!s.AbortPrtFlag)
        ReactivateParent();
}

void Abort()
{
    Runtime &rt = Runtime::instance();
    Session &ses = session();
    ListingState &s = ses.state;
    rt.unloadPreviewWindow();
    rt.unloadWaitDialog();
    closeSpool(ses);
    if (!s.Preview)
        rt.printer().killDoc();
    clearImages(s);
    if (!s.AbortPrtFlag)
        ReactivateParent();
}

bool Wait()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const ListingState &s = session().state;
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
    QWidget *parent = Runtime::instance().parentWindow();
    if (!parent)
        return;
    parent->setEnabled(true);
    parent->activateWindow();
    parent->setFocus();
}

} // namespace quillet::lifecycle
