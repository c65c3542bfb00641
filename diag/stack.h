#pragma once

#include <cstddef>

// The call stack of the running program: return addresses taken without allocating (so a signal handler may take
// them) and their function names and source lines from the program's debug information (libdw).
namespace diag::stack {

inline constexpr int kMaxLevels = 72;

struct Addresses {
    void* pc[kMaxLevels + 16];
    int count = 0;
};

// One resolved level. The name has no parameter list; the line is 0 where the debug information has none.
struct Frame {
    char name[160];
    int line;
};

// Loads the unwinder, so that capturing later (in a signal handler) does not. The debug information is opened
// when names are first asked for.
void prepare();

// The addresses of the callers of this function, skipping the first `skip` of them.
void capture(Addresses& out, int skip);

// Starts the result at the level whose address is `pc` (the faulting instruction of a signal), when it is found.
void startAt(Addresses& addresses, void* pc);

// Names of the addresses into `frames` (at most kMaxLevels); returns how many. Allocates: not for the first,
// signal-safe pass of a crash.
int resolve(const Addresses& addresses, Frame* frames);

// Names without lookup: the address in hex. Signal-safe.
int unresolved(const Addresses& addresses, Frame* frames);

// The stack at the most recent throw of a C++ exception on this thread (captured when it was thrown).
const Addresses& lastThrow();

} // namespace diag::stack
