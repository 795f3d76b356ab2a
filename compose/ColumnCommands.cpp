#include "compose/Composer.h"

namespace quillet {

void Composer::ClsCols()
{
    m_state.NumCols = 0;
    record(RecClsCols);
}

} // namespace quillet
