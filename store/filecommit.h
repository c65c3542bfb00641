#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace store {

// Replaces and removes several files of one folder as one step. The new files are prepared completely under
// temporary names first; run() then writes a journal beside the owner (hidden: .NAME.journal) that lists every
// step, and only then renames and removes. The journal's appearance is the point of no return: a crash before it
// leaves every old file untouched (the prepared ones are left-overs for sweepLeftovers()), a crash after it is
// finished by recoverCommit(), which Table::open() calls. So readers see all old files or all new ones.
class FileCommit {
public:
    // durable: the journal, the prepared files' names and the folder reach the disk before run() returns. A commit
    // of scratch files (deleted when their user ends) can leave that to the system.
    explicit FileCommit(std::filesystem::path owner, bool durable = true);

    // `prepared` (complete, closed or synced) becomes `target`. Both lie in the owner's folder.
    void replace(const std::filesystem::path& prepared, const std::filesystem::path& target);
    // `target` goes (nothing happens when it does not exist).
    void remove(const std::filesystem::path& target);

    enum class Result {
        Done,       // every file is in place
        NotStarted, // nothing was changed (reported); the prepared files are the caller's to remove
        Pending,    // past the point of no return but not finished (reported); the next recovery finishes it
    };
    // Steps run in the order they were added: replacements first, then removals.
    Result run();

private:
    std::filesystem::path m_owner;
    bool m_durable;
    std::vector<std::pair<std::string, std::string>> m_replace; // file names in the folder
    std::vector<std::string> m_remove;
};

// The journal that a commit for `owner` keeps while it runs.
std::filesystem::path journalPath(const std::filesystem::path& owner);

enum class Recovery {
    Nothing,  // no interrupted commit
    Finished, // an interrupted commit was completed
    Busy,     // another process is committing right now
    Failed,   // reported; the files are left as they are
};
// Completes an interrupted commit for `owner`.
Recovery recoverCommit(const std::filesystem::path& owner);

struct SweepReport {
    std::vector<std::string> finished; // owners whose interrupted commit was completed
    std::vector<std::string> removed;  // temporary files removed
    std::vector<std::string> failed;   // files that could not be dealt with (reported)
};
// Completes every interrupted commit in `dir`, then removes the engine's own left-over temporary files
// (isEngineTempName) that no running process holds: a staged memo file or index goes only when its table is not open.
// Other files are never touched. For the program's start.
SweepReport sweepLeftovers(const std::filesystem::path& dir);

// A free name beside `target` under which a new version of a table can be built, with its memo file and index
// beside it: FRAGEN.DBF gives .FRAGEN.<number>.tmp.DBF (and so .FRAGEN.<number>.tmp.FPT). The start-up sweep
// removes such files once no process holds the table open; a FileCommit puts them in place.
std::filesystem::path stagingPath(const std::filesystem::path& target);

// True for names the engine gives its temporary files: .NAME.<number>.tmp and the staging names
// .NAME.<number>.tmp.EXT.
bool isEngineTempName(const std::string& fileName);

} // namespace store
