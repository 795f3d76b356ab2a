#pragma once
// A command's arguments into its record's fields and back, as its row in
// compose/Commands.h declares them: Composer records through recordOf, the
// replay reads the arguments back with argumentsOf.

#include "compose/Commands.h"

#include <optional>
#include <string_view>
#include <tuple>
#include <type_traits>

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

/// The record of a command given these arguments, in the command's order.
template <typename Row, typename... Values> SpoolRecord recordOf(const Values &...values)
{
    static_assert(sizeof...(Values) == Row::args.size(), "one value per argument of the row");
    SpoolRecord record;
    record.op = static_cast<uint8_t>(Row::op);
    std::size_t i = 0;
    [[maybe_unused]] const auto stored = [](const auto &value) {
        if constexpr (std::is_convertible_v<decltype(value), std::string_view>)
            return StoredValue{0, value};
        else
            return StoredValue{static_cast<double>(value), {}};
    };
    (store(Row::args[i++], stored(values), record), ...);
    return record;
}

/// The arguments a record holds for the command's parameters; none when one is unusable.
template <typename Row, typename... Params>
std::optional<std::tuple<Params...>> argumentsOf(const SpoolRecord &record)
{
    static_assert(sizeof...(Params) == Row::args.size(), "one parameter per argument of the row");
    std::size_t i = 0;
    bool usable = true;
    [[maybe_unused]] const auto next = [&]<typename Param>(std::type_identity<Param>) -> Param {
        const std::optional<StoredValue> value = load(Row::args[i++], record);
        usable = usable && value;
        if constexpr (std::is_same_v<Param, std::string_view>)
            return value ? value->text : std::string_view();
        else
            return static_cast<Param>(value ? value->number : 0);
    };
    std::tuple<Params...> arguments{next(std::type_identity<Params>())...}; // braces: in order
    if (!usable)
        return std::nullopt;
    return arguments;
}

} // namespace quillet::commands
