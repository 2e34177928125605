#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

// Takes fixed-size values off the front of a fuzzer's input; what is left
// over is the file to read. Missing bytes read as zero.
class CFuzzInput
{
public:
    CFuzzInput(const std::uint8_t* data, std::size_t size)
        : m_bytes(reinterpret_cast<const char*>(data), size)
    {}

    std::int32_t TakeInt32()
    {
        std::int32_t n = 0;
        const std::size_t nTaken = std::min(sizeof n, m_bytes.size());
        std::memcpy(&n, m_bytes.data(), nTaken);
        m_bytes.remove_prefix(nTaken);
        return n;
    }

    std::string_view Rest() const { return m_bytes; }

private:
    std::string_view m_bytes;
};
