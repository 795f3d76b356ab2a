#include "compose/Composer.h"

namespace quillet {

void Composer::record(Opcode op, float valA, float valB, float valC, float valD, std::string_view text,
                      float valE)
{
    if (!m_state.Spooling || !m_session.spool)
        return;
    // A failed write leaves the command out of the file; composition goes on.
    m_session.spool->write({m_state.CurPage, op, valA, valB, valC, valD, valE, std::string(text)});
}

} // namespace quillet
