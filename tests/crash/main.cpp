// lw_crash_harness: kills a scripted learner at random moments and at every file operation of the engine, and
// checks the program folder after each kill. See README.md ("Crash harness") for the short and the long form.

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <thread>

#include "harness.h"
#include "store/faultinject.h"
#include "store/filecommit.h"
#include "support/scripted.h"
#include "support/testdir.h"

namespace {

constexpr int kSeamExit = 86;
constexpr int kSkip = 77; // ctest's skip code: the independent reader is not installed

struct Options {
    std::string scenario;       // empty: all
    int randomKills = 200;
    long seamPoints = -1;       // -1: every one; otherwise that many, spread evenly
    int seamRounds = 3;         // rounds the child plays under the seam
    int maxDelayMs = 300;       // random kills fall in [0, maxDelayMs] after the child's start
    unsigned long long seed = 0;
    std::filesystem::path keep; // failed folders are copied here
};

// The child: the program's start-up sweep, then the scenario, with the seam armed when asked.
int child(char** argv) {
    const crash::Scenario* scenario = crash::findScenario(argv[0]);
    const std::filesystem::path dir = argv[1];
    crash::Journal journal(argv[2]);
    const long seam = std::atol(argv[3]);
    const int rounds = std::atoi(argv[4]);
    std::mt19937_64 rng(std::strtoull(argv[5], nullptr, 10));
    if (!scenario) return 2;
    if (seam >= 0) store::faults::arm({store::faults::AnyOp, {}, unsigned(seam), store::faults::Action::Exit, EIO,
                                       kSeamExit});
    store::sweepLeftovers(dir);
    lwtest::ScriptedContext ctx(QString::fromStdString(dir.string()));
    try {
        scenario->play(ctx, journal, rng, rounds);
    } catch (const std::exception& e) {
        std::cerr << "child: " << e.what() << '\n';
        return 3;
    }
    if (seam == 0) journal.line("N " + std::to_string(store::faults::seen()));
    return 0;
}

pid_t spawn(const std::vector<std::string>& args) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        std::vector<char*> argv;
        static std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
        argv.push_back(self.data());
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv("/proc/self/exe", argv.data());
        ::_exit(127);
    }
    return pid;
}

// Exit code, or 128 + signal.
int wait(pid_t pid) {
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

void freshCopy(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::filesystem::remove_all(to);
    std::filesystem::create_directories(to.parent_path());
    std::filesystem::copy(from, to, std::filesystem::copy_options::recursive);
}

struct Tally {
    int kills = 0, seamPoints = 0, seamTotal = 0, notReached = 0, restarts = 0, evaluations = 0, failures = 0;
};

class Driver {
public:
    Driver(const Options& options, std::filesystem::path work, std::filesystem::path peer)
        : m_options(options), m_work(std::move(work)), m_peer(std::move(peer)) {}

    void run(const crash::Scenario& scenario) {
        const auto prepared = m_work / "prepared";
        std::filesystem::create_directories(prepared);
        scenario.prepare(prepared);
        randomKills(scenario, prepared);
        seamKills(scenario, prepared);
        std::cout << scenario.name << ": " << m_tally.kills << " random kills (" << m_tally.evaluations
                  << " answers finished), " << m_tally.seamPoints << " of " << m_tally.seamTotal
                  << " seam points (" << m_tally.notReached << " not reached, " << m_tally.restarts
                  << " restarts after them), " << m_tally.failures << " failures" << std::endl;
    }
    int failures() const { return m_tally.failures; }

private:
    std::string journal() const { return lwtest::readFile(m_work / "journal"); }

    int play(const crash::Scenario& scenario, const std::filesystem::path& dir, long seam, int rounds,
             unsigned long long seed) {
        std::filesystem::remove(m_work / "journal");
        return wait(spawn({"--child", scenario.name, dir.string(), (m_work / "journal").string(),
                           std::to_string(seam), std::to_string(rounds), std::to_string(seed)}));
    }

    // Checks the folder against the state before the child and the child's journal; a failed folder is kept.
    bool check(const std::string& what, const std::filesystem::path& dir,
               const std::map<std::string, crash::LearningState>& before) {
        const auto findings = crash::verify(dir, before, journal(), m_peer);
        if (findings.empty()) return true;
        ++m_tally.failures;
        std::cout << "FAILED " << what << ":\n";
        for (const auto& f : findings)
            std::cout << "  " << f << '\n';
        if (!m_options.keep.empty()) {
            const auto to = m_options.keep / ("failure-" + std::to_string(m_tally.failures));
            freshCopy(dir, to);
            lwtest::writeFile(to / "journal.txt", journal());
            std::cout << "  kept in " << to << '\n';
        }
        return false;
    }

    static int finished(const std::string& journal) {
        int n = 0;
        for (std::size_t at = 0; (at = journal.find("\nD ", at)) != std::string::npos; ++at)
            ++n;
        return n + (journal.rfind("D ", 0) == 0 ? 1 : 0);
    }

    // The child keeps playing in one folder and is killed after a random delay; the next child starts on what the
    // kill left, as the program would after a crash.
    void randomKills(const crash::Scenario& scenario, const std::filesystem::path& prepared) {
        const auto dir = m_work / "random";
        freshCopy(prepared, dir);
        std::mt19937_64 rng(m_options.seed);
        auto before = crash::readLearningState(dir);
        for (int i = 0; i < m_options.randomKills; ++i) {
            const int delayUs = std::uniform_int_distribution<int>(0, m_options.maxDelayMs * 1000)(rng);
            std::filesystem::remove(m_work / "journal");
            const pid_t pid = spawn({"--child", scenario.name, dir.string(), (m_work / "journal").string(), "-1",
                                     "0", std::to_string(m_options.seed + i)});
            std::this_thread::sleep_for(std::chrono::microseconds(delayUs));
            ::kill(pid, SIGKILL);
            const int status = wait(pid);
            ++m_tally.kills;
            if (status != 128 + SIGKILL) {
                ++m_tally.failures;
                std::cout << "FAILED random kill " << i << ": the child ended by itself (" << status << ")\n";
            }
            m_tally.evaluations += finished(journal());
            check("random kill " + std::to_string(i) + " after " + std::to_string(delayUs) + " us", dir, before);
            before = crash::readLearningState(dir);
        }
    }

    // One fresh folder per file operation: the child is ended right before that operation, the folder checked,
    // and a new child must then start on it and play a round without a fault.
    void seamKills(const crash::Scenario& scenario, const std::filesystem::path& prepared) {
        const auto dir = m_work / "seam";
        freshCopy(prepared, dir);
        const auto before = crash::readLearningState(dir);
        if (play(scenario, dir, 0, m_options.seamRounds, m_options.seed) != 0) {
            ++m_tally.failures;
            std::cout << "FAILED: the unarmed child did not finish\n";
            return;
        }
        const std::string counted = journal();
        const auto at = counted.rfind("N ");
        const long total = at == std::string::npos ? 0 : std::atol(counted.c_str() + at + 2);
        m_tally.seamTotal = int(total);
        std::vector<long> points;
        const long wanted = m_options.seamPoints < 0 ? total : std::min(m_options.seamPoints, total);
        for (long i = 0; i < wanted; ++i)
            points.push_back(1 + i * total / wanted);
        for (long k : points) {
            freshCopy(prepared, dir);
            const int status = play(scenario, dir, k, m_options.seamRounds, m_options.seed);
            ++m_tally.seamPoints;
            if (status != kSeamExit) {
                ++m_tally.notReached;
                std::cout << "seam point " << k << " not reached (child ended with " << status << ")\n";
            }
            m_tally.evaluations += finished(journal());
            if (!check("seam point " + std::to_string(k), dir, before)) continue;
            const auto afterKill = crash::readLearningState(dir);
            if (play(scenario, dir, -1, 1, m_options.seed + 1) != 0) {
                ++m_tally.failures;
                std::cout << "FAILED: the program did not go on after seam point " << k << '\n';
                continue;
            }
            ++m_tally.restarts;
            check("restart after seam point " + std::to_string(k), dir, afterKill);
        }
    }

    Options m_options;
    std::filesystem::path m_work;
    std::filesystem::path m_peer;
    Tally m_tally;
};

int usage() {
    std::cerr << "usage: lw_crash_harness [--scenario NAME] [--random N] [--seams N|all] [--rounds N]\n"
                 "                        [--max-delay MS] [--seed N] [--keep DIR]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 8 && std::string(argv[1]) == "--child") return child(argv + 2);
    Options o;
    o.seed = std::chrono::steady_clock::now().time_since_epoch().count() % 1000000;
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string key = argv[i], value = argv[i + 1];
        if (key == "--scenario") o.scenario = value;
        else if (key == "--random") o.randomKills = std::atoi(value.c_str());
        else if (key == "--seams") o.seamPoints = value == "all" ? -1 : std::atol(value.c_str());
        else if (key == "--rounds") o.seamRounds = std::atoi(value.c_str());
        else if (key == "--max-delay") o.maxDelayMs = std::atoi(value.c_str());
        else if (key == "--seed") o.seed = std::strtoull(value.c_str(), nullptr, 10);
        else if (key == "--keep") o.keep = value;
        else return usage();
    }
    if (argc % 2 == 0) return usage();
    if (lwtest::runCommand("/usr/bin/python3 -c 'import dbfread' 2>/dev/null") != 0) {
        std::cout << "python3-dbfread is not installed (apt-get install python3-dbfread)\n";
        return kSkip;
    }
    std::cout << "seed " << o.seed << std::endl;
    lwtest::TempDir work;
    int failures = 0;
    for (const crash::Scenario& scenario : crash::scenarios()) {
        if (!o.scenario.empty() && o.scenario != scenario.name) continue;
        Driver driver(o, work.path() / scenario.name, LW_CRASH_PEER);
        driver.run(scenario);
        failures += driver.failures();
    }
    return failures == 0 ? 0 : 1;
}
