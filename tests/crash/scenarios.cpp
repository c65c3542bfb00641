#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

#include "catalog/tables.h"
#include "core/context.h"
#include "exam/examfixture.h"
#include "exam/examrun.h"
#include "harness.h"
#include "training/catalogfixture.h"
#include "training/run.h"

namespace crash {

Journal::Journal(const std::filesystem::path& path) {
    m_fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
}

Journal::~Journal() {
    if (m_fd >= 0) ::close(m_fd);
}

void Journal::line(const std::string& text) {
    const std::string out = text + '\n';
    std::size_t done = 0;
    while (m_fd >= 0 && done < out.size()) {
        const ssize_t n = ::write(m_fd, out.data() + done, out.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;
        done += std::size_t(n);
    }
}

namespace {

// Two themes of multiple-choice questions with two and three answers, pictures on some, and number questions
// with one and two values, so that every layout and the value pseudo-theme are played.
std::vector<trainingfixture::Question> trainingCatalog() {
    std::vector<trainingfixture::Question> all;
    for (int i = 1; i <= 9; ++i) {
        const std::string nr = "1.1.0" + std::to_string(i % 3 + 1) + "-00" + std::to_string(i);
        if (i % 3 == 0)
            all.push_back(trainingfixture::choice(nr, 1, "Frage " + std::to_string(i), {"Ja", "Nein", "Vielleicht"},
                                                  {true, false, i % 2 == 0}));
        else
            all.push_back(trainingfixture::choice(nr, 1, "Frage " + std::to_string(i), {"Richtig", "Falsch"},
                                                  {true, false, false}));
    }
    all.push_back(trainingfixture::value("1.1.04-010", 1, "Wie weit?", "etwa", "0,5", "Meter"));
    auto two = trainingfixture::value("1.1.04-011", 1, "Wie schwer?", "zwischen", "7", "Tonnen");
    two.zwisch = "und";
    two.wert2 = "12";
    all.push_back(two);
    for (int i = 12; i <= 17; ++i) {
        auto q = trainingfixture::choice("2.2.01-0" + std::to_string(i), 2, "Bildfrage " + std::to_string(i),
                                         {"Links", "Rechts"}, {i % 2 == 0, i % 2 != 0, false});
        q.bitmap = "2201-0" + std::to_string(i);
        q.picture = trainingfixture::bitmapBytes(16, 12, 40, 120, std::uint8_t(i * 10));
        all.push_back(q);
    }
    all.push_back(trainingfixture::value("2.2.02-018", 2, "Wie lange?", "", "3", "Sekunden"));
    return all;
}

void prepareTraining(const std::filesystem::path& dir) {
    if (!trainingfixture::writeCatalog(dir, trainingCatalog()) ||
        catalog::MAKELOCAL(dir, "LOCAL1") != catalog::MakeLocalResult::Created)
        throw std::runtime_error("cannot prepare the training folder " + dir.string());
}

// The learner answers right seven times in ten; a wrong answer flips one tick or types a wrong value.
void answer(training::Run& run, std::mt19937_64& rng) {
    training::RunState& s = run.state();
    const bool right = std::uniform_int_distribution<int>(0, 9)(rng) < 7;
    if (s.NDLGTYP == 1) {
        bool ticks[3] = {run.correct(1), run.correct(2), run.correct(3)};
        if (!right) ticks[std::uniform_int_distribution<int>(0, 2)(rng)] ^= true;
        s.LISOK1 = ticks[0];
        s.LISOK2 = ticks[1];
        s.LISOK3 = ticks[2];
        return;
    }
    s.CMC_WERT = right ? run.expected(1) : QStringLiteral("999");
    if (s.NDLGTYP == 3) s.CMC_WERT2 = run.expected(2);
}

// One answer as the question dialog takes it, journaled before and after its evaluation; then the run goes on.
training::QuestionRun::Step answerAndGoOn(training::QuestionRun& run, training::Run& shared, Journal& journal,
                                          std::mt19937_64& rng) {
    answer(shared, rng);
    const std::string nr = run.state().CFRGNR.trimmed().toStdString();
    journal.line("B " + nr);
    const bool right = run.CHKDATA();
    journal.line("D " + nr + (right ? " 1" : " 0"));
    return run.CHKWEITER();
}

// Training runs as the question dialog drives them, over themes 1, 2 and the number questions, with wrongly
// answered questions presented again; a run that goes on too long is ended as a learner would.
void playTraining(core::Context& ctx, Journal& journal, std::mt19937_64& rng, int rounds) {
    ctx.settings.NS_MAXFRAGEN = 6;
    ctx.settings.LS_WVORLAGE = true;
    ctx.settings.LS_SOUND = false;
    ctx.settings.LS_SPEECH = false;
    static const int themes[] = {1, 2, 9};
    for (int round = 0; rounds == 0 || round < rounds; ++round) {
        const int theme = themes[round % 3];
        training::Run run(ctx);
        run.begin(QStringLiteral("B / BE"), theme, QStringLiteral("Thema"));
        journal.line("L " + ctx.login().CS_LOCAL.toStdString());
        if (!run.CHECKDBF(QStringLiteral("B / BE"), theme)) throw std::runtime_error("the run did not start");
        if (run.state().NVON == 0) continue;
        run.GETDATA();
        for (int evaluations = 0; evaluations < 40; ++evaluations)
            if (answerAndGoOn(run, run, journal, rng) == training::Run::Step::Finished) break;
        run.closeTables();
        run.finish();
    }
}

// Every theme and group of the exam with room for more than one exam, one-value and two-value questions among
// them, so that the exam changes layout on its way.
void prepareExam(const std::filesystem::path& dir) {
    auto all = examfixture::examCatalog(4);
    for (int theme : {2, 5, 7}) {
        auto one = trainingfixture::value(examfixture::nr('1', theme, 90), theme, "Wie weit?", "etwa", "0,5", "Meter");
        one.points = {{"KLASSE_B", examfixture::pointsOf(theme)}};
        all.insert(all.begin(), one);
    }
    auto two = trainingfixture::value(examfixture::nr('2', 8, 91), 8, "Wie schwer?", "zwischen", "7", "Tonnen");
    two.zwisch = "und";
    two.wert2 = "12";
    two.points = {{"KLASSE_B", examfixture::pointsOf(8)}};
    all.insert(all.begin(), two);
    if (!trainingfixture::writeCatalog(dir, all) ||
        catalog::MAKELOCAL(dir, "LOCAL1") != catalog::MakeLocalResult::Created)
        throw std::runtime_error("cannot prepare the exam folder " + dir.string());
}

// Whole exams as the exam dialog drives them, each composed anew from the learner's table the one before changed;
// now and then the learner ends one on the way, as End or the close button would.
void playExam(core::Context& ctx, Journal& journal, std::mt19937_64& rng, int rounds) {
    ctx.settings.LS_SOUND = false;
    ctx.settings.LS_SPEECH = false;
    const QString classCode = QStringLiteral("B / BE");
    for (int round = 0; rounds == 0 || round < rounds; ++round) {
        exam::ExamRun run(ctx);
        run.begin(classCode);
        journal.line("L " + ctx.login().CS_LOCAL.toStdString());
        if (!run.CHECKDBF(classCode)) throw std::runtime_error("the exam did not start");
        if (run.state().NVON == 0) throw std::runtime_error("the exam has no questions");
        run.GETDATA();
        const int endAt = std::uniform_int_distribution<int>(0, 3)(rng) == 0
                              ? std::uniform_int_distribution<int>(1, run.exam().NMAXFRAGEN)(rng)
                              : 0;
        while (run.state().NFRAGENR != endAt)
            if (answerAndGoOn(run, run.run(), journal, rng) == training::QuestionRun::Step::Finished) break;
        run.closeTables();
        run.finish();
    }
}

const std::vector<Scenario> kScenarios = {
    {"training", prepareTraining, playTraining},
    {"exam", prepareExam, playExam},
};

} // namespace

const std::vector<Scenario>& scenarios() {
    return kScenarios;
}

const Scenario* findScenario(const std::string& name) {
    for (const Scenario& s : kScenarios)
        if (name == s.name) return &s;
    return nullptr;
}

} // namespace crash
