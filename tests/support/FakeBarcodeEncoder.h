#pragma once
// An encoder that needs no library: every data gives the same 3 x 3 symbol,
// two dark modules one above the other on the left and one at the bottom
// right, in a quiet zone of one module; "too long" is refused as too long.

#include "render/BarcodeEncoder.h"

namespace quillet::testing {

class FakeBarcodeEncoder : public BarcodeEncoder {
public:
    mutable int calls = 0;

    BarcodeResult encode(const BarcodeRequest &request, BarcodeModules &symbol) const override
    {
        ++calls;
        if (request.data == "too long")
            return BarcodeResult::TooLong;
        symbol.columns = symbol.rows = 5;
        symbol.bars = {{3, 3, 1, 1}, {1, 2, 1, 1}, {1, 1, 1, 1}};
        symbol.humanReadable = std::string(request.data);
        return BarcodeResult::Drawn;
    }
};

} // namespace quillet::testing
