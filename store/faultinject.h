#pragma once

// Test seam in the engine's file layer: makes the n-th write, rename or unlink fail or end the process, so that
// tests can prove what the files look like after an error or a crash at exactly that point. Unarmed it costs one
// test of a flag per file operation.

#include <cerrno>
#include <string>

namespace store::faults {

enum Op : unsigned {
    Write = 1,  // writes and truncations of file contents
    Rename = 2, // also counts when either name matches
    Unlink = 4,
    AnyOp = Write | Rename | Unlink,
};

enum class Action {
    Fail, // the operation is not done and reports `error`
    Exit, // the process ends at once (_exit) before the operation: for a forked child standing in for a crash
};

struct Plan {
    unsigned ops = AnyOp;
    std::string file; // part of the file name that must appear (a temporary name contains its target's); empty: any
    unsigned nth = 0; // 1-based; 0 only counts
    Action action = Action::Fail;
    int error = EIO;
    int exitCode = 86;
};

// Arms the plan (replacing an armed one) and sets the count of matching operations to zero.
void arm(const Plan& plan);
void disarm();
// Matching operations since arm(), the injected one included.
unsigned seen();

// Arms a plan for one scope.
class Scope {
public:
    explicit Scope(const Plan& plan) { arm(plan); }
    ~Scope() { disarm(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};

} // namespace store::faults
