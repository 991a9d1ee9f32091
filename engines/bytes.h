// Byte-order loads and stores and bit rotations: the one place every engine takes them from, so
// no digest depends on the host's byte order.
#pragma once

#include <bit>
#include <cstdint>

inline constexpr uint32_t LoadLe32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}
inline constexpr uint32_t LoadBe32(const uint8_t* p) {
    return uint32_t{p[3]} | uint32_t{p[2]} << 8 | uint32_t{p[1]} << 16 | uint32_t{p[0]} << 24;
}
inline constexpr uint64_t LoadLe64(const uint8_t* p) {
    return uint64_t{LoadLe32(p)} | uint64_t{LoadLe32(p + 4)} << 32;
}
inline constexpr uint64_t LoadBe64(const uint8_t* p) {
    return uint64_t{LoadBe32(p)} << 32 | uint64_t{LoadBe32(p + 4)};
}

inline constexpr void StoreLe32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
    p[2] = static_cast<uint8_t>(v >> 16);
    p[3] = static_cast<uint8_t>(v >> 24);
}
inline constexpr void StoreBe32(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v >> 24);
    p[1] = static_cast<uint8_t>(v >> 16);
    p[2] = static_cast<uint8_t>(v >> 8);
    p[3] = static_cast<uint8_t>(v);
}
inline constexpr void StoreLe64(uint8_t* p, uint64_t v) {
    StoreLe32(p, static_cast<uint32_t>(v));
    StoreLe32(p + 4, static_cast<uint32_t>(v >> 32));
}
inline constexpr void StoreBe64(uint8_t* p, uint64_t v) {
    StoreBe32(p, static_cast<uint32_t>(v >> 32));
    StoreBe32(p + 4, static_cast<uint32_t>(v));
}

// Big-endian bytes already in a native word (a buffer filled by memcpy) to their value.
inline constexpr uint32_t FromBe32(uint32_t v) {
    if constexpr (std::endian::native == std::endian::little) return __builtin_bswap32(v);
    return v;
}
inline constexpr uint64_t FromBe64(uint64_t v) {
    if constexpr (std::endian::native == std::endian::little) return __builtin_bswap64(v);
    return v;
}

inline constexpr uint32_t Rotl32(uint32_t v, int n) {
    return std::rotl(v, n);
}
inline constexpr uint32_t Rotr32(uint32_t v, int n) {
    return std::rotr(v, n);
}
inline constexpr uint64_t Rotr64(uint64_t v, int n) {
    return std::rotr(v, n);
}
