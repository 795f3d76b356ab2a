#include "control/Listing.h"

#include "base/ErrorsIgnored.h"
#include "control/Lifecycle.h"
#include "platform/ImageSurface.h"
#include "platform/QtPrinterDevice.h"
#include "platform/ZintBarcodeEncoder.h"
#include "preview/PreviewWindow.h"
#include "render/RememberingBarcodeEncoder.h"
#include "print/PdfExport.h"
#include "print/PrintJob.h"
#include "print/PrinterDialog.h"
#include "print/PrinterSetup.h"
#include "print/WaitDialog.h"
#include "widgets/WindowOwner.h"

#include <QPrinter>

namespace quillet {

namespace {

/// Closes a window and the dialogs it has open, so that their event loops
/// return; it is deleted once control is back in the loop that was running,
/// never under a loop of its own.
void closeWindow(QDialog *window)
{
    if (!window)
        return;
    for (QDialog *dialog : window->findChildren<QDialog *>())
        dialog->reject();
    window->done(QDialog::Rejected);
    window->hide();
    window->deleteLater();
}

} // namespace

Listing::Listing(QtPrinterDevice *printer, const ListingState &carried)
    : m_printer(printer), m_pageSurface(std::make_shared<ImageSurface>())
{
    Session &s = *m_session;
    s.state = carried;
    s.state.Surface = nullptr;
    s.state.Imgs.fill(nullptr);
    s.state.PageIndex.clear();
    s.state.SpoolPath.clear();
    s.state.SpoolNum = 0;
    s.printer = printer;
    s.barcodes = std::make_shared<RememberingBarcodeEncoder>(std::make_shared<ZintBarcodeEncoder>());
    s.pageSurface = m_pageSurface.get();
    s.events = this;
}

Listing::~Listing()
{
    end();
    m_session->events = nullptr;
}

WaitDialog &Listing::loadWaitDialog()
{
    unloadWaitDialog();
    m_waitDialog = new WaitDialog;
    setWindowOwner(m_waitDialog, m_parentWindow);
    QObject::connect(m_waitDialog, &WaitDialog::composingCancelled, m_waitDialog,
                     [session = std::weak_ptr<Session>(m_session)] {
                         const auto listing = session.lock();
                         if (listing && listing->state.Spooling && listing->state.ShowCancel)
                             listing->state.PrtCancel = true;
                     });
    return *m_waitDialog;
}

void Listing::unloadWaitDialog()
{
    closeWindow(m_waitDialog);
    m_waitDialog = nullptr;
}

PreviewWindow &Listing::loadPreviewWindow()
{
    closeWindow(m_previewWindow);
    m_previewWindow = new PreviewWindow(m_session, m_pageSurface);
    setWindowOwner(m_previewWindow, m_parentWindow);
    PreviewWindow *window = m_previewWindow;
    // The slots hold the listing while they run: the host may replace it from
    // any dialog they open.
    const auto run = [self = weak_from_this(),
                      shown = QPointer<PreviewWindow>(window)](void (Listing::*step)()) {
        ignoringErrors([&] {
            if (const std::shared_ptr<Listing> listing = self.lock())
                (listing.get()->*step)();
            if (shown)
                shown->takeBackKeys();
        });
    };
    QObject::connect(window, &PreviewWindow::printRequested, window, [run] { run(&Listing::print); });
    QObject::connect(window, &PreviewWindow::setupRequested, window, [run] { run(&Listing::setUp); });
    QObject::connect(window, &PreviewWindow::savePdfRequested, window, [run] { run(&Listing::savePdf); });
    return *window;
}

void Listing::end()
{
    Session &s = *m_session;
    s.ended = true;
    s.state.Spooling = false;
    if (s.replaying && m_printer)
        m_printer->killDoc(); // a job of an ended listing is never printed
    closeWindow(m_previewWindow);
    unloadWaitDialog();
    if (s.state.Surface == m_pageSurface.get())
        s.state.Surface = nullptr;
    closeSpool(s);
    s.state.Imgs.fill(nullptr);
}

bool Listing::keepGoing()
{
    lifecycle::Wait();
    return !isEnded();
}

void Listing::redrawPreview()
{
    if (isEnded() || !m_previewWindow)
        return;
    m_previewWindow->DIMWINDOW();
    m_previewWindow->renderPage();
}

void Listing::print()
{
    if (!m_previewWindow || !m_printer)
        return;
    PrintJob::run(m_previewWindow, m_previewWindow->printerDialog(), *m_session, *m_printer,
                  [this] { return keepGoing(); });
    redrawPreview();
}

void Listing::printAllPages()
{
    if (!m_printer)
        return;
    if (m_parentWindow)
        m_parentWindow->setEnabled(true);
    PrinterDialog allPages;
    allPages.reset(state().NumPages, m_printer->printer());
    PrintJob::run(m_parentWindow, allPages, *m_session, *m_printer, [this] { return keepGoing(); });
}

void Listing::setUp()
{
    if (!m_previewWindow || !m_printer)
        return;
    PrinterSetup::run(m_previewWindow, m_previewWindow->printerDialog(), *m_session, *m_printer);
    redrawPreview();
}

void Listing::savePdf()
{
    if (!m_previewWindow || !m_printer)
        return;
    PdfExport::saveFromPreview(m_previewWindow, *m_session, m_printer->printer().pageLayout(),
                               [this] { return keepGoing(); });
}

void Listing::pageStarted(int page)
{
    if (m_waitDialog)
        m_waitDialog->setPage(page);
}

} // namespace quillet
