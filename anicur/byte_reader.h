// Little-endian fields and four-byte identifiers read from a byte buffer.
// Callers check the bounds first; these only assemble the bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace anicur {

inline uint16_t ReadU16(const uint8_t* p) noexcept
{
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

inline uint32_t ReadU32(const uint8_t* p) noexcept
{
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

inline uint32_t ReadU32BigEndian(const uint8_t* p) noexcept
{
    return (static_cast<uint32_t>(p[0]) << 24) | (static_cast<uint32_t>(p[1]) << 16) |
           (static_cast<uint32_t>(p[2]) << 8) | static_cast<uint32_t>(p[3]);
}

// Compares four bytes with a chunk identifier such as "seq " (case-sensitive).
inline bool IdIs(const uint8_t* p, const char (&id)[5]) noexcept
{
    return std::memcmp(p, id, 4) == 0;
}

} // namespace anicur
