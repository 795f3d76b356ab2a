#pragma once
// The owner of one listing: its state and spool (shared with the windows and
// jobs that work on it), its hidden preview page, its wait dialog and its
// preview window. Init makes one, and Abort, a replacing Init or the end of
// the component end it; all of it goes as one.

#include "compose/Session.h"
#include "preview/PreviewWindow.h"
#include "print/WaitDialog.h"

#include <QPointer>

#include <memory>

class QWidget;

namespace quillet {

class ImageSurface;
class QtPrinterDevice;

class Listing : public ListingEvents, public std::enable_shared_from_this<Listing> {
public:
    /// A listing on printer (none before the first Init) that starts from the
    /// state the last one left: what a refused Init keeps, and the switches
    /// and properties that outlive a listing.
    Listing(QtPrinterDevice *printer, const ListingState &carried);
    ~Listing() override;
    Listing(const Listing &) = delete;
    Listing &operator=(const Listing &) = delete;

    Session &session() { return *m_session; }
    ListingState &state() { return m_session->state; }
    ImageSurface &pageSurface() { return *m_pageSurface; }

    /// The host's window, watched so a window the host deleted is never touched.
    QWidget *parentWindow() const { return m_parentWindow; }
    void setParentWindow(QWidget *window) { m_parentWindow = window; }

    /// A fresh wait dialog, owned by the host's window when there is one.
    WaitDialog &loadWaitDialog();
    void unloadWaitDialog();
    PreviewWindow *previewWindow() const { return m_previewWindow; }
    PreviewWindow &loadPreviewWindow();

    /// Ends the listing: a print job of its preview is discarded, its windows
    /// and their dialogs close (and are deleted once no event loop of theirs
    /// runs), the spool file is deleted, the pictures released. Whoever still
    /// holds the listing sees `ended` and stops. Running it again does nothing
    /// more.
    void end();
    bool isEnded() const { return m_session->ended; }

    /// Prints every page once through the print job of the preview's print
    /// button, its dialogs over the host's window, which composing no longer
    /// holds: how a listing that Show prints ends.
    void printAllPages();

    void pageStarted(int page) override;

private:
    /// Lets the windows run (Wait) and says whether this listing goes on.
    bool keepGoing();
    /// After a print or set-up the page is measured for the printer in use
    /// and drawn again, unless the listing was ended meanwhile.
    void redrawPreview();
    void print();
    void setUp();
    void savePdf();

    QtPrinterDevice *m_printer;
    std::shared_ptr<Session> m_session = std::make_shared<Session>();
    std::shared_ptr<ImageSurface> m_pageSurface;
    QPointer<QWidget> m_parentWindow;
    QPointer<WaitDialog> m_waitDialog;
    QPointer<PreviewWindow> m_previewWindow;
};

} // namespace quillet
