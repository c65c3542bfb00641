#include "ui/modules.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <system_error>
#include <thread>
#include <vector>

#include <QByteArray>

extern char** environ;

namespace ui {

namespace {

// The program and its arguments as posix_spawn takes them; the strings live as long as this.
class Argv {
public:
    Argv(const QString& program, const QStringList& arguments) : m_strings{program.toLocal8Bit()} {
        for (const QString& argument : arguments)
            m_strings.push_back(argument.toLocal8Bit());
        for (QByteArray& s : m_strings)
            m_pointers.push_back(s.data());
        m_pointers.push_back(nullptr);
    }
    char* const* get() { return m_pointers.data(); }

private:
    std::vector<QByteArray> m_strings;
    std::vector<char*> m_pointers;
};

} // namespace

int runHelper(const QString& program, int timeoutMs, const QStringList& arguments) {
    Argv argv(program, arguments);
    pid_t pid = 0;
    if (posix_spawn(&pid, argv.get()[0], nullptr, nullptr, argv.get(), environ) != 0) return -1;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (;;) {
        const pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0) return -1;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

bool startHelper(const QString& program, const QStringList& arguments) {
    Argv argv(program, arguments);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const bool started = posix_spawn(&pid, argv.get()[0], &actions, nullptr, argv.get(), environ) == 0;
    posix_spawn_file_actions_destroy(&actions);
    if (!started) return false;
    // Reaped by a thread of its own: no child is left behind as a zombie, wherever the program runs.
    try {
        std::thread([pid] { waitpid(pid, nullptr, 0); }).detach();
    } catch (const std::system_error&) {
        // No thread to spare (the system is out of threads or memory): better no sound than a zombie or an end.
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return false;
    }
    return true;
}

} // namespace ui
