#pragma once
// Pictures of the pages of the listing being composed for the preview, drawn
// the way the preview draws them, one PNG file per page.

#include <QString>

namespace quillet::cli {

struct PageImagesResult {
    int pagesWritten = 0;
    QString error; ///< empty when every page was written
};

/// Writes pages 1..N as dir/page-0001.png ... at zoomPercent (100: 96 dots per
/// inch). Call after composing in preview mode, before Show; the listing stays
/// as it was.
PageImagesResult savePageImages(const QString &dir, int zoomPercent);

} // namespace quillet::cli
