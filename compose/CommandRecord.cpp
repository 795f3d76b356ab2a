#include "compose/CommandRecord.h"

#include "compose/PackedText.h"
#include "compose/PenWidthCode.h"

#include <cmath>
#include <iterator>
#include <limits>

namespace quillet::commands {

namespace {

/// The field that keeps an argument's number; null for texts and pictures.
template <typename Record> auto fieldOf(const Arg &arg, Record &record) -> decltype(&record.valA)
{
    constexpr float SpoolRecord::*fields[] = {&SpoolRecord::valA, &SpoolRecord::valB, &SpoolRecord::valC,
                                              &SpoolRecord::valD, &SpoolRecord::valE};
    const auto i = static_cast<std::size_t>(arg.field);
    return i < std::size(fields) ? &(record.*fields[i]) : nullptr;
}

/// Whole numbers from recorded singles, rounding half to even; a value out of
/// the range makes the command unusable. The upper bound is -min, exclusive:
/// a float cannot hold INT32_MAX, and rounding it up would let 2^31 through.
template <typename Int> std::optional<StoredValue> wholeNumber(float value)
{
    const float rounded = std::nearbyint(value);
    const float lowest = static_cast<float>(std::numeric_limits<Int>::min());
    if (!(rounded >= lowest && rounded < -lowest))
        return std::nullopt;
    return StoredValue{rounded, {}};
}

} // namespace

void store(const Arg &arg, const StoredValue &value, SpoolRecord &record)
{
    if (arg.kind == Kind::Text)
        record.text = value.text;
    else if (arg.kind == Kind::Part)
        record.text = withPart(record.text, arg.part, value.text);
    else if (arg.kind == Kind::PenWidth)
        record.text = penWidthText(static_cast<int>(value.number));
    else if (float *field = fieldOf(arg, record))
        *field = static_cast<float>(value.number);
}

std::optional<StoredValue> load(const Arg &arg, const SpoolRecord &record)
{
    const float *field = fieldOf(arg, record);
    if (arg.kind == Kind::Text)
        return StoredValue{0, record.text};
    if (arg.kind == Kind::Part) {
        const std::optional<std::string_view> part = partOf(record.text, arg.part);
        return part ? std::optional(StoredValue{0, *part}) : std::nullopt;
    }
    if (arg.kind == Kind::PenWidth)
        return StoredValue{static_cast<double>(penWidthOf(record.text)), {}};
    if (!field)
        return std::nullopt; // a picture: registered, never recorded
    if (arg.kind == Kind::Int16)
        return wholeNumber<int16_t>(*field);
    if (arg.kind == Kind::Int32)
        return wholeNumber<int32_t>(*field);
    return StoredValue{*field, {}};
}

} // namespace quillet::commands
