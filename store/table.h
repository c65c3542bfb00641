#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "store/error.h"
#include "store/value.h"

namespace store {

class MemoFile;
class Table;
namespace io {
class TempFile;
}

// Told about every change of a table, so that indexes can keep their orders current.
struct TableObserver {
    virtual ~TableObserver() = default;
    // A record was appended, replaced, blanked, deleted or recalled.
    virtual void recordChanged(Table& table, std::uint32_t recno) = 0;
    // Record numbers changed wholesale (pack, zap).
    virtual void tableReset(Table& table) = 0;
};

// A DBF table with its FPT memo file. The record area is held in memory; a changed record is written to
// the file when the cursor leaves it, and at flush(), close() and destruction. The record count in the header
// follows at flush(): until then the file holds it for the records already there, so it stays readable.
// Memo blocks are written at once. Exclusive tables hold an OS lock (flock) that other processes see.
// Failures are reported through reportError() once and signalled by false/nullptr/empty results.
class Table : public RecordView {
public:
    enum class Mode { Exclusive, SharedRead };

    // Durable: creating, ZAP and PACK reach the disk before they return. Scratch: for a table its creator deletes
    // again when it ends (a run's working set); the system writes it back when it likes, a crash may lose it.
    enum class Durability { Durable, Scratch };

    // Creates (or replaces) a FoxPro 2.x table and opens it exclusively. Field names are upper-cased.
    static std::unique_ptr<Table> create(const std::filesystem::path& path, std::vector<FieldDef> fields,
                                         Durability durability = Durability::Durable);
    // A failure to open is reported as an open error; when the callback answers Retry the open runs again.
    static std::unique_ptr<Table> open(const std::filesystem::path& path, Mode mode = Mode::Exclusive);

    ~Table() override;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // RecordView. rawField() views the in-memory record: valid until the next move or change.
    int fieldCount() const override;
    const FieldDef& fieldDef(int index) const override;
    int fieldIndex(std::string_view name) const override;
    std::string_view rawField(int index) const override;
    Value fieldValue(int index) const override;

    // Cursor by physical record number (1-based); recCount() + 1 is the position past the end.
    std::uint32_t recCount() const { return m_count; }
    std::uint32_t recNo() const { return m_recno; }
    bool eof() const { return m_recno > m_count; }
    // Moves to a record; 0 or a number beyond the count moves past the end. True when on a record.
    bool goTo(std::uint32_t recno);
    bool isDeleted() const;

    // Writes; each fails with a reported error on a shared (read-only) table or past the end.
    bool appendBlank();
    // The value's type must suit the field: text for C and M, number for N, logical for L, date for D.
    // C is padded or cut; N is written with the field's decimals, or filled with '*' (and false) when too wide.
    bool replace(int field, const Value& value);
    // Binary memos are stored as picture blocks (type 0), text as type 1; empty data takes no block.
    bool replaceMemo(int field, std::string_view bytes, bool binary);
    bool blankRecord();
    bool deleteRecord();
    bool recall();
    // Removes deleted records and rewrites the memo file with the live memos; moves to record 1.
    bool pack();
    bool zap();
    // Appends every record of `other` (deletion marks included); fields are matched by name and converted.
    bool appendFrom(Table& other);
    bool copyStructure(const std::filesystem::path& path) const;

    // The bytes of a memo field of the current record (empty when blank or unreadable).
    std::string memo(int field) const;

    // Writes the pending record, the record count and the date of the last change.
    bool flush();
    // Flushes and releases the files and the lock; later writes fail.
    bool close();
    bool isOpen() const { return m_fd >= 0; }

    void addObserver(TableObserver* observer);
    void removeObserver(TableObserver* observer);

    const std::filesystem::path& path() const { return m_path; }
    // Empty for a table without memo file.
    const std::filesystem::path& memoPath() const { return m_memoPath; }
    bool isExclusive() const { return m_exclusive; }
    std::uint8_t version() const { return m_version; }
    std::uint16_t headerLength() const { return m_headerLength; }
    std::uint16_t recordLength() const { return m_recordLength; }

private:
    static std::unique_ptr<Table> openOnce(const std::filesystem::path& path, Mode mode, ErrorAction& action);
    Table() = default;
    bool isVfp() const { return m_version == 0x30; }
    bool checkWritable(const char* what);
    bool checkField(int field, const char* what) const;
    bool onRecord(const char* what);
    char* recordPtr(std::uint32_t recno);
    const char* currentPtr() const;
    // The current record for changing: marks it to be written when the cursor leaves it.
    char* mutableCurrent();
    void layoutFields();
    std::string headerBytes(std::uint32_t count) const;
    std::optional<std::uint32_t> memoBlock(int field) const;
    void setMemoBlock(char* record, int field, std::uint32_t block) const;
    std::optional<std::string> readMemo(int field, std::uint32_t* type) const;
    bool appendRecord();
    enum class Stored { Yes, Overflowed, Refused };
    Stored storeValue(int field, const Value& value);
    bool storeMemo(int field, std::string_view bytes, std::uint32_t type);
    bool commitRecord();
    bool writeHeaderCounters();
    // Puts a rewritten table (and its new memo file) in place of the old pair in one commit.
    bool replaceFiles(std::vector<char> records, std::uint32_t count, std::optional<io::TempFile> memoTemp,
                      std::unique_ptr<MemoFile> newMemo, const char* what);
    template <typename Call> void notify(Call call);
    void notifyChanged(std::uint32_t recno);
    void notifyReset();

    std::filesystem::path m_path;
    std::filesystem::path m_memoPath;
    int m_fd = -1;
    std::unique_ptr<MemoFile> m_memo;
    bool m_exclusive = false;
    bool m_durable = true;
    std::uint8_t m_version = 0x03;
    std::uint8_t m_flags = 0;
    std::uint8_t m_codePage = 0x03;
    std::uint16_t m_headerLength = 0;
    std::uint16_t m_recordLength = 0;
    std::vector<FieldDef> m_fields;
    std::vector<std::uint32_t> m_offsets;
    std::string m_headerImage; // header and descriptors as read or created, rewritten by pack

    std::vector<char> m_records; // m_count * m_recordLength bytes
    std::string m_blank;         // one blank record, shown past the end
    std::uint32_t m_count = 0;
    std::uint32_t m_recno = 1;
    std::uint32_t m_dirtyRecord = 0; // a changed record not yet written (0 = none)
    bool m_headerDirty = false;

    std::vector<char> m_scratch; // reused write buffer

    std::vector<TableObserver*> m_observers;
    int m_notifying = 0;
};

} // namespace store
