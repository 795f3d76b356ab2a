#include "compose/Composer.h"

namespace quillet {

void Composer::record(Opcode op, float valA, float valB, float valC, float valD, std::string_view text,
                      float valE)
{
    if (!recording() || !m_session.spool)
        return;
    // A failed write leaves the command out of the file; composition goes on.
    SpoolFile &spool = *m_session.spool;
    if (!spool.write({m_state.CurPage, op, valA, valB, valC, valD, valE, std::string(text)}))
        return;
    if (PageTextIndex *texts = spool.texts())
        texts->add(m_state.CurPage, isTextCommand(op) ? text : std::string_view());
}

} // namespace quillet
