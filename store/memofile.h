#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace store {

// The memo file beside a table: FoxPro FPT (read and write) or a dBASE III DBT (read only).
class MemoFile {
public:
    enum class Kind { Fpt, Dbt };
    // Block types of an FPT memo.
    static constexpr std::uint32_t kBinary = 0;
    static constexpr std::uint32_t kText = 1;
    static constexpr std::uint16_t kDefaultBlockSize = 64;

    struct Memo {
        std::uint32_t type = kText;
        std::string data;
    };

    // Opens an existing memo file; checks the header. nullptr after reporting when it is unusable.
    static std::unique_ptr<MemoFile> open(const std::filesystem::path& path, Kind kind, bool writable);
    // Takes over an open, empty, writable descriptor and writes a fresh FPT header into it.
    static std::unique_ptr<MemoFile> createOn(int fd, const std::filesystem::path& reportAs,
                                              std::uint16_t blockSize = kDefaultBlockSize);

    ~MemoFile();
    MemoFile(const MemoFile&) = delete;
    MemoFile& operator=(const MemoFile&) = delete;

    // The memo that starts at `block`; nullopt after reporting when the block or its length lies outside the file.
    std::optional<Memo> read(std::uint32_t block) const;

    // Stores a memo and returns its block number (0 for empty data, which takes no block). The old memo's
    // place is reused when the new data fits into it, or when it is the last memo of the file.
    std::optional<std::uint32_t> write(std::uint32_t oldBlock, std::string_view data, std::uint32_t type);

    // Drops every memo (the file shrinks to its header).
    bool reset();

    // Hands the descriptor over to the caller (used when a rebuilt file replaces the old one).
    int releaseFd();
    void setReportPath(const std::filesystem::path& p) { m_path = p; }

    const std::filesystem::path& path() const { return m_path; }
    Kind kind() const { return m_kind; }
    std::uint16_t blockSize() const { return m_blockSize; }
    std::uint32_t nextFree() const { return m_nextFree; }
    // The blocks the file's header takes: a file without memos ends there.
    std::uint32_t headerBlocks() const;

private:
    MemoFile(int fd, std::filesystem::path path, Kind kind, bool writable);
    bool writeNextFree();
    std::optional<Memo> readDbt(std::uint32_t block) const;

    int m_fd = -1;
    std::filesystem::path m_path;
    Kind m_kind = Kind::Fpt;
    bool m_writable = false;
    std::uint16_t m_blockSize = kDefaultBlockSize;
    std::uint32_t m_nextFree = 0;
};

} // namespace store
