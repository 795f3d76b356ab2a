#pragma once
// A listing wired to the fakes and set up as Init leaves it: page measured,
// page defaults recorded (in preview) or drawn (direct). Not the process-wide
// session, so every test starts from a clean state.

#include "compose/Composer.h"
#include "compose/Session.h"
#include "spool/SpoolRecord.h"
#include "support/FakePrinter.h"
#include "support/FakeSurface.h"

#include <string>
#include <tuple>
#include <vector>

namespace quillet::testing {

enum class ListingMode { Preview, Direct };

/// A record's fields without its page, comparable and printable by GoogleTest.
using RecordFields =
    std::tuple<int, float, float, float, float, std::string, float>; // op, valA..valD, text, valE
inline RecordFields fieldsOf(const SpoolRecord &r)
{
    return {r.op, r.valA, r.valB, r.valC, r.valD, r.text, r.valE};
}

class TestSession {
public:
    /// A4 portrait, 10 mm margins, on a printer with the given unprintable border.
    explicit TestSession(ListingMode mode = ListingMode::Preview, double borderMm = 0);
    ~TestSession();
    TestSession(const TestSession &) = delete;
    TestSession &operator=(const TestSession &) = delete;

    ListingState &state() { return session.state; }
    /// The fake the commands draw on: the preview page, or the printer in direct mode.
    FakeSurface &surfaceInUse() { return static_cast<FakeSurface &>(*session.state.Surface); }
    /// Every record of the spool file, in order.
    std::vector<SpoolRecord> records();
    /// The records of one page, read as the renderer reads them.
    std::vector<SpoolRecord> pageRecords(int page);
    /// The last record written; a default record when there is none.
    SpoolRecord lastRecord() { return records().empty() ? SpoolRecord{} : records().back(); }
    int32_t slotsWritten() const { return session.spool ? session.spool->lastSlot() : 0; }
    /// Puts the print position at (x, y) from the margins and clears the log of the surface in use.
    void startAt(float xMm, float yMm);
    /// Ends composing as Show does: recording off, the page count fixed.
    void endComposition()
    {
        session.state.Spooling = false;
        session.state.NumPages = session.state.CurPage;
    }
    /// Replays one page on the surface in use, its log cleared first; returns the texts printed.
    std::vector<std::string> render(int page);

    FakePrinter printer;
    FakeSurface pageSurface; ///< the preview page
    Session session;
    Composer composer{session};
};

} // namespace quillet::testing
