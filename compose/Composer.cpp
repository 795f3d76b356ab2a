#include "compose/Composer.h"

namespace quillet {

void Composer::write(SpoolRecord record)
{
    record.page = m_state.CurPage;
    // A failed write leaves the command out of the file; composition goes on.
    SpoolFile &spool = *m_session.spool;
    if (!spool.write(record))
        return;
    if (PageTextIndex *texts = spool.texts())
        texts->add(m_state.CurPage, commands::showsText(record.op) ? record.text : std::string_view());
}

} // namespace quillet
