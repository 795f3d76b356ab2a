#pragma once
// The workload page as a program would draw it itself with QPainter on a
// QPdfWriter or a QPrinter, in device pixels from the sheet's corner: what the
// component's output is compared with.

#include <QFont>

class QIODevice;
class QPaintDevice;
class QPainter;

namespace quillet::bench {

class DirectWorkloadPage {
public:
    /// resolutionDpi is the device's; pageCount fills the page-count marker.
    DirectWorkloadPage(int resolutionDpi, int pageCount);

    /// Draws page (from 1). Texts stand on the print line, as the listing's do.
    void draw(QPainter &painter, int page) const;

private:
    qreal px(qreal mm) const { return mm * m_pixelsPerMm; }

    QFont m_title;
    QFont m_heading;
    QFont m_cell;
    qreal m_pixelsPerMm;
    int m_pageCount;
};

/// The printer's resolution (QPrinter::HighResolution) the comparisons use.
inline constexpr int PrinterDpi = 1200;

/// Writes pageCount workload pages as an A4 PDF with QPdfWriter at PrinterDpi
/// into out; the bytes written.
qint64 writeWorkloadPdf(QIODevice &out, int pageCount);

} // namespace quillet::bench
