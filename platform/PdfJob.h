#pragma once
// One print job drawn into a private temporary PDF laid out like the printer's
// page. The printer gets the file only when the job ends; a discarded job
// deletes it, so nothing of it is ever printed.

#include <QPageLayout>
#include <QPainter>
#include <QTemporaryFile>

#include <memory>

class QPdfWriter;

namespace quillet {

class PdfJob {
public:
    /// Creates the file (only this user may read it) in the temporary
    /// directory, or in /tmp when that fails, and opens the first page;
    /// isOpen() tells whether that worked. The painter's origin is the corner
    /// of the layout's margins.
    PdfJob(const QPageLayout &layout, int resolutionDpi, const QString &title);
    /// Deletes the file unless it was kept.
    ~PdfJob();

    bool isOpen() const { return m_painter.isActive(); }
    const QPageLayout &layout() const { return m_layout; }
    /// The painter of the current page, mapped in millimetres from the margins' corner.
    QPainter *painter();
    void newPage();
    /// Completes the PDF and returns its path; empty when it could not be written.
    QString finish();
    /// Leaves the file in place when the job goes.
    void keepFile() { m_file.setAutoRemove(false); }

private:
    bool openFile();

    QPageLayout m_layout;
    QTemporaryFile m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    QTransform m_mmToDevice;
};

} // namespace quillet
