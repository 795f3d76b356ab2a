#pragma once
// What the process's components share: the printer, and the listing being
// composed, shown or printed (one at a time: a new Init replaces it). Lives
// as long as the application.

#include <memory>

namespace quillet {

class Listing;
class QtPrinterDevice;
struct ListingState;
struct Session;

class Runtime {
public:
    /// Created on first use, ended with the application object.
    static Runtime &instance();
    ~Runtime();
    Runtime(const Runtime &) = delete;
    Runtime &operator=(const Runtime &) = delete;

    /// Created on first use: asking the print system takes a while.
    QtPrinterDevice &printer();

    /// The current listing; an ended one until the next Init.
    Listing &listing() { return *m_listing; }
    std::shared_ptr<Listing> listingHandle() const { return m_listing; }
    /// A new current listing on the printer, starting from the state the
    /// last one left; the last one must have been ended.
    Listing &startListing();

private:
    Runtime();

    std::unique_ptr<QtPrinterDevice> m_printer;
    std::shared_ptr<Listing> m_listing;
};

/// The state and spool of the current listing.
Session &session();

/// The state of the current listing (read-only view).
const ListingState &state();

} // namespace quillet
