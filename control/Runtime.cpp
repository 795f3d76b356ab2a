#include "control/Runtime.h"

#include "control/WindowOwner.h"
#include "platform/ImageSurface.h"
#include "platform/QtPrinterDevice.h"
#include "preview/PreviewWindow.h"
#include "print/PdfExport.h"
#include "print/PrintJob.h"
#include "print/PrinterDialog.h"
#include "print/PrinterSetup.h"
#include "print/WaitDialog.h"
#include "render/ErrorsIgnored.h"

#include <QCoreApplication>

namespace quillet {

namespace {

Runtime *theRuntime = nullptr;

// Runs first thing in the application object's destructor, while windows can
// still be deleted safely.
void destroyRuntime()
{
    delete theRuntime;
    theRuntime = nullptr;
}

} // namespace

Runtime &Runtime::instance()
{
    if (!theRuntime) {
        theRuntime = new Runtime;
        qAddPostRoutine(destroyRuntime);
    }
    return *theRuntime;
}

Runtime::Runtime()
    : m_printer(std::make_unique<QtPrinterDevice>()),
      m_pageSurface(std::make_unique<ImageSurface>())
{
    Session &s = session();
    s.printer = m_printer.get();
    s.pageSurface = m_pageSurface.get();
    s.events = this;
}

Runtime::~Runtime()
{
    unloadPreviewWindow();
    m_closedPreviewWindow.reset();
    unloadWaitDialog();
    Session &s = session();
    if (s.state.Surface == s.pageSurface || s.printer == m_printer.get())
        s.state.Surface = nullptr;
    s.printer = nullptr;
    s.pageSurface = nullptr;
    s.events = nullptr;
}

WaitDialog *Runtime::waitDialog() const
{
    return m_waitDialog;
}

PreviewWindow *Runtime::previewWindow() const
{
    return m_previewWindow;
}

WaitDialog &Runtime::loadWaitDialog(QWidget *owner)
{
    unloadWaitDialog();
    m_waitDialog = new WaitDialog;
    setWindowOwner(m_waitDialog, owner);
    return *m_waitDialog;
}

void Runtime::unloadWaitDialog()
{
    delete m_waitDialog;
}

PreviewWindow &Runtime::loadPreviewWindow(QWidget *owner)
{
    unloadPreviewWindow();
    m_closedPreviewWindow.reset();
    m_previewWindow = new PreviewWindow(*m_pageSurface);
    setWindowOwner(m_previewWindow, owner);
    PreviewWindow *window = m_previewWindow;
    // After a print or a set-up the page is measured for the printer in use
    // and drawn again, unless the listing was ended meanwhile.
    const auto redrawAfter = [this, window](void (*step)(QWidget *, PrinterDialog &)) {
        ignoringErrors([&] {
            step(window, window->printerDialog());
            if (m_previewWindow == window && session().spool) {
                window->DIMWINDOW();
                window->renderPage();
            }
        });
    };
    connect(window, &PreviewWindow::printRequested, this, [redrawAfter] { redrawAfter(&PrintJob::run); });
    connect(window, &PreviewWindow::setupRequested, this, [redrawAfter] { redrawAfter(&PrinterSetup::run); });
    connect(window, &PreviewWindow::savePdfRequested, this,
            [window] { ignoringErrors([window] { PdfExport::saveFromPreview(window); }); });
    return *window;
}

void Runtime::unloadPreviewWindow()
{
    if (!m_previewWindow)
        return;
    m_previewWindow->unload();
    m_previewWindow->done(QDialog::Rejected); // ends a modal Show, if any
    m_previewWindow->hide();
    m_closedPreviewWindow.reset(m_previewWindow.data());
    m_previewWindow = nullptr;
}

void Runtime::pageStarted(int page)
{
    if (m_waitDialog)
        m_waitDialog->setPage(page);
}

} // namespace quillet
