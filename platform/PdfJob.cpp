#include "platform/PdfJob.h"

#include <QDir>
#include <QPdfWriter>

namespace quillet {

namespace {

const QString FileTemplate = QStringLiteral("quillet-XXXXXX.pdf");

} // namespace

PdfJob::PdfJob(const QPageLayout &layout, int resolutionDpi, const QString &title) : m_layout(layout)
{
    if (!openFile() || resolutionDpi <= 0)
        return;
    m_writer = std::make_unique<QPdfWriter>(&m_file);
    m_writer->setResolution(resolutionDpi);
    m_writer->setPageLayout(layout);
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

bool PdfJob::openFile()
{
    // QTemporaryFile creates the file exclusively, readable by its owner only.
    for (const QString &dir : {QDir::tempPath(), QStringLiteral("/tmp")}) {
        m_file.setFileTemplate(QDir(dir).filePath(FileTemplate));
        if (m_file.open())
            return true;
    }
    return false;
}

QPainter *PdfJob::painter()
{
    if (!m_painter.isActive())
        return nullptr;
    m_painter.setWorldTransform(m_mmToDevice);
    return &m_painter;
}

void PdfJob::newPage()
{
    if (m_painter.isActive())
        m_writer->newPage();
}

QString PdfJob::finish()
{
    if (!m_painter.isActive() || !m_painter.end())
        return {};
    if (m_file.isOpen() && !m_file.flush())
        return {};
    return m_file.fileName();
}

} // namespace quillet
