#pragma once
// One listing: its state, its spool file, the printer and the preview page it
// draws on, and the window that reports progress. The component owns the
// listing being composed; windows and print jobs hold it by a shared handle
// and check `ended` after every nested event loop.

#include "compose/ListingState.h"
#include "compose/ParagraphRest.h"
#include "spool/SpoolFile.h"

#include <memory>

namespace quillet {

class BarcodeEncoder;
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
    Session(const Session &) = delete;
    Session &operator=(const Session &) = delete;

    ListingState state;
    /// Open from Init to the closing of the preview; shared with the replays
    /// and finds that read it.
    std::shared_ptr<SpoolFile> spool;
    PrinterDevice *printer = nullptr;
    /// Encodes PBarcode's symbols; none where the platform has no encoder.
    std::shared_ptr<const BarcodeEncoder> barcodes;
    Surface *pageSurface = nullptr; ///< the preview page, also when printing directly
    ListingEvents *events = nullptr;
    /// What M handed back last, for the call that goes on with it.
    ParagraphRest paragraphRest;
    /// Shown, aborted or replaced: whoever still holds the listing stops.
    bool ended = false;
    /// A print or PDF export of the listing runs: a second one waits its turn.
    bool replaying = false;
};

/// Closes the listing's spool file and deletes it; nothing when none is open.
void closeSpool(Session &session);

/// The pages of the listing: those composed so far while composing.
int pageCount(const ListingState &state);

} // namespace quillet
