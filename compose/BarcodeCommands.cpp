#include "compose/BarcodeLayout.h"
#include "compose/Composer.h"
#include "compose/Lengths.h"
#include "render/Surface.h"

namespace quillet {

namespace {

constexpr int White = 0xFFFFFF;
constexpr int Black = 0;

/// Black modules on a white box over the quiet zones and the text line,
/// whatever the pen and fill: a symbol must read on any background.
void drawSymbol(Surface &s, const BarcodeModules &symbol, const BarcodeFrame &frame, float left, float top,
                bool humanReadable)
{
    const float x0 = left + frame.x;
    const float y0 = top + frame.y;
    s.fillRect(x0, y0, frame.width, frame.height, White);
    for (const BarcodeModules::Bar &bar : symbol.bars)
        s.fillRect(x0 + bar.x * frame.moduleX, y0 + bar.y * frame.moduleY, bar.width * frame.moduleX,
                   bar.height * frame.moduleY, Black);
    if (!humanReadable || symbol.humanReadable.empty())
        return;
    const float keptX = s.currentX();
    const float keptY = s.currentY();
    const int keptColor = s.pen().foreColor;
    s.pen().foreColor = Black;
    s.setCurrentX(x0 + (frame.width - s.textWidth(symbol.humanReadable)) / 2);
    s.setCurrentY(y0 + frame.textTop);
    s.print(symbol.humanReadable);
    s.pen().foreColor = keptColor;
    s.setCurrentX(keptX);
    s.setCurrentY(keptY);
}

} // namespace

int Composer::PBarcode(std::string_view Kind, std::string_view Data, float PosY, float PosX, float Height,
                       float Width, std::string_view Options)
{
    const std::optional<Symbology> kind = symbologyNamed(Kind);
    if (!kind)
        return static_cast<int>(BarcodeResult::UnknownKind);
    BarcodeOptions options;
    if (const BarcodeResult parsed = parseBarcodeOptions(Options, *kind, options);
        parsed != BarcodeResult::Drawn)
        return static_cast<int>(parsed);
    if (!clampLengths(PosY, PosX, Height, Width))
        return static_cast<int>(BarcodeResult::BadSize);
    if (!m_session.barcodes)
        return static_cast<int>(BarcodeResult::NoEncoder);
    BarcodeModules symbol;
    if (const BarcodeResult encoded = m_session.barcodes->encode({*kind, Data, options.correction}, symbol);
        encoded != BarcodeResult::Drawn)
        return static_cast<int>(encoded);
    Surface *s = surface();
    const bool humanReadable = options.humanReadable && !symbol.humanReadable.empty();
    const float textHeight = humanReadable && s ? s->textHeight(symbol.humanReadable) : 0;
    BarcodeFrame frame;
    if (const BarcodeResult laidOut = layOutBarcode(symbol, *kind, options, Height, Width, textHeight, frame);
        laidOut != BarcodeResult::Drawn)
        return static_cast<int>(laidOut);
    record<commands::PBarcode>(Kind, Data, PosY == CurY() ? -1.0f : PosY, PosX == CurX() ? -1.0f : PosX,
                               Height, Width, Options);
    if (PosX < 0)
        PosX = CurX();
    if (PosY < 0)
        PosY = CurY();
    mergeBarsDown(symbol.bars);
    if (s)
        drawSymbol(*s, symbol, frame, m_state.LeftMarg + PosX, m_state.TopMarg + PosY, humanReadable);
    return static_cast<int>(BarcodeResult::Drawn);
}

} // namespace quillet
