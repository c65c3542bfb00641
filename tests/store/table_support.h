#pragma once

// Shared by the table tests: error capture, field lists and byte access.

#include <cstdint>
#include <string>
#include <vector>

#include "store/byteorder.h"
#include "store/error.h"
#include "store/value.h"

namespace lwtest {

// Collects every error the engine reports while it lives.
class ErrorLog {
public:
    ErrorLog() {
        m_previous = store::setErrorCallback([this](const store::StoreError& e) { m_errors.push_back(e); });
    }
    ~ErrorLog() { store::setErrorCallback(m_previous); }
    ErrorLog(const ErrorLog&) = delete;
    ErrorLog& operator=(const ErrorLog&) = delete;

    std::size_t count() const { return m_errors.size(); }
    const std::vector<store::StoreError>& errors() const { return m_errors; }
    const store::StoreError& last() const { return m_errors.back(); }
    void clear() { m_errors.clear(); }

private:
    std::vector<store::StoreError> m_errors;
    store::ErrorCallback m_previous;
};

inline store::FieldDef field(const char* name, store::FieldType type, int length = 0, int decimals = 0) {
    return store::FieldDef{name, type, length, decimals};
}

// Integers inside a file image; at() makes a test that reaches past the end fail instead of reading garbage.
inline const char* span(const std::string& bytes, std::size_t at, std::size_t n) {
    (void)bytes.at(at + n - 1);
    return bytes.data() + at;
}
inline char* span(std::string& bytes, std::size_t at, std::size_t n) {
    (void)bytes.at(at + n - 1);
    return bytes.data() + at;
}
inline std::uint32_t le32(const std::string& bytes, std::size_t at) {
    return store::endian::getLE32(span(bytes, at, 4));
}
inline std::uint32_t le16(const std::string& bytes, std::size_t at) {
    return store::endian::getLE16(span(bytes, at, 2));
}
inline std::uint32_t be32(const std::string& bytes, std::size_t at) {
    return store::endian::getBE32(span(bytes, at, 4));
}
inline void putLe16(std::string& bytes, std::size_t at, std::uint32_t v) {
    store::endian::putLE16(span(bytes, at, 2), static_cast<std::uint16_t>(v));
}
inline void putLe32(std::string& bytes, std::size_t at, std::uint32_t v) {
    store::endian::putLE32(span(bytes, at, 4), v);
}

// Bytes that look like a small Windows bitmap and hold every byte value, the end-of-file mark and zeros.
inline std::string bitmapLikeBytes(std::size_t size) {
    std::string b(size, '\0');
    for (std::size_t i = 0; i < size; ++i)
        b[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    if (size >= 14) {
        b[0] = 'B';
        b[1] = 'M';
        b[2] = static_cast<char>(size & 0xFF);
        b[3] = static_cast<char>((size >> 8) & 0xFF);
    }
    return b;
}

} // namespace lwtest
