#pragma once
// Quillet on the workload: composing a preview listing, its preview window
// offscreen, and its PDF output through SavePDF and the print job, each in a
// process of its own like the QPdfWriter they are compared with.

namespace quillet::bench {

class Measurements;

/// compose_ms (Init to the last command), show_first_page_ms (Show to page 1
/// painted), last_page_ms (">>" from page 1), first_page_button_ms ("<<" from
/// the last page), find_ms (a text only on the last page, from page 1).
void measureQuilletPreview(int pages, Measurements &out);

/// savepdf_ms and savepdf_bytes_per_page (savepdf_ok 0 when SavePDF wrote nothing).
void measureQuilletSavePdf(int pages, Measurements &out);

/// straight_ms and straight_bytes_per_page: a listing composed and saved with
/// SavePDF, from Init to the file written, as `quillet --pdf` makes it.
void measureQuilletStraightPdf(int pages, Measurements &out);

/// print_ms and print_bytes_per_page: all pages printed from the preview to
/// the printer's PDF job, not submitted (no print server is reachable).
void measureQuilletPrint(int pages, Measurements &out);

} // namespace quillet::bench
