#pragma once
// Replays one page of the spool on the listing's Surface by calling the
// commands that recorded it, with the recorded values. Recording and replay
// share one drawing path, so a page looks the same on screen and on paper.

#include "spool/SpoolRecord.h"

namespace quillet {

struct Session;

class PageRenderer {
public:
    explicit PageRenderer(Session &session) : m_session(session) {}

    /// Draws page CurPage; Spooling must be off. The caller has prepared the
    /// surface (cleared the preview page, started the printer's sheet).
    void render();
    /// Runs one recorded command; an unknown opcode or an unusable value skips it.
    void dispatch(const SpoolRecord &record);

private:
    Session &m_session;
};

} // namespace quillet
