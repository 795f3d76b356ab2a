#pragma once
// Reading one page of the spool: from the slot its PageIndex entry names,
// record by record, until a record of another page or the end of the file.

#include "spool/SpoolFile.h"

#include <vector>

namespace quillet {

/// Calls handle(record) for each record of the page (numbered from 1). When
/// the page has no valid index entry the read goes on from where the last
/// read stopped, with the same stop rule.
template <typename Handle>
void forEachRecordOfPage(SpoolFile &spool, const std::vector<int32_t> &pageIndex, int page, Handle &&handle)
{
    if (page >= 1 && page <= static_cast<int>(pageIndex.size()) && pageIndex[page - 1] >= 1)
        spool.seek(pageIndex[page - 1]);
    while (auto record = spool.read()) {
        if (record->page != page)
            return;
        handle(*record);
    }
}

} // namespace quillet
