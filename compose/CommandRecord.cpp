#include "compose/CommandRecord.h"

#include "compose/PenWidthCode.h"

#include <cmath>
#include <limits>

namespace quillet::commands {

namespace {

template <typename Record> auto fieldOf(Field field, Record &record) -> decltype(&record.valA)
{
    switch (field) {
    case Field::valA:
        return &record.valA;
    case Field::valB:
        return &record.valB;
    case Field::valC:
        return &record.valC;
    case Field::valD:
        return &record.valD;
    case Field::valE:
        return &record.valE;
    default:
        return nullptr;
    }
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
    else if (arg.kind == Kind::PenWidth)
        record.text = penWidthText(static_cast<int>(value.number));
    else if (float *field = fieldOf(arg.field, record))
        *field =
            arg.kind == Kind::Flag ? (value.number != 0 ? 1.0f : 0.0f) : static_cast<float>(value.number);
}

std::optional<StoredValue> load(const Arg &arg, const SpoolRecord &record)
{
    if (arg.kind == Kind::Text)
        return StoredValue{0, record.text};
    if (arg.kind == Kind::PenWidth)
        return StoredValue{static_cast<double>(penWidthOf(record.text)), {}};
    const float *field = fieldOf(arg.field, record);
    if (!field)
        return std::nullopt; // a picture: registered, never recorded
    switch (arg.kind) {
    case Kind::Int16:
        return wholeNumber<int16_t>(*field);
    case Kind::Int32:
        return wholeNumber<int32_t>(*field);
    default:
        return StoredValue{*field, {}};
    }
}

} // namespace quillet::commands
