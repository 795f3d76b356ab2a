#include "QtPeers.h"

#include "../DirectWorkloadPage.h"
#include "Measurements.h"

#include <QDir>
#include <QEvent>
#include <QEventLoop>
#include <QGraphicsView>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QTemporaryFile>
#include <QTimer>

namespace quillet::bench {

namespace {

/// Ends loop once the widget's view has painted after being shown.
class FirstPaint : public QObject {
public:
    explicit FirstPaint(QEventLoop &loop) : m_loop(loop) {}

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, &m_loop, &QEventLoop::quit); // after the paint is done
        return false;
    }

private:
    QEventLoop &m_loop;
};

} // namespace

void measureQtPreview(int pages, Measurements &out)
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);

    const Stopwatch watch;
    QPrintPreviewWidget widget(&printer);
    QObject::connect(&widget, &QPrintPreviewWidget::paintRequested, &widget, [pages](QPrinter *device) {
        QPainter painter(device);
        const DirectWorkloadPage workload(device->resolution(), pages);
        for (int page = 1; page <= pages; ++page) {
            if (page > 1)
                device->newPage();
            workload.draw(painter, page);
        }
    });
    widget.resize(900, 1000);
    QEventLoop loop;
    FirstPaint firstPaint(loop);
    if (auto *view = widget.findChild<QGraphicsView *>())
        view->viewport()->installEventFilter(&firstPaint);
    widget.show();
    loop.exec();
    out.set("first_page_ms", watch.wallMs());
    out.set("pages_shown", widget.pageCount());
}

void measureQPdfWriter(int pages, Measurements &out)
{
    QTemporaryFile file(QDir::temp().filePath(QStringLiteral("quillet-peer-XXXXXX.pdf")));
    if (!file.open())
        return;
    const Stopwatch watch;
    const qint64 bytes = writeWorkloadPdf(file, pages);
    file.flush();
    const double ms = watch.wallMs();
    out.set("ms", ms);
    out.set("cpu_ms", watch.cpuMs());
    out.set("ms_per_page", ms / pages);
    out.set("bytes_per_page", static_cast<double>(bytes) / pages);
}

} // namespace quillet::bench
