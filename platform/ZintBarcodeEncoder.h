#pragma once
// The barcode encoder of this platform: libzint, asked for compliant quiet
// zones and a vector symbol, whose rectangles are read back in modules.

#include "render/BarcodeEncoder.h"

namespace quillet {

class ZintBarcodeEncoder : public BarcodeEncoder {
public:
    BarcodeResult encode(const BarcodeRequest &request, BarcodeModules &symbol) const override;
};

} // namespace quillet
