#pragma once
// Pictures of the pages of the listing being composed for the preview, drawn
// the way the preview draws them, one PNG file per page.

#include "print/PageReplay.h"

#include <QString>

namespace quillet {

struct Session;

struct PageImagesResult {
    int pagesWritten = 0;
    QString error; ///< empty when every page was written
};

/// Writes the listing's pages 1..N as dir/page-0001.png ... at zoomPercent
/// (100: 96 dots per inch). For a listing composed in preview mode; the
/// listing stays as it was. A page's file appears whole or not at all, and a
/// link at its name is replaced, never followed. pageWritten, when given, is
/// told of each file written.
PageImagesResult savePageImages(const Session &listing, const QString &dir, int zoomPercent,
                                const PageWritten &pageWritten = {});

} // namespace quillet
