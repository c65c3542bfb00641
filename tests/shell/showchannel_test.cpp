#include <gtest/gtest.h>

#include <errno.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <chrono>
#include <future>
#include <string>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include "shell/showchannel.h"
#include "support/testdir.h"

namespace {

using shell::ShowChannel;

// Asks from another thread, as a second copy would from its own process, while this thread's event loop lets the
// listening channel answer.
bool askWhileServing(const QString& name, int timeoutMs = 3000) {
    auto answer = std::async(std::launch::async, [&] { return ShowChannel::askToShow(name, timeoutMs); });
    while (answer.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    return answer.get();
}

// A socket file nobody listens on, as a copy that crashed leaves it.
void leaveStaleSocket(const std::string& path) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof addr.sun_path);
    path.copy(addr.sun_path, path.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
    ::close(fd);
}

mode_t fileMode(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0) return 0;
    return st.st_mode;
}

} // namespace

TEST(ShowChannel, ASecondStartReachesTheRunningCopyWhichAloneMayConnectAndRemovesItsSocketAtTheEnd) {
    lwtest::TempDir dir;
    const QString name = QString::fromStdString((dir / "show").string());
    int shown = 0;
    {
        ShowChannel first(name, [&] { ++shown; });
        ASSERT_TRUE(first.isListening()) << first.error().toStdString();
        const mode_t mode = fileMode(name);
        EXPECT_TRUE(S_ISSOCK(mode));
        EXPECT_EQ(mode & 0777, 0600u) << "only the user may connect";

        EXPECT_TRUE(askWhileServing(name));
        EXPECT_TRUE(askWhileServing(name));
        EXPECT_EQ(shown, 2);
    }
    EXPECT_EQ(fileMode(name), 0u) << "the socket goes with the copy";
    EXPECT_FALSE(ShowChannel::askToShow(name, 1000));
}

TEST(ShowChannel, ASocketLeftByACrashedCopyIsReplacedButALiveOneIsNotStolen) {
    lwtest::TempDir dir;
    const QString name = QString::fromStdString((dir / "show").string());
    leaveStaleSocket((dir / "show").string());
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(ShowChannel::askToShow(name, 3000));
    EXPECT_LT(clock.elapsed(), 1000) << "a dead socket answers at once";

    int firstShown = 0;
    int secondShown = 0;
    ShowChannel first(name, [&] { ++firstShown; });
    ASSERT_TRUE(first.isListening()) << first.error().toStdString();
    {
        ShowChannel second(name, [&] { ++secondShown; });
        EXPECT_FALSE(second.isListening());
        EXPECT_FALSE(second.error().isEmpty());
    }
    EXPECT_TRUE(askWhileServing(name)) << "the second channel neither took nor removed the first one's socket";
    EXPECT_EQ(firstShown, 1);
    EXPECT_EQ(secondShown, 0);
}

TEST(ShowChannel, ANameTooLongForASocketFailsCleanlyOnBothSides) {
    const QString name = QStringLiteral("/tmp/") + QString(200, QLatin1Char('n'));
    ShowChannel channel(name, [] {});
    EXPECT_FALSE(channel.isListening());
    EXPECT_TRUE(channel.error().contains(QStringLiteral("zu lang")));
    EXPECT_FALSE(ShowChannel::askToShow(name, 1000));
    EXPECT_EQ(fileMode(name), 0u);
}

TEST(ShowChannel, AStrangerThatSendsNoRequestIsDroppedWithoutShowing) {
    lwtest::TempDir dir;
    const std::string path = (dir / "show").string();
    int shown = 0;
    ShowChannel channel(QString::fromStdString(path), [&] { ++shown; });
    ASSERT_TRUE(channel.isListening());

    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un addr{};
    addr.sun_family = AF_UNIX;
    path.copy(addr.sun_path, path.size());
    ASSERT_EQ(::connect(fd, reinterpret_cast<const sockaddr*>(&addr), sizeof addr), 0);
    const std::string noise(1000, 'x');
    ASSERT_EQ(::send(fd, noise.data(), noise.size(), MSG_NOSIGNAL), ssize_t(noise.size()));
    // The channel closes its end, unread bytes and all: the client's read ends (a reset, as bytes were left), and
    // does not wait for the time-out.
    const timeval limit{3, 0};
    ASSERT_EQ(::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit), 0);
    char byte = 0;
    ssize_t n = -1;
    int why = 0;
    auto end = std::async(std::launch::async, [&] {
        n = ::read(fd, &byte, 1);
        why = errno;
    });
    while (end.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready)
        QCoreApplication::processEvents();
    ::close(fd);
    EXPECT_TRUE(n == 0 || (n < 0 && why == ECONNRESET)) << n << " " << why;
    EXPECT_EQ(shown, 0);
    EXPECT_TRUE(askWhileServing(QString::fromStdString(path))) << "the channel still serves";
}
