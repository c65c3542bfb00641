#include <algorithm>
#include <sstream>

#include "harness.h"
#include "store/error.h"
#include "store/filecommit.h"
#include "store/workarea.h"
#include "support/testdir.h"

namespace crash {

namespace {

std::string upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return s;
}

// The tables of the folder; the engine's own temporary files are leftovers the start-up sweep removes.
std::vector<std::filesystem::path> tables(const std::filesystem::path& dir) {
    std::vector<std::filesystem::path> all;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_regular_file() && upper(entry.path().extension().string()) == ".DBF" &&
            !store::isEngineTempName(name))
            all.push_back(entry.path());
    }
    std::sort(all.begin(), all.end());
    return all;
}

bool isLearningState(const std::filesystem::path& table) {
    const std::string stem = upper(table.stem().string());
    return stem == "LOCAL1" || stem == "LOCAL2";
}

// Collects what the engine reports while a check runs.
class ErrorTrap {
public:
    ErrorTrap()
        : m_previous(store::setErrorCallback([this](const store::StoreError& e) {
              m_errors.push_back(e.file + ": " + e.message);
          })) {}
    ~ErrorTrap() { store::setErrorCallback(m_previous); }
    const std::vector<std::string>& errors() const { return m_errors; }

private:
    std::vector<std::string> m_errors;
    store::ErrorCallback m_previous;
};

// Opens the table as the program does and reads every field of every record, memos included.
std::string readWhole(const std::filesystem::path& path) {
    ErrorTrap trap;
    store::Session session;
    store::WorkArea* area = session.use(path, "CHK");
    if (area) {
        store::Table& t = area->table();
        for (std::uint32_t rec = 1; rec <= t.recCount(); ++rec) {
            t.goTo(rec);
            for (int f = 0; f < t.fieldCount(); ++f) {
                if (t.fieldDef(f).type == store::FieldType::Memo)
                    (void)t.memo(f);
                else
                    (void)t.fieldValue(f);
            }
        }
    }
    if (!area && trap.errors().empty()) return "does not open";
    return trap.errors().empty() ? std::string() : trap.errors().front();
}

} // namespace

std::map<std::string, LearningState> readLearningState(const std::filesystem::path& dir) {
    std::map<std::string, LearningState> all;
    for (const auto& path : tables(dir)) {
        if (!isLearningState(path)) continue;
        ErrorTrap trap;
        store::Session session;
        store::WorkArea* area = session.use(path, "DLOC");
        if (!area) continue;
        LearningState& state = all[upper(path.stem().string())];
        for (area->goTop(); !area->eof(); area->skip())
            state[area->text("FRAGENR")] = {int(area->number("ANTWORTEN")), int(area->number("RICHTIG")),
                                            int(area->number("FALSCH"))};
    }
    return all;
}

std::vector<std::string> verify(const std::filesystem::path& dir, const std::map<std::string, LearningState>& before,
                                const std::string& journal, const std::filesystem::path& peerScript) {
    std::vector<std::string> findings;
    const auto all = tables(dir);

    // The peer reads the files as the kill left them, before the engine may finish an interrupted commit.
    std::string command = "/usr/bin/python3 '" + peerScript.string() + "'";
    for (const auto& path : all)
        command += " '" + path.string() + "'";
    std::string peer;
    if (lwtest::runCommand(command + " 2>&1", &peer) != 0) findings.push_back("dbfread did not run: " + peer);
    std::istringstream peerLines(peer);
    for (std::string line; std::getline(peerLines, line);)
        if (line.rfind("FAIL", 0) == 0) findings.push_back("dbfread: " + line.substr(5));

    // Then the program's start: interrupted commits are finished and leftovers removed before any table is used.
    {
        ErrorTrap trap;
        const store::SweepReport sweep = store::sweepLeftovers(dir);
        for (const auto& f : sweep.failed)
            findings.push_back("start-up sweep: " + f);
        for (const auto& e : trap.errors())
            findings.push_back("start-up sweep: " + e);
    }
    for (const auto& path : tables(dir))
        if (const std::string error = readWhole(path); !error.empty())
            findings.push_back("engine: " + path.filename().string() + ": " + error);

    const auto after = readLearningState(dir);
    for (const auto& [table, state] : before)
        if (!after.count(table)) findings.push_back(table + " is gone or does not open");
    for (const auto& [table, state] : after)
        for (const auto& [nr, c] : state)
            if (c.antworten != c.richtig + c.falsch)
                findings.push_back(table + " " + nr + ": ANTWORTEN " + std::to_string(c.antworten) +
                                   " != RICHTIG " + std::to_string(c.richtig) + " + FALSCH " +
                                   std::to_string(c.falsch));

    // What the child finished must all be there; the one answer it was evaluating may be there or not.
    std::map<std::string, LearningState> expected = before;
    std::string table = "LOCAL1", pending;
    std::istringstream lines(journal);
    for (std::string line; std::getline(lines, line);) {
        if (lines.eof() && !journal.empty() && journal.back() != '\n') break; // a line cut by the kill
        std::istringstream words(line);
        std::string kind, nr;
        int right = 0;
        words >> kind >> nr >> right;
        if (kind == "L") {
            table = upper(nr);
        } else if (kind == "B") {
            pending = nr;
        } else if (kind == "D") {
            Counters& c = expected[table][nr];
            ++c.antworten;
            ++(right ? c.richtig : c.falsch);
            pending.clear();
        }
    }
    for (const auto& [name, state] : after) {
        const LearningState& want = expected[name];
        for (const auto& [nr, got] : state) {
            const auto it = want.find(nr);
            const Counters w = it == want.end() ? Counters{} : it->second;
            if (got == w) continue;
            const bool pendingWritten = name == table && nr == pending && got.antworten == w.antworten + 1 &&
                                        got.richtig + got.falsch == w.richtig + w.falsch + 1 &&
                                        got.richtig >= w.richtig && got.falsch >= w.falsch;
            if (!pendingWritten)
                findings.push_back(name + " " + nr + ": counters " + std::to_string(got.antworten) + "/" +
                                   std::to_string(got.richtig) + "/" + std::to_string(got.falsch) +
                                   ", the finished answers give " + std::to_string(w.antworten) + "/" +
                                   std::to_string(w.richtig) + "/" + std::to_string(w.falsch));
        }
        for (const auto& [nr, w] : want)
            if (!state.count(nr)) findings.push_back(name + " " + nr + ": the record is gone");
    }
    return findings;
}

} // namespace crash
