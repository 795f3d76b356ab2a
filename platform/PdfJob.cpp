#include "platform/PdfJob.h"

#include "platform/ReplacingFile.h"

#include <QDir>
#include <QPdfWriter>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace quillet {

namespace {

const QString FileTemplate = QStringLiteral("quillet-XXXXXX.pdf");

} // namespace

PdfJob::PdfJob(const QPageLayout &layout, int resolutionDpi, const QString &title, bool archive)
    : m_layout(layout), m_file(temporaryFile())
{
    if (m_file)
        startDrawing(resolutionDpi, title, archive);
}

PdfJob::PdfJob(const QPageLayout &layout, std::unique_ptr<QTemporaryFile> pdf)
    : m_layout(layout), m_file(std::move(pdf)), m_written(m_file && m_file->isOpen())
{
}

PdfJob::PdfJob(const QString &path, const QPageLayout &layout, int resolutionDpi, const QString &title,
               bool archive)
    : m_layout(layout), m_file(std::make_unique<ReplacingFile>(path))
{
    if (m_file->open(QIODevice::WriteOnly))
        startDrawing(resolutionDpi, title, archive);
}

void PdfJob::startDrawing(int resolutionDpi, const QString &title, bool archive)
{
    if (resolutionDpi <= 0)
        return;
    m_writer = std::make_unique<QPdfWriter>(m_file.get());
    m_writer->setResolution(resolutionDpi);
    if (archive)
        m_writer->setPdfVersion(QPagedPaintDevice::PdfVersion_A1b);
    m_writer->setPageLayout(m_layout);
    m_writer->setTitle(title);
    m_writer->setCreator(QStringLiteral("Quillet"));
    if (m_painter.begin(m_writer.get()))
        m_mmToDevice = QTransform::fromScale(resolutionDpi / 25.4, resolutionDpi / 25.4);
}

PdfJob::~PdfJob()
{
    if (m_painter.isActive())
        m_painter.end();
}

std::unique_ptr<QTemporaryFile> PdfJob::temporaryFile()
{
    // QTemporaryFile creates the file exclusively, readable by its owner only.
    auto file = std::make_unique<QTemporaryFile>();
    // The user's cache when the temporary directory cannot be written:
    // both named by the system, on every platform.
    for (const QString &dir :
         {QDir::tempPath(), QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)}) {
        file->setFileTemplate(QDir(dir).filePath(FileTemplate));
        if (file->open())
            return file;
    }
    return nullptr;
}

QString PdfJob::keepAs(const QString &path)
{
    auto *temporary = qobject_cast<QTemporaryFile *>(m_file.get());
    if (!temporary)
        return m_file->fileName();
    temporary->setAutoRemove(false);
    // QFile::rename never replaces an existing file and copies across file systems.
    if (!path.isEmpty())
        temporary->rename(path);
    return temporary->fileName();
}

QPainter *PdfJob::painter(QTransform &mmToDevice)
{
    if (!m_painter.isActive())
        return nullptr;
    mmToDevice = m_mmToDevice;
    return &m_painter;
}

void PdfJob::newPage()
{
    if (m_painter.isActive())
        m_writer->newPage();
}

QString PdfJob::finish()
{
    if (m_written)
        return m_file->flush() ? m_file->fileName() : QString();
    if (!m_painter.isActive() || !m_painter.end())
        return {};
    if (auto *named = qobject_cast<ReplacingFile *>(m_file.get()))
        return named->commit() ? named->path() : QString();
    if (m_file->isOpen() && !m_file->flush())
        return {};
    return m_file->fileName();
}

void JobSurface::setPlacement(const std::optional<PagePlacement> &placement)
{
    m_placement = placement;
    m_clipped = nullptr;
}

QPainter *JobSurface::beginDrawing(QTransform &mmToDevice)
{
    QPainter *painter = m_startDrawing(mmToDevice);
    if (!painter || !m_placement)
        return painter;
    const PagePlacement &p = *m_placement;
    mmToDevice = QTransform(p.m11, p.m12, p.m21, p.m22, p.dx, p.dy) * mmToDevice;
    if (m_clipped != painter) {
        // The clip is given in the page's millimetres.
        painter->setWorldTransform(mmToDevice);
        painter->setClipRect(QRectF(p.clipLeftMm, p.clipTopMm, p.clipWidthMm, p.clipHeightMm));
        m_clipped = painter;
    }
    return painter;
}

} // namespace quillet
