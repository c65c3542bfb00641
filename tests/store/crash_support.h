#pragma once

// Runs engine work in a forked child that the fault seam may end at any file operation: a crash stand-in.

#include <cstdlib>
#include <functional>

#include <sys/wait.h>
#include <unistd.h>

#include "store/error.h"
#include "store/faultinject.h"

namespace lwtest {

// The child's exit code (0 when the work ran to its end, the plan's exit code when the seam ended it, 125 after an
// exception), -1 when it died otherwise.
inline int runInChild(const store::faults::Plan& plan, const std::function<void()>& work) {
    pid_t pid = ::fork();
    if (pid == 0) {
        store::setErrorCallback([](const store::StoreError&) {});
        store::faults::arm(plan);
        // Nothing may escape into the test framework's copy in the child: it would go on running tests.
        try {
            work();
        } catch (...) {
            ::_exit(125);
        }
        ::_exit(0);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

} // namespace lwtest
