#pragma once

#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

namespace core {
class Context;
}

namespace online {

// The files of an update: on the server below DownLink, and where they land in the program folder.
inline const QString kDescriptionName = QStringLiteral("Lenkwerk.xml");
inline const QString kInstallerName = QStringLiteral("Lenkwerk.exe");
inline const QString kInstallerFile = QStringLiteral("tvupdate.exe");
inline const QString kBackupFolder = QStringLiteral("Backup");
// Fewer bytes than this are an error page, not a file.
constexpr std::uint64_t kMinimumFileSize = 1024;
// The most a description or an installer may have; a server that sends more is cut off.
constexpr std::uint64_t kDescriptionCeiling = 1024 * 1024;
constexpr std::uint64_t kInstallerCeiling = 32ull * 1024 * 1024;

// What the update dialog shows, under the names the routines share.
struct UpdateState {
    QString CVURL;   // "Verbinden mit"
    QString CVSTAT;  // "Status"
    QString CFSTAT;  // "Dateistatus"
    QString CDLOAD;  // "Download"
    QString CLUSIZE; // " von ca. " + LastUpSize, or empty
    std::uint64_t NREADLEN = 0;
    QString CFILE; // local file of the current transfer, relative to the program folder
    bool LOK = false;
    // The SHA-256 the description announced (<Program_Sha256>), lower case; empty when it announced none.
    QString sha256;
    bool shaAnnounced = false;
};

// One check with its dialog's state. `changed` repaints the dialog's values, `pump` lets the window system work
// between waits; both may be empty.
struct UpdateRun {
    core::Context& ctx;
    UpdateState state;
    std::function<void()> changed;
    std::function<void()> pump;
    int timeoutMs = 5000;
    // The network module's file; empty for the one beside the executable.
    QString netModule{};

    void show() const {
        if (changed) changed();
    }
};

// "Verbinden mit": the URL cut just after its first ".de"; without one, scheme and host.
QString urlForDisplay(const QString& url);

// The 7 characters after the first ">" of the 24 starting at "<Program_Version>" (or at the start).
QString offeredVersion(const QString& description);
// Newer: the same first character as our release number, and greater as text over its length.
bool isNewerVersion(const QString& offered, const QString& release);
// The text of <Program_Sha256>, trimmed and in lower case; nothing when the element is missing.
std::optional<QString> announcedSha256(const QString& description);
// The file's SHA-256 in lower-case hex; empty when it cannot be read.
QString fileSha256(const QString& path);

// CHK4UPDATE: reads the description (a file of the program folder), deletes it and says whether it announces a
// newer version; remembers the announced hash.
bool CHK4UPDATE(UpdateRun& run, const QString& fileName);

// MAINOPEN: one transfer of `url` into run.state.CFILE; false on any failure, with the partial file deleted.
bool MAINOPEN(UpdateRun& run, const QString& url, bool showCompletion, std::uint64_t ceiling);

// DOWNLOADS: question, description, version check, installer, hash check. True when a verified (or knowingly
// accepted) installer lies in the program folder.
bool DOWNLOADS(UpdateRun& run);

// What DOWNLOADIT does after its dialog closed with an installer: back up the program file into Backup/, note
// LastUpSize, start the installer with its switches. False when the installer could not be started.
bool startInstaller(core::Context& ctx, const QString& programFile);

} // namespace online
