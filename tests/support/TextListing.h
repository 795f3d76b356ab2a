#pragma once
// A test fixture for the text commands: an A4 listing with 10 mm margins, the
// print position put where the test wants it, and what was drawn and recorded
// counted from there.

#include "support/PrintedText.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <vector>

namespace quillet::testing {

/// Positions compared after float arithmetic in millimetres.
constexpr float ToleranceMm = 1e-3f;

struct PointMm {
    float x = 0, y = 0;
};

class TextListing : public ::testing::Test {
protected:
    explicit TextListing(ListingMode mode = ListingMode::Preview) : t(mode) {}

    /// Puts the print position at (xMm, yMm) from the margins and forgets what
    /// was drawn and recorded so far.
    void startAt(float xMm, float yMm)
    {
        ASSERT_FLOAT_EQ(t.state().LeftMarg, 10);
        ASSERT_FLOAT_EQ(t.state().TopMarg, 10);
        ASSERT_FLOAT_EQ(t.state().UseW, 190);
        t.state().CursorX = t.state().LeftMarg + xMm;
        t.state().CursorY = t.state().TopMarg + yMm;
        surfaceInUse(t).calls.clear();
        m_recordsBefore = t.records().size();
    }
    std::vector<Printed> prints() { return printsOn(surfaceInUse(t)); }
    /// Records written since startAt.
    size_t newRecords() { return t.records().size() - m_recordsBefore; }
    size_t recordsBefore() const { return m_recordsBefore; }

    TestSession t;

private:
    size_t m_recordsBefore = 0;
};

} // namespace quillet::testing
