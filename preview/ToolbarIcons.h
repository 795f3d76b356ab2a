#pragma once
// The toolbar's pictures, drawn in code so that they stay sharp at any
// device pixel ratio and need no image files.

class QIcon;

namespace quillet {

/// A cross: closes the preview.
QIcon closeIcon();
QIcon printIcon();
/// A printer with a settings dial: choosing the printer or the pages.
QIcon printerSetupIcon();
QIcon findIcon();
/// A sheet with a red PDF band: saving the listing as a PDF file.
QIcon pdfIcon();
/// A strip of small pages: the thumbnail panel.
QIcon thumbnailsIcon();

} // namespace quillet
