#include "fileio.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "faultinject.h"

namespace store::faults {

namespace {
bool g_armed = false;
Plan g_plan;
unsigned g_seen = 0;

bool matches(const std::string& name) {
    return g_plan.file.empty() || name.find(g_plan.file) != std::string::npos;
}
} // namespace

void arm(const Plan& plan) {
    g_plan = plan;
    g_seen = 0;
    g_armed = true;
}

void disarm() {
    g_armed = false;
}

unsigned seen() {
    return g_seen;
}

// True when the operation must fail (errno is set); does not return when the plan ends the process.
static bool inject(Op op, const std::string& name, const std::string& other = std::string()) {
    if (!(g_plan.ops & op) || !(matches(name) || (!other.empty() && matches(other)))) return false;
    if (++g_seen != g_plan.nth) return false;
    if (g_plan.action == Action::Exit) ::_exit(g_plan.exitCode);
    errno = g_plan.error;
    return true;
}

static std::string nameOf(int fd) {
    if (g_plan.file.empty()) return {};
    char link[64];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    char target[4096];
    ssize_t n = ::readlink(link, target, sizeof target);
    std::string path = n > 0 ? std::string(target, static_cast<std::size_t>(n)) : std::string();
    return path.substr(path.rfind('/') + 1);
}

} // namespace store::faults

namespace store::io {

bool readAt(int fd, void* buf, std::size_t n, off_t offset) {
    auto* p = static_cast<char*>(buf);
    while (n > 0) {
        ssize_t got = ::pread(fd, p, n, offset);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        p += got;
        n -= static_cast<std::size_t>(got);
        offset += got;
    }
    return true;
}

bool writeAt(int fd, const void* buf, std::size_t n, off_t offset) {
    if (faults::g_armed && faults::inject(faults::Write, faults::nameOf(fd))) return false;
    const auto* p = static_cast<const char*>(buf);
    while (n > 0) {
        ssize_t put = ::pwrite(fd, p, n, offset);
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return false;
        p += put;
        n -= static_cast<std::size_t>(put);
        offset += put;
    }
    return true;
}

bool truncate(int fd, off_t length) {
    if (faults::g_armed && faults::inject(faults::Write, faults::nameOf(fd))) return false;
    return ::ftruncate(fd, length) == 0;
}

bool rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    if (faults::g_armed && faults::inject(faults::Rename, from.filename().string(), to.filename().string()))
        return false;
    return ::rename(from.c_str(), to.c_str()) == 0;
}

bool unlink(const std::filesystem::path& path) {
    if (faults::g_armed && faults::inject(faults::Unlink, path.filename().string())) return false;
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool syncFolder(const std::filesystem::path& dir) {
    int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return false;
    bool ok = ::fsync(fd) == 0;
    ::close(fd);
    return ok;
}

std::optional<std::uint64_t> fileSize(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

std::string lastError() {
    return systemErrorText(errno);
}

std::string systemErrorText(int code) {
    // The system's own texts are English; these are the ones a user of the program can meet.
    switch (code) {
    case ENOENT:
        return "Datei oder Ordner nicht gefunden";
    case EACCES:
    case EPERM:
        return "Zugriff verweigert";
    case EROFS:
        return "der Datenträger ist schreibgeschützt";
    case ENOSPC:
        return "kein Platz mehr auf dem Datenträger";
    case EDQUOT:
        return "das Speicherkontingent ist erschöpft";
    case EIO:
        return "Ein-/Ausgabefehler des Datenträgers";
    case EEXIST:
        return "die Datei gibt es schon";
    case EISDIR:
        return "das ist ein Ordner";
    case ENOTDIR:
        return "ein Teil des Pfads ist kein Ordner";
    case EMFILE:
    case ENFILE:
        return "zu viele offene Dateien";
    case EBUSY:
    case ETXTBSY:
        return "die Datei ist belegt";
    case EWOULDBLOCK:
        return "die Datei ist gesperrt";
    case EFBIG:
        return "die Datei wird zu groß";
    case ENAMETOOLONG:
        return "der Dateiname ist zu lang";
    case ELOOP:
        return "zu viele symbolische Verweise";
    case EINVAL:
        return "ungültiger Aufruf";
    case ENOMEM:
        return "zu wenig Arbeitsspeicher";
    default:
        return "Systemfehler " + std::to_string(code);
    }
}

std::string displayName(const std::filesystem::path& p) {
    return p.filename().string();
}

std::optional<std::filesystem::path> findCaseInsensitive(const std::filesystem::path& dir, const std::string& name) {
    std::error_code ec;
    std::filesystem::path exact = dir / name;
    if (std::filesystem::exists(exact, ec)) return exact;
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
        return s;
    };
    const std::string wanted = lower(name);
    for (std::filesystem::directory_iterator it(dir.empty() ? "." : dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (lower(it->path().filename().string()) == wanted) return it->path();
    }
    return std::nullopt;
}

TempFile::TempFile(int fd, std::filesystem::path temp, std::filesystem::path target)
    : m_fd(fd), m_temp(std::move(temp)), m_target(std::move(target)) {}

TempFile::TempFile(TempFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_temp(std::move(other.m_temp)), m_target(std::move(other.m_target)),
      m_committed(std::exchange(other.m_committed, true)) {}

TempFile& TempFile::operator=(TempFile&& other) noexcept {
    if (this != &other) {
        TempFile discarded(std::move(*this));
        m_fd = std::exchange(other.m_fd, -1);
        m_temp = std::move(other.m_temp);
        m_target = std::move(other.m_target);
        m_committed = std::exchange(other.m_committed, true);
    }
    return *this;
}

std::optional<TempFile> TempFile::create(const std::filesystem::path& target) {
    std::random_device rd;
    for (int attempt = 0; attempt < 50; ++attempt) {
        auto temp = target;
        std::string name = ".";
        name.append(target.filename().string()).append(".").append(std::to_string(rd() % 1000000)).append(".tmp");
        temp.replace_filename(name);
        int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::flock(fd, LOCK_EX | LOCK_NB); // a fresh file: nobody else holds it
            return TempFile(fd, temp, target);
        }
        if (errno != EEXIST) return std::nullopt;
    }
    errno = EEXIST;
    return std::nullopt;
}

TempFile::~TempFile() {
    if (m_fd >= 0) ::close(m_fd);
    if (!m_committed && !m_temp.empty()) io::unlink(m_temp);
}

bool TempFile::commit(bool sync) {
    struct stat old {};
    if (::stat(m_target.c_str(), &old) == 0) ::fchmod(m_fd, old.st_mode & 07777);
    if ((sync && ::fsync(m_fd) != 0) || !io::rename(m_temp, m_target)) return false;
    m_committed = true;
    return true;
}

bool TempFile::sync() {
    return ::fsync(m_fd) == 0;
}

int TempFile::releaseFd() {
    return std::exchange(m_fd, -1);
}

} // namespace store::io
