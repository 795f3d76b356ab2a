#pragma once
// The listing's thumbnails: the thumbnail panel, sized for the listing's
// paper, drawing each page small from a copy of the listing's state.

#include "preview/ThumbnailPanel.h"

#include <memory>

namespace quillet {

class ImageSurface;
struct Session;

class PageThumbnails : public ThumbnailPanel {
    Q_OBJECT
public:
    PageThumbnails(Session &listing, QWidget *parent);
    ~PageThumbnails() override;

    /// Shows a fresh panel, as wide as a picture of the paper with its page
    /// number, or hides it. Without a printer there is no paper: it stays hidden.
    void showPanel(bool shown);

private:
    QImage drawPage(int page, qreal devicePixelRatio);

    Session &m_listing;
    std::unique_ptr<ImageSurface> m_surface;
};

} // namespace quillet
