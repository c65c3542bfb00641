// The program's start against a bare Qt Widgets window (lw_bench_startup_bare: a menu bar and a picture), both
// started as child processes in the same run on a copy of the program folder:
//   start -> the about box's first frame, and the about box's close -> the idle main window, each and together
//   against the bare window's start -> first frame; the CPU time each took until then, which other load on the
//   machine disturbs less than the wall-clock times; and the memory (RSS and PSS from /proc) of both when idle.
// lw_bench_startup [runs] [program folder]; runs under the display it is given (xvfb-run, or
// QT_QPA_PLATFORM=offscreen). The first start of each (a new learner's table, caches) is not counted.
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// How long a child stays after its last report; its memory is read half-way.
constexpr int kStayMs = 1200;
constexpr int kSettleMs = 600;

struct Run {
    std::map<std::string, double> ms; // instant -> milliseconds after the spawn
    double cpuMs = 0;                 // on-CPU time of all its threads until the last instant
    long rssKb = 0;
    long pssKb = 0;
};

// The time the process's threads have run, from the scheduler's own count: unlike the wall-clock times it does not
// grow when other processes share the CPUs. Threads that have ended are not counted.
double cpuMs(pid_t pid) {
    const fs::path tasks = "/proc/" + std::to_string(pid) + "/task";
    double ns = 0;
    std::error_code error;
    for (const auto& task : fs::directory_iterator(tasks, error)) {
        std::ifstream in(task.path() / "schedstat");
        double onCpu = 0;
        if (in >> onCpu) ns += onCpu;
    }
    return ns / 1e6;
}

long smapsField(pid_t pid, const char* field) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/smaps_rollup");
    std::string line;
    const std::string key = std::string(field) + ":";
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::strtol(line.c_str() + key.size(), nullptr, 10);
    return 0;
}

// Starts `argv`, collects the instants it reports until `last`, reads its memory and waits for it to end.
std::optional<Run> runOnce(const std::vector<std::string>& argv, const std::string& last) {
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return std::nullopt;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[1], STDERR_FILENO);
    std::vector<char*> args;
    for (const auto& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);

    const auto start = Clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(pipeFds[1]);
    if (spawned != 0) {
        close(pipeFds[0]);
        std::fprintf(stderr, "cannot start %s: %s\n", args[0], std::strerror(spawned));
        return std::nullopt;
    }

    Run run;
    std::string buffer, tail;
    bool done = false;
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (!done && Clock::now() < deadline) {
        pollfd p{pipeFds[0], POLLIN, 0};
        if (poll(&p, 1, 200) <= 0) continue;
        char chunk[4096];
        const ssize_t n = read(pipeFds[0], chunk, sizeof chunk);
        if (n <= 0) break;
        buffer.append(chunk, size_t(n));
        size_t eol;
        while ((eol = buffer.find('\n')) != std::string::npos) {
            const std::string line = buffer.substr(0, eol);
            buffer.erase(0, eol + 1);
            std::istringstream words(line);
            std::string tag, instant;
            long long ns = 0;
            if (words >> tag >> instant >> ns && tag == "lenkwerk-startup") {
                const auto at = Clock::time_point(std::chrono::nanoseconds(ns));
                run.ms[instant] = std::chrono::duration<double, std::milli>(at - start).count();
                done = instant == last;
                if (done) run.cpuMs = cpuMs(pid);
            } else {
                tail += line + "\n";
            }
        }
    }
    if (done) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kSettleMs));
        run.rssKb = smapsField(pid, "Rss");
        run.pssKb = smapsField(pid, "Pss");
    }
    // The child closes its window by itself; one that hangs is ended.
    int status = 0;
    const auto exitDeadline = Clock::now() + std::chrono::seconds(20);
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (Clock::now() > exitDeadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            break;
        }
        char drain[4096];
        pollfd p{pipeFds[0], POLLIN, 0};
        if (poll(&p, 1, 50) > 0 && read(pipeFds[0], drain, sizeof drain) <= 0) std::this_thread::yield();
    }
    close(pipeFds[0]);
    if (!done || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "%s did not come up and end cleanly (%s); its output:\n%s", args[0],
                     done ? "bad exit" : "no report", tail.c_str());
        return std::nullopt;
    }
    return run;
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    if (v.empty()) return 0;
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

// The program folder as delivered: what a learner's start leaves behind is not copied.
void copyDelivered(const fs::path& from, const fs::path& to) {
    const std::vector<std::string> left = {"TAVOLIN.INI", "TAVOLIN.SAV", "ERROR.LOG", "Lenkwerk.lck", "Maint"};
    fs::create_directories(to);
    for (const auto& entry : fs::directory_iterator(from)) {
        std::string upper = entry.path().filename().string();
        std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
        bool skip = upper.rfind("LOCAL", 0) == 0 || upper.rfind("T_", 0) == 0;
        for (const auto& name : left) {
            std::string u = name;
            std::transform(u.begin(), u.end(), u.begin(), ::toupper);
            skip = skip || upper == u;
        }
        if (!skip) fs::copy(entry.path(), to / entry.path().filename(), fs::copy_options::recursive);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
    const fs::path source = argc > 2 ? fs::path(argv[2]) : fs::path(LW_DIST_DIR);
    if (!fs::exists(source / "lenkwerk")) {
        std::fprintf(stderr, "no program in %s\n", source.c_str());
        return 2;
    }
    char pattern[] = "/tmp/lw-bench-startup-XXXXXX";
    if (!mkdtemp(pattern)) return 2;
    const fs::path work(pattern);
    const fs::path folder = work / "Lenkwerk";
    copyDelivered(source, folder);
    // The help's working copies and other caches go here, not into the user's home.
    setenv("XDG_CACHE_HOME", (work / "cache").c_str(), 1);
    setenv("LENKWERK_STARTUP_REPORT", std::to_string(kStayMs).c_str(), 1);

    const std::vector<std::string> program = {(folder / "lenkwerk").string()};
    const std::vector<std::string> bare = {LW_BARE_PROGRAM, (folder / "Bitmaps" / "START1.bmp").string()};

    std::printf("start-up: %d runs each, program folder copied from %s, display %s\n", runs, source.c_str(),
                std::getenv("QT_QPA_PLATFORM") ? std::getenv("QT_QPA_PLATFORM") : "from DISPLAY");
    if (!runOnce(program, "idle") || !runOnce(bare, "painted")) return 1;

    std::vector<double> about, toIdle, own, barePaint, cpu, bareCpu, rss, pss, bareRss, barePss;
    for (int i = 0; i < runs; ++i) {
        const auto p = runOnce(program, "idle");
        const auto b = runOnce(bare, "painted");
        if (!p || !b) return 1;
        about.push_back(p->ms.at("about-painted"));
        toIdle.push_back(p->ms.at("idle") - p->ms.at("about-closed"));
        own.push_back(about.back() + toIdle.back());
        cpu.push_back(p->cpuMs);
        bareCpu.push_back(b->cpuMs);
        rss.push_back(p->rssKb / 1024.0);
        pss.push_back(p->pssKb / 1024.0);
        barePaint.push_back(b->ms.at("painted"));
        bareRss.push_back(b->rssKb / 1024.0);
        barePss.push_back(b->pssKb / 1024.0);
    }
    const double base = median(barePaint);
    std::printf("%-44s %10s %10s %8s\n", "median of the runs", "program", "bare", "ratio");
    std::printf("%-44s %8.1f ms %8.1f ms %7.2fx\n", "start -> about box first frame", median(about), base,
                median(about) / base);
    std::printf("%-44s %8.1f ms %8.1f ms %7.2fx\n", "about box closed -> idle main window", median(toIdle), base,
                median(toIdle) / base);
    std::printf("%-44s %8.1f ms %8.1f ms %7.2fx\n", "both together (the program's own start work)", median(own), base,
                median(own) / base);
    std::printf("%-44s %8.1f ms %8.1f ms %7.2fx\n", "CPU time until idle (all threads)", median(cpu), median(bareCpu),
                median(cpu) / median(bareCpu));
    std::printf("%-44s %7.1f MiB %7.1f MiB %7.2fx\n", "idle memory, RSS", median(rss), median(bareRss),
                median(rss) / median(bareRss));
    std::printf("%-44s %7.1f MiB %7.1f MiB %7.2fx\n", "idle memory, PSS", median(pss), median(barePss),
                median(pss) / median(barePss));
    fs::remove_all(work);
    return 0;
}
