#include "progress/readiness.h"

#include <QTime>

#include <algorithm>
#include <cmath>
#include <map>
#include <random>

#include "catalog/tables.h"
#include "core/context.h"
#include "exam/composition.h"
#include "store/error.h"
#include "store/table.h"
#include "training/run.h"

namespace progress {

namespace {

std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

} // namespace

std::vector<QuestionState> classQuestions(const core::Context& ctx, const QString& classCode, const History& history) {
    const auto columns = catalog::classColumns(classCode.toStdString());
    if (!columns) return {};
    // A table that cannot be read gives an empty picture, not the runtime error dialog.
    const store::ErrorCallback previous = store::setErrorCallback([](const store::StoreError&) {});
    auto table =
        store::Table::open(ctx.filePath(ctx.login().CS_LOCAL.toStdString() + ".DBF"), store::Table::Mode::SharedRead);
    store::setErrorCallback(previous);
    if (!table) return {};
    const int fNr = table->fieldIndex("FRAGENR"), fTheme = table->fieldIndex("THEMA"),
              fSelect = table->fieldIndex(columns->select), fPoints = table->fieldIndex(columns->points),
              fRight = table->fieldIndex("RICHTIG"), fWrong = table->fieldIndex("FALSCH");
    if (fNr < 0 || fTheme < 0 || fSelect < 0 || fPoints < 0 || fRight < 0 || fWrong < 0) return {};

    // The latest exam answer of each question: the newest exam that asked it decides.
    std::map<std::string, bool> latest;
    for (auto exam = history.exams.rbegin(); exam != history.exams.rend(); ++exam)
        for (const RecordedAnswer& a : exam->answers)
            latest.emplace(a.FRAGENR, !a.wrong);

    std::vector<QuestionState> all;
    for (std::uint32_t rec = 1; rec <= table->recCount(); ++rec) {
        if (!table->goTo(rec) || table->isDeleted()) continue;
        if (table->fieldValue(fSelect).asNumber() <= 0) continue;
        QuestionState q;
        q.FRAGENR = trimmed(table->fieldValue(fNr).asText());
        q.record = rec;
        q.theme = int(table->fieldValue(fTheme).asNumber());
        q.group = q.FRAGENR.empty() ? ' ' : q.FRAGENR.front();
        q.points = int(table->fieldValue(fPoints).asNumber());
        q.RICHTIG = int(table->fieldValue(fRight).asNumber());
        q.FALSCH = int(table->fieldValue(fWrong).asNumber());
        if (const auto it = latest.find(q.FRAGENR); it != latest.end()) q.lastExamRight = it->second;
        all.push_back(std::move(q));
    }
    return all;
}

double knowledge(const QuestionState& q) {
    double a = 1 + std::max(0, q.RICHTIG);
    double b = 1 + std::max(0, q.FALSCH);
    if (q.lastExamRight) (*q.lastExamRight ? a : b) += kRecentWeight;
    return a / (a + b);
}

std::vector<DrawStep> examShape(core::Context& ctx, const QString& classCode,
                                const std::vector<QuestionState>& questions) {
    // The exam takes the questions of each step in its own order (those answered right least often first), not at
    // random: the next exam asks exactly what its composition picks now, so those picks are the pools.
    training::Random random([] { return QTime::currentTime().msecsSinceStartOfDay() / 1000.0; });
    const std::vector<exam::ExamPick> picks = exam::composeExam(ctx, classCode, random);
    std::map<std::uint32_t, int> byRecord;
    for (int i = 0; i < int(questions.size()); ++i)
        byRecord.emplace(questions[std::size_t(i)].record, i);
    std::vector<DrawStep> shape;
    int index = 0;
    for (const catalog::ExamStep& s : catalog::EXAM_STEPS) {
        ++index;
        DrawStep step{s.theme, s.group, 0, {}};
        for (const exam::ExamPick& p : picks)
            if (p.step == index)
                if (const auto it = byRecord.find(p.record); it != byRecord.end()) step.pool.push_back(it->second);
        step.count = int(step.pool.size());
        if (step.count > 0) shape.push_back(std::move(step));
    }
    return shape;
}

Light lightOf(double passRate) {
    if (passRate < 0.5) return Light::Red;
    if (passRate < 0.85) return Light::Yellow;
    return Light::Green;
}

int percentOf(double passRate) {
    // The small slack keeps 0.57 (56.999... times 100) at 57.
    return std::clamp(int(std::floor(passRate * 100 + 1e-9)), 0, 100);
}

Readiness simulate(const std::vector<DrawStep>& shape, const std::vector<QuestionState>& questions,
                   const std::vector<double>& p, const exam::PassLimits& limits, int exams, std::uint32_t seed) {
    Readiness result;
    result.exams = exams;
    for (const DrawStep& s : shape)
        result.questions += s.count;
    if (exams <= 0 || result.questions == 0) return result;

    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    std::vector<std::vector<int>> pools;
    for (const DrawStep& s : shape)
        pools.push_back(s.pool);
    std::array<double, 10> lost{};
    int passed = 0;
    for (int e = 0; e < exams; ++e) {
        int errors = 0, fiveFaults = 0;
        for (std::size_t k = 0; k < shape.size(); ++k) {
            std::vector<int>& pool = pools[k];
            // A partial shuffle: the first `count` entries become a uniform draw without repetition.
            for (int i = 0; i < shape[k].count; ++i) {
                std::uniform_int_distribution<int> pick(i, int(pool.size()) - 1);
                std::swap(pool[i], pool[pick(rng)]);
                const QuestionState& q = questions[pool[i]];
                // One random number per answer whatever p is, so that runs with different p stay paired.
                if (unit(rng) < p[pool[i]]) continue;
                errors += q.points;
                if (q.points == 5) ++fiveFaults;
                if (q.theme >= 0 && q.theme < int(lost.size())) lost[q.theme] += q.points;
            }
        }
        const bool fails = errors > limits.NMAXFEH || (limits.NMAXFUENF > 0 && fiveFaults >= limits.NMAXFUENF);
        if (!fails) ++passed;
    }
    result.passRate = double(passed) / exams;
    for (int theme = 0; theme < int(lost.size()); ++theme)
        if (lost[theme] > 0) result.costliest.push_back({theme, lost[theme] / exams});
    std::stable_sort(result.costliest.begin(), result.costliest.end(),
                     [](const ThemeCost& a, const ThemeCost& b) { return a.points > b.points; });
    if (result.costliest.size() > 3) result.costliest.resize(3);
    return result;
}

Readiness estimateReadiness(core::Context& ctx, const QString& classCode, const History& history) {
    const auto limits = exam::passLimits(classCode);
    if (!limits) return {};
    const std::vector<QuestionState> questions = classQuestions(ctx, classCode, history);
    std::vector<double> p;
    p.reserve(questions.size());
    for (const QuestionState& q : questions)
        p.push_back(knowledge(q));
    return simulate(examShape(ctx, classCode, questions), questions, p, *limits);
}

std::vector<QuestionState> weakest(const std::vector<QuestionState>& questions, std::size_t count) {
    std::vector<QuestionState> sorted = questions;
    std::stable_sort(sorted.begin(), sorted.end(), [](const QuestionState& a, const QuestionState& b) {
        const double ka = knowledge(a), kb = knowledge(b);
        if (ka != kb) return ka < kb;
        return a.FALSCH > b.FALSCH;
    });
    if (sorted.size() > count) sorted.resize(count);
    return sorted;
}

std::vector<QuestionState> mistakes(const std::vector<QuestionState>& questions, std::size_t count) {
    std::vector<QuestionState> chosen;
    for (const QuestionState& q : questions) {
        const bool lastExamWrong = q.lastExamRight && !*q.lastExamRight;
        const bool moreWrong = q.FALSCH > 0 && q.FALSCH >= q.RICHTIG;
        if (lastExamWrong || moreWrong) chosen.push_back(q);
    }
    return weakest(chosen, count);
}

} // namespace progress
