#pragma once
// Counts the hits of a find (find/HitCount) in a thread of its own, and
// reports them to the dialog on the counter's thread. The thread reads,
// through its own descriptors, the page text index and only the spool pages
// the index cannot rule out. The window stays responsive and memory does not
// grow with the listing beyond a copy of its page index. A new count cancels
// the last. It stays with the preview for the reports: they reach the dialog
// as queued signals, through the event loop of the thread it lives in.

#include "find/HitCount.h"
#include "find/TextFolding.h"

#include <QObject>
#include <QString>

#include <thread>

namespace quillet {

class HitCounter : public QObject {
    Q_OBJECT
public:
    using OnView = HitOnView;

    explicit HitCounter(QObject *parent = nullptr);
    ~HitCounter() override;

    /// Counts the hits of text in a listing of pageCount pages, from a
    /// snapshot of its spool (SpoolFile::snapshot). The page text index spares
    /// reading pages that cannot match; without it, or for pages it does not
    /// hold in full, the spool is read page by page. The count is the same
    /// either way. An invalid pattern or an unreadable spool counts nothing.
    void start(SpoolSnapshot listing, int pageCount, const QString &text, FindOptions options, OnView onView);
    /// Stops the count under way, if any; nothing more is reported from it.
    void cancel();

signals:
    /// The count so far, then once more with finished true. ordinal is the
    /// number of the hit on view, 0 while unknown or when none is.
    void counted(int ordinal, int hits, bool finished);

private:
    std::jthread m_worker;
    std::jthread m_stopping; ///< the count cancelled last, stopping
    /// Which count is under way; changed, on the counter's thread, by every
    /// cancel, so that reports of an earlier count already on their way are dropped.
    quint64 m_generation = 0;
};

} // namespace quillet
