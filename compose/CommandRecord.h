#pragma once
// A command's arguments into its record's fields and back, as its row in
// compose/Commands.h declares them: Composer records through recordOf, the
// replay reads the arguments back with argumentsOf.

#include "compose/Commands.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <tuple>
#include <type_traits>
#include <utility>

namespace quillet::commands {

/// One argument as its record keeps it: a number, or a text.
struct StoredValue {
    double number = 0;
    std::string_view text;
};

/// Puts one argument into its field of the record.
void store(const Arg &arg, const StoredValue &value, SpoolRecord &record);
/// Reads one argument back; none when its field holds no usable value.
std::optional<StoredValue> load(const Arg &arg, const SpoolRecord &record);

template <typename Value> StoredValue storedValue(const Value &value)
{
    if constexpr (std::is_convertible_v<const Value &, std::string_view>)
        return {0, value};
    else
        return {static_cast<double>(value), {}};
}

/// The record of a command given these arguments, in the command's order.
template <typename Row, typename... Values> SpoolRecord recordOf(const Values &...values)
{
    static_assert(sizeof...(Values) == Row::args.size(), "one value per argument of the row");
    SpoolRecord record;
    record.op = static_cast<uint8_t>(Row::op);
    std::size_t i = 0;
    (store(Row::args[i++], storedValue(values), record), ...);
    return record;
}

template <typename Param> Param argumentAs(const StoredValue &value)
{
    if constexpr (std::is_same_v<Param, std::string_view>)
        return value.text;
    else if constexpr (std::is_same_v<Param, bool>)
        return value.number != 0;
    else
        return static_cast<Param>(value.number);
}

/// The arguments a record holds for the command's parameters; none when one is unusable.
template <typename Row, typename... Params>
std::optional<std::tuple<Params...>> argumentsOf(const SpoolRecord &record)
{
    static_assert(sizeof...(Params) == Row::args.size(), "one parameter per argument of the row");
    return [&record]<std::size_t... I>(std::index_sequence<I...>)->std::optional<std::tuple<Params...>>
    {
        const std::array<std::optional<StoredValue>, sizeof...(I)> loaded = {load(Row::args[I], record)...};
        if (!std::ranges::all_of(loaded, [](const auto &value) { return value.has_value(); }))
            return std::nullopt;
        return std::tuple<Params...>(argumentAs<Params>(*loaded[I])...);
    }
    (std::index_sequence_for<Params...>{});
}

} // namespace quillet::commands
