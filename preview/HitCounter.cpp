#include "preview/HitCounter.h"

#include "preview/TextMatcher.h"
#include "spool/PageTextIndex.h"
#include "spool/SpoolFile.h"

#include <QMetaObject>

namespace quillet {

namespace {

/// Pages counted between two reports of the count so far.
constexpr int PagesPerReport = 500;

/// The text as its page shows it: the page-count and page-number markers,
/// in any case, replaced by their numbers.
std::string withMarkers(const std::string &text, const QString &pageCount, int page)
{
    if (text.find_first_of("tTpP") == std::string::npos)
        return text;
    return QString::fromStdString(text)
        .replace(QLatin1String("TRICOCO"), pageCount, Qt::CaseInsensitive)
        .replace(QLatin1String("PRICOCO"), QString::number(page), Qt::CaseInsensitive)
        .toStdString();
}

} // namespace

HitCounter::HitCounter(QObject *parent) : QObject(parent) {}

HitCounter::~HitCounter()
{
    cancel();
}

void HitCounter::cancel()
{
    if (m_worker.joinable()) {
        m_worker.request_stop();
        m_worker.join();
    }
}

void HitCounter::start(const std::string &spoolPath, int pageCount, const QString &text, bool ignoreCase,
                       OnView onView)
{
    cancel();
    std::optional<TextMatcher> matcher = TextMatcher::compile(text, ignoreCase);
    std::unique_ptr<SpoolFile> spool = matcher ? SpoolFile::open(spoolPath) : nullptr;
    if (!spool) {
        emit counted(0, 0, true);
        return;
    }
    m_worker = std::jthread([this, matcher = std::move(*matcher), spool = std::move(spool), pageCount,
                             onView](std::stop_token stop) {
        const auto report = [this, &stop](int ordinal, int hits, bool finished) {
            if (!stop.stop_requested())
                QMetaObject::invokeMethod(
                    this, [this, ordinal, hits, finished] { emit counted(ordinal, hits, finished); },
                    Qt::QueuedConnection);
        };
        const QString pageCountText = QString::number(pageCount);
        int hits = 0, ordinal = 0, hitsOnViewPage = 0, lastReportedPage = 0;
        while (!stop.stop_requested()) {
            const std::optional<SpoolRecord> record = spool->read();
            if (!record)
                break;
            if (!isTextCommand(record->op) || record->page < 1 || record->page > pageCount)
                continue;
            if (!matcher.contains(withMarkers(record->text, pageCountText, record->page)))
                continue;
            ++hits;
            if (record->page == onView.page && hitsOnViewPage++ == onView.indexOnPage)
                ordinal = hits;
            if (record->page - lastReportedPage >= PagesPerReport) {
                lastReportedPage = record->page;
                report(ordinal, hits, false);
            }
        }
        report(ordinal, hits, true);
    });
}

} // namespace quillet
