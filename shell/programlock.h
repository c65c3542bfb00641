#pragma once

#include <QString>

#include <memory>

class QLockFile;

namespace shell {

// One program folder runs one copy of the program: two would overwrite each other's settings and learning state.
// The lock is the file "Lenkwerk.lck" in the program folder; a copy that crashed leaves it behind, and the next
// start takes it over because its process is gone. A program folder that cannot be written keeps the lock in the
// user's runtime folder instead, named after the program folder.
class ProgramLock {
public:
    explicit ProgramLock(const QString& programDir);
    ~ProgramLock();
    ProgramLock(const ProgramLock&) = delete;
    ProgramLock& operator=(const ProgramLock&) = delete;

    // Another running copy holds the folder; this one must end without touching a file.
    bool heldElsewhere() const { return m_heldElsewhere; }
    // The name the running copy listens under for "show yourself", the same for every copy of one folder.
    QString channelName() const { return m_channel; }

private:
    std::unique_ptr<QLockFile> m_lock;
    bool m_heldElsewhere = false;
    QString m_channel;
};

} // namespace shell
