#include "DirectWorkloadPage.h"

#include "WorkloadPage.h"

#include <QFontMetricsF>
#include <QIODevice>
#include <QPainter>
#include <QPdfWriter>

namespace quillet::bench {

namespace {

/// The listing's margins, and the sheet.
constexpr qreal MarginMm = 10;
constexpr qreal A4WidthMm = 210;
constexpr qreal A4HeightMm = 297;

QString withMarkers(const char *text, int page, int pageCount)
{
    return QString::fromUtf8(text)
        .replace(QStringLiteral("PRICOCO"), QString::number(page))
        .replace(QStringLiteral("TRICOCO"), QString::number(pageCount));
}

} // namespace

DirectWorkloadPage::DirectWorkloadPage(int resolutionDpi, int pageCount)
    : m_title(WorkloadFont), m_heading(WorkloadFont), m_cell(WorkloadFont), m_pixelsPerMm(resolutionDpi / 25.4),
      m_pageCount(pageCount)
{
    m_title.setPointSizeF(WorkloadTitleSizePt);
    m_title.setBold(true);
    m_heading.setPointSizeF(WorkloadCellSizePt);
    m_heading.setBold(true);
    m_cell.setPointSizeF(WorkloadCellSizePt);
}

void DirectWorkloadPage::draw(QPainter &painter, int page) const
{
    const qreal left = px(MarginMm);
    const qreal tableWidth = px(WorkloadTableWidthMm);
    const qreal gap = px(WorkloadRuleGapMm);

    painter.setFont(m_title);
    const QFontMetricsF title(m_title, painter.device());
    const QString titleText = withMarkers(WorkloadTitle, page, m_pageCount);
    const qreal usableWidth = px(A4WidthMm - 2 * MarginMm);
    qreal line = px(MarginMm) + title.height();
    painter.drawText(QPointF(left + (usableWidth - title.horizontalAdvance(titleText)) / 2, line - title.descent()),
                     titleText);
    line += gap;
    painter.drawLine(QPointF(left, line), QPointF(left + tableWidth, line));
    line += gap;

    const qreal tableTop = line;
    painter.setFont(m_heading);
    const QFontMetricsF heading(m_heading, painter.device());
    line += heading.height();
    for (const WorkloadColumn &column : WorkloadColumns)
        painter.drawText(QPointF(left + px(column.leftMm), line - heading.descent()),
                         QString::fromUtf8(column.title));
    painter.setFont(m_cell);
    const QFontMetricsF cell(m_cell, painter.device());
    for (int row = 0; row < WorkloadRows; ++row) {
        line += cell.height();
        for (int column = 0; column < static_cast<int>(WorkloadColumns.size()); ++column)
            painter.drawText(QPointF(left + px(WorkloadColumns[column].leftMm), line - cell.descent()),
                             QString::fromStdString(workloadCell(page, row, column)));
    }
    painter.drawRect(QRectF(left, tableTop, tableWidth, line - tableTop));
    painter.drawText(QPointF(left, px(A4HeightMm - MarginMm) - cell.descent()), QString::fromUtf8(WorkloadFooter));
}

qint64 writeWorkloadPdf(QIODevice &out, int pageCount)
{
    const qint64 start = out.pos();
    QPdfWriter writer(&out);
    writer.setResolution(PrinterDpi);
    writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    QPainter painter(&writer);
    const DirectWorkloadPage workload(PrinterDpi, pageCount);
    for (int page = 1; page <= pageCount; ++page) {
        if (page > 1)
            writer.newPage();
        workload.draw(painter, page);
    }
    painter.end();
    return out.pos() - start;
}

} // namespace quillet::bench
