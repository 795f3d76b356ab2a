#pragma once
// A page is replayed each time it is shown, printed or saved, and each replay
// would ask the encoder again for the same symbols: this keeps the symbols
// most recently encoded, and what was refused, so only the first costs.

#include "render/BarcodeEncoder.h"

#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>

namespace quillet {

class RememberingBarcodeEncoder : public BarcodeEncoder {
public:
    /// kept: how many symbols are remembered; the least recently used goes.
    explicit RememberingBarcodeEncoder(std::shared_ptr<const BarcodeEncoder> encoder, std::size_t kept = 512);
    BarcodeResult encode(const BarcodeRequest &request, BarcodeModules &symbol) const override;

private:
    struct Remembered {
        std::string key;
        BarcodeResult result;
        BarcodeModules symbol;
    };
    std::shared_ptr<const BarcodeEncoder> m_encoder;
    std::size_t m_kept;
    mutable std::mutex m_mutex;
    mutable std::list<Remembered> m_recent; ///< the most recently used first
    mutable std::unordered_map<std::string, std::list<Remembered>::iterator> m_byKey;
};

} // namespace quillet
