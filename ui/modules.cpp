#include "ui/modules.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <QCoreApplication>
#include <QLibrary>

extern char** environ;

namespace ui {

QString besideProgram(const QString& fileName) {
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + fileName;
}

void* moduleFunction(const QString& moduleFile, const char* symbol, const char* what) {
    QLibrary module(moduleFile);
    void* function = reinterpret_cast<void*>(module.resolve(symbol));
    if (!function) qWarning("Lenkwerk: no %s: %s", what, qPrintable(module.errorString()));
    return function;
}

int runHelper(const QString& program, int timeoutMs) {
    const QByteArray path = program.toLocal8Bit();
    char* argv[] = {const_cast<char*>(path.constData()), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, argv[0], nullptr, nullptr, argv, environ) != 0) return -1;
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

} // namespace ui
