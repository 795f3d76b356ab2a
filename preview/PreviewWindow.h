#pragma once
// The preview window: a toolbar over a desk holding the page form. Closing it,
// in any way, ends the listing and deletes its spool file.

#include <QDialog>

namespace quillet {

class ImageSurface;
class PageView;
class PrinterDialog;

class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    explicit PreviewWindow(ImageSurface &page);
    ~PreviewWindow() override;

    /// Makes the page picture as large as the printer's sheet, given in twips.
    void setPageSizeTwips(int widthTwips, int heightTwips);
    PrinterDialog &printerDialog() { return *m_printerDialog; }

    /// Ends the listing: releases the surface, closes and deletes the spool
    /// file. Runs once, however the window is closed.
    void unload();

    void done(int result) override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    ImageSurface &m_page;
    QWidget *m_toolbar;
    QWidget *m_desk;
    QWidget *m_pageForm;
    PageView *m_pageView;
    PrinterDialog *m_printerDialog;
    bool m_unloaded = false;
};

} // namespace quillet
