#pragma once

// Small POSIX helpers shared by the table and memo files (internal to the engine).

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include <sys/types.h>

namespace store::io {

// Read or write exactly n bytes at an offset, retrying after interruptions; false on any shortfall.
// Every change the engine makes to a file goes through writeAt, truncate, rename and unlink (see faultinject.h).
bool readAt(int fd, void* buf, std::size_t n, off_t offset);
bool writeAt(int fd, const void* buf, std::size_t n, off_t offset);
bool truncate(int fd, off_t length);
bool rename(const std::filesystem::path& from, const std::filesystem::path& to);
// True also when the file was not there.
bool unlink(const std::filesystem::path& path);
// Makes the renames and removals in a folder durable.
bool syncFolder(const std::filesystem::path& dir);
std::optional<std::uint64_t> fileSize(int fd);
// The text of the current errno, in German (unknown codes by their number).
std::string lastError();
std::string systemErrorText(int code);
// The name shown in messages: the file name without its folder.
std::string displayName(const std::filesystem::path& p);
// A file in `dir` whose name equals `name` without regard to case (the name itself when it exists).
std::optional<std::filesystem::path> findCaseInsensitive(const std::filesystem::path& dir, const std::string& name);

// A new file under a temporary name (.NAME.<number>.tmp) in the folder of its target. It becomes the target only by
// commit() (a rename, so readers see either the old or the complete new file) or by a FileCommit after keep();
// otherwise it is removed. It is locked (flock) while open, which tells the start-up sweep that it is in use.
class TempFile {
public:
    static std::optional<TempFile> create(const std::filesystem::path& target);
    TempFile(TempFile&& other) noexcept;
    TempFile& operator=(TempFile&& other) noexcept;
    TempFile(const TempFile&) = delete;
    ~TempFile();

    int fd() const { return m_fd; }
    const std::filesystem::path& tempPath() const { return m_temp; }
    // Syncs the data (unless told not to) and renames the file to its target; keeps the permissions of a replaced
    // file.
    bool commit(bool sync = true);
    // The descriptor stays open after commit; the caller owns it from now on.
    int releaseFd();
    bool sync();
    // The file is no longer removed on destruction (a FileCommit has taken it over).
    void keep() { m_committed = true; }

private:
    TempFile(int fd, std::filesystem::path temp, std::filesystem::path target);
    int m_fd = -1;
    std::filesystem::path m_temp;
    std::filesystem::path m_target;
    bool m_committed = false;
};

} // namespace store::io
