#include "compose/Composer.h"
#include "compose/Lengths.h"

namespace quillet {

namespace {

/// Kept free at a column's edges.
constexpr float ColumnPaddingMm = 0.2f;

} // namespace

void Composer::NewCol(float PosX, float cx)
{
    if (m_state.NumCols >= MaxColumns || !clampLengths(PosX, cx))
        return;
    m_state.Cols[m_state.NumCols++] = {PosX, PosX + cx};
    record<commands::NewCol>(PosX, cx);
}

void Composer::ClsCols()
{
    m_state.NumCols = 0;
    record<commands::ClsCols>();
}

void Composer::CCol(int NCol, std::string_view StrToPrint, float PosY, bool TRUNC)
{
    const std::string s = ExpandMarkers(StrToPrint);
    if (NCol < 1 || NCol > m_state.NumCols)
        return;
    const Column column = m_state.Cols[NCol - 1];
    const float width = column.ColRight - column.ColLeft - ColumnPaddingMm;
    const std::string placed = placedText(s);
    const std::string t = TRUNC ? FitText(placed, width) : placed;
    PosY = positionOrMissing(PosY);
    record<commands::CCol>(NCol, s, verticalValue(PosY), TRUNC);
    const CellText cell(*this);
    C(t, PosY, column.ColLeft, column.ColRight);
}

void Composer::LCol(int NCol, std::string_view StrToPrint, float AddX, float PosY, bool TRUNC)
{
    sideCell<commands::LCol>(NCol, StrToPrint, AddX, PosY, TRUNC);
}

void Composer::RCol(int NCol, std::string_view StrToPrint, float SubX, float PosY, bool TRUNC)
{
    sideCell<commands::RCol>(NCol, StrToPrint, SubX, PosY, TRUNC);
}

template <typename Row>
void Composer::sideCell(int NCol, std::string_view StrToPrint, float inset, float PosY, bool TRUNC)
{
    const std::string s = ExpandMarkers(StrToPrint);
    if (NCol < 1 || NCol > m_state.NumCols)
        return;
    inset = lengthOrZero(inset);
    const Column column = m_state.Cols[NCol - 1];
    constexpr bool left = Row::op == RecColLeft;
    const float x =
        left ? column.ColLeft + inset + ColumnPaddingMm : column.ColRight - inset - ColumnPaddingMm;
    const float width = column.ColRight - column.ColLeft - inset - ColumnPaddingMm;
    const std::string placed = placedText(s);
    const std::string t = TRUNC ? FitText(placed, width) : placed;
    PosY = positionOrMissing(PosY);
    record<Row>(NCol, s, inset, PosY, TRUNC);
    const CellText cell(*this);
    if (left)
        L(t, PosY, x, 0);
    else
        R(t, PosY, x, 0);
}

} // namespace quillet
