#include "shell/programlock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>

namespace shell {

namespace {

// Tries to take the lock; true when this copy holds it or nobody can (no lock to be had), false when another
// running copy holds it.
enum class Outcome { Held, Busy, Impossible };

Outcome take(QLockFile& lock) {
    // Never stale by age: the running copy does not refresh the file, however long it runs. A lock whose process
    // is gone is taken over all the same.
    lock.setStaleLockTime(0);
    if (lock.tryLock(0)) return Outcome::Held;
    return lock.error() == QLockFile::LockFailedError ? Outcome::Busy : Outcome::Impossible;
}

} // namespace

ProgramLock::ProgramLock(const QString& programDir) {
    const QString canonical = QFileInfo(programDir).canonicalFilePath().isEmpty()
                                  ? QFileInfo(programDir).absoluteFilePath()
                                  : QFileInfo(programDir).canonicalFilePath();
    const QByteArray hash = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    m_channel = QStringLiteral("lenkwerk-") + QString::fromLatin1(hash);

    m_lock = std::make_unique<QLockFile>(QDir(canonical).filePath(QStringLiteral("Lenkwerk.lck")));
    Outcome outcome = take(*m_lock);
    if (outcome == Outcome::Impossible) {
        // A read-only program folder: the lock lives with the user, under the folder's name.
        QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
        if (runtime.isEmpty()) runtime = QDir::tempPath();
        m_lock = std::make_unique<QLockFile>(QDir(runtime).filePath(m_channel + QStringLiteral(".lck")));
        outcome = take(*m_lock);
    }
    m_heldElsewhere = outcome == Outcome::Busy;
    if (outcome != Outcome::Held) m_lock.reset();
}

ProgramLock::~ProgramLock() = default;

} // namespace shell
