#pragma once
// Everything one listing needs besides its state: the spool file, the printer,
// the preview page surface and the window that reports progress. One per
// process, shared by every Quillet instance.

#include "quillet/ListingState.h"
#include "spool/SpoolFile.h"

#include <memory>

namespace quillet {

class PrinterDevice;
class Surface;

/// What composition tells the windows around it.
class ListingEvents {
public:
    virtual ~ListingEvents() = default;
    /// A new page was started while composing (the wait dialog shows it).
    virtual void pageStarted(int page) = 0;
};

struct Session {
    Session() = default;
    /// A listing still open when the process exits leaves no file behind.
    ~Session();
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    ListingState state;
    std::unique_ptr<SpoolFile> spool; ///< open from Init to the closing of the preview
    PrinterDevice *printer = nullptr;
    Surface *pageSurface = nullptr; ///< the preview page, also when printing directly
    ListingEvents *events = nullptr;
};

/// The process's one listing.
Session &session();

/// Closes the listing's spool file and deletes it; nothing when none is open.
void closeSpool(Session &session);

} // namespace quillet
