#include "shell/showchannel.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <string.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <QDir>
#include <QFile>
#include <QSocketNotifier>

namespace shell {

namespace {

const QByteArray kShowRequest = "show\n";
const QByteArray kShown = "shown\n";
// A client that has sent this much without a request is not one of ours.
constexpr int kMaxRequest = 64;
constexpr std::size_t kMaxClients = 16;

bool address(const QByteArray& path, sockaddr_un& addr) {
    memset(&addr, 0, sizeof addr);
    addr.sun_family = AF_UNIX;
    // A name that does not fit is refused rather than cut: a cut one could reach another program's socket.
    if (path.isEmpty() || size_t(path.size()) >= sizeof addr.sun_path) return false;
    memcpy(addr.sun_path, path.constData(), size_t(path.size()));
    return true;
}

int streamSocket() {
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? int(left) : 0;
}

// A non-blocking connect to `path`: the socket, or -1 with errno set. A listener whose queue is full (EAGAIN) is
// tried again until the deadline.
int connectTo(const QByteArray& path, Clock::time_point deadline) {
    sockaddr_un addr;
    if (!address(path, addr)) {
        errno = ENAMETOOLONG;
        return -1;
    }
    for (;;) {
        const int fd = streamSocket();
        if (fd < 0) return -1;
        if (::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr) == 0) return fd;
        const int why = errno;
        ::close(fd);
        if (why != EAGAIN || msLeft(deadline) == 0) {
            errno = why;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

QString systemError(const char* what) {
    return QString::fromLatin1(what) + QStringLiteral(": ") + QString::fromLocal8Bit(strerror(errno));
}

} // namespace

QString ShowChannel::socketPath(const QString& name) {
    if (name.startsWith(QLatin1Char('/'))) return name;
    return QDir::cleanPath(QDir::tempPath()) + QLatin1Char('/') + name;
}

ShowChannel::ShowChannel(const QString& name, std::function<void()> show, QObject* parent)
    : QObject(parent), m_show(std::move(show)) {
    if (!listen(QFile::encodeName(socketPath(name)))) return;
    auto* accepting = new QSocketNotifier(m_listener, QSocketNotifier::Read, this);
    connect(accepting, &QSocketNotifier::activated, this, [this] { acceptClients(); });
}

ShowChannel::~ShowChannel() {
    if (m_listener < 0) return;
    for (auto& [client, received] : m_received) {
        ::close(int(client->socket()));
        delete client;
    }
    ::close(m_listener);
    // Only the file this copy made: a later copy may have replaced it meanwhile.
    struct stat now;
    if (::lstat(m_path.constData(), &now) == 0 && now.st_dev == m_device && now.st_ino == m_inode)
        ::unlink(m_path.constData());
}

bool ShowChannel::listen(const QByteArray& path) {
    sockaddr_un addr;
    if (!address(path, addr)) {
        m_error = QStringLiteral("Der Name ist zu lang für einen Socket: ") + QFile::decodeName(path);
        return false;
    }
    // A file there is either a copy that listens, which keeps it, or the remains of one that crashed.
    const int probe = connectTo(path, Clock::now());
    // A listener with a full queue (EAGAIN) is alive all the same.
    const bool live = probe >= 0 || errno == EAGAIN;
    const bool gone = probe < 0 && (errno == ENOENT || errno == ECONNREFUSED);
    if (probe >= 0) ::close(probe);
    if (live) {
        m_error = QStringLiteral("Ein anderes Programm hört bereits auf ") + QFile::decodeName(path);
        return false;
    }
    if (!gone) {
        m_error = systemError("connect");
        return false;
    }

    // Made in a folder only the user can enter, restricted to the user there and then moved into place, so that
    // nobody else can connect in between.
    const int slash = path.lastIndexOf('/');
    QByteArray folder = path.left(slash + 1) + ".lenkwerk-XXXXXX";
    if (!::mkdtemp(folder.data())) {
        m_error = systemError("mkdtemp");
        return false;
    }
    const QByteArray inside = folder + "/s";
    sockaddr_un insideAddr;
    int fd = -1;
    bool ok = address(inside, insideAddr);
    if (!ok) errno = ENAMETOOLONG;
    if (ok) ok = (fd = streamSocket()) >= 0;
    if (ok) ok = ::bind(fd, reinterpret_cast<const sockaddr*>(&insideAddr), sizeof insideAddr) == 0;
    if (ok) ok = ::chmod(inside.constData(), 0600) == 0;
    if (ok) ok = ::listen(fd, 8) == 0;
    if (ok) ok = ::rename(inside.constData(), path.constData()) == 0;
    struct stat made;
    if (ok) ok = ::lstat(path.constData(), &made) == 0;
    if (!ok) {
        m_error = systemError("listen");
        if (fd >= 0) ::close(fd);
        ::unlink(inside.constData());
    }
    ::rmdir(folder.constData());
    if (!ok) return false;
    m_listener = fd;
    m_path = path;
    m_device = made.st_dev;
    m_inode = made.st_ino;
    return true;
}

void ShowChannel::acceptClients() {
    for (;;) {
        const int fd = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (fd < 0) return;
        if (m_received.size() >= kMaxClients) {
            ::close(fd);
            continue;
        }
        auto* client = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        m_received[client];
        connect(client, &QSocketNotifier::activated, this, [this, client] { readFrom(client); });
    }
}

void ShowChannel::readFrom(QSocketNotifier* client) {
    const int fd = int(client->socket());
    QByteArray& received = m_received[client];
    char buffer[256];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) break;
        if (n <= 0) return drop(client);
        received.append(buffer, int(n));
        if (received.contains(kShowRequest)) {
            if (m_show) m_show();
            // Six bytes into an empty socket buffer: the answer goes out whole or the client is gone.
            [[maybe_unused]] const ssize_t sent = ::send(fd, kShown.constData(), size_t(kShown.size()), MSG_NOSIGNAL);
            return drop(client);
        }
        if (received.size() > kMaxRequest) return drop(client);
    }
}

void ShowChannel::drop(QSocketNotifier* client) {
    // The notifier may be the one whose signal is running: it goes when the event loop is back.
    client->setEnabled(false);
    ::close(int(client->socket()));
    m_received.erase(client);
    client->deleteLater();
}

bool ShowChannel::askToShow(const QString& name, int timeoutMs) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const int fd = connectTo(QFile::encodeName(socketPath(name)), deadline);
    if (fd < 0) return false;
    QByteArray toSend = kShowRequest;
    QByteArray answer;
    bool shown = false;
    while (!shown) {
        pollfd p{fd, short(toSend.isEmpty() ? POLLIN : POLLOUT), 0};
        const int ready = ::poll(&p, 1, msLeft(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) break;
        if (!toSend.isEmpty()) {
            const ssize_t n = ::send(fd, toSend.constData(), size_t(toSend.size()), MSG_NOSIGNAL);
            if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
            if (n < 0) break;
            toSend.remove(0, int(n));
            continue;
        }
        char buffer[64];
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n <= 0) break;
        answer.append(buffer, int(n));
        shown = answer.contains(kShown);
    }
    ::close(fd);
    return shown;
}

} // namespace shell
