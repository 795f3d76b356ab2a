#pragma once
// The two surfaces the text and replay benchmarks draw on: the test session's
// recording surface (fixed metrics, its log off) and the preview page image at
// zoom 1, where the real fonts are measured and drawn.

#include "compose/Session.h"
#include "platform/ImageSurface.h"
#include "support/TestSession.h"

#include <QSize>

namespace quillet::bench {

enum class SurfaceKind { Recording, PreviewImage };

/// An A4 sheet on the preview page at 100 %: 96 pixels an inch.
inline const QSize PreviewPagePixels(794, 1123);

/// A preview listing on the fakes whose commands draw on the chosen surface.
/// Switching surfaces takes effect at the next page's defaults (or replay).
class BenchListing {
public:
    BenchListing()
    {
        listing.pageSurface.logging = false;
        previewPage.setPixelSize(PreviewPagePixels);
    }

    void drawOn(SurfaceKind kind)
    {
        Surface &surface =
            kind == SurfaceKind::Recording ? static_cast<Surface &>(listing.pageSurface) : previewPage;
        listing.session.pageSurface = &surface;
        listing.state().Surface = &surface;
    }
    bool spoolOpen() const { return listing.session.spool != nullptr; }

    ImageSurface previewPage; // declared first: the session points at it until the end
    testing::TestSession listing;
    Composer &composer = listing.composer;
};

} // namespace quillet::bench
