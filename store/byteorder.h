#pragma once

// Little- and big-endian integers inside file images (DBF and CDX are little-endian, FPT headers and CDX keys'
// record numbers big-endian). Both char and unsigned char buffers are accepted.

#include <cstddef>
#include <cstdint>

namespace store::endian {

namespace detail {
inline const unsigned char* u(const char* p) {
    return reinterpret_cast<const unsigned char*>(p);
}
inline unsigned char* u(char* p) {
    return reinterpret_cast<unsigned char*>(p);
}
inline const unsigned char* u(const unsigned char* p) {
    return p;
}
inline unsigned char* u(unsigned char* p) {
    return p;
}
} // namespace detail

// The first n (at most 8) bytes at p as a little-endian number.
template <typename Byte> std::uint64_t getLE(const Byte* p, std::size_t n) {
    const unsigned char* b = detail::u(p);
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i)
        v |= std::uint64_t(b[i]) << (8 * i);
    return v;
}
template <typename Byte> std::uint64_t getBE(const Byte* p, std::size_t n) {
    const unsigned char* b = detail::u(p);
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < n; ++i)
        v = v << 8 | b[i];
    return v;
}
// Writes the low n (at most 8) bytes of v.
template <typename Byte> void putLE(Byte* p, std::uint64_t v, std::size_t n) {
    unsigned char* b = detail::u(p);
    for (std::size_t i = 0; i < n; ++i)
        b[i] = static_cast<unsigned char>(v >> (8 * i));
}
template <typename Byte> void putBE(Byte* p, std::uint64_t v, std::size_t n) {
    unsigned char* b = detail::u(p);
    for (std::size_t i = 0; i < n; ++i)
        b[n - 1 - i] = static_cast<unsigned char>(v >> (8 * i));
}

template <typename Byte> std::uint16_t getLE16(const Byte* p) {
    return static_cast<std::uint16_t>(getLE(p, 2));
}
template <typename Byte> std::uint32_t getLE32(const Byte* p) {
    return static_cast<std::uint32_t>(getLE(p, 4));
}
template <typename Byte> std::uint16_t getBE16(const Byte* p) {
    return static_cast<std::uint16_t>(getBE(p, 2));
}
template <typename Byte> std::uint32_t getBE32(const Byte* p) {
    return static_cast<std::uint32_t>(getBE(p, 4));
}
template <typename Byte> std::uint64_t getBE64(const Byte* p) {
    return getBE(p, 8);
}
template <typename Byte> void putLE16(Byte* p, std::uint16_t v) {
    putLE(p, v, 2);
}
template <typename Byte> void putLE32(Byte* p, std::uint32_t v) {
    putLE(p, v, 4);
}
template <typename Byte> void putBE16(Byte* p, std::uint16_t v) {
    putBE(p, v, 2);
}
template <typename Byte> void putBE32(Byte* p, std::uint32_t v) {
    putBE(p, v, 4);
}
template <typename Byte> void putBE64(Byte* p, std::uint64_t v) {
    putBE(p, v, 8);
}

} // namespace store::endian
