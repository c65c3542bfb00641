#include "cdx.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "store/byteorder.h"
#include "store/error.h"
#include "store/fileio.h"

namespace store {

using endian::getBE32;
using endian::getLE16;
using endian::getLE32;
using endian::putBE32;
using endian::putLE16;
using endian::putLE32;

namespace {

constexpr std::uint32_t kPageSize = 512;
constexpr std::uint32_t kHeaderSize = 1024;
constexpr std::uint32_t kNoPage = 0xFFFFFFFF;
constexpr std::size_t kLeafSpace = 488;     // a leaf page less its 24 header bytes
constexpr std::size_t kInteriorSpace = 500; // an interior page less its 12 header bytes
constexpr std::size_t kDirectoryKeyLength = 10;
constexpr std::size_t kExpressionPool = 512;

unsigned char* bytes(std::string& s, std::size_t at) {
    return reinterpret_cast<unsigned char*>(s.data()) + at;
}

std::uint64_t lowMask(unsigned bits) {
    return bits >= 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << bits) - 1;
}

std::string fileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

char upperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (upperAscii(a[i]) != upperAscii(b[i])) return false;
    return true;
}

// Sorting fixed-size records through a fixed-size value type lets std::sort move and compare them inline. Records are
// zero-padded up to N bytes; equal padding does not change the memcmp order.
template <std::size_t N> void sortPadded(char* records, std::size_t count, std::size_t stride) {
    struct Slab {
        unsigned char b[N];
    };
    std::vector<Slab> slabs(count);
    for (std::size_t i = 0; i < count; ++i)
        std::memcpy(slabs[i].b, records + i * stride, stride);
    std::sort(slabs.begin(), slabs.end(), [](const Slab& a, const Slab& b) { return std::memcmp(a.b, b.b, N) < 0; });
    for (std::size_t i = 0; i < count; ++i)
        std::memcpy(records + i * stride, slabs[i].b, stride);
}

void sortRecords(char* records, std::size_t count, std::size_t stride) {
    if (stride <= 8) return sortPadded<8>(records, count, stride);
    if (stride <= 16) return sortPadded<16>(records, count, stride);
    if (stride <= 24) return sortPadded<24>(records, count, stride);
    if (stride <= 32) return sortPadded<32>(records, count, stride);
    if (stride <= 48) return sortPadded<48>(records, count, stride);
    if (stride <= 64) return sortPadded<64>(records, count, stride);
    if (stride <= 96) return sortPadded<96>(records, count, stride);
    if (stride <= 128) return sortPadded<128>(records, count, stride);
    if (stride <= 176) return sortPadded<176>(records, count, stride);
    return sortPadded<kCdxMaxKeyLength + 8>(records, count, stride);
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// Keys

char keyFillByte(KeyType type) {
    return type == KeyType::Character ? ' ' : '\0';
}

std::string encodeNumberKey(double number) {
    if (number == 0.0) number = 0.0; // -0 must meet +0
    std::uint64_t bits;
    std::memcpy(&bits, &number, sizeof bits);
    bits = (bits >> 63) ? ~bits : bits | (std::uint64_t(1) << 63);
    std::string out(8, '\0');
    endian::putBE64(out.data(), bits);
    return out;
}

double decodeNumberKey(std::string_view key) {
    if (key.size() < 8) return 0.0;
    std::uint64_t bits = endian::getBE64(key.data());
    bits = (bits >> 63) ? bits & ~(std::uint64_t(1) << 63) : ~bits;
    double number;
    std::memcpy(&number, &bits, sizeof number);
    return number;
}

std::string encodeKey(const Value& value, KeyType type, int keyLength) {
    std::string key;
    switch (type) {
    case KeyType::Character:
        if (value.isText()) key = value.asText();
        break;
    case KeyType::Numeric:
    case KeyType::Date:
        key = encodeNumberKey(value.isText() ? 0.0 : value.asNumber());
        break;
    case KeyType::Logical:
        key = (!value.isText() && value.asLogical()) ? "T" : "F";
        break;
    }
    key.resize(static_cast<std::size_t>(std::max(keyLength, 0)), keyFillByte(type));
    return key;
}

// ---------------------------------------------------------------------------------------------------------------
// CdxKeyList

CdxKeyList::CdxKeyList(const CdxTag& tag) : m_keyLength(tag.m_keyLength), m_fill(tag.m_fill) {}

void CdxKeyList::reserve(std::size_t count) {
    m_records.reserve(count * (m_keyLength + 4));
}

void CdxKeyList::add(std::string_view key, std::uint32_t recno) {
    std::size_t at = m_records.size();
    m_records.resize(at + m_keyLength + 4);
    char* out = m_records.data() + at;
    std::size_t n = std::min(key.size(), m_keyLength);
    std::memcpy(out, key.data(), n);
    std::memset(out + n, m_fill, m_keyLength - n);
    putBE32(out + m_keyLength, recno);
    ++m_count;
}

// ---------------------------------------------------------------------------------------------------------------
// CdxTag

CdxTag::CdxTag(std::string name, std::string keyExpression, std::string forExpression, KeyType keyType, int keyLength,
               bool unique, bool descending)
    : m_name(std::move(name)), m_keyExpression(std::move(keyExpression)), m_forExpression(std::move(forExpression)),
      m_keyType(keyType), m_keyLength(static_cast<std::size_t>(std::clamp(keyLength, 1, kCdxMaxKeyLength))),
      m_fill(keyFillByte(keyType)), m_unique(unique), m_descending(descending), m_stride(m_keyLength + 4),
      m_blockCapacity(std::max<std::size_t>(16, 8192 / m_stride)) {}

CdxTag::~CdxTag() = default;

void CdxTag::makeRecord(std::string_view key, std::uint32_t recno, char* out) const {
    std::size_t n = std::min(key.size(), m_keyLength);
    std::memcpy(out, key.data(), n);
    std::memset(out + n, m_fill, m_keyLength - n);
    putBE32(out + m_keyLength, recno);
}

CdxTag::Block CdxTag::newBlock() const {
    Block b;
    b.data = std::make_unique_for_overwrite<char[]>(m_blockCapacity * m_stride);
    return b;
}

CdxTag::Pos CdxTag::lowerBound(const char* probe, std::size_t len) const {
    std::size_t lo = 0, hi = m_blocks.size();
    while (lo < hi) {
        std::size_t mid = lo + (hi - lo) / 2;
        if (std::memcmp(record(mid, m_blocks[mid].count - 1), probe, len) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == m_blocks.size()) return {lo, 0};
    std::size_t l = 0, h = m_blocks[lo].count;
    while (l < h) {
        std::size_t mid = l + (h - l) / 2;
        if (std::memcmp(record(lo, mid), probe, len) < 0)
            l = mid + 1;
        else
            h = mid;
    }
    return {lo, l};
}

void CdxTag::adoptSorted(const char* records, std::size_t count) {
    m_blocks.clear();
    // Leave room in each block so that the first inserts after a build do not split every block.
    std::size_t perBlock = m_blockCapacity - m_blockCapacity / 8;
    for (std::size_t done = 0; done < count;) {
        std::size_t n = std::min(perBlock, count - done);
        Block b = newBlock();
        std::memcpy(b.data.get(), records + done * m_stride, n * m_stride);
        b.count = n;
        m_blocks.push_back(std::move(b));
        done += n;
    }
    m_size = count;
}

void CdxTag::build(CdxKeyList keys) {
    if (keys.m_keyLength != m_keyLength || keys.m_fill != m_fill) {
        // A list made for another tag: bring its keys to this tag's length and padding.
        CdxKeyList mine(*this);
        mine.reserve(keys.m_count);
        for (std::size_t i = 0; i < keys.m_count; ++i) {
            const char* r = keys.m_records.data() + i * (keys.m_keyLength + 4);
            std::string_view key(r, keys.m_keyLength);
            while (!key.empty() && key.back() == keys.m_fill)
                key.remove_suffix(1);
            mine.add(key, getBE32(reinterpret_cast<const unsigned char*>(r + keys.m_keyLength)));
        }
        keys = std::move(mine);
    }
    char* recs = keys.m_records.data();
    std::size_t count = keys.m_count;
    sortRecords(recs, count, m_stride);
    // Drop repeated entries; a unique tag keeps only the first (lowest record number) of each key.
    std::size_t kept = 0;
    std::size_t compareLen = m_unique ? m_keyLength : m_stride;
    for (std::size_t i = 0; i < count; ++i) {
        char* r = recs + i * m_stride;
        if (kept > 0 && std::memcmp(recs + (kept - 1) * m_stride, r, compareLen) == 0) continue;
        if (kept != i) std::memcpy(recs + kept * m_stride, r, m_stride);
        ++kept;
    }
    adoptSorted(recs, kept);
    changed();
}

void CdxTag::build(const std::vector<CdxEntry>& entries) {
    CdxKeyList keys(*this);
    keys.reserve(entries.size());
    for (const CdxEntry& e : entries)
        keys.add(e.key, e.recno);
    build(std::move(keys));
}

void CdxTag::clear() {
    m_blocks.clear();
    m_size = 0;
    changed();
}

bool CdxTag::insert(std::string_view key, std::uint32_t recno) {
    std::array<char, kCdxMaxKeyLength + 4> rec;
    makeRecord(key, recno, rec.data());
    if (m_unique) {
        Pos p = lowerBound(rec.data(), m_keyLength);
        if (p.block < m_blocks.size() && std::memcmp(record(p.block, p.index), rec.data(), m_keyLength) == 0)
            return false;
    }
    Pos p = lowerBound(rec.data(), m_stride);
    if (p.block < m_blocks.size() && std::memcmp(record(p.block, p.index), rec.data(), m_stride) == 0) return false;
    if (m_blocks.empty()) {
        m_blocks.push_back(newBlock());
        p = {0, 0};
    } else if (p.block == m_blocks.size()) {
        p = {m_blocks.size() - 1, m_blocks.back().count};
    }
    if (m_blocks[p.block].count == m_blockCapacity) {
        Block& full = m_blocks[p.block];
        std::size_t half = full.count / 2;
        Block upper = newBlock();
        upper.count = full.count - half;
        std::memcpy(upper.data.get(), full.data.get() + half * m_stride, upper.count * m_stride);
        full.count = half;
        m_blocks.insert(m_blocks.begin() + static_cast<std::ptrdiff_t>(p.block) + 1, std::move(upper));
        if (p.index > half) p = {p.block + 1, p.index - half};
    }
    Block& b = m_blocks[p.block];
    char* at = b.data.get() + p.index * m_stride;
    std::memmove(at + m_stride, at, (b.count - p.index) * m_stride);
    std::memcpy(at, rec.data(), m_stride);
    ++b.count;
    ++m_size;
    changed();
    return true;
}

bool CdxTag::erase(std::string_view key, std::uint32_t recno) {
    std::array<char, kCdxMaxKeyLength + 4> rec;
    makeRecord(key, recno, rec.data());
    Pos p = lowerBound(rec.data(), m_stride);
    if (p.block == m_blocks.size() || std::memcmp(record(p.block, p.index), rec.data(), m_stride) != 0) return false;
    Block& b = m_blocks[p.block];
    char* at = b.data.get() + p.index * m_stride;
    std::memmove(at, at + m_stride, (b.count - p.index - 1) * m_stride);
    --b.count;
    --m_size;
    auto blockAt = [this](std::size_t i) { return m_blocks.begin() + static_cast<std::ptrdiff_t>(i); };
    if (b.count == 0) {
        m_blocks.erase(blockAt(p.block));
    } else if (b.count < m_blockCapacity / 4) {
        // Merge a thin block into a neighbour so that erasing does not leave many near-empty blocks behind.
        const std::size_t limit = m_blockCapacity * 3 / 4;
        auto fits = [&](std::size_t other) { return b.count + m_blocks[other].count <= limit; };
        std::size_t left = m_blocks.size(); // of the pair to merge; none yet
        if (p.block + 1 < m_blocks.size() && fits(p.block + 1))
            left = p.block;
        else if (p.block > 0 && fits(p.block - 1))
            left = p.block - 1;
        if (left < m_blocks.size()) {
            Block& into = m_blocks[left];
            Block& from = m_blocks[left + 1];
            std::memcpy(into.data.get() + into.count * m_stride, from.data.get(), from.count * m_stride);
            into.count += from.count;
            m_blocks.erase(blockAt(left + 1));
        }
    }
    changed();
    return true;
}

bool CdxTag::contains(std::string_view key, std::uint32_t recno) const {
    std::array<char, kCdxMaxKeyLength + 4> rec;
    makeRecord(key, recno, rec.data());
    Pos p = lowerBound(rec.data(), m_stride);
    return p.block < m_blocks.size() && std::memcmp(record(p.block, p.index), rec.data(), m_stride) == 0;
}

std::vector<CdxEntry> CdxTag::entries() const {
    std::vector<CdxEntry> out;
    out.reserve(m_size);
    for (std::size_t b = 0; b < m_blocks.size(); ++b)
        for (std::size_t i = 0; i < m_blocks[b].count; ++i) {
            const char* r = record(b, i);
            out.push_back(
                {std::string(r, m_keyLength), getBE32(reinterpret_cast<const unsigned char*>(r + m_keyLength))});
        }
    return out;
}

bool CdxTag::isPrefixMatch(std::string_view key, std::string_view value) {
    std::size_t n = std::min(key.size(), value.size());
    return std::memcmp(key.data(), value.data(), n) == 0;
}

// ---------------------------------------------------------------------------------------------------------------
// CdxTag::Cursor

CdxTag::Cursor::Cursor(const CdxTag& tag) : m_tag(&tag), m_version(tag.m_version) {
    m_saved.reserve(tag.m_stride);
}

void CdxTag::Cursor::setEnd() const {
    m_state = State::End;
    m_between = false;
    m_version = m_tag->m_version;
}

bool CdxTag::Cursor::landOn(std::size_t block, std::size_t index) const {
    if (block >= m_tag->m_blocks.size()) {
        setEnd();
        return false;
    }
    m_state = State::On;
    m_block = block;
    m_index = index;
    m_between = false;
    m_version = m_tag->m_version;
    m_saved.assign(m_tag->record(block, index), m_tag->m_stride);
    return true;
}

void CdxTag::Cursor::sync() const {
    if (m_version == m_tag->m_version) return;
    m_version = m_tag->m_version;
    if (m_state != State::On) return;
    Pos p = m_tag->lowerBound(m_saved.data(), m_tag->m_stride);
    if (p.block == m_tag->m_blocks.size()) {
        m_state = State::End;
        m_between = false;
        return;
    }
    m_block = p.block;
    m_index = p.index;
    // m_saved keeps the vanished entry, so that a further change finds this same gap again.
    m_between = std::memcmp(m_tag->record(p.block, p.index), m_saved.data(), m_tag->m_stride) != 0;
}

bool CdxTag::Cursor::first() {
    return landOn(0, 0);
}

bool CdxTag::Cursor::last() {
    if (m_tag->m_blocks.empty()) {
        setEnd();
        return false;
    }
    std::size_t b = m_tag->m_blocks.size() - 1;
    return landOn(b, m_tag->m_blocks[b].count - 1);
}

bool CdxTag::Cursor::next() {
    sync();
    switch (m_state) {
    case State::Begin:
        return first();
    case State::End:
        return false;
    case State::On:
        break;
    }
    if (m_between) return landOn(m_block, m_index);
    if (m_index + 1 < m_tag->m_blocks[m_block].count) return landOn(m_block, m_index + 1);
    return landOn(m_block + 1, 0);
}

bool CdxTag::Cursor::prev() {
    sync();
    switch (m_state) {
    case State::Begin:
        return false;
    case State::End:
        return last();
    case State::On:
        break;
    }
    if (m_index > 0) return landOn(m_block, m_index - 1);
    if (m_block > 0) return landOn(m_block - 1, m_tag->m_blocks[m_block - 1].count - 1);
    m_state = State::Begin;
    m_between = false;
    return false;
}

bool CdxTag::Cursor::seek(std::string_view value) {
    if (value.size() > m_tag->m_keyLength) value = value.substr(0, m_tag->m_keyLength);
    Pos p = m_tag->lowerBound(value.data(), value.size());
    return landOn(p.block, p.index);
}

bool CdxTag::Cursor::seekEntry(std::string_view key, std::uint32_t recno) {
    std::array<char, kCdxMaxKeyLength + 4> rec;
    m_tag->makeRecord(key, recno, rec.data());
    Pos p = m_tag->lowerBound(rec.data(), m_tag->m_stride);
    return landOn(p.block, p.index) && std::memcmp(m_saved.data(), rec.data(), m_tag->m_stride) == 0;
}

bool CdxTag::Cursor::valid() const {
    sync();
    return m_state == State::On;
}

bool CdxTag::Cursor::atBegin() const {
    sync();
    return m_state == State::Begin;
}

bool CdxTag::Cursor::atEnd() const {
    sync();
    return m_state == State::End;
}

std::string_view CdxTag::Cursor::key() const {
    if (!valid()) return {};
    return {m_tag->record(m_block, m_index), m_tag->m_keyLength};
}

std::uint32_t CdxTag::Cursor::recno() const {
    if (!valid()) return 0;
    return getBE32(reinterpret_cast<const unsigned char*>(m_tag->record(m_block, m_index) + m_tag->m_keyLength));
}

// ---------------------------------------------------------------------------------------------------------------
// Reading

namespace {

// Walks the pages of an index image. Every page may belong to one thing only, which also stops loops in the links.
class IndexReader {
public:
    explicit IndexReader(std::string_view image)
        : m_data(reinterpret_cast<const unsigned char*>(image.data())), m_size(image.size()),
          m_used(image.size() / kPageSize, false) {}

    const std::string& error() const { return m_error; }
    const unsigned char* at(std::uint32_t offset) const { return m_data + offset; }

    bool claim(std::uint32_t offset, std::uint32_t pages, const std::string& what) {
        if (offset % kPageSize != 0)
            return fail(what + " an Position " + hex(offset) + " beginnt nicht an einer 512-Byte-Grenze");
        if (std::uint64_t(offset) + std::uint64_t(pages) * kPageSize > m_size)
            return fail(what + " an Position " + hex(offset) + " liegt außerhalb der Datei");
        for (std::uint32_t i = 0; i < pages; ++i) {
            std::size_t page = offset / kPageSize + i;
            if (m_used[page]) return fail(what + " an Position " + hex(offset) + " wird zweimal erreicht");
            m_used[page] = true;
        }
        return true;
    }

    // Appends the entries of the tree below root as records of key + big-endian recno. With `ordered`, the entries
    // must ascend and every interior entry must separate its child from the next: child <= entry < next child.
    bool readTree(std::uint32_t root, std::size_t keyLength, char fill, bool ordered, std::vector<char>& records,
                  std::size_t& count) {
        const std::size_t stride = keyLength + 4;
        struct Step {
            std::uint32_t offset;
            const unsigned char* separator; // set: the child before it is complete, check it
        };
        std::vector<Step> pending{{root, nullptr}};
        std::uint32_t previousLeaf = kNoPage;
        std::uint32_t expectedLeaf = kNoPage; // the right sibling the previous leaf announced
        bool sawLeaf = false;
        m_bound = nullptr;
        while (!pending.empty()) {
            Step step = pending.back();
            pending.pop_back();
            if (step.separator) {
                if (count > 0 && std::memcmp(records.data() + (count - 1) * stride, step.separator, stride) > 0)
                    return fail("ein innerer Knoten begrenzt die Schlüssel seines Kindknotens an " + hex(step.offset) +
                                " nicht");
                m_bound = step.separator;
                continue;
            }
            std::uint32_t offset = step.offset;
            if (!claim(offset, 1, "Knoten")) return false;
            const unsigned char* p = at(offset);
            unsigned attributes = getLE16(p);
            std::size_t keys = getLE16(p + 2);
            if (attributes > 3)
                return fail("Knoten an " + hex(offset) + " hat das ungültige Attribut " + hex(attributes));
            if (attributes & 2) {
                std::uint32_t left = none(getLE32(p + 4)), right = none(getLE32(p + 8));
                if ((sawLeaf && (expectedLeaf != offset || left != previousLeaf)) || (!sawLeaf && left != kNoPage))
                    return fail("Blatt an " + hex(offset) + " ist nicht mit seinen Nachbarn verkettet");
                if (!readLeaf(offset, keyLength, fill, ordered, records, count)) return false;
                sawLeaf = true;
                previousLeaf = offset;
                expectedLeaf = right;
            } else {
                std::size_t entrySize = keyLength + 8;
                if (keys == 0 || keys > kInteriorSpace / entrySize)
                    return fail("innerer Knoten an " + hex(offset) + " nennt " + std::to_string(keys) +
                                " Schlüssel, die nicht hineinpassen");
                for (std::size_t i = keys; i-- > 0;) {
                    const unsigned char* entry = p + 12 + i * entrySize;
                    std::uint32_t child = getBE32(entry + keyLength + 4);
                    if (ordered) pending.push_back({child, entry});
                    pending.push_back({child, nullptr});
                }
            }
        }
        if (!sawLeaf || expectedLeaf != kNoPage)
            return fail("das letzte Blatt vor " + hex(expectedLeaf) + " ist nicht mit seinen Nachbarn verkettet");
        return true;
    }

    bool fail(const std::string& message) {
        if (m_error.empty()) m_error = message;
        return false;
    }

    static std::string hex(std::uint32_t v) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "0x%X", v);
        return buf;
    }

private:
    static std::uint32_t none(std::uint32_t link) { return link == 0 ? kNoPage : link; }

    bool readLeaf(std::uint32_t offset, std::size_t keyLength, char fill, bool ordered, std::vector<char>& records,
                  std::size_t& count) {
        const unsigned char* p = at(offset);
        std::size_t keys = getLE16(p + 2);
        unsigned rb = p[20], db = p[21], tb = p[22], eb = p[23];
        if (eb < 2 || eb > 6 || db > 8 || tb > 8 || rb == 0 || rb + db + tb != 8 * eb)
            return fail("Blatt an " + hex(offset) + " hat unmögliche Eintragsbreiten");
        if (keys * eb > kLeafSpace)
            return fail("Blatt an " + hex(offset) + " nennt " + std::to_string(keys) +
                        " Schlüssel, mehr als hineinpassen");
        const std::size_t stride = keyLength + 4;
        const std::size_t entriesEnd = 24 + keys * eb;
        std::size_t keyPos = kPageSize;
        std::size_t previous = records.size(); // start of the previous key of this leaf
        for (std::size_t i = 0; i < keys; ++i) {
            const std::uint64_t v = endian::getLE(p + 24 + i * eb, eb);
            std::uint64_t recno = v & lowMask(rb);
            std::size_t dup = (v >> rb) & lowMask(db);
            std::size_t trail = (v >> (rb + db)) & lowMask(tb);
            if (dup + trail > keyLength || (i == 0 && dup > 0) || recno > 0xFFFFFFFFu)
                return fail("Blatt an " + hex(offset) + " hat einen unmöglichen Eintrag Nr. " + std::to_string(i));
            std::size_t fresh = keyLength - dup - trail;
            if (keyPos < entriesEnd + fresh)
                return fail("Schlüsselbytes des Blatts an " + hex(offset) + " überlappen seine Einträge");
            keyPos -= fresh;
            std::size_t start = records.size();
            records.resize(start + stride);
            char* r = records.data() + start;
            if (dup > 0) std::memcpy(r, records.data() + previous, dup);
            std::memcpy(r + dup, p + keyPos, fresh);
            std::memset(r + dup + fresh, fill, trail);
            putBE32(r + keyLength, static_cast<std::uint32_t>(recno));
            if (ordered && ((count > 0 && std::memcmp(r - stride, r, stride) >= 0) ||
                            (m_bound && std::memcmp(m_bound, r, stride) >= 0)))
                return fail("Schlüssel außer der Reihe im Blatt an " + hex(offset));
            m_bound = nullptr;
            previous = start;
            ++count;
        }
        return true;
    }

    const unsigned char* m_data;
    std::size_t m_size;
    std::vector<bool> m_used;
    std::string m_error;
    const unsigned char* m_bound = nullptr; // the next key must be greater: the separator of the child before
};

bool readWholeFile(const std::string& path, std::string& out, std::string& error) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = io::lastError();
        return false;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "keine gewöhnliche Datei";
        ::close(fd);
        return false;
    }
    out.clear();
    char buf[65536];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            error = io::lastError();
            ::close(fd);
            return false;
        }
        if (n == 0) break;
        out.append(buf, static_cast<std::size_t>(n));
        if (out.size() > 0xFFFFFFFFu) {
            error = "größer als 4 GB";
            ::close(fd);
            return false;
        }
    }
    ::close(fd);
    return true;
}

// The text of one expression in a tag header's pool; false when its place lies outside the pool.
bool poolText(const unsigned char* header, unsigned offsetAt, unsigned lengthAt, std::string& out) {
    std::size_t offset = getLE16(header + offsetAt), length = getLE16(header + lengthAt);
    if (offset + length > kExpressionPool) return false;
    const char* text = reinterpret_cast<const char*>(header + kPageSize + offset);
    out.assign(text, strnlen(text, length));
    return true;
}

} // namespace

std::unique_ptr<CdxFile> CdxFile::open(const std::string& path, const KeyTypeOf& keyTypeOf) {
    const std::string name = fileName(path);
    std::string image, error;
    if (!readWholeFile(path, image, error)) {
        reportError(path, "Der Index " + name + " lässt sich nicht lesen: " + error);
        return nullptr;
    }
    auto broken = [&](const std::string& problem) {
        reportError(path, "Der Index " + name + " ist beschädigt: " + problem);
        return nullptr;
    };
    if (image.size() < kHeaderSize + kPageSize) return broken("die Datei ist zu kurz");

    IndexReader reader(image);
    reader.claim(0, 2, "Kopf des Tag-Verzeichnisses");
    const unsigned char* dir = reader.at(0);
    std::size_t dirKeyLength = getLE16(dir + 12);
    if (dirKeyLength == 0 || dirKeyLength > kCdxMaxKeyLength)
        return broken("das Tag-Verzeichnis hat die Schlüssellänge " + std::to_string(dirKeyLength));
    std::vector<char> dirRecords;
    std::size_t dirCount = 0;
    if (!reader.readTree(getLE32(dir), dirKeyLength, ' ', false, dirRecords, dirCount))
        return broken("Tag-Verzeichnis: " + reader.error());

    std::vector<std::pair<std::uint32_t, std::unique_ptr<CdxTag>>> found;
    std::vector<char> records;
    for (std::size_t i = 0; i < dirCount; ++i) {
        const char* r = dirRecords.data() + i * (dirKeyLength + 4);
        std::string tagName(r, dirKeyLength);
        while (!tagName.empty() && (tagName.back() == ' ' || tagName.back() == '\0'))
            tagName.pop_back();
        std::uint32_t headerAt = getBE32(reinterpret_cast<const unsigned char*>(r + dirKeyLength));
        if (tagName.empty()) return broken("das Tag-Verzeichnis enthält einen leeren Namen");
        for (const auto& other : found)
            if (equalNoCase(other.second->name(), tagName)) return broken("das Tag " + tagName + " kommt doppelt vor");
        if (!reader.claim(headerAt, 2, "Kopf des Tags " + tagName)) return broken(reader.error());
        const unsigned char* h = reader.at(headerAt);
        std::size_t keyLength = getLE16(h + 12);
        unsigned options = h[14];
        if (keyLength == 0 || keyLength > kCdxMaxKeyLength)
            return broken("das Tag " + tagName + " hat die Schlüssellänge " + std::to_string(keyLength));
        if (!(options & 0x20)) return broken("das Tag " + tagName + " ist nicht im kompakten Format");
        std::string keyExpression, forExpression;
        if (!poolText(h, 508, 510, keyExpression) || !poolText(h, 504, 506, forExpression))
            return broken("die Ausdrücke des Tags " + tagName + " liegen außerhalb seines Kopfes");
        KeyType type = keyTypeOf ? keyTypeOf(keyExpression) : KeyType::Character;
        auto tag = std::make_unique<CdxTag>(tagName, keyExpression, forExpression, type, static_cast<int>(keyLength),
                                            (options & 0x01) != 0, getLE16(h + 502) == 1);
        records.clear();
        std::size_t count = 0;
        if (!reader.readTree(getLE32(h), keyLength, tag->fillByte(), true, records, count))
            return broken("Tag " + tagName + ": " + reader.error());
        tag->adoptSorted(records.data(), count);
        found.emplace_back(headerAt, std::move(tag));
    }
    // Creation order is the order of the headers in the file.
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    std::unique_ptr<CdxFile> file(new CdxFile(path));
    file->m_changeCounter = getBE32(dir + 8);
    for (auto& f : found) {
        f.second->m_savedVersion = f.second->m_version;
        file->m_tags.push_back(std::move(f.second));
    }
    return file;
}

// ---------------------------------------------------------------------------------------------------------------
// Writing

namespace {

struct LeafWidths {
    unsigned entryBytes, recnoBits, countBits;
};

// Duplicate and trailing counts get as many bits as the key length needs; the record number gets the rest of the
// smallest entry that holds the largest record number of the leaf.
LeafWidths leafWidths(std::size_t keyLength, std::uint32_t maxRecno) {
    unsigned countBits = 0;
    while ((keyLength >> countBits) != 0)
        ++countBits;
    unsigned entryBytes = countBits <= 8 ? 3 : (countBits <= 12 ? 4 : 5);
    unsigned recnoBits = 8 * entryBytes - 2 * countBits;
    while (recnoBits < 32 && maxRecno > lowMask(recnoBits)) {
        ++entryBytes;
        recnoBits += 8;
    }
    return {entryBytes, recnoBits, countBits};
}

// Packs sorted keys into one compressed leaf page, as full as it gets.
class LeafPacker {
public:
    LeafPacker(std::size_t keyLength, char fill, bool compressTrail)
        : m_keyLength(keyLength), m_fill(fill), m_compressTrail(compressTrail) {}

    void reset() {
        m_count = 0;
        m_keyBytes = 0;
        m_maxRecno = 0;
    }
    std::size_t count() const { return m_count; }
    const char* lastKey() const { return m_previous.data(); }
    std::uint32_t lastRecno() const { return m_entries[m_count - 1].recno; }

    // False when the key no longer fits; an empty leaf takes any key.
    bool add(const char* key, std::uint32_t recno) {
        std::size_t trail = 0;
        while (m_compressTrail && trail < m_keyLength && key[m_keyLength - 1 - trail] == m_fill)
            ++trail;
        std::size_t dup = 0;
        if (m_count > 0) {
            // Not counting shared bytes that are trailing fill of either key: the files FoxPro writes do the same.
            std::size_t cap = m_keyLength - std::max(trail, m_previousTrail);
            while (dup < cap && key[dup] == m_previous[dup])
                ++dup;
        }
        std::size_t fresh = m_keyLength - dup - trail;
        LeafWidths w = leafWidths(m_keyLength, std::max(m_maxRecno, recno));
        if (m_count > 0 && (m_count + 1) * w.entryBytes + m_keyBytes + fresh > kLeafSpace) return false;
        m_keyBytes += fresh;
        std::memcpy(m_keyArea.data() + kPageSize - m_keyBytes, key + dup, fresh);
        m_entries[m_count++] = {recno, static_cast<std::uint8_t>(dup), static_cast<std::uint8_t>(trail)};
        m_maxRecno = std::max(m_maxRecno, recno);
        std::memcpy(m_previous.data(), key, m_keyLength);
        m_previousTrail = trail;
        return true;
    }

    void store(unsigned char* page, unsigned attributes, std::uint32_t left, std::uint32_t right) const {
        LeafWidths w = leafWidths(m_keyLength, m_maxRecno);
        std::memset(page, 0, kPageSize);
        putLE16(page, attributes);
        putLE16(page + 2, static_cast<std::uint32_t>(m_count));
        putLE32(page + 4, left);
        putLE32(page + 8, right);
        putLE16(page + 12, static_cast<std::uint32_t>(kLeafSpace - m_count * w.entryBytes - m_keyBytes));
        putLE32(page + 14, static_cast<std::uint32_t>(lowMask(w.recnoBits)));
        page[18] = page[19] = static_cast<unsigned char>(lowMask(w.countBits));
        page[20] = static_cast<unsigned char>(w.recnoBits);
        page[21] = page[22] = static_cast<unsigned char>(w.countBits);
        page[23] = static_cast<unsigned char>(w.entryBytes);
        for (std::size_t i = 0; i < m_count; ++i) {
            const Entry& e = m_entries[i];
            std::uint64_t v = std::uint64_t(e.recno) | std::uint64_t(e.dup) << w.recnoBits |
                              std::uint64_t(e.trail) << (w.recnoBits + w.countBits);
            endian::putLE(page + 24 + i * w.entryBytes, v, w.entryBytes);
        }
        std::memcpy(page + kPageSize - m_keyBytes, m_keyArea.data() + kPageSize - m_keyBytes, m_keyBytes);
    }

private:
    struct Entry {
        std::uint32_t recno;
        std::uint8_t dup, trail;
    };
    std::size_t m_keyLength;
    char m_fill;
    bool m_compressTrail;
    std::size_t m_count = 0;
    std::size_t m_keyBytes = 0;
    std::uint32_t m_maxRecno = 0;
    std::size_t m_previousTrail = 0;
    std::array<char, kCdxMaxKeyLength> m_previous{};
    std::array<char, kPageSize> m_keyArea{};
    std::array<Entry, kLeafSpace / 3 + 1> m_entries{};
};

// Appends the B+-tree of the sorted entries that next(key, recno) delivers to out; its first page gets the file offset
// `base`. Leaves are filled left to right, then each parent level from the last entries of its children. Returns the
// root's offset.
template <class Next>
std::uint32_t appendTree(std::string& out, std::uint32_t base, std::size_t keyLength, char fill, bool compressTrail,
                         Next next) {
    const std::size_t start = out.size();
    auto newPage = [&]() {
        std::uint32_t offset = base + static_cast<std::uint32_t>(out.size() - start);
        out.append(kPageSize, '\0');
        return offset;
    };
    struct Level {
        std::vector<char> keys;
        std::vector<std::uint32_t> recnos, offsets;
        void add(const char* key, std::size_t keyLength, std::uint32_t recno, std::uint32_t offset) {
            keys.insert(keys.end(), key, key + keyLength);
            recnos.push_back(recno);
            offsets.push_back(offset);
        }
    };
    Level children;
    LeafPacker leaf(keyLength, fill, compressTrail);
    std::uint32_t previous = kNoPage;
    const char* key;
    std::uint32_t recno;
    while (next(key, recno)) {
        if (leaf.add(key, recno)) continue;
        std::uint32_t offset = newPage();
        leaf.store(bytes(out, out.size() - kPageSize), 2, previous, offset + kPageSize);
        children.add(leaf.lastKey(), keyLength, leaf.lastRecno(), offset);
        previous = offset;
        leaf.reset();
        leaf.add(key, recno);
    }
    std::uint32_t offset = newPage();
    if (children.offsets.empty()) {
        leaf.store(bytes(out, out.size() - kPageSize), 3, kNoPage, kNoPage);
        return offset;
    }
    leaf.store(bytes(out, out.size() - kPageSize), 2, previous, kNoPage);
    children.add(leaf.lastKey(), keyLength, leaf.lastRecno(), offset);

    const std::size_t entrySize = keyLength + 8;
    const std::size_t perNode = kInteriorSpace / entrySize;
    while (children.offsets.size() > 1) {
        Level parents;
        const std::size_t total = children.offsets.size();
        const std::size_t nodes = (total + perNode - 1) / perNode;
        previous = kNoPage;
        for (std::size_t n = 0; n < nodes; ++n) {
            std::size_t first = n * perNode, count = std::min(perNode, total - first);
            std::uint32_t at = newPage();
            unsigned char* page = bytes(out, out.size() - kPageSize);
            putLE16(page, nodes == 1 ? 1 : 0);
            putLE16(page + 2, static_cast<std::uint32_t>(count));
            putLE32(page + 4, previous);
            putLE32(page + 8, n + 1 < nodes ? at + kPageSize : kNoPage);
            for (std::size_t i = 0; i < count; ++i) {
                unsigned char* e = page + 12 + i * entrySize;
                std::memcpy(e, children.keys.data() + (first + i) * keyLength, keyLength);
                putBE32(e + keyLength, children.recnos[first + i]);
                putBE32(e + keyLength + 4, children.offsets[first + i]);
            }
            std::size_t last = first + count - 1;
            parents.add(children.keys.data() + last * keyLength, keyLength, children.recnos[last], at);
            previous = at;
        }
        children = std::move(parents);
    }
    return children.offsets[0];
}

void putExpressionPool(unsigned char* header, const std::string& keyExpression, const std::string& forExpression) {
    putLE16(header + 504, static_cast<std::uint32_t>(keyExpression.size() + 1));
    putLE16(header + 506, static_cast<std::uint32_t>(forExpression.size() + 1));
    putLE16(header + 508, 0);
    putLE16(header + 510, static_cast<std::uint32_t>(keyExpression.size() + 1));
    std::memcpy(header + kPageSize, keyExpression.data(), keyExpression.size());
    std::memcpy(header + kPageSize + keyExpression.size() + 1, forExpression.data(), forExpression.size());
}

// One tag as header + tree, with offsets counted from the start of its header.
std::string tagImage(const CdxTag& tag, const std::vector<const char*>& blocks,
                     const std::vector<std::size_t>& counts) {
    std::string out(kHeaderSize, '\0');
    const std::size_t keyLength = static_cast<std::size_t>(tag.keyLength());
    std::size_t block = 0, index = 0;
    auto next = [&](const char*& key, std::uint32_t& recno) {
        while (block < blocks.size() && index == counts[block]) {
            ++block;
            index = 0;
        }
        if (block == blocks.size()) return false;
        key = blocks[block] + index * (keyLength + 4);
        recno = getBE32(reinterpret_cast<const unsigned char*>(key + keyLength));
        ++index;
        return true;
    };
    // FoxPro keeps the trailing blanks of the keys of filtered tags in the leaves; doing the same keeps our files
    // byte for byte like FoxPro's.
    std::uint32_t root = appendTree(out, kHeaderSize, keyLength, tag.fillByte(), tag.forExpression().empty(), next);
    unsigned char* h = bytes(out, 0);
    putLE32(h, root);
    putLE16(h + 12, static_cast<std::uint32_t>(keyLength));
    h[14] = static_cast<unsigned char>(0x60 | (tag.forExpression().empty() ? 0 : 0x08) | (tag.unique() ? 0x01 : 0));
    h[15] = 1;
    putLE16(h + 502, tag.descending() ? 1 : 0);
    putExpressionPool(h, tag.keyExpression(), tag.forExpression());
    return out;
}

// Moves a tag image to its place in the file: every page link grows by delta.
void relocate(std::string& image, std::size_t keyLength, std::uint32_t delta) {
    auto shift = [delta](unsigned char* p, bool bigEndian) {
        std::uint32_t v = bigEndian ? getBE32(p) : getLE32(p);
        if (v == kNoPage) return;
        bigEndian ? putBE32(p, v + delta) : putLE32(p, v + delta);
    };
    shift(bytes(image, 0), false);
    for (std::size_t at = kHeaderSize; at < image.size(); at += kPageSize) {
        unsigned char* page = bytes(image, at);
        shift(page + 4, false);
        shift(page + 8, false);
        if (getLE16(page) & 2) continue;
        for (std::size_t i = 0, n = getLE16(page + 2); i < n; ++i)
            shift(page + 12 + i * (keyLength + 8) + keyLength + 4, true);
    }
}

bool writeFileReplacing(const std::string& path, const std::string& content, std::string& error) {
    auto temp = io::TempFile::create(path);
    // No fsync: an index holds nothing that the table does not, a damaged one is refused when it is opened and built
    // anew, and a flush to the disk would cost every training run's start several milliseconds. The rename still
    // makes a reader see either the old file or the new one.
    if (!temp || !io::writeAt(temp->fd(), content.data(), content.size(), 0) || !temp->commit(false)) {
        error = io::lastError();
        return false;
    }
    return true;
}

bool validTagName(const std::string& name) {
    if (name.empty() || name.size() > kDirectoryKeyLength) return false;
    if (!(std::isalpha(static_cast<unsigned char>(name[0])) || name[0] == '_')) return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

} // namespace

std::unique_ptr<CdxFile> CdxFile::create(const std::string& path) {
    std::unique_ptr<CdxFile> file(new CdxFile(path));
    if (!file->save()) {
        file->m_closed = true;
        return nullptr;
    }
    return file;
}

CdxFile::~CdxFile() {
    close();
}

std::vector<CdxTag*> CdxFile::tags() const {
    std::vector<CdxTag*> out;
    for (const auto& t : m_tags)
        out.push_back(t.get());
    return out;
}

CdxTag* CdxFile::tag(std::string_view name) const {
    for (const auto& t : m_tags)
        if (equalNoCase(t->name(), name)) return t.get();
    return nullptr;
}

CdxTag* CdxFile::addTag(const std::string& name, const std::string& keyExpression, const std::string& forExpression,
                        KeyType keyType, int keyLength, bool unique, bool descending) {
    const std::string file = fileName(m_path);
    if (!validTagName(name)) {
        reportError(m_path, "Der Tag-Name \"" + name + "\" ist im Index " + file + " nicht zulässig");
        return nullptr;
    }
    bool lengthOk = keyType == KeyType::Character ? (keyLength >= 1 && keyLength <= kCdxMaxKeyLength)
                                                  : keyLength == (keyType == KeyType::Logical ? 1 : 8);
    if (!lengthOk) {
        reportError(m_path, "Die Schlüssellänge " + std::to_string(keyLength) + " des Tags " + name +
                                " passt nicht zu seinem Schlüsseltyp im Index " + file);
        return nullptr;
    }
    if (keyExpression.empty() || keyExpression.size() + forExpression.size() + 2 > kExpressionPool ||
        keyExpression.find('\0') != std::string::npos || forExpression.find('\0') != std::string::npos) {
        reportError(m_path, "Die Ausdrücke des Tags " + name + " lassen sich im Index " + file + " nicht speichern");
        return nullptr;
    }
    std::string upper = name;
    for (char& c : upper)
        c = upperAscii(c);
    auto tag = std::make_unique<CdxTag>(upper, keyExpression, forExpression, keyType, keyLength, unique, descending);
    CdxTag* result = tag.get();
    auto same =
        std::find_if(m_tags.begin(), m_tags.end(), [&](const auto& t) { return equalNoCase(t->name(), upper); });
    if (same != m_tags.end())
        *same = std::move(tag);
    else
        m_tags.push_back(std::move(tag));
    m_dirty = true;
    return result;
}

bool CdxFile::removeTag(std::string_view name) {
    auto it = std::find_if(m_tags.begin(), m_tags.end(), [&](const auto& t) { return equalNoCase(t->name(), name); });
    if (it == m_tags.end()) return false;
    m_tags.erase(it);
    m_dirty = true;
    return true;
}

bool CdxFile::isDirty() const {
    return m_dirty ||
           std::any_of(m_tags.begin(), m_tags.end(), [](const auto& t) { return t->m_version != t->m_savedVersion; });
}

bool CdxFile::save() {
    if (m_closed) {
        reportError(m_path, "Der Index " + fileName(m_path) + " ist geschlossen und kann nicht geschrieben werden");
        return false;
    }
    std::vector<std::string> images;
    images.reserve(m_tags.size());
    for (const auto& t : m_tags) {
        std::vector<const char*> blocks;
        std::vector<std::size_t> counts;
        for (const auto& b : t->m_blocks) {
            blocks.push_back(b.data.get());
            counts.push_back(b.count);
        }
        images.push_back(tagImage(*t, blocks, counts));
    }

    // The directory lists the names in order, each with the offset of its tag's header.
    std::vector<std::size_t> byName(m_tags.size());
    for (std::size_t i = 0; i < byName.size(); ++i)
        byName[i] = i;
    auto paddedName = [this](std::size_t i) {
        std::string n = m_tags[i]->name();
        n.resize(kDirectoryKeyLength, ' ');
        return n;
    };
    std::sort(byName.begin(), byName.end(),
              [&](std::size_t a, std::size_t b) { return paddedName(a) < paddedName(b); });

    // The tag headers follow the directory, whose size depends on how large those offsets get: grow until it fits.
    std::string directory;
    std::vector<std::uint32_t> headerAt(m_tags.size());
    std::uint32_t dirRoot = 0;
    std::size_t dirPages = 1;
    for (;;) {
        std::uint64_t at = kHeaderSize + dirPages * kPageSize;
        for (std::size_t i = 0; i < images.size(); ++i) {
            headerAt[i] = static_cast<std::uint32_t>(at);
            at += images[i].size();
        }
        if (at > 0xFFFFFFFFu) {
            reportError(m_path, "Der Index " + fileName(m_path) + " würde größer als 4 GB");
            return false;
        }
        directory.clear();
        std::size_t k = 0;
        std::string name;
        auto next = [&](const char*& key, std::uint32_t& recno) {
            if (k == byName.size()) return false;
            name = paddedName(byName[k]);
            key = name.data();
            recno = headerAt[byName[k++]];
            return true;
        };
        dirRoot = appendTree(directory, kHeaderSize, kDirectoryKeyLength, ' ', true, next);
        if (directory.size() <= dirPages * kPageSize) break;
        dirPages = directory.size() / kPageSize;
    }
    directory.resize(dirPages * kPageSize, '\0');

    std::string content(kHeaderSize, '\0');
    unsigned char* h = bytes(content, 0);
    putLE32(h, dirRoot);
    putBE32(h + 8, m_changeCounter + 1);
    putLE16(h + 12, kDirectoryKeyLength);
    h[14] = 0xE0;
    h[15] = 1;
    putExpressionPool(h, std::string(), std::string());
    content += directory;
    for (std::size_t i = 0; i < images.size(); ++i) {
        relocate(images[i], static_cast<std::size_t>(m_tags[i]->keyLength()), headerAt[i]);
        content += images[i];
    }

    std::string error;
    if (!writeFileReplacing(m_path, content, error)) {
        reportError(m_path, "Der Index " + fileName(m_path) + " lässt sich nicht schreiben: " + error);
        return false;
    }
    ++m_changeCounter;
    m_dirty = false;
    for (const auto& t : m_tags)
        t->m_savedVersion = t->m_version;
    return true;
}

bool CdxFile::close() {
    if (m_closed) return true;
    bool ok = !isDirty() || save();
    m_closed = true;
    return ok;
}

} // namespace store
