#pragma once
// Names the rows of a parameterised test after their `name` field, so a
// failure reads "Papers/A4Landscape", never "Papers/3". A test file that
// declares `using quillet::testing::PrintTo;` next to its rows also gets the
// row's name, not its bytes, in GoogleTest's and ctest's output.

#include <concepts>
#include <ostream>
#include <string>

namespace quillet::testing {

template <typename Row>
concept NamedRow = requires(const Row &row) {
    { row.name } -> std::convertible_to<std::string>;
};

struct RowName {
    template <typename ParamInfo> std::string operator()(const ParamInfo &info) const
    {
        return info.param.name;
    }
};

template <NamedRow Row> void PrintTo(const Row &row, std::ostream *out)
{
    *out << row.name;
}

} // namespace quillet::testing
