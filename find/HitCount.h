#pragma once
// Counting the texts of a listing that match a find, and which of them is
// the one on view ("n de m"), from a snapshot of its spool: the page text
// index rules pages out, and only the pages left are read.

#include "spool/SpoolFile.h"

#include <functional>
#include <stop_token>

namespace quillet {

class PageTextFilter;
class TextMatcher;

/// The hit on view: its page (numbered from 1) and its place among the
/// page's hits (from 0); page 0 when no hit is on view.
struct HitOnView {
    int page = 0;
    int indexOnPage = 0;
};

struct Hits {
    int ordinal = 0; ///< the number of the hit on view, 0 while unknown or when none is
    int count = 0;
};

/// Counts into hits the hits in a listing of pageCount pages, calling
/// report(hits) every few hundred pages. A stop asked for ends the count at
/// the next record.
void countHits(SpoolSnapshot &listing, int pageCount, const TextMatcher &matcher,
               const PageTextFilter &filter, HitOnView onView, const std::stop_token &stop, Hits &hits,
               const std::function<void(const Hits &)> &report);

} // namespace quillet
