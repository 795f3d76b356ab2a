#pragma once
// A stock listing of 10 000 lines, composed the way a host program does it:
// the host decides where pages break by comparing the print line with the
// usable height, and starts every page with its own margins, logo, title and
// column table.

#include <QString>

namespace quillet {
class Quillet;
}

class StockReport {
public:
    explicit StockReport(quillet::Quillet &listing) : m_listing(listing) {}

    /// Composes every page; Init must have opened the listing.
    void compose();

private:
    void startPage();
    void endPage();
    void introduction();
    void columnHeader();
    void itemRow(int item);
    void totalRow();
    /// True when `lines` more lines of the current font fit above the footer.
    bool fits(int lines);

    quillet::Quillet &m_listing;
    double m_totalValue = 0;
};
