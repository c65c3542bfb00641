#include "diag/sysinfo.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <sys/sysinfo.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <cmath>
#include <cstring>

#include <QFile>

namespace diag {

namespace {

// The value after "key<blanks or tabs>:" on a line of /proc/cpuinfo, copied into out; false when absent.
bool field(const char* text, const char* key, char* out, std::size_t size) {
    const std::size_t keyLength = std::strlen(key);
    for (const char* line = text; line && *line;) {
        if (std::strncmp(line, key, keyLength) == 0) {
            const char* c = line + keyLength;
            while (*c == ' ' || *c == '\t') ++c;
            if (*c == ':') {
                ++c;
                while (*c == ' ') ++c;
                std::size_t n = 0;
                while (c[n] && c[n] != '\n' && n + 1 < size) {
                    out[n] = c[n];
                    ++n;
                }
                while (n && out[n - 1] == ' ') --n;
                out[n] = 0;
                return true;
            }
        }
        line = std::strchr(line, '\n');
        if (line) ++line;
    }
    return false;
}

std::uint64_t number(const char* text) {
    std::uint64_t v = 0;
    while (*text == ' ' || *text == '\t') ++text;
    while (*text >= '0' && *text <= '9') v = v * 10 + std::uint64_t(*text++ - '0');
    return v;
}

// A "Key:   123 kB" line of /proc/meminfo in bytes.
bool kiloBytes(const char* text, const char* key, std::uint64_t& bytes) {
    char value[64];
    if (!field(text, key, value, sizeof value)) return false;
    bytes = number(value) * 1024;
    return true;
}

void copy(char* out, std::size_t size, const char* text, std::size_t length) {
    std::size_t n = 0;
    for (; n < length && text[n] && n + 1 < size; ++n)
        out[n] = text[n];
    out[n] = 0;
}

void append(char* out, std::size_t size, const char* text) {
    std::size_t n = std::strlen(out);
    copy(out + n, size - n, text, std::strlen(text));
}

// PRETTY_NAME of os-release, without its quotes.
void systemName(char* out, std::size_t size) {
    static char text[4096];
    out[0] = 0;
    if (!readSmallFile("/etc/os-release", text, sizeof text) && !readSmallFile("/usr/lib/os-release", text, sizeof text))
        return;
    for (const char* line = text; line && *line;) {
        if (std::strncmp(line, "PRETTY_NAME=", 12) == 0) {
            const char* c = line + 12;
            const char* end = std::strchr(c, '\n');
            std::size_t length = end ? std::size_t(end - c) : std::strlen(c);
            if (length && (*c == '"' || *c == '\'')) {
                ++c;
                length = length >= 2 ? length - 2 : 0;
            }
            copy(out, size, c, length);
            return;
        }
        line = std::strchr(line, '\n');
        if (line) ++line;
    }
}

} // namespace

std::size_t readSmallFile(const char* path, char* buffer, std::size_t size) {
    buffer[0] = 0;
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return 0;
    std::size_t total = 0;
    while (total + 1 < size) {
        const ssize_t n = ::read(fd, buffer + total, size - 1 - total);
        if (n <= 0) break;
        total += std::size_t(n);
    }
    ::close(fd);
    buffer[total] = 0;
    return total;
}

void collectSystemFacts(SystemFacts& facts) {
    static char text[65536];
    facts = SystemFacts{};
    struct utsname names {};
    const bool haveNames = ::uname(&names) == 0;

    readSmallFile("/proc/cpuinfo", text, sizeof text);
    char vendor[64] = "";
    field(text, "vendor_id", vendor, sizeof vendor);
    if (!field(text, "model name", facts.cpuName, sizeof facts.cpuName))
        field(text, "Model", facts.cpuName, sizeof facts.cpuName); // ARM boards
    char mhz[32] = "";
    if (field(text, "cpu MHz", mhz, sizeof mhz)) facts.cpuMHz = double(number(mhz));
    for (const char* c = text; (c = std::strstr(c, "processor")) != nullptr; c += 9)
        if (c == text || c[-1] == '\n') ++facts.cpuCount;
    // The type: the architecture and the maker's identification.
    if (haveNames) copy(facts.cpuType, sizeof facts.cpuType, names.machine, sizeof names.machine);
    if (vendor[0]) {
        append(facts.cpuType, sizeof facts.cpuType, facts.cpuType[0] ? " " : "");
        append(facts.cpuType, sizeof facts.cpuType, vendor);
    }

    struct sysinfo info {};
    const bool haveInfo = ::sysinfo(&info) == 0;
    const std::uint64_t unit = haveInfo && info.mem_unit ? info.mem_unit : 1;
    readSmallFile("/proc/meminfo", text, sizeof text);
    std::uint64_t available = 0, commitLimit = 0, committed = 0;
    if (haveInfo) {
        facts.memory[0] = std::uint64_t(info.totalram) * unit;
        facts.memory[1] = std::uint64_t(info.freeram + info.bufferram) * unit;
        facts.memory[2] = std::uint64_t(info.totalswap) * unit;
        facts.memory[3] = std::uint64_t(info.freeswap) * unit;
    } else {
        kiloBytes(text, "MemTotal", facts.memory[0]);
        kiloBytes(text, "SwapTotal", facts.memory[2]);
        kiloBytes(text, "SwapFree", facts.memory[3]);
    }
    // MemAvailable counts the caches the kernel gives back, which free memory alone does not.
    if (kiloBytes(text, "MemAvailable", available)) facts.memory[1] = available;
    if (kiloBytes(text, "CommitLimit", commitLimit) && kiloBytes(text, "Committed_AS", committed)) {
        facts.memory[4] = commitLimit;
        facts.memory[5] = commitLimit > committed ? commitLimit - committed : 0;
    }

    facts.versionRecord = 0;
    systemName(facts.systemName, sizeof facts.systemName);
    if (!facts.systemName[0] && haveNames) copy(facts.systemName, sizeof facts.systemName, names.sysname, 65);
    if (haveNames) copy(facts.versionNumber, sizeof facts.versionNumber, names.release, sizeof names.release);
}

namespace {
ScreenSource& screenSource() {
    static ScreenSource source;
    return source;
}

std::optional<ScreenFacts> screen() {
    return screenSource() ? screenSource()() : std::nullopt;
}
} // namespace

void setScreenSource(ScreenSource source) {
    screenSource() = std::move(source);
}

std::int64_t TSystemInfo::GetColors() const {
    const auto s = screen();
    // Colour planes are a thing of the past: one plane of `depth` bits.
    return s && s->depth > 0 && s->depth < 63 ? std::int64_t(1) << s->depth : 0;
}

int TSystemInfo::ScreenWidth() const {
    const auto s = screen();
    return s ? s->width : 0;
}

int TSystemInfo::ScreenHeight() const {
    const auto s = screen();
    return s ? s->height : 0;
}

int TSystemInfo::ScreenDpi() const {
    const auto s = screen();
    return s ? int(std::lround(s->dpiY)) : 0;
}

QString TSystemInfo::MonitorName() const {
    const auto s = screen();
    return s ? s->monitor : QString();
}

TSystemInfo::TSystemInfo() {
    IPInfo();
    collectSystemFacts(m_facts);
    nOsVer = m_facts.versionRecord;
    // The kernel release "6.1.0-18-amd64" gives major, minor and build.
    const QStringList parts = QString::fromLatin1(m_facts.versionNumber).split(QLatin1Char('.'));
    auto leading = [](const QString& s) {
        int v = 0;
        for (QChar c : s) {
            if (!c.isDigit()) break;
            v = v * 10 + c.digitValue();
        }
        return v;
    };
    nMajor = parts.size() > 0 ? leading(parts[0]) : 0;
    nMinor = parts.size() > 1 ? leading(parts[1]) : 0;
    nBuild = parts.size() > 2 ? leading(parts[2]) : 0;
}

QString TSystemInfo::WinVer() const {
    return QString::fromUtf8(m_facts.systemName);
}

QString TSystemInfo::VerNum() const {
    return (QString::fromLatin1(m_facts.versionNumber) + QLatin1Char(' ') + cSP).trimmed();
}

QString TSystemInfo::TimeZone() const {
    QFile file(QStringLiteral("/etc/timezone"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).trimmed();
}

QString TSystemInfo::CPU(int n) const {
    return n == 1 && m_facts.cpuName[0] ? QString::fromUtf8(m_facts.cpuName) : CPUName(n);
}

QString TSystemInfo::CPUName(int n) const {
    return n >= 1 && n <= m_facts.cpuCount ? QString::fromUtf8(m_facts.cpuName) : QString();
}

QString TSystemInfo::CPUVendor(int n) const {
    static char text[65536];
    char vendor[64] = "";
    if (n < 1 || n > m_facts.cpuCount) return {};
    readSmallFile("/proc/cpuinfo", text, sizeof text);
    field(text, "vendor_id", vendor, sizeof vendor);
    return QString::fromLatin1(vendor);
}

int TSystemInfo::SpeedCPU(int n) const {
    if (n < 1 || n > m_facts.cpuCount) return 0;
    return int(std::lround(m_facts.cpuMHz / 10.0)) * 10;
}

std::int64_t TSystemInfo::Memory(int n) const {
    if (n < 1 || n > 6) return 0;
    return std::int64_t(m_facts.memory[n - 1] >> 20);
}

bool TSystemInfo::IPInfo() {
    cIP = QStringLiteral("0.0.0.0");
    cSName.clear();
    cLName.clear();
    char host[256] = "";
    if (::gethostname(host, sizeof host) != 0) return false;
    host[sizeof host - 1] = 0;
    cSName = QString::fromLocal8Bit(host).section(QLatin1Char('.'), 0, 0);
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_flags = AI_CANONNAME;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host, nullptr, &hints, &found) != 0 || !found) return true;
    char address[INET_ADDRSTRLEN] = "";
    const auto* in = reinterpret_cast<const sockaddr_in*>(found->ai_addr);
    if (::inet_ntop(AF_INET, &in->sin_addr, address, sizeof address)) cIP = QString::fromLatin1(address);
    char full[NI_MAXHOST] = "";
    if (::getnameinfo(found->ai_addr, found->ai_addrlen, full, sizeof full, nullptr, 0, NI_NAMEREQD) == 0)
        cLName = QString::fromLocal8Bit(full);
    else if (found->ai_canonname)
        cLName = QString::fromLocal8Bit(found->ai_canonname);
    ::freeaddrinfo(found);
    return true;
}

} // namespace diag
