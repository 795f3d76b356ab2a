#include "print/PageImages.h"

#include "compose/Session.h"
#include "platform/ImageSurface.h"
#include "platform/ReplacingFile.h"
#include "render/PageRenderer.h"
#include "render/PrinterDevice.h"
#include "widgets/Twips.h"

#include <QDir>
#include <QImage>

namespace quillet {

PageImagesResult savePageImages(const Session &ses, const QString &dir, int zoomPercent,
                                const PageWritten &pageWritten)
{
    const ListingState &s = ses.state;
    if (!ses.spool || !s.Preview || !ses.printer)
        return {0, QStringLiteral("no listing composed for the preview")};
    if (!QDir().mkpath(dir))
        return {0, QStringLiteral("cannot create the folder %1").arg(dir)};

    const float zoom = zoomPercent / 100.0f;
    const PrinterPage paper = ses.printer->page();
    ImageSurface surface;
    surface.setPixelSize(sheetPixels(paper, zoom));
    mapWholeSheet(surface, paper, s.OffX, s.OffY);

    ListingReplay replay(ses, surface, ListingReplay::Look::Previewed, zoom);
    PageImagesResult result;
    for (int page = 1; page <= replay.pageCount(); ++page) {
        surface.clear();
        replay.render(page);
        const QString path =
            QDir(dir).filePath(QStringLiteral("page-%1.png").arg(page, 4, 10, QLatin1Char('0')));
        ReplacingFile file(path);
        if (!file.open() || !surface.image().save(&file, "PNG") || !file.commit())
            return {result.pagesWritten, QStringLiteral("cannot write %1").arg(path)};
        ++result.pagesWritten;
        if (pageWritten)
            pageWritten(result.pagesWritten, replay.pageCount());
        if (ses.ended)
            return {result.pagesWritten, QStringLiteral("the listing was ended")};
    }
    return result;
}

} // namespace quillet
