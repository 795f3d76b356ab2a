#pragma once
// The peers built into Qt, on the workload page: QPrintPreviewWidget on a
// QPrinter, and QPdfWriter writing the pages straight into a PDF.

namespace quillet::bench {

class Measurements;

/// first_page_ms: from creating the widget to its first page on the screen.
void measureQtPreview(int pages, Measurements &out);
/// ms, ms_per_page, bytes_per_page of writing the pages to a temporary PDF.
void measureQPdfWriter(int pages, Measurements &out);

} // namespace quillet::bench
