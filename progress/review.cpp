#include "progress/review.h"

#include <filesystem>

#include "catalog/answers.h"
#include "catalog/crypt.h"
#include "catalog/tables.h"
#include "core/context.h"
#include "platform/ansi.h"
#include "store/error.h"
#include "store/workarea.h"
#include "training/themes.h"

namespace progress {

std::vector<ReviewItem> reviewItems(const core::Context& ctx, const RecordedExam& exam) {
    std::vector<ReviewItem> items;
    const store::ErrorCallback previous = store::setErrorCallback([](const store::StoreError&) {});
    store::Session session;
    store::WorkArea* frg = session.use(ctx.filePath("FRAGEN.DBF"), "DFRG", store::Table::Mode::SharedRead);
    // Seeks need the catalog's index; without it the catalog is walked once per question.
    const auto cdx = ctx.filePath("FRAGEN.CDX");
    const bool indexed = frg && std::filesystem::exists(cdx) && frg->openIndex(cdx) && frg->setOrder("FRAGEN");
    store::setErrorCallback(previous);
    const auto find = [&](const std::string& nr) {
        if (!frg) return false;
        if (indexed) return frg->seek(nr);
        for (frg->goTop(); !frg->eof(); frg->skip())
            if (frg->text("FRAGENR") == nr) return true;
        return false;
    };
    for (const RecordedAnswer& a : exam.answers) {
        ReviewItem item;
        item.FRAGENR = a.FRAGENR;
        item.points = a.points;
        item.wrong = a.wrong;
        if (!find(a.FRAGENR)) {
            item.question = QStringLiteral("Diese Frage ist nicht mehr im Fragenkatalog.");
            item.given1 = a.given;
            items.push_back(std::move(item));
            continue;
        }
        item.layout = catalog::questionLayout(*frg);
        item.question = catalog::readableText(*frg, "FRAGE");
        static const char* const antw[3] = {"ANTW1", "ANTW2", "ANTW3"};
        static const char* const ok[3] = {"OK1", "OK2", "OK3"};
        for (int i = 0; i < 3; ++i) {
            item.answers[i] = catalog::readableText(*frg, antw[i]);
            item.right[i] = frg->logical(ok[i]);
            item.ticked[i] = item.layout == 1 && i < a.given.size() && a.given[i] == QLatin1Char('X');
        }
        item.vor = catalog::fieldText(*frg, "MC_VOR").trimmed();
        item.zwisch = catalog::fieldText(*frg, "MC_ZWISCH").trimmed();
        item.nach = catalog::fieldText(*frg, "MC_NACH").trimmed();
        item.expected1 = catalog::fieldText(*frg, "MC_WERT").trimmed();
        item.expected2 = catalog::fieldText(*frg, "MC_WERT2").trimmed();
        if (item.layout > 1) {
            const QStringList parts = a.given.split(QLatin1Char(';'));
            item.given1 = parts.value(0);
            item.given2 = parts.value(1);
        }
        if (catalog::pictureKind(*frg) == catalog::PictureKind::Own) {
            const std::string bytes = frg->text("PICTURE");
            item.picture = QByteArray(bytes.data(), qsizetype(bytes.size()));
        }
        items.push_back(std::move(item));
    }
    return items;
}

bool sameClass(const QString& a, const QString& b) {
    const auto ca = catalog::classColumns(a.toStdString()), cb = catalog::classColumns(b.toStdString());
    if (!ca || !cb) return a == b;
    return ca->select == cb->select && ca->points == cb->points;
}

QString themeName(int theme) {
    QString title = training::themeTitle(theme);
    if (title.startsWith(QLatin1Char('\''))) title = title.mid(1);
    if (title.endsWith(QLatin1Char('\''))) title.chop(1);
    return title;
}

ClassSummary summarize(core::Context& ctx, const QString& classCode, const History& history) {
    ClassSummary s;
    s.classCode = classCode;
    if (const auto limits = exam::passLimits(classCode)) s.limit = limits->NMAXFEH;
    const std::vector<QuestionState> questions = classQuestions(ctx, classCode, history);
    for (const QuestionState& q : questions) {
        if (q.theme < 1 || q.theme > 8) continue;
        ThemeCounts& t = s.themes[std::size_t(q.theme)];
        ++t.questions;
        if (q.RICHTIG + q.FALSCH > 0) ++t.answered;
        if (q.RICHTIG > 0) ++t.right;
        t.answers += q.RICHTIG + q.FALSCH;
    }
    for (const RecordedExam& e : history.exams)
        if (sameClass(e.classCode, classCode)) s.exams.push_back(e);
    s.weakest = weakest(questions, 20);
    s.readiness = estimateReadiness(ctx, classCode, history);
    return s;
}

} // namespace progress
