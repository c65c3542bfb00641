#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "store/value.h"

namespace store {

// How the bytes of a tag's keys were made from its key expression.
enum class KeyType { Character, Numeric, Date, Logical };

// Longest key a 512-byte node can hold.
constexpr int kCdxMaxKeyLength = 240;

// The byte that pads keys of a type: blanks for text, zero bytes for the binary forms.
char keyFillByte(KeyType type);

// The index key of a value, always keyLength bytes. Text: its raw bytes, padded with blanks or cut. Numbers and dates
// (as Julian day numbers): 8 bytes that sort with memcmp in numeric order. Logicals: "T" or "F". A value of another
// type than the key counts as blank text, zero or false.
std::string encodeKey(const Value& value, KeyType type, int keyLength);
std::string encodeNumberKey(double number);
double decodeNumberKey(std::string_view key);

struct CdxEntry {
    std::string key;
    std::uint32_t recno = 0;
    friend bool operator==(const CdxEntry&, const CdxEntry&) = default;
};

class CdxTag;

// Keys collected for a bulk build, stored back to back in one buffer instead of one string per key.
class CdxKeyList {
public:
    explicit CdxKeyList(const CdxTag& tag);
    void reserve(std::size_t count);
    // The key is padded with the tag's fill byte or cut to its key length.
    void add(std::string_view key, std::uint32_t recno);
    std::size_t size() const { return m_count; }

private:
    friend class CdxTag;
    std::size_t m_keyLength;
    char m_fill;
    std::size_t m_count = 0;
    std::vector<char> m_records; // per entry: key bytes, then the record number big-endian
};

// One tag of a compound index, held completely in memory: its definition and its entries ordered by
// (key bytes, record number). Descending tags are kept in the same ascending order; the caller walks them backwards.
// Keys given to insert/erase are padded with the fill byte or cut to the key length first.
class CdxTag {
public:
    CdxTag(std::string name, std::string keyExpression, std::string forExpression, KeyType keyType, int keyLength,
           bool unique = false, bool descending = false);
    ~CdxTag();
    CdxTag(const CdxTag&) = delete;
    CdxTag& operator=(const CdxTag&) = delete;

    const std::string& name() const { return m_name; }
    const std::string& keyExpression() const { return m_keyExpression; }
    const std::string& forExpression() const { return m_forExpression; }
    KeyType keyType() const { return m_keyType; }
    int keyLength() const { return static_cast<int>(m_keyLength); }
    char fillByte() const { return m_fill; }
    bool unique() const { return m_unique; }
    bool descending() const { return m_descending; }

    std::size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }
    // Changes with every modification; cursors use it to notice that they must find their entry again.
    std::uint64_t version() const { return m_version; }

    // Replace all entries. A unique tag keeps the lowest record number of each key.
    void build(CdxKeyList keys);
    void build(const std::vector<CdxEntry>& entries);
    void clear();
    // False when the entry is already there, or when a unique tag already holds the key.
    bool insert(std::string_view key, std::uint32_t recno);
    // False when the entry is not there.
    bool erase(std::string_view key, std::uint32_t recno);
    bool contains(std::string_view key, std::uint32_t recno) const;
    // All entries in order (checks and tests; a cursor is the cheap way to walk).
    std::vector<CdxEntry> entries() const;

    // Whether a key found by seeking begins with the search value (a value longer than the key is compared on the
    // key's length, as the search cuts it).
    static bool isPrefixMatch(std::string_view key, std::string_view value);

    // A position in the tag: before the first entry, on an entry, or past the last one. It survives changes of the
    // tag: after a change it finds its entry again by (key, record number). If its own entry was erased, it stands
    // between the neighbours: next() moves to the following entry, prev() to the preceding one.
    // A cursor must not outlive its tag.
    class Cursor {
    public:
        explicit Cursor(const CdxTag& tag);

        bool first();
        bool last();
        // From before the first entry, next() goes to the first; from past the last, prev() goes to the last.
        bool next();
        bool prev();
        // First entry whose key is >= value, comparing on the value's length (text is not padded, so a leading part
        // of a key finds the first key that starts with it). False, and past the last entry, when there is none.
        // Test the result with matches().
        bool seek(std::string_view value);
        // The entry (key, recno) itself; false when it is absent, the cursor then stands on the next greater entry.
        bool seekEntry(std::string_view key, std::uint32_t recno);

        bool valid() const;   // on an entry
        bool atBegin() const; // before the first entry
        bool atEnd() const;   // past the last entry
        // Key and record number of the entry; empty and 0 when not on an entry. The view lasts until the tag changes.
        std::string_view key() const;
        std::uint32_t recno() const;
        bool matches(std::string_view value) const { return valid() && isPrefixMatch(key(), value); }

    private:
        enum class State { Begin, On, End };
        void sync() const;
        bool landOn(std::size_t block, std::size_t index) const;
        void setEnd() const;

        const CdxTag* m_tag;
        mutable State m_state = State::Begin;
        mutable std::size_t m_block = 0;
        mutable std::size_t m_index = 0;
        mutable std::uint64_t m_version = 0;
        mutable bool m_between = false; // own entry vanished: standing just before m_block/m_index
        mutable std::string m_saved;    // key + big-endian recno of the entry, to find it again after a change
    };
    Cursor cursor() const { return Cursor(*this); }

private:
    friend class CdxFile;
    friend class CdxKeyList;

    // A slab of up to m_blockCapacity records in order; every record of a block sorts before those of the next.
    struct Block {
        std::unique_ptr<char[]> data;
        std::size_t count = 0;
    };
    struct Pos {
        std::size_t block;
        std::size_t index;
    };

    const char* record(std::size_t block, std::size_t index) const {
        return m_blocks[block].data.get() + index * m_stride;
    }
    void makeRecord(std::string_view key, std::uint32_t recno, char* out) const;
    // First record whose first len bytes compare >= probe.
    Pos lowerBound(const char* probe, std::size_t len) const;
    Block newBlock() const;
    // Takes sorted, distinct records (key + big-endian recno).
    void adoptSorted(const char* records, std::size_t count);
    void changed() { ++m_version; }

    std::string m_name;
    std::string m_keyExpression;
    std::string m_forExpression;
    KeyType m_keyType;
    std::size_t m_keyLength;
    char m_fill;
    bool m_unique;
    bool m_descending;

    std::size_t m_stride;        // key length + 4
    std::size_t m_blockCapacity; // records per block
    std::vector<Block> m_blocks;
    std::size_t m_size = 0;
    std::uint64_t m_version = 1;
    std::uint64_t m_savedVersion = 0; // version when the file was last read or written
};

// A compound index file (.cdx) read completely into memory and written back completely on save.
// Tags are kept in creation order, which is the order of their headers in the file.
class CdxFile {
public:
    using KeyTypeOf = std::function<KeyType(const std::string& keyExpression)>;

    // Writes an empty index (a directory without tags) and returns it; nullptr after reporting the error.
    static std::unique_ptr<CdxFile> create(const std::string& path);
    // Reads the directory and every tag. The file does not record key types; keyTypeOf tells them from the key
    // expression (default: Character). A damaged file gives nullptr after one reported error.
    static std::unique_ptr<CdxFile> open(const std::string& path, const KeyTypeOf& keyTypeOf = {});

    ~CdxFile(); // closes, saving unsaved changes
    CdxFile(const CdxFile&) = delete;
    CdxFile& operator=(const CdxFile&) = delete;

    const std::string& path() const { return m_path; }
    std::vector<CdxTag*> tags() const;
    // By name, without regard to case; nullptr when there is none.
    CdxTag* tag(std::string_view name) const;
    // A new empty tag; one of the same name is replaced in its place. nullptr after reporting the error when the
    // definition cannot be stored: name not 1..10 letters, digits or '_' starting with a letter or '_'; key length
    // outside 1..240 (numeric and date keys: 8, logical keys: 1); expressions longer than 510 bytes together.
    CdxTag* addTag(const std::string& name, const std::string& keyExpression, const std::string& forExpression,
                   KeyType keyType, int keyLength, bool unique = false, bool descending = false);
    bool removeTag(std::string_view name);

    // Marks the index as changed. Changes made through CdxTag are noticed anyway.
    void setDirty() { m_dirty = true; }
    bool isDirty() const;
    // Writes the whole file from the tags in memory, through a temporary file that replaces the old one.
    bool save();
    // Saves when there are unsaved changes; afterwards the object no longer writes.
    bool close();

private:
    explicit CdxFile(std::string path) : m_path(std::move(path)) {}

    std::string m_path;
    std::vector<std::unique_ptr<CdxTag>> m_tags;
    std::uint32_t m_changeCounter = 0;
    bool m_dirty = false;
    bool m_closed = false;
};

} // namespace store
