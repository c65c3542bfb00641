#include "exam/composition.h"

#include <QTemporaryDir>

#include "catalog/tables.h"
#include "core/context.h"
#include "store/workarea.h"
#include "training/run.h"

namespace exam {

std::string classCondition(const QString& classCode) {
    const auto columns = catalog::classColumns(classCode.toStdString());
    return columns ? columns->select + " > 0" : std::string();
}

std::optional<PassLimits> passLimits(const QString& classCode) {
    if (!catalog::classColumns(classCode.toStdString())) return std::nullopt;
    // Light mopeds have a lower limit and no rule of their own for 5-point questions; all other classes share one.
    if (classCode.startsWith(QLatin1String("MO"))) return PassLimits{7, 0};
    return PassLimits{10, 2};
}

std::vector<ExamPick> pickStep(store::WorkArea& loc, int theme, char group, int count) {
    std::vector<ExamPick> picks;
    if (count <= 0) return picks;
    // The key begins with the theme as four right-aligned characters.
    if (!loc.seek(QStringLiteral("%1").arg(theme, 4).toStdString())) return picks;
    for (; !loc.eof() && int(loc.number("THEMA")) == theme && int(picks.size()) < count; loc.skip()) {
        const std::string nr = loc.text("FRAGENR");
        if (!nr.empty() && nr.front() == group) picks.push_back({nr, loc.recNo(), 0, theme, group, 0});
    }
    return picks;
}

bool orderForExam(store::WorkArea& loc, const QString& classCode, const std::filesystem::path& cdx) {
    const std::string condition = classCondition(classCode);
    if (condition.empty()) return false;
    const bool never = false;
    return catalog::BUILDINDEX(loc, kExamOrder, cdx, {}, never, condition);
}

std::vector<ExamPick> composeExam(store::WorkArea& loc, training::Random& random) {
    std::vector<ExamPick> all;
    int step = 0;
    for (const catalog::ExamStep& s : catalog::EXAM_STEPS) {
        ++step;
        const int rotation = random.NRANDOM(100);
        for (ExamPick pick : pickStep(loc, s.theme, s.group, s.count)) {
            pick.step = step;
            pick.rotation = rotation;
            all.push_back(std::move(pick));
        }
    }
    return all;
}

std::vector<ExamPick> composeExam(core::Context& ctx, const QString& classCode, training::Random& random) {
    QTemporaryDir scratch;
    if (!scratch.isValid()) return {};
    store::Session session;
    store::WorkArea* loc =
        session.use(ctx.filePath(ctx.login().CS_LOCAL.toStdString() + ".DBF"), "DLOC", store::Table::Mode::SharedRead);
    if (!loc || !orderForExam(*loc, classCode, std::filesystem::path(scratch.path().toStdString()) / "EXAM.CDX"))
        return {};
    return composeExam(*loc, random);
}

} // namespace exam
