// Page lists as typed in a print dialog, and the from/to range of SavePDF.

#include "print/PageList.h"

#include <gtest/gtest.h>

namespace {

using quillet::PageList;
using quillet::PageListError;
using Spans = std::vector<quillet::PageSpan>;

TEST(PageList, ParsesWhatUsersTypeAndRefusesTheRest)
{
    // clang-format off
    const struct {
        const char *text;
        Spans spans;
        PageListError error = PageListError::None;
    } rows[] = {
        {"1-3,7,10-", {{1, 3}, {7, 7}, {10, 12}}},
        {" 1 - 3 ,\t7 , 10 - ", {{1, 3}, {7, 7}, {10, 12}}}, // blanks anywhere
        {"-5", {{1, 5}}},
        {"9,2-3,2", {{9, 9}, {2, 3}, {2, 2}}},                // order and repeats as typed
        {"11-40,99,20-", {{11, 12}, {12, 12}, {12, 12}}},     // clamped to the last page
        {"0,0-2", {{1, 1}, {1, 2}}},
        {"99999999999999999999999", {{12, 12}}},              // no overflow
        {"", {}, PageListError::Empty},
        {" \t", {}, PageListError::Empty},
        {"1;3", {}, PageListError::BadCharacter},
        {"+3", {}, PageListError::BadCharacter},
        {"1,,3", {}, PageListError::EmptyItem},
        {"1,", {}, PageListError::EmptyItem},
        {"-", {}, PageListError::BadItem},
        {"1-2-3", {}, PageListError::BadItem},
        {"1--3", {}, PageListError::BadItem},
        {"3 4", {}, PageListError::BadItem},
        {"5-3", {}, PageListError::Reversed},
    };
    // clang-format on
    for (const auto &row : rows) {
        const PageList list = PageList::parse(row.text, 12);
        EXPECT_EQ(list.error(), row.error) << '"' << row.text << '"';
        EXPECT_EQ(list.spans(), row.spans) << '"' << row.text << '"';
    }
    EXPECT_EQ(PageList::parse("1-3,7,10-", 12).pageCount(), 7);
    EXPECT_TRUE(PageList::parse("1-3", 0).isEmpty()); // a listing without pages
}

TEST(PageList, RangeOfSavePdf)
{
    // clang-format off
    const struct {
        int from, to;
        Spans spans;
    } rows[] = {
        {1, -1, {{1, 5}}},
        {-4, 99, {{1, 5}}},
        {9, -1, {{5, 5}}}, // from beyond the last page
        {4, 3, {}},        // backwards
        {1, 0, {}},
    };
    // clang-format on
    for (const auto &row : rows)
        EXPECT_EQ(PageList::range(row.from, row.to, 5).spans(), row.spans) << row.from << ".." << row.to;
}

} // namespace
