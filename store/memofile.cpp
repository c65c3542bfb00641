#include "memofile.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

#include "byteorder.h"
#include "error.h"
#include "fileio.h"

namespace store {

using endian::getBE16;
using endian::getBE32;
using endian::getLE32;
using endian::putBE16;
using endian::putBE32;

namespace {
constexpr std::uint32_t kHeaderBytes = 512;
constexpr std::uint32_t kDbtBlockSize = 512;
constexpr char kDbtEnd = 0x1A;

std::uint64_t ceilDiv(std::uint64_t a, std::uint64_t b) {
    return (a + b - 1) / b;
}
} // namespace

MemoFile::MemoFile(int fd, std::filesystem::path path, Kind kind, bool writable)
    : m_fd(fd), m_path(std::move(path)), m_kind(kind), m_writable(writable) {}

MemoFile::~MemoFile() {
    if (m_fd >= 0) ::close(m_fd);
}

std::uint32_t MemoFile::headerBlocks() const {
    return static_cast<std::uint32_t>(ceilDiv(kHeaderBytes, m_blockSize));
}

std::unique_ptr<MemoFile> MemoFile::open(const std::filesystem::path& path, Kind kind, bool writable) {
    const std::string name = io::displayName(path);
    int fd = ::open(path.c_str(), (writable ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (fd < 0) {
        reportError(path.string(), "Memodatei " + name + " lässt sich nicht öffnen: " + io::lastError());
        return nullptr;
    }
    std::unique_ptr<MemoFile> memo(new MemoFile(fd, path, kind, writable));
    auto size = io::fileSize(fd);
    unsigned char head[8] = {};
    if (!size || *size < kHeaderBytes || !io::readAt(fd, head, sizeof head, 0)) {
        reportError(path.string(), "Memodatei " + name + " ist zu kurz für ihren Kopf (" +
                                       std::to_string(size.value_or(0)) + " Bytes, nötig sind 512)");
        return nullptr;
    }
    std::uint32_t stored;
    if (kind == Kind::Dbt) {
        memo->m_blockSize = kDbtBlockSize;
        stored = getLE32(head);
    } else {
        memo->m_blockSize = getBE16(head + 6);
        stored = getBE32(head);
        if (memo->m_blockSize == 0) {
            reportError(path.string(), "Memodatei " + name + " nennt die Blockgröße 0");
            return nullptr;
        }
    }
    // New memos go behind everything in the file, even if the stored next-free value lags behind: a stale
    // value must never make us overwrite memos that still belong to records. A value beyond the end is damage;
    // trusted, it would put new memos far behind the end (a huge sparse file).
    std::uint64_t used = ceilDiv(*size, memo->m_blockSize);
    if (stored > used && writable && kind == Kind::Fpt) // DBT memos are never written
        reportError(path.string(), "Memodatei " + name + " ist beschädigt: ihr Kopf nennt den freien Block " +
                                       std::to_string(stored) + " hinter dem Dateiende (" + std::to_string(*size) +
                                       " Bytes); neue Memos kommen ans tatsächliche Ende");
    std::uint64_t next = std::max<std::uint64_t>(memo->headerBlocks(), used);
    if (next > std::numeric_limits<std::uint32_t>::max()) {
        reportError(path.string(), "Memodatei " + name + " ist zu groß");
        return nullptr;
    }
    memo->m_nextFree = static_cast<std::uint32_t>(next);
    return memo;
}

std::unique_ptr<MemoFile> MemoFile::createOn(int fd, const std::filesystem::path& reportAs, std::uint16_t blockSize) {
    std::unique_ptr<MemoFile> memo(new MemoFile(fd, reportAs, Kind::Fpt, true));
    memo->m_blockSize = blockSize == 0 ? kDefaultBlockSize : blockSize;
    memo->m_nextFree = memo->headerBlocks();
    std::vector<unsigned char> header(std::size_t(memo->m_nextFree) * memo->m_blockSize, 0);
    putBE32(header.data(), memo->m_nextFree);
    putBE16(header.data() + 6, memo->m_blockSize);
    if (!io::truncate(fd, 0) || !io::writeAt(fd, header.data(), header.size(), 0)) {
        reportError(reportAs.string(),
                    "Memodatei " + io::displayName(reportAs) + " lässt sich nicht schreiben: " + io::lastError());
        return nullptr;
    }
    return memo;
}

std::optional<MemoFile::Memo> MemoFile::read(std::uint32_t block) const {
    if (m_kind == Kind::Dbt) return readDbt(block);
    const std::string name = io::displayName(m_path);
    if (block < headerBlocks()) {
        reportError(m_path.string(),
                    "Memozeiger " + std::to_string(block) + " zeigt in den Kopf der Memodatei " + name);
        return std::nullopt;
    }
    const std::uint64_t offset = std::uint64_t(block) * m_blockSize;
    const std::uint64_t size = io::fileSize(m_fd).value_or(0);
    unsigned char head[8];
    if (offset + 8 > size || !io::readAt(m_fd, head, 8, static_cast<off_t>(offset))) {
        reportError(m_path.string(), "Memo in Block " + std::to_string(block) + " liegt hinter dem Ende von " + name +
                                         " (" + std::to_string(size) + " Bytes)");
        return std::nullopt;
    }
    Memo memo;
    memo.type = getBE32(head);
    const std::uint32_t length = getBE32(head + 4);
    if (offset + 8 + length > size) {
        reportError(m_path.string(), "Memo in Block " + std::to_string(block) + " nennt " + std::to_string(length) +
                                         " Bytes und reicht über das Ende von " + name + " hinaus (" +
                                         std::to_string(size) + " Bytes)");
        return std::nullopt;
    }
    memo.data.resize(length);
    if (length > 0 && !io::readAt(m_fd, memo.data.data(), length, static_cast<off_t>(offset + 8))) {
        reportError(m_path.string(), "Memodatei " + name + " lässt sich nicht lesen: " + io::lastError());
        return std::nullopt;
    }
    return memo;
}

std::optional<MemoFile::Memo> MemoFile::readDbt(std::uint32_t block) const {
    const std::uint64_t offset = std::uint64_t(block) * kDbtBlockSize;
    const std::uint64_t size = io::fileSize(m_fd).value_or(0);
    if (block == 0 || offset >= size) {
        reportError(m_path.string(),
                    "Memo in Block " + std::to_string(block) + " liegt außerhalb von " + io::displayName(m_path));
        return std::nullopt;
    }
    // dBASE III memos carry no length: the text runs up to the end marker (or the end of the file).
    Memo memo;
    std::string chunk(kDbtBlockSize, '\0');
    for (std::uint64_t at = offset; at < size; at += kDbtBlockSize) {
        std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(kDbtBlockSize, size - at));
        if (!io::readAt(m_fd, chunk.data(), n, static_cast<off_t>(at))) break;
        std::size_t end = std::string_view(chunk.data(), n).find(kDbtEnd);
        memo.data.append(chunk.data(), end == std::string_view::npos ? n : end);
        if (end != std::string_view::npos) break;
    }
    return memo;
}

bool MemoFile::writeNextFree() {
    unsigned char buf[4];
    putBE32(buf, m_nextFree);
    if (!io::writeAt(m_fd, buf, 4, 0)) {
        reportError(m_path.string(),
                    "Memodatei " + io::displayName(m_path) + " lässt sich nicht schreiben: " + io::lastError());
        return false;
    }
    return true;
}

std::optional<std::uint32_t> MemoFile::write(std::uint32_t oldBlock, std::string_view data, std::uint32_t type) {
    const std::string name = io::displayName(m_path);
    if (!m_writable || m_kind == Kind::Dbt) {
        reportError(m_path.string(), "Memodatei " + name + " kann nicht geschrieben werden (nur lesbar)");
        return std::nullopt;
    }
    if (data.empty()) return 0u;
    if (data.size() > std::numeric_limits<std::uint32_t>::max() - 8u) {
        reportError(m_path.string(), "Memo ist zu groß für " + name);
        return std::nullopt;
    }
    const std::uint64_t need = ceilDiv(8 + data.size(), m_blockSize);

    std::uint64_t position = m_nextFree;
    if (oldBlock >= headerBlocks() && oldBlock < m_nextFree) {
        unsigned char head[8];
        if (io::readAt(m_fd, head, 8, static_cast<off_t>(std::uint64_t(oldBlock) * m_blockSize))) {
            std::uint64_t oldBlocks = ceilDiv(8 + std::uint64_t(getBE32(head + 4)), m_blockSize);
            bool fits = need <= oldBlocks && oldBlock + oldBlocks <= m_nextFree;
            bool isLast = oldBlock + oldBlocks == m_nextFree;
            if (fits || isLast) position = oldBlock;
        }
    }
    const std::uint64_t end = std::max<std::uint64_t>(m_nextFree, position + need);
    if (end > std::numeric_limits<std::uint32_t>::max()) {
        reportError(m_path.string(), "Memodatei " + name + " ist voll");
        return std::nullopt;
    }

    std::vector<unsigned char> buf(static_cast<std::size_t>(need) * m_blockSize, 0);
    putBE32(buf.data(), type);
    putBE32(buf.data() + 4, static_cast<std::uint32_t>(data.size()));
    std::memcpy(buf.data() + 8, data.data(), data.size());
    if (!io::writeAt(m_fd, buf.data(), buf.size(), static_cast<off_t>(position * m_blockSize))) {
        reportError(m_path.string(), "Memodatei " + name + " lässt sich nicht schreiben: " + io::lastError());
        return std::nullopt;
    }
    if (end != m_nextFree) {
        m_nextFree = static_cast<std::uint32_t>(end);
        if (!writeNextFree()) return std::nullopt;
    }
    return static_cast<std::uint32_t>(position);
}

bool MemoFile::reset() {
    if (!m_writable || m_kind == Kind::Dbt) {
        reportError(m_path.string(), "Memodatei " + io::displayName(m_path) + " kann nicht geschrieben werden");
        return false;
    }
    m_nextFree = headerBlocks();
    if (!writeNextFree()) return false;
    if (!io::truncate(m_fd, static_cast<off_t>(std::uint64_t(m_nextFree) * m_blockSize))) {
        reportError(m_path.string(),
                    "Memodatei " + io::displayName(m_path) + " lässt sich nicht kürzen: " + io::lastError());
        return false;
    }
    return true;
}

int MemoFile::releaseFd() {
    return std::exchange(m_fd, -1);
}

} // namespace store
