#pragma once

// The input of the write-path target: a table, its memo file, its index and the changes to make, in one buffer:
//   u16 LE length of the DBF part, u16 LE length of the FPT part, 12 change bytes, DBF, FPT, rest = CDX.
// A missing FPT or CDX part (length 0, no rest) means no such file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "store/byteorder.h"

namespace fuzz {

constexpr std::size_t kWriteHead = 4;
constexpr std::size_t kWriteChanges = 12;

struct WriteInput {
    std::string_view dbf, fpt, cdx;
    std::string_view changes;
};

inline bool splitWriteInput(const std::uint8_t* data, std::size_t size, WriteInput& out) {
    if (size < kWriteHead + kWriteChanges) return false;
    const std::size_t dbfLength = store::endian::getLE16(data), fptLength = store::endian::getLE16(data + 2);
    const std::size_t at = kWriteHead + kWriteChanges;
    if (at + dbfLength + fptLength > size) return false;
    const char* p = reinterpret_cast<const char*>(data);
    out.changes = std::string_view(p + kWriteHead, kWriteChanges);
    out.dbf = std::string_view(p + at, dbfLength);
    out.fpt = std::string_view(p + at + dbfLength, fptLength);
    out.cdx = std::string_view(p + at + dbfLength + fptLength, size - at - dbfLength - fptLength);
    return true;
}

inline std::string joinWriteInput(std::string_view dbf, std::string_view fpt, std::string_view cdx,
                                  std::string_view changes) {
    std::string out(kWriteHead, '\0');
    store::endian::putLE16(out.data(), static_cast<std::uint16_t>(dbf.size()));
    store::endian::putLE16(out.data() + 2, static_cast<std::uint16_t>(fpt.size()));
    std::string c(changes.substr(0, kWriteChanges));
    c.resize(kWriteChanges, '\0');
    return out.append(c).append(dbf).append(fpt).append(cdx);
}

} // namespace fuzz
