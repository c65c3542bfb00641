#include "filecommit.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <optional>
#include <random>
#include <sstream>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "error.h"
#include "fileio.h"

namespace store {

namespace {

constexpr const char* kMagic = "LWJOURNAL 1";
constexpr const char* kJournalSuffix = ".journal";
constexpr std::size_t kMaxJournal = 64 * 1024;

struct Journal {
    std::vector<std::pair<std::string, std::string>> replace;
    std::vector<std::string> remove;
};

bool plainName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find_first_of("/\t\n\r") == std::string::npos;
}

std::string serialise(const Journal& j) {
    std::string out = std::string(kMagic) + "\n";
    for (const auto& [from, to] : j.replace)
        out += "R\t" + from + "\t" + to + "\n";
    for (const auto& name : j.remove)
        out += "D\t" + name + "\n";
    out += "END " + std::to_string(j.replace.size() + j.remove.size()) + "\n";
    return out;
}

std::optional<Journal> parse(const std::string& text) {
    std::istringstream in(text);
    std::string line;
    if (!std::getline(in, line) || line != kMagic) return std::nullopt;
    Journal j;
    while (std::getline(in, line)) {
        if (line.rfind("END ", 0) == 0) {
            const std::string expected = std::to_string(j.replace.size() + j.remove.size());
            std::string rest;
            if (line.substr(4) != expected || std::getline(in, rest)) return std::nullopt;
            return j;
        }
        const auto tab = line.find('\t');
        if (tab != 1) return std::nullopt;
        if (line[0] == 'R') {
            const auto second = line.find('\t', 2);
            if (second == std::string::npos) return std::nullopt;
            std::string from = line.substr(2, second - 2), to = line.substr(second + 1);
            if (!plainName(from) || !plainName(to)) return std::nullopt;
            j.replace.emplace_back(std::move(from), std::move(to));
        } else if (line[0] == 'D') {
            std::string name = line.substr(2);
            if (!plainName(name)) return std::nullopt;
            j.remove.push_back(std::move(name));
        } else {
            return std::nullopt;
        }
    }
    return std::nullopt; // no END line
}

std::filesystem::path folderOf(const std::filesystem::path& p) {
    return p.has_parent_path() ? p.parent_path() : std::filesystem::path(".");
}

bool exists(const std::filesystem::path& p, bool& error) {
    struct stat st {};
    if (::lstat(p.c_str(), &st) == 0) return true;
    error = errno != ENOENT;
    return false;
}

// The steps after the point of no return; each can be repeated: a prepared file that is gone was renamed already.
bool apply(const std::filesystem::path& dir, const Journal& j, const std::filesystem::path& owner, bool durable = true) {
    const std::string reportAs = owner.string();
    bool ok = true;
    // A reader that knows nothing of the journal must never find the old table beside the new memo file, whose
    // blocks its pointers do not match: while its companions are renamed there is no table at all.
    if (j.replace.size() > 1)
        for (const auto& [from, to] : j.replace) {
            bool error = false;
            if (to != owner.filename().string() || !exists(dir / from, error)) continue;
            if (!io::unlink(dir / to)) {
                reportError(reportAs, to + " lässt sich nicht durch die neue Fassung ersetzen: " + io::lastError());
                return false;
            }
        }
    for (const auto& [from, to] : j.replace) {
        bool error = false;
        if (!exists(dir / from, error)) {
            if (error) {
                reportError(reportAs, "Vorbereitete Datei " + from + " ist nicht lesbar: " + io::lastError());
                ok = false;
            }
            continue;
        }
        if (!io::rename(dir / from, dir / to)) {
            reportError((dir / to).string(),
                        to + " kann nicht durch die neue Fassung ersetzt werden: " + io::lastError());
            ok = false;
        }
    }
    for (const auto& name : j.remove) {
        if (!io::unlink(dir / name)) {
            reportError((dir / name).string(), name + " lässt sich nicht löschen: " + io::lastError());
            ok = false;
        }
    }
    if (durable) io::syncFolder(dir);
    return ok;
}

} // namespace

std::filesystem::path journalPath(const std::filesystem::path& owner) {
    auto p = owner;
    p.replace_filename(std::string(".").append(owner.filename().string()).append(kJournalSuffix));
    return p;
}

namespace {
// Where the ".<number>.tmp" of an engine name ends (before an optional ".EXT"), or npos.
std::size_t tempMarkEnd(const std::string& name) {
    if (name.size() < 2 || name[0] != '.') return std::string::npos;
    constexpr std::string_view mark = ".tmp";
    std::size_t end = name.size();
    // A staging name carries its table's extension behind the mark: letters and digits, one to three of them.
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot + 1 < name.size() && name.size() - dot - 1 <= 3 &&
        name.compare(dot, mark.size(), mark) != 0 &&
        std::all_of(name.begin() + static_cast<std::ptrdiff_t>(dot) + 1, name.end(),
                    [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; }))
        end = dot;
    if (end < mark.size() || name.compare(end - mark.size(), mark.size(), mark) != 0) return std::string::npos;
    const std::size_t digitsEnd = end - mark.size();
    std::size_t begin = digitsEnd;
    while (begin > 0 && name[begin - 1] >= '0' && name[begin - 1] <= '9')
        --begin;
    const std::size_t digits = digitsEnd - begin;
    if (digits < 1 || digits > 6 || begin < 3 || name[begin - 1] != '.') return std::string::npos;
    return end;
}
} // namespace

bool isEngineTempName(const std::string& name) {
    return tempMarkEnd(name) != std::string::npos;
}

std::filesystem::path stagingPath(const std::filesystem::path& target) {
    std::random_device rd;
    const std::string stem = target.stem().string(), ext = target.extension().string();
    for (;;) {
        std::string name =
            std::string(".").append(stem).append(".").append(std::to_string(rd() % 1000000)).append(".tmp");
        auto p = target;
        p.replace_filename(name + ext);
        bool taken = false;
        for (const char* partner : {".DBF", ".FPT", ".CDX", ".dbf", ".fpt", ".cdx"})
            if (std::filesystem::exists(target.parent_path() / (name + partner))) taken = true;
        if (!taken && !std::filesystem::exists(p)) return p;
    }
}

FileCommit::FileCommit(std::filesystem::path owner, bool durable) : m_owner(std::move(owner)), m_durable(durable) {}

void FileCommit::replace(const std::filesystem::path& prepared, const std::filesystem::path& target) {
    m_replace.emplace_back(prepared.filename().string(), target.filename().string());
}

void FileCommit::remove(const std::filesystem::path& target) {
    m_remove.push_back(target.filename().string());
}

FileCommit::Result FileCommit::run() {
    const auto dir = folderOf(m_owner);
    const std::string ownerName = io::displayName(m_owner);
    const auto journal = journalPath(m_owner);
    Journal j{m_replace, m_remove};
    for (const auto& [from, to] : j.replace) {
        bool error = false;
        if (!plainName(from) || !plainName(to) || !exists(dir / from, error)) {
            reportError(m_owner.string(), ownerName + ": die neue Fassung " + from + " fehlt");
            return Result::NotStarted;
        }
    }
    // An older commit for the same owner that was left unfinished comes first.
    const Recovery earlier = recoverCommit(m_owner);
    if (earlier == Recovery::Busy || earlier == Recovery::Failed) {
        if (earlier == Recovery::Busy)
            reportError(m_owner.string(), ownerName + " wird gerade von einem anderen Programm geändert");
        return Result::NotStarted;
    }

    auto temp = io::TempFile::create(journal);
    const std::string text = serialise(j);
    if (!temp || !io::writeAt(temp->fd(), text.data(), text.size(), 0) || !temp->commit(m_durable) ||
        (m_durable && !io::syncFolder(dir))) {
        reportError(journal.string(),
                    ownerName + ": das Änderungsprotokoll lässt sich nicht schreiben: " + io::lastError());
        // A journal that reached its name without the folder being synced is still valid; finishing beats guessing.
        if (temp && std::filesystem::exists(journal)) {
            const int fd = temp->releaseFd();
            const bool ok = apply(dir, j, m_owner, m_durable) && io::unlink(journal);
            ::close(fd);
            return ok ? Result::Done : Result::Pending;
        }
        return Result::NotStarted;
    }
    // The journal's descriptor keeps its lock until the journal is gone: recovery elsewhere waits for us.
    const int fd = temp->releaseFd();
    bool ok = apply(dir, j, m_owner, m_durable);
    if (ok && !io::unlink(journal)) {
        // Everything is in place; the journal would only repeat finished steps.
        reportError(journal.string(),
                    ownerName + ": das Änderungsprotokoll lässt sich nicht löschen: " + io::lastError());
    }
    ::close(fd);
    if (!ok) {
        reportError(m_owner.string(), ownerName + ": die Änderung wird beim nächsten Öffnen abgeschlossen");
        return Result::Pending;
    }
    return Result::Done;
}

Recovery recoverCommit(const std::filesystem::path& owner) {
    const auto journal = journalPath(owner);
    int fd = ::open(journal.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT) return Recovery::Nothing;
        reportError(journal.string(), io::displayName(owner) + ": das Änderungsprotokoll " + io::displayName(journal) +
                                          " lässt sich nicht öffnen: " + io::lastError());
        return Recovery::Failed;
    }
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } closer{fd};
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) return errno == EWOULDBLOCK ? Recovery::Busy : Recovery::Failed;
    // Finished and removed by its writer between our open and our lock?
    struct stat mine {
    }, named{};
    if (::fstat(fd, &mine) != 0 || ::stat(journal.c_str(), &named) != 0 || mine.st_ino != named.st_ino ||
        mine.st_dev != named.st_dev)
        return Recovery::Nothing;

    std::string text;
    auto size = io::fileSize(fd);
    std::optional<Journal> j;
    if (size && *size <= kMaxJournal) {
        text.resize(static_cast<std::size_t>(*size));
        if (text.empty() || io::readAt(fd, text.data(), text.size(), 0)) j = parse(text);
    }
    if (!j) {
        // It was written whole under a temporary name, so only outside damage gets here; its steps are unknown.
        reportError(journal.string(), io::displayName(owner) + ": das Änderungsprotokoll " + io::displayName(journal) +
                                          " ist beschädigt; die Dateien bleiben, wie sie sind");
        return io::unlink(journal) ? Recovery::Finished : Recovery::Failed;
    }
    if (!apply(folderOf(owner), *j, owner) || !io::unlink(journal)) {
        reportError(owner.string(),
                    io::displayName(owner) + ": eine unterbrochene Änderung lässt sich nicht abschließen");
        return Recovery::Failed;
    }
    io::syncFolder(folderOf(owner));
    return Recovery::Finished;
}

SweepReport sweepLeftovers(const std::filesystem::path& dir) {
    SweepReport report;
    auto list = [&dir] {
        std::error_code ec;
        std::vector<std::string> names;
        for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
            names.push_back(it->path().filename().string());
        return names;
    };
    std::vector<std::string> names = list();

    const std::string_view suffix = kJournalSuffix;
    std::vector<std::string> keep; // prepared files of commits that could not be finished
    for (const std::string& name : names) {
        if (name.size() <= 1 + suffix.size() || name[0] != '.' ||
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0)
            continue;
        const auto owner = dir / name.substr(1, name.size() - 1 - suffix.size());
        switch (recoverCommit(owner)) {
        case Recovery::Nothing:
            break;
        case Recovery::Finished:
            report.finished.push_back(owner.filename().string());
            break;
        case Recovery::Busy:
        case Recovery::Failed: {
            report.failed.push_back(name);
            std::string text = [&] {
                int fd = ::open((dir / name).c_str(), O_RDONLY | O_CLOEXEC);
                std::string t(kMaxJournal, '\0');
                ssize_t n = fd >= 0 ? ::pread(fd, t.data(), t.size(), 0) : -1;
                if (fd >= 0) ::close(fd);
                t.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
                return t;
            }();
            if (auto j = parse(text))
                for (const auto& step : j->replace)
                    keep.push_back(step.first);
            keep.push_back(name);
            break;
        }
        }
    }

    // Finished commits may have put files under new names (a staged table's own commit puts it under its staging name).
    names = list();
    for (const std::string& name : names) {
        if (!isEngineTempName(name) || std::find(keep.begin(), keep.end(), name) != keep.end()) continue;
        const auto path = dir / name;
        // A temporary file that a running process still holds is locked by it; a staged memo file or index is held
        // through its table.
        const std::size_t markEnd = tempMarkEnd(name);
        if (markEnd < name.size()) {
            bool tableInUse = false;
            for (const char* ext : {".DBF", ".dbf"}) {
                const auto table = dir / (name.substr(0, markEnd) + ext);
                int tfd = table.filename() == name ? -1 : ::open(table.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
                if (tfd < 0) continue;
                if (::flock(tfd, LOCK_EX | LOCK_NB) != 0) tableInUse = true;
                ::close(tfd);
            }
            if (tableInUse) continue;
        }
        int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0) continue;
        struct stat st {};
        const bool mine = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
        bool removed = mine && io::unlink(path);
        ::close(fd);
        if (removed)
            report.removed.push_back(name);
        else if (mine)
            report.failed.push_back(name);
    }
    return report;
}

} // namespace store
