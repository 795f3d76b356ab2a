#pragma once
// The Qt side of the process's one listing: the printer, the preview page
// surface and the windows around a listing. Lives as long as the application.

#include "compose/Session.h"

#include <QObject>
#include <QPointer>
#include <memory>

class QWidget;

namespace quillet {

class ImageSurface;
class PreviewWindow;
class QtPrinterDevice;
class WaitDialog;

class Runtime : public QObject, public ListingEvents {
    Q_OBJECT
public:
    /// Created on first use, owned by the application object.
    static Runtime &instance();
    ~Runtime() override;

    QtPrinterDevice &printer() { return *m_printer; }
    ImageSurface &pageSurface() { return *m_pageSurface; }

    WaitDialog *waitDialog() const;
    /// A fresh wait dialog, owned by the host's window when there is one.
    WaitDialog &loadWaitDialog(QWidget *owner);
    void unloadWaitDialog();

    PreviewWindow *previewWindow() const;
    PreviewWindow &loadPreviewWindow(QWidget *owner);
    /// Closes the preview (ending the listing) and deletes the window.
    void unloadPreviewWindow();

    void pageStarted(int page) override;

    /// The host's window, watched so a window the host deleted is never touched.
    QWidget *parentWindow() const { return m_parentWindow; }
    void setParentWindow(QWidget *window) { m_parentWindow = window; }

private:
    Runtime();

    std::unique_ptr<QtPrinterDevice> m_printer;
    std::unique_ptr<ImageSurface> m_pageSurface;
    QPointer<WaitDialog> m_waitDialog;
    QPointer<PreviewWindow> m_previewWindow;
    /// Closed windows, deleted at the next load: one may still be on the stack
    /// (a listing aborted from inside its print job).
    std::unique_ptr<PreviewWindow> m_closedPreviewWindow;
    QPointer<QWidget> m_parentWindow;
};

} // namespace quillet
