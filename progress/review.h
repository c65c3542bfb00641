#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <vector>

#include "progress/history.h"
#include "progress/readiness.h"

namespace core {
class Context;
}

namespace progress {

// One question of a past exam as the review shows it: the catalog's texts in catalog order, which answers are
// right, and the learner's answer beside them. A question the catalog no longer holds keeps its number and the
// learner's answer, with a note in place of its text.
struct ReviewItem {
    std::string FRAGENR;
    int layout = 1; // 1 multiple choice, 2 one number, 3 two numbers
    int points = 0;
    bool wrong = false;
    QString question;
    std::array<QString, 3> answers;
    std::array<bool, 3> right{};
    std::array<bool, 3> ticked{}; // the learner's ticks, catalog order
    QString vor, zwisch, nach;
    QString expected1, expected2; // the right values
    QString given1, given2;       // the learner's entries
    QByteArray picture;           // the bytes of a .BMP, empty for none
};
std::vector<ReviewItem> reviewItems(const core::Context& ctx, const RecordedExam& exam);

// What the report and the dialog show of one class: the readiness, the counts per theme (1..8), the class's
// exams, oldest first, and its weakest questions.
struct ThemeCounts {
    int questions = 0;
    int answered = 0; // answered at least once
    int right = 0;    // answered right at least once
    int answers = 0;  // answers given in all
};
struct ClassSummary {
    QString classCode;
    Readiness readiness;
    std::array<ThemeCounts, 9> themes{}; // index = theme; 0 unused
    std::vector<RecordedExam> exams;
    std::vector<QuestionState> weakest;
    int limit = 10;
};
ClassSummary summarize(core::Context& ctx, const QString& classCode, const History& history);

// The exams of a class: the menu's codes compare by their class ("B / BE" and "B" are one class).
bool sameClass(const QString& a, const QString& b);

// The theme's name for lists and the report.
QString themeName(int theme);

} // namespace progress
