#pragma once
// One job drawn into a PDF: a private temporary file laid out like the
// printer's page, which the printer gets only when the job ends, or a file the
// user named, which appears only when the job ends. A discarded job deletes
// its file, so nothing of it is ever printed or left behind.

#include "platform/PainterSurface.h"
#include "render/SheetLayout.h"

#include <QPageLayout>
#include <QPainter>

#include <functional>
#include <memory>
#include <optional>

class QFileDevice;
class QPdfWriter;
class QTemporaryFile;

namespace quillet {

class PdfJob {
public:
    /// Creates the file (only this user may read it) in the temporary
    /// directory, or in the user's cache when that fails, and opens the first page;
    /// isOpen() tells whether that worked. The painter's origin is the corner
    /// of the layout's margins. An archived file is as below.
    PdfJob(const QPageLayout &layout, int resolutionDpi, const QString &title, bool archive = false);
    /// Draws for the file at path, which finish() replaces in one step; an
    /// existing file there stays untouched until then, and a link there is
    /// replaced, never followed. An archived file is PDF/A-1b: every font
    /// embedded, the title and creation date in its XMP metadata.
    PdfJob(const QString &path, const QPageLayout &layout, int resolutionDpi, const QString &title,
           bool archive = false);
    /// A job whose pages were written into pdf (a temporaryFile()) already;
    /// it is not open when pdf is null.
    PdfJob(const QPageLayout &layout, std::unique_ptr<QTemporaryFile> pdf);
    /// Deletes the file unless it was kept or finished at its path.
    ~PdfJob();

    bool isOpen() const { return m_painter.isActive() || m_written; }
    const QPageLayout &layout() const { return m_layout; }
    /// The painter of the current page; mmToDevice maps millimetres from the
    /// margins' corner to it.
    QPainter *painter(QTransform &mmToDevice);
    void newPage();
    /// Completes the PDF and returns its path; empty when it could not be written.
    QString finish();
    /// Moves a finished temporary file to path, or leaves it where it is when
    /// that fails (path taken, empty, unwritable); where the file now is.
    QString keepAs(const QString &path);

    /// A new file (only this user may read it) in the temporary directory,
    /// or in the user's cache when that fails; null when neither can be written.
    static std::unique_ptr<QTemporaryFile> temporaryFile();

private:
    void startDrawing(int resolutionDpi, const QString &title, bool archive = false);

    QPageLayout m_layout;
    std::unique_ptr<QFileDevice> m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    QTransform m_mmToDevice;
    bool m_written = false; ///< drawn by others: there is no painter
};

/// A surface that draws into whichever job its caller names for each drawing.
class JobSurface : public PainterSurface {
public:
    /// startDrawing gives the painter of the job's current page, null when
    /// there is none, and sets its argument to the page's millimetres.
    explicit JobSurface(std::function<QPainter *(QTransform &)> startDrawing)
        : m_startDrawing(std::move(startDrawing))
    {
    }

    /// Draws the next page where placement puts it on the sheet, cut to its
    /// paper; none draws pages as they are, one a sheet.
    void setPlacement(const std::optional<PagePlacement> &placement);

protected:
    QPainter *beginDrawing(QTransform &mmToDevice) override;

private:
    std::function<QPainter *(QTransform &)> m_startDrawing;
    std::optional<PagePlacement> m_placement;
    /// The painter the page's cut was set on; another one (a new job) needs it again.
    QPainter *m_clipped = nullptr;
};

} // namespace quillet
