#include "platform/ZintBarcodeEncoder.h"

#include <zint.h>

#include <algorithm>
#include <memory>
#include <string>

namespace quillet {

namespace {

/// Vector coordinates at this scale are in modules.
constexpr float ModulesScale = 0.5f;
/// The ECI designator of UTF-8.
constexpr int Utf8Eci = 26;
/// More than any kind holds (a QR code takes 7089 digits): zint is not asked.
constexpr std::size_t MaxDataBytes = 8000;

int zintSymbology(Symbology kind)
{
    switch (kind) {
    case Symbology::QR:
        return BARCODE_QRCODE;
    case Symbology::DataMatrix:
        return BARCODE_DATAMATRIX;
    case Symbology::PDF417:
        return BARCODE_PDF417;
    case Symbology::Code128:
        return BARCODE_CODE128;
    case Symbology::GS1_128:
        return BARCODE_GS1_128;
    case Symbology::EAN13:
    case Symbology::EAN8:
        return BARCODE_EANX;
    case Symbology::UPCA:
        return BARCODE_UPCA;
    case Symbology::ITF:
        return BARCODE_C25INTER;
    case Symbology::ITF14:
        return BARCODE_ITF14;
    case Symbology::Code39:
        return BARCODE_CODE39;
    }
    return BARCODE_QRCODE;
}

/// How many digits a kind with a check digit takes: without it, or with it.
std::pair<std::size_t, std::size_t> digitsOf(Symbology kind)
{
    switch (kind) {
    case Symbology::EAN13:
        return {12, 13};
    case Symbology::EAN8:
        return {7, 8};
    case Symbology::UPCA:
        return {11, 12};
    case Symbology::ITF14:
        return {13, 14};
    default:
        return {0, 0};
    }
}

/// The GS1 check digit of the digits (weights 3 and 1 from the right).
char gs1CheckDigit(std::string_view digits)
{
    int sum = 0;
    int weight = 3;
    for (auto it = digits.rbegin(); it != digits.rend(); ++it, weight = 4 - weight)
        sum += (*it - '0') * weight;
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

/// The data zint is given for a kind that counts digits: only digits, as
/// many as the kind takes, and a check digit given is the right one; zint is
/// given the digits without it (ITF-14 takes no other).
BarcodeResult checkedDigits(Symbology kind, std::string_view data, std::string &given)
{
    const auto [without, with] = digitsOf(kind);
    given = std::string(data);
    if (without == 0)
        return BarcodeResult::Drawn;
    if (!std::ranges::all_of(data, [](char c) { return c >= '0' && c <= '9'; }))
        return BarcodeResult::CannotEncode;
    if (data.size() > with)
        return BarcodeResult::TooLong;
    if (data.size() != without && data.size() != with)
        return BarcodeResult::CannotEncode;
    if (data.size() == with && gs1CheckDigit(data.substr(0, without)) != data.back())
        return BarcodeResult::CannotEncode;
    given.resize(without); // zint adds the check digit, and tells EAN-8 from EAN-13 by length
    return BarcodeResult::Drawn;
}

/// Whether UTF-8 text holds a character beyond Latin-1, which readers get
/// right only with an ECI designator.
bool beyondLatin1(std::string_view utf8)
{
    // A lead byte above 0xC3 starts a character above U+00FF.
    return std::ranges::any_of(utf8, [](char c) { return static_cast<unsigned char>(c) > 0xC3; });
}

BarcodeResult resultOf(int zintError)
{
    if (zintError < ZINT_ERROR)
        return BarcodeResult::Drawn;
    return zintError == ZINT_ERROR_TOO_LONG ? BarcodeResult::TooLong : BarcodeResult::CannotEncode;
}

struct ZintDeleter {
    void operator()(zint_symbol *symbol) const { ZBarcode_Delete(symbol); }
};

} // namespace

BarcodeResult ZintBarcodeEncoder::encode(const BarcodeRequest &request, BarcodeModules &symbol) const
{
    if (request.data.empty())
        return BarcodeResult::CannotEncode;
    if (request.data.size() > MaxDataBytes)
        return BarcodeResult::TooLong;
    std::string data;
    if (const BarcodeResult checked = checkedDigits(request.kind, request.data, data);
        checked != BarcodeResult::Drawn)
        return checked;
    const std::unique_ptr<zint_symbol, ZintDeleter> zint(ZBarcode_Create());
    if (!zint)
        return BarcodeResult::NoEncoder;
    zint->symbology = zintSymbology(request.kind);
    zint->input_mode = UNICODE_MODE;
    if (request.kind == Symbology::GS1_128)
        zint->input_mode = GS1_MODE | GS1PARENS_MODE;
    if (isTwoDimensional(request.kind) && beyondLatin1(data))
        zint->eci = Utf8Eci;
    if (request.kind == Symbology::QR)
        zint->option_1 = static_cast<int>(request.correction);
    if (request.kind == Symbology::DataMatrix)
        zint->option_3 = DM_SQUARE; // a part's mark is square; zint would pick an oblong one for short data
    zint->output_options = BARCODE_QUIET_ZONES;
    zint->show_hrt = 0;
    zint->guard_descent = 0; // EAN and UPC guards end with the other bars
    zint->scale = ModulesScale;
    const int encoded = ZBarcode_Encode(zint.get(), reinterpret_cast<const unsigned char *>(data.data()),
                                        static_cast<int>(data.size()));
    if (resultOf(encoded) != BarcodeResult::Drawn)
        return resultOf(encoded);
    if (ZBarcode_Buffer_Vector(zint.get(), 0) >= ZINT_ERROR || !zint->vector)
        return BarcodeResult::CannotEncode;
    symbol.columns = zint->vector->width;
    symbol.rows = zint->vector->height;
    symbol.bars.clear();
    for (const zint_vector_rect *rect = zint->vector->rectangles; rect; rect = rect->next)
        symbol.bars.push_back({rect->x, rect->y, rect->width, rect->height});
    symbol.humanReadable = reinterpret_cast<const char *>(zint->text);
    return BarcodeResult::Drawn;
}

} // namespace quillet
