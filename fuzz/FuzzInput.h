#pragma once
// Takes typed values off the front of a fuzzer's input; past its end every
// value is zero, so any input, even an empty one, is usable.

#include <cstdint>
#include <cstring>
#include <string_view>

namespace quillet::fuzz {

class FuzzInput {
public:
    FuzzInput(const uint8_t *data, size_t size) : m_rest(reinterpret_cast<const char *>(data), size) {}

    template <typename T> T take()
    {
        T value{};
        const size_t n = std::min(sizeof value, m_rest.size());
        std::memcpy(&value, m_rest.data(), n);
        m_rest.remove_prefix(n);
        return value;
    }
    /// Up to maxBytes of text.
    std::string_view takeText(size_t maxBytes)
    {
        const std::string_view text = m_rest.substr(0, maxBytes);
        m_rest.remove_prefix(text.size());
        return text;
    }
    std::string_view rest() const { return m_rest; }

private:
    std::string_view m_rest;
};

} // namespace quillet::fuzz
