#include "render/PageRenderer.h"

#include "compose/Composer.h"
#include "spool/PageReader.h"

#include <tuple>
#include <type_traits>

namespace quillet {

namespace {

/// Runs the record with the command of that row when the opcode is the row's.
template <typename Row, typename Result, typename... Params>
bool replayed(Composer &composer, Result (Composer::*command)(Params...), const SpoolRecord &record)
{
    if constexpr (Row::op == commands::NotRecorded) {
        return false;
    } else {
        if (record.op != Row::op)
            return false;
        if (auto arguments = commands::argumentsOf<Row, std::remove_cvref_t<Params>...>(record))
            std::apply([&](const auto &...values) { (composer.*command)(values...); }, *arguments);
        return true;
    }
}

} // namespace

void PageRenderer::render(int page)
{
    ListingState &s = m_session.state;
    if (s.Spooling || !m_session.spool || page < 1 || page > MaxPages)
        return; // replaying while recording would append the page to itself
    s.CurPage = static_cast<int16_t>(page);
    s.CursorX = s.LeftMarg;
    s.CursorY = s.TopMarg;
    forEachRecordOfPage(*m_session.spool, s.PageIndex, page, [this](const SpoolRecord &r) { dispatch(r); });
}

ListingReplay::ListingReplay(const Session &listing, Surface &target, Look look, float zoom)
{
    m_copy.state = listing.state;
    m_copy.spool = listing.spool;
    m_copy.printer = listing.printer;
    m_copy.barcodes = listing.barcodes;
    ListingState &s = m_copy.state;
    s.NumPages = static_cast<int16_t>(quillet::pageCount(listing.state)); // for the page-count marker
    s.Spooling = false;
    s.Surface = &target;
    s.Zoom = zoom;
    if (look == Look::Printed)
        s.Preview = false;
}

void PageRenderer::dispatch(const SpoolRecord &r)
{
    Composer c(m_session);
    // Opcodes of later versions match no row and are skipped.
#define QUILLET_REPLAYED(Name, ...) replayed<commands::Name>(c, &Composer::Name, r) ||
    (void)(QUILLET_COMMANDS(QUILLET_REPLAYED) false);
#undef QUILLET_REPLAYED
}

} // namespace quillet
