#pragma once
// Counts, in a thread of its own, the texts of a listing that match a find,
// and which of them is the one on view ("n de m"). The thread reads the
// page text index and, from its own handle of the spool file, only the pages
// the index cannot rule out; pages the index does not know are read record by
// record. The window stays responsive and memory does not grow with the
// listing beyond a copy of its page index. A new count cancels the last.

#include <QObject>
#include <QString>

#include <cstdint>
#include <string>
#include <thread>
#include <vector>

namespace quillet {

class PageTextIndex;

class HitCounter : public QObject {
    Q_OBJECT
public:
    /// The hit on view: its page (numbered from 1) and its place among the
    /// page's hits (from 0); page 0 when no hit is on view.
    struct OnView {
        int page = 0;
        int indexOnPage = 0;
    };

    explicit HitCounter(QObject *parent = nullptr);
    ~HitCounter() override;

    /// Counts the hits of text in the spool file of a listing of pageCount
    /// pages. texts, the spool's page text index (flushed here; may be null), and
    /// pageIndex, where each page starts in the spool (ListingState::PageIndex),
    /// spare reading pages that cannot match; without them, or for pages the
    /// index does not hold in full, the spool is read record by record. The
    /// count is the same either way. An invalid pattern or an unreadable
    /// spool file counts nothing.
    void start(const std::string &spoolPath, int pageCount, const QString &text, bool ignoreCase,
               OnView onView, PageTextIndex *texts, const std::vector<int32_t> &pageIndex);
    /// Stops the count under way, if any; nothing more is reported from it.
    void cancel();

signals:
    /// The count so far, then once more with finished true. ordinal is the
    /// number of the hit on view, 0 while unknown or when none is.
    void counted(int ordinal, int hits, bool finished);

private:
    std::jthread m_worker;
};

} // namespace quillet
