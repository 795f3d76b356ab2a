#pragma once
// ScrLst, the preview window: a toolbar (close, printer set-up, print, find,
// save as PDF, thumbnails, page navigation, zoom box) over a dotted desk that
// holds the page, one page at a time, with scroll bars for a page larger than
// the desk and an optional thumbnail panel at its left. Keys and the wheel
// page, scroll and zoom; a find marks what it found on the page. It holds its
// listing and stops as soon as that listing has ended. The parts have classes
// of their own; the window builds them, lays them out and wires them.

#include "compose/Session.h"

#include <QDialog>

#include <functional>
#include <memory>
#include <unordered_map>

namespace quillet {

class ImageSurface;
class PageDesk;
class PageNavigation;
class PageThumbnails;
class PreviewFinder;
class PreviewToolbar;
class PrinterDialog;
class ZoomPanel;

class PreviewWindow : public QDialog {
    Q_OBJECT
public:
    /// Builds the window from the listing's switches (which buttons show) and
    /// zoom; page is the surface the page is drawn on.
    PreviewWindow(std::shared_ptr<Session> listing, std::shared_ptr<ImageSurface> page);
    ~PreviewWindow() override;

    /// Sizes the page for the zoom and the printer's current paper, places it
    /// in the desk (centred, or 200 twips in with scroll bars when larger) and
    /// maps its drawing coordinates. The page is drawn again on its next paint
    /// when its size changed.
    void DIMWINDOW();
    /// Draws page CurPage now: clears the page, writes the page label, enables
    /// the navigation buttons that lead somewhere, replays the page.
    void renderPage();

    PrinterDialog &printerDialog() { return *m_printerDialog; }

    /// After a dialog of the preview closed: the window is active again and
    /// the keys turn pages, with or without a window manager to see to it.
    void takeBackKeys();

signals:
    /// The print button was clicked.
    void printRequested();
    /// The set-up button was clicked (printer set-up or page range).
    void setupRequested();
    /// The PDF button was clicked: save the listing as a PDF file.
    void savePdfRequested();
    /// A page has been drawn on the preview (page numbered from 1).
    void pageRendered(int page);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;

private:
    void wireParts();
    void buildKeyMap();
    /// Tab walks the toolbar in the order it shows, then the page, then the zoom box.
    void orderTabStops();
    void layoutWindow();
    void showPage(int page);
    void fitPageToWindow();
    void toggleThumbnails(bool shown);
    void scrollOrTurnPage(int wheelAngle);

    ListingState &listing() { return m_listing->state; }

    const std::shared_ptr<Session> m_listing;
    const std::shared_ptr<ImageSurface> m_pageSurface;
    PreviewToolbar *m_toolbar;
    PageNavigation *m_navigation;
    ZoomPanel *m_zoom;
    PageDesk *m_desk;
    PrinterDialog *m_printerDialog;
    PageThumbnails *m_thumbnails;
    PreviewFinder *m_finder;
    /// What each key does, by key combination; keys a child takes (typing in
    /// the zoom box) never reach it.
    std::unordered_map<int, std::function<void()>> m_keyMap;
    bool m_firstActivation = true;
};

} // namespace quillet
