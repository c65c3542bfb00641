#pragma once

// The crash harness: a scripted learner works through the program's own logic in a child process, which is killed
// at random moments or ended by the engine's fault seam at one file operation; afterwards every table must open,
// the learning-state counters must agree with each other and with what the child had finished.

#include <cstdint>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace core {
class Context;
}

namespace crash {

// What the child has done, written with one write(2) per line so that a kill loses nothing already returned:
// "B <question>" before an answer is evaluated, "D <question> <1|0>" once the evaluation has returned.
class Journal {
public:
    explicit Journal(const std::filesystem::path& path);
    ~Journal();
    Journal(const Journal&) = delete;
    Journal& operator=(const Journal&) = delete;

    void line(const std::string& text);

private:
    int m_fd = -1;
};

// A scripted use of the program: prepares a program folder once, then plays `rounds` rounds (0: until killed).
// An exam scenario joins by adding one entry to scenarios().
struct Scenario {
    const char* name;
    void (*prepare)(const std::filesystem::path& dir);
    void (*play)(core::Context& ctx, Journal& journal, std::mt19937_64& rng, int rounds);
};
const std::vector<Scenario>& scenarios();
const Scenario* findScenario(const std::string& name);

struct Counters {
    int antworten = 0;
    int richtig = 0;
    int falsch = 0;
    bool operator==(const Counters&) const = default;
};
using LearningState = std::map<std::string, Counters>; // by question number

// The learning-state tables of a program folder as the engine reads them; a table that does not open is missing.
std::map<std::string, LearningState> readLearningState(const std::filesystem::path& dir);

// Everything found wrong in a folder after a kill, given the learning state before the child started and the
// child's journal. Empty when all is well.
std::vector<std::string> verify(const std::filesystem::path& dir, const std::map<std::string, LearningState>& before,
                                const std::string& journal, const std::filesystem::path& peerScript);

} // namespace crash
