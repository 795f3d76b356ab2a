#pragma once
// The baseline of find: `grep -c` over a text file holding the listing's texts.

#include <string>

namespace quillet::bench {

class Measurements;

/// The text find looks for: the last cell of the last page, found nowhere else.
std::string lastPageOnlyText(int pages);

/// Writes the texts of pages workload pages, one a line, and times
/// `grep -c -F` for lastPageOnlyText over them (grep_ms, text_MiB).
void measureGrep(int pages, Measurements &out);

} // namespace quillet::bench
