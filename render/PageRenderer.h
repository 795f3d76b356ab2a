#pragma once
// Replays one page of the spool on the listing's Surface by calling the
// commands that recorded it, with the recorded values. Recording and replay
// share one drawing path, so a page looks the same on screen and on paper.

#include "compose/Session.h"
#include "spool/SpoolRecord.h"

namespace quillet {

class Surface;

class PageRenderer {
public:
    explicit PageRenderer(Session &session) : m_session(session) {}

    /// Draws a page (numbered from 1), which becomes CurPage; Spooling must be
    /// off. The caller has prepared the surface (cleared the preview page,
    /// started the printer's sheet).
    void render(int page);
    /// Runs one recorded command; an unknown opcode or an unusable value skips it.
    void dispatch(const SpoolRecord &record);

private:
    Session &m_session;
};

/// Replays pages of a listing on another surface without touching the
/// listing: the pages are drawn with a copy of its state, recording off, the
/// page count fixed as Show fixes it. Composing can go on meanwhile, and the
/// preview keeps what it shows.
class ListingReplay {
public:
    enum class Look {
        Printed, ///< pens and fonts at their own size, as on paper
        Previewed, ///< at the given zoom, as the preview shows the pages
    };
    ListingReplay(const Session &listing, Surface &target, Look look, float zoom = 1.0f);

    void render(int page) { PageRenderer(m_copy).render(page); }
    int pageCount() const { return m_copy.state.NumPages; }

private:
    Session m_copy;
};

} // namespace quillet
