// PBarcode in the core, with a fake encoder; the real one is read back in
// tests/qt.

#include "compose/BarcodeLayout.h"
#include "compose/PackedText.h"
#include "render/RememberingBarcodeEncoder.h"
#include "support/FakeBarcodeEncoder.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

using namespace quillet;
using namespace quillet::testing;

namespace {

TEST(PackedText, KeepsEveryByteAndRefusesWhatIsNotAPacking)
{
    const std::string data("(01)1\x1d"
                           "2:3\0"
                           "4",
                           11);
    std::string packed = commands::withPart({}, 1, data);
    packed = commands::withPart(packed, 0, "QR");
    packed = commands::withPart(packed, 2, "");
    EXPECT_EQ(commands::partOf(packed, 0), "QR");
    EXPECT_EQ(commands::partOf(packed, 1), data);
    EXPECT_EQ(commands::partOf(packed, 2), "");
    EXPECT_EQ(commands::partOf(packed, 3), std::nullopt);
    for (const std::string_view garbage : {
             "2:QR9:ab", // a length beyond the text
             "2QR",      // no colon
             "x:QR",     // no length
             "2:QR1",    // a length with nothing after it
             "-1:Q",     // a sign
         })
        EXPECT_EQ(commands::partOf(garbage, 0), std::nullopt) << garbage;
}

TEST(BarcodeLayout, FitsTheSymbolToItsBox)
{
    BarcodeModules symbol; // 10 x 20 modules: 20 high for a QR code, the bars' height for a linear one
    symbol.columns = 10;
    symbol.rows = 20;
    // clang-format off
    const struct { const char *reason; Symbology kind; float height, width, textHeight, moduleOption;
                   BarcodeResult result; BarcodeFrame frame; } rows[] = {
        {"a square box: the taller side decides, centred across", Symbology::QR, 10, 0, 0, 0, BarcodeResult::Drawn, {2.5f, 0, 5, 10, 0.5f, 0.5f, 0}},
        {"a wider box keeps square modules, centred", Symbology::DataMatrix, 10, 30, 0, 0, BarcodeResult::Drawn, {12.5f, 0, 5, 10, 0.5f, 0.5f, 0}},
        {"module= caps the module, the symbol stays centred", Symbology::QR, 10, 0, 0, 0.25f, BarcodeResult::Drawn, {3.75f, 2.5f, 2.5f, 5, 0.25f, 0.25f, 0}},
        {"a linear code's natural width at 0.33 mm", Symbology::Code128, 10, 0, 0, 0, BarcodeResult::Drawn, {0, 0, 3.3f, 10, 0.33f, 0.5f, 10}},
        {"a width stretches a linear code; the text line comes off the bars", Symbology::EAN13, 10, 20, 4, 0, BarcodeResult::Drawn, {0, 0, 20, 10, 2, 0.3f, 6}},
        {"a 2D module under 0.1 mm", Symbology::QR, 1.9f, 0, 0, 0, BarcodeResult::ModuleTooThin, {}},
        {"a linear code squeezed under 0.1 mm a module", Symbology::ITF, 10, 0.9f, 0, 0, BarcodeResult::ModuleTooThin, {}},
        {"no room for the bars above the text", Symbology::Code39, 4, 0, 4, 0, BarcodeResult::BadSize, {}},
        {"a negative width", Symbology::QR, 10, -1, 0, 0, BarcodeResult::BadSize, {}},
    };
    // clang-format on
    for (const auto &row : rows) {
        SCOPED_TRACE(row.reason);
        BarcodeOptions options;
        options.moduleMm = row.moduleOption;
        BarcodeFrame frame;
        ASSERT_EQ(layOutBarcode(symbol, row.kind, options, row.height, row.width, row.textHeight, frame),
                  row.result);
        if (row.result != BarcodeResult::Drawn)
            continue;
        EXPECT_FLOAT_EQ(frame.x, row.frame.x);
        EXPECT_FLOAT_EQ(frame.y, row.frame.y);
        EXPECT_FLOAT_EQ(frame.width, row.frame.width);
        EXPECT_FLOAT_EQ(frame.height, row.frame.height);
        EXPECT_FLOAT_EQ(frame.moduleX, row.frame.moduleX);
        EXPECT_FLOAT_EQ(frame.moduleY, row.frame.moduleY);
        if (!isTwoDimensional(row.kind)) {
            EXPECT_FLOAT_EQ(frame.textTop, row.frame.textTop);
        }
    }
}

TEST(BarcodeOptions, ReadsKnownKeysForTheKindsThatUseThem)
{
    // clang-format off
    const struct { const char *options; Symbology kind; BarcodeResult result; const char *reason; } rows[] = {
        {"text=1", Symbology::Code128, BarcodeResult::Drawn, "the line under a linear code"},
        {"ecc=X", Symbology::QR, BarcodeResult::BadOptions, "a level QR has not"},
        {"ecc=H", Symbology::DataMatrix, BarcodeResult::BadOptions, "only QR chooses its correction"},
        {"text=1", Symbology::PDF417, BarcodeResult::BadOptions, "no line under a two-dimensional code"},
        {"text", Symbology::EAN13, BarcodeResult::BadOptions, "a key without a value"},
        {"module=abc", Symbology::QR, BarcodeResult::BadOptions, "a module that is no number"},
    };
    // clang-format on
    for (const auto &row : rows) {
        BarcodeOptions parsed;
        EXPECT_EQ(parseBarcodeOptions(row.options, row.kind, parsed), row.result) << row.reason;
    }
    BarcodeOptions parsed; // keys and levels in any case, blanks, a last ;
    ASSERT_EQ(parseBarcodeOptions(" ECC = h ; module=0.5;", Symbology::QR, parsed), BarcodeResult::Drawn);
    EXPECT_EQ(parsed.correction, QrCorrection::H);
    EXPECT_FLOAT_EQ(parsed.moduleMm, 0.5f);
}

TEST(RememberingBarcodeEncoder, AsksTheEncoderOncePerSymbolItStillKeeps)
{
    const auto fake = std::make_shared<FakeBarcodeEncoder>();
    const RememberingBarcodeEncoder remembering(fake, 2);
    const auto encode = [&](std::string_view data, QrCorrection correction = QrCorrection::M) {
        BarcodeModules symbol;
        return remembering.encode({Symbology::QR, data, correction}, symbol) == BarcodeResult::Drawn &&
               symbol.humanReadable == data;
    };
    EXPECT_TRUE(encode("a"));
    EXPECT_TRUE(encode("a"));
    EXPECT_EQ(fake->calls, 1);
    EXPECT_TRUE(encode("a", QrCorrection::H)); // another correction is another symbol
    EXPECT_TRUE(encode("b"));                  // "a" at M, the least recently used, goes
    EXPECT_TRUE(encode("a", QrCorrection::H));
    EXPECT_EQ(fake->calls, 3);
    EXPECT_TRUE(encode("a"));
    EXPECT_EQ(fake->calls, 4);
    BarcodeModules symbol;
    for (int i = 0; i < 2; ++i) // a refusal is remembered too
        EXPECT_EQ(remembering.encode({Symbology::QR, "too long"}, symbol), BarcodeResult::TooLong);
    EXPECT_EQ(fake->calls, 5);
}

// Replay and refusals are checked in ReplayTest and tests/qt.
TEST(PBarcode, DrawsAWhiteBoxThenMergedBarsInBlack)
{
    TestSession t;
    t.session.barcodes = std::make_shared<FakeBarcodeEncoder>();
    t.startAt(5, 7);
    t.surfaceInUse().pen().fillColor = 0xFF; // pen and fill in force do not colour the symbol
    ASSERT_EQ(t.composer.PBarcode("Qr", "at the cursor", -1, -1, 10), 0);
    EXPECT_EQ(t.lastRecord().valA, -1.0f); // as PBox records it
    t.surfaceInUse().calls.clear();
    ASSERT_EQ(t.composer.PBarcode("Qr", "A\035B", 9, 4, 10, 0, "ecc=Q"), 0); // a group separator inside
    const std::vector<FakeSurface::Call> drawn = t.surfaceInUse().calls;
    // A white box over the quiet zones, then the modules, the left pair merged into one bar.
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0].pen.fillColor, 0xFFFFFF);
    EXPECT_EQ(drawn[0].args, (std::vector<float>{28, 14, 19, 10, 10}));
    EXPECT_EQ(drawn[1].pen.fillColor, 0);
    EXPECT_EQ(drawn[1].args, (std::vector<float>{28, 16, 21, 2, 4}));
    EXPECT_EQ(drawn[2].args, (std::vector<float>{28, 20, 25, 2, 2}));
    EXPECT_EQ(t.surfaceInUse().pen().fillColor, 0xFF);
}

} // namespace
