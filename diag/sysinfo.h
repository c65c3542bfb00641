#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

// Facts about the machine for the error log and for diagnostics: processor, memory, system name and version, host
// name and address. On Linux they come from /proc/cpuinfo, /proc/meminfo, sysinfo(), os-release and uname().
namespace diag {

// What the log writes, in fixed storage so that a signal handler can fill it: only system calls and no allocation.
struct SystemFacts {
    char cpuType[128];
    char cpuName[128];
    double cpuMHz;
    int cpuCount;
    // total and available physical memory, page file (swap), virtual memory (the commit limit), in bytes
    std::uint64_t memory[6];
    int versionRecord; // first field of the system's version record: none on Linux
    char systemName[128];
    char versionNumber[160];
};

void collectSystemFacts(SystemFacts& facts);

// The facts of the primary screen. This library sees no screen: the program's windowing side hands them in.
struct ScreenFacts {
    int width = 0;  // pixels
    int height = 0;
    int depth = 0;  // bits per pixel
    double dpiX = 0; // logical dots per inch
    double dpiY = 0;
    QString monitor; // maker and model as the system names them, empty when unknown
};
// Asked whenever a screen fact is wanted (screens come and go); nullopt when there is no screen.
using ScreenSource = std::function<std::optional<ScreenFacts>()>;
void setScreenSource(ScreenSource source);

// Reads a whole small file with system calls only; returns the bytes read (at most size - 1, zero-terminated).
std::size_t readSmallFile(const char* path, char* buffer, std::size_t size);

// TSystemInfo: the diagnostics object. The operations that read Windows-only sources (the registry, modems,
// mouse, video BIOS) give their empty values here.
class TSystemInfo {
public:
    // New: the host facts (IPInfo) and the version facts.
    TSystemInfo();

    static QString TSIVersion() { return QStringLiteral("1.06"); }

    // the system's name ("Debian GNU/Linux 12 (bookworm)") and version number (the kernel release)
    QString WinVer() const;
    QString VerNum() const;
    QString ServicePack() const { return {}; }
    QString WhichNT() const { return {}; }
    QString ComputerName() const { return cSName; }
    QString TimeZone() const;
    QString CPU(int n = 1) const;
    QString CPUName(int n = 1) const;
    QString CPUVendor(int n = 1) const;
    int SpeedCPU(int n = 1) const;
    bool IsDualCPU() const { return SpeedCPU(2) > 0; }
    // whole megabytes; n 1..6 as in the log, anything else 0
    std::int64_t Memory(int n) const;
    // Registry-only facts: empty on this platform.
    QString DateSystemBios() const { return {}; }
    QString NameSystemBios() const { return {}; }
    QString IEVersion() const { return {}; }
    QString DirectxVersion() const { return {}; }
    QString ModemName() const { return {}; }
    QString MouseName() const { return {}; }

    // The display: 2 to the power of the bits per pixel, and the screen's size, resolution and name. Without a
    // screen: 0 and empty.
    std::int64_t GetColors() const;
    int ScreenWidth() const;
    int ScreenHeight() const;
    int ScreenDpi() const;
    QString MonitorName() const;

    // host name, its address, and the full name of that address; "0.0.0.0" and empty names without a resolver
    bool IPInfo();

    int nOsVer = 0;
    int nMajor = 0;
    int nMinor = 0;
    int nBuild = 0;
    int nPlatform = 0;
    QString cSP;
    QString cIP;
    QString cSName;
    QString cLName;

private:
    SystemFacts m_facts{};
};

} // namespace diag
