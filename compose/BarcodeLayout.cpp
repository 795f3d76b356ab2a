#include "compose/BarcodeLayout.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <tuple>
#include <utility>

namespace quillet {

namespace {

bool sameIgnoringCase(std::string_view a, std::string_view b)
{
    return std::ranges::equal(
        a, b, [](unsigned char x, unsigned char y) { return std::tolower(x) == std::tolower(y); });
}

std::string_view trimmed(std::string_view text)
{
    const auto blank = [](unsigned char c) { return std::isspace(c) != 0; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

std::optional<float> number(std::string_view text)
{
    float value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

/// Below the thinnest module by no more than a float's rounding is not below it.
bool tooThin(float moduleMm)
{
    return moduleMm < ThinnestModuleMm * (1 - 1e-5f);
}

} // namespace

std::optional<Symbology> symbologyNamed(std::string_view name)
{
    static constexpr std::array<std::pair<std::string_view, Symbology>, 11> names{{
        {"QR", Symbology::QR},
        {"DATAMATRIX", Symbology::DataMatrix},
        {"PDF417", Symbology::PDF417},
        {"CODE128", Symbology::Code128},
        {"GS1-128", Symbology::GS1_128},
        {"EAN13", Symbology::EAN13},
        {"EAN8", Symbology::EAN8},
        {"UPCA", Symbology::UPCA},
        {"ITF", Symbology::ITF},
        {"ITF14", Symbology::ITF14},
        {"CODE39", Symbology::Code39},
    }};
    for (const auto &[known, kind] : names)
        if (sameIgnoringCase(known, name))
            return kind;
    return std::nullopt;
}

BarcodeResult parseBarcodeOptions(std::string_view options, Symbology kind, BarcodeOptions &parsed)
{
    while (!options.empty()) {
        const std::size_t end = std::min(options.find(';'), options.size());
        const std::string_view item = trimmed(options.substr(0, end));
        options.remove_prefix(std::min(end + 1, options.size()));
        if (item.empty())
            continue; // "text=1;" and the like
        const std::size_t equals = item.find('=');
        if (equals == std::string_view::npos)
            return BarcodeResult::BadOptions;
        const std::string_view key = trimmed(item.substr(0, equals));
        const std::string_view value = trimmed(item.substr(equals + 1));
        if (sameIgnoringCase(key, "text") && !isTwoDimensional(kind) && (value == "0" || value == "1")) {
            parsed.humanReadable = value == "1";
        } else if (sameIgnoringCase(key, "ecc") && kind == Symbology::QR && value.size() == 1) {
            static constexpr std::string_view levels = "LMQH";
            const std::size_t level = levels.find(static_cast<char>(std::toupper(value[0])));
            if (level == std::string_view::npos)
                return BarcodeResult::BadOptions;
            parsed.correction = static_cast<QrCorrection>(level + 1);
        } else if (sameIgnoringCase(key, "module")) {
            const std::optional<float> mm = number(value);
            if (!mm || *mm > 100)
                return BarcodeResult::BadOptions;
            if (tooThin(*mm))
                return BarcodeResult::ModuleTooThin;
            parsed.moduleMm = *mm;
        } else {
            return BarcodeResult::BadOptions;
        }
    }
    return BarcodeResult::Drawn;
}

BarcodeResult layOutBarcode(const BarcodeModules &symbol, Symbology kind, const BarcodeOptions &options,
                            float height, float width, float textHeight, BarcodeFrame &frame)
{
    if (!(height > 0) || !(width >= 0) || !std::isfinite(height) || !std::isfinite(width) ||
        !(symbol.columns > 0) || !(symbol.rows > 0))
        return BarcodeResult::BadSize;
    if (isTwoDimensional(kind)) {
        const float boxWidth = width > 0 ? width : height;
        float module = std::min(boxWidth / symbol.columns, height / symbol.rows);
        if (options.moduleMm > 0)
            module = std::min(module, options.moduleMm);
        frame.moduleX = frame.moduleY = module;
        frame.width = symbol.columns * module;
        frame.height = symbol.rows * module;
        frame.x = (boxWidth - frame.width) / 2;
        frame.y = (height - frame.height) / 2;
        return tooThin(module) ? BarcodeResult::ModuleTooThin : BarcodeResult::Drawn;
    }
    const float barHeight = height - textHeight;
    if (!(barHeight > 0))
        return BarcodeResult::BadSize;
    frame.moduleX = width > 0              ? width / symbol.columns
                    : options.moduleMm > 0 ? options.moduleMm
                                           : DefaultModuleMm;
    frame.moduleY = barHeight / symbol.rows;
    frame.width = symbol.columns * frame.moduleX;
    frame.height = height;
    frame.textTop = barHeight;
    return tooThin(frame.moduleX) ? BarcodeResult::ModuleTooThin : BarcodeResult::Drawn;
}

void mergeBarsDown(std::vector<BarcodeModules::Bar> &bars)
{
    using Bar = BarcodeModules::Bar;
    std::ranges::sort(bars, [](const Bar &a, const Bar &b) {
        return std::tie(a.x, a.width, a.y) < std::tie(b.x, b.width, b.y);
    });
    std::vector<Bar> merged;
    merged.reserve(bars.size());
    for (const Bar &bar : bars) {
        Bar *last = merged.empty() ? nullptr : &merged.back();
        if (last && last->x == bar.x && last->width == bar.width && last->y + last->height == bar.y)
            last->height += bar.height;
        else
            merged.push_back(bar);
    }
    bars = std::move(merged);
}

} // namespace quillet
