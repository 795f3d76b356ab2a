#pragma once
// What PBarcode makes of its arguments: the kind, the options, and where the
// symbol's modules go in the box asked for. Free of any drawing, so the rules
// are tested on their own.

#include "render/BarcodeEncoder.h"

#include <optional>
#include <string_view>

namespace quillet {

/// A module of a linear code when neither Width nor the options say.
constexpr float DefaultModuleMm = 0.33f;
/// Thinner modules are refused: printers and readers lose them.
constexpr float ThinnestModuleMm = 0.1f;

struct BarcodeOptions {
    bool humanReadable = false;
    QrCorrection correction = QrCorrection::M;
    float moduleMm = 0; ///< 0: the default (linear) or the largest that fits (two-dimensional)
};

/// The kind named, in any case; none when unknown.
std::optional<Symbology> symbologyNamed(std::string_view name);

/// Reads "key=value;key=value": text=0|1 (linear codes), ecc=L|M|Q|H (QR),
/// module=<mm>. Returns Drawn when every key is known and fits the kind.
BarcodeResult parseBarcodeOptions(std::string_view options, Symbology kind, BarcodeOptions &parsed);

/// Where a symbol goes, relative to the corner of its box, in millimetres.
struct BarcodeFrame {
    float x = 0, y = 0;             ///< the symbol's corner, quiet zones included
    float width = 0, height = 0;    ///< the white area: the symbol and its text line
    float moduleX = 0, moduleY = 0; ///< millimetres per module across and down
    float textTop = 0;              ///< the human-readable line's top, when there is one
};

/// Fits the symbol into a box Height high and Width wide (0: the natural
/// width of a linear code, a square for a two-dimensional one); textHeight is
/// the line under a linear code, 0 for none.
BarcodeResult layOutBarcode(const BarcodeModules &symbol, Symbology kind, const BarcodeOptions &options,
                            float height, float width, float textHeight, BarcodeFrame &frame);

/// Joins bars of the same columns that touch one above the other, so a
/// symbol is drawn with as few rectangles as it has.
void mergeBarsDown(std::vector<BarcodeModules::Bar> &bars);

} // namespace quillet
