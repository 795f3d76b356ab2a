#pragma once
// Counts, in a thread of its own, the texts of a listing that match a find,
// and which of them is the one on view ("n de m"). The thread reads, through
// its own descriptors, the page text index and only the spool pages the index
// cannot rule out. The window stays responsive and memory does not grow with
// the listing beyond a copy of its page index. A new count cancels the last.

#include "spool/SpoolFile.h"

#include <QObject>
#include <QString>

#include <thread>

namespace quillet {

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

    /// Counts the hits of text in a listing of pageCount pages, from a
    /// snapshot of its spool (SpoolFile::snapshot). The page text index spares
    /// reading pages that cannot match; without it, or for pages it does not
    /// hold in full, the spool is read page by page. The count is the same
    /// either way. An invalid pattern or an unreadable spool counts nothing.
    void start(SpoolSnapshot listing, int pageCount, const QString &text, bool ignoreCase, OnView onView);
    /// Stops the count under way, if any; nothing more is reported from it.
    void cancel();

signals:
    /// The count so far, then once more with finished true. ordinal is the
    /// number of the hit on view, 0 while unknown or when none is.
    void counted(int ordinal, int hits, bool finished);

private:
    std::jthread m_worker;
    /// Which count is under way; changed, on the counter's thread, by every
    /// cancel, so that reports of an earlier count already on their way are dropped.
    quint64 m_generation = 0;
};

} // namespace quillet
