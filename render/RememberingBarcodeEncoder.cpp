#include "render/RememberingBarcodeEncoder.h"

#include <algorithm>

namespace quillet {

RememberingBarcodeEncoder::RememberingBarcodeEncoder(std::shared_ptr<const BarcodeEncoder> encoder,
                                                     std::size_t kept)
    : m_encoder(std::move(encoder)), m_kept(std::max<std::size_t>(kept, 1))
{
}

BarcodeResult RememberingBarcodeEncoder::encode(const BarcodeRequest &request, BarcodeModules &symbol) const
{
    std::string key;
    key.reserve(request.data.size() + 2);
    key += static_cast<char>(request.kind);
    key += static_cast<char>(request.correction);
    key += request.data;
    const std::lock_guard lock(m_mutex);
    if (const auto found = m_byKey.find(key); found != m_byKey.end()) {
        m_recent.splice(m_recent.begin(), m_recent, found->second);
        symbol = found->second->symbol;
        return found->second->result;
    }
    Remembered encoded{key, m_encoder->encode(request, symbol), symbol};
    if (m_recent.size() == m_kept) {
        m_byKey.erase(m_recent.back().key);
        m_recent.pop_back();
    }
    m_recent.push_front(std::move(encoded));
    m_byKey.emplace(std::move(key), m_recent.begin());
    return m_recent.front().result;
}

} // namespace quillet
