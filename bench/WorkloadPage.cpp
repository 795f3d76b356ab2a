#include "WorkloadPage.h"

namespace quillet::bench {

namespace {

/// Cents as "1234,56".
std::string money(long cents)
{
    const std::string fraction = std::to_string(cents % 100);
    return std::to_string(cents / 100) + (fraction.size() < 2 ? ",0" : ",") + fraction;
}

} // namespace

std::string workloadCell(int page, int row, int column)
{
    const long item = static_cast<long>(page - 1) * WorkloadRows + row + 1;
    const long quantity = item % 97 + 1;
    const long priceCents = item * 379 % 100000 + 100;
    switch (column) {
    case 0:
        return std::to_string(100000 + item);
    case 1:
        return "Artigo de teste número " + std::to_string(item);
    case 2:
        return std::to_string(quantity);
    case 3:
        return money(priceCents);
    default:
        return money(priceCents * quantity);
    }
}

} // namespace quillet::bench
