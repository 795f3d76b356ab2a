#pragma once
// Turns a barcode's data into its dark modules. The core lays symbols out and
// draws them; the encoding comes from a library of the platform, given to the
// listing where it is made (Session::barcodes), so the core builds without it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

enum class Symbology : uint8_t {
    QR,
    DataMatrix,
    PDF417,
    Code128,
    GS1_128,
    EAN13,
    EAN8,
    UPCA,
    ITF,
    ITF14,
    Code39
};

constexpr bool isTwoDimensional(Symbology kind)
{
    return kind == Symbology::QR || kind == Symbology::DataMatrix || kind == Symbology::PDF417;
}

/// What PBarcode returns: 0 when the symbol was drawn, otherwise why nothing
/// was drawn nor recorded.
enum class BarcodeResult : int {
    Drawn = 0,
    UnknownKind = 1,
    BadOptions = 2,    ///< an unknown key, a value out of its set, a key the kind has no use for
    CannotEncode = 3,  ///< characters the kind does not take, a wrong check digit, no data
    TooLong = 4,       ///< more data than the kind holds
    ModuleTooThin = 5, ///< a module would be under 0.1 mm
    BadSize = 6,       ///< a height not above 0, a negative width, no room for the bars under the text
    NoEncoder = 7,     ///< this build has no barcode encoder
};

/// Error correction of a QR code, from least to most.
enum class QrCorrection : uint8_t { L = 1, M, Q, H };

struct BarcodeRequest {
    Symbology kind = Symbology::QR;
    std::string_view data; ///< UTF-8
    QrCorrection correction = QrCorrection::M;
};

/// A symbol measured in modules, from the corner of its quiet zones: x across,
/// y down. A linear code's bars run over the whole height, which the layout
/// stretches to the height asked for.
struct BarcodeModules {
    struct Bar {
        float x, y, width, height;
    };
    float columns = 0; ///< the width, quiet zones included
    float rows = 0;    ///< the height
    std::vector<Bar> bars;
    std::string humanReadable; ///< a linear code's line of text, check digit included
};

class BarcodeEncoder {
public:
    virtual ~BarcodeEncoder() = default;
    /// Fills symbol and returns Drawn, or returns why the data cannot be encoded.
    virtual BarcodeResult encode(const BarcodeRequest &request, BarcodeModules &symbol) const = 0;
};

} // namespace quillet
