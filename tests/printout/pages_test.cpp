// The page layout of a printout, recorded without a printer: columns, breaks, pictures, solutions.
#include <gtest/gtest.h>

#include <vector>

#include "printout/pages.h"
#include "printout/selection.h"

namespace {

using printout::PrintFont;
using printout::PrintQuestion;

// 2400 x 3600 device pixels: a row step of 60, a column step of 30.
constexpr double kW = 2400, kH = 3600, kRow = 60, kCol = 30;
constexpr double kRightColumn = kW / 2.2;

struct Op {
    enum Kind { Text, Line, Picture } kind;
    double x, y, x2, y2;
    PrintFont font = PrintFont::Normal;
    QString text;
};

class Recorder : public printout::PageCanvas {
public:
    int width() const override { return int(kW); }
    int height() const override { return int(kH); }
    void text(double x, double y, PrintFont font, const QString& text) override {
        pages.back().push_back({Op::Text, x, y, x, y, font, text});
    }
    void line(double x1, double y1, double x2, double y2) override {
        pages.back().push_back({Op::Line, x1, y1, x2, y2, PrintFont::Normal, {}});
    }
    void picture(const QRectF& r, const QByteArray&) override {
        pages.back().push_back({Op::Picture, r.left(), r.top(), r.right(), r.bottom(), PrintFont::Normal, {}});
    }
    bool newPage() override {
        pages.emplace_back();
        return true;
    }
    std::vector<std::vector<Op>> pages{1};
};

class Questions : public printout::QuestionSource {
public:
    int count() const override { return int(list.size()); }
    PrintQuestion question(int index, bool withPicture) const override {
        PrintQuestion q = list[std::size_t(index)];
        if (!withPicture) q.picture.clear();
        return q;
    }
    std::vector<PrintQuestion> list;
};

PrintQuestion choice(int n, int answers, std::array<bool, 3> ok = {true, false, false}) {
    PrintQuestion q;
    q.FRAGENR = QStringLiteral("1.1.01-%1").arg(n, 3, 10, QLatin1Char('0'));
    q.points = 3;
    q.text = QStringLiteral("Frage %1").arg(n);
    for (int i = 0; i < answers; ++i)
        q.answers[std::size_t(i)] = QStringLiteral("Antworttext %1").arg(i + 1);
    q.ok = ok;
    return q;
}

PrintQuestion valueQuestion(int n, const QString& wert, const QString& wert2 = {}) {
    PrintQuestion q = choice(n, 0);
    q.vor = QStringLiteral("Anhalteweg");
    q.wert = wert;
    q.nach = QStringLiteral("Meter");
    if (!wert2.isEmpty()) {
        q.zwisch = QStringLiteral("und");
        q.wert2 = wert2;
    }
    return q;
}

// Where each question's header stands: page, column and row.
struct Place {
    std::size_t page;
    bool right;
    double row;
};
std::vector<Place> headers(const Recorder& r) {
    std::vector<Place> out;
    for (std::size_t p = 0; p < r.pages.size(); ++p)
        for (const Op& op : r.pages[p])
            if (op.kind == Op::Text && op.font == PrintFont::Bold) out.push_back({p, op.x > kW / 2, op.y / kRow});
    return out;
}
// The row of each rule under a question, in order.
std::vector<double> rules(const Recorder& r) {
    std::vector<double> out;
    for (const auto& page : r.pages)
        for (const Op& op : page)
            if (op.kind == Op::Line && op.y == op.y2) out.push_back(op.y / kRow);
    return out;
}

TEST(PrintPages, QuestionsFillTheLeftColumnThenTheRightOneThenANewPage) {
    Questions qs;
    for (int i = 1; i <= 60; ++i) {
        qs.list.push_back(choice(i, 2 + i % 2));
        if (i % 7 == 0) {
            qs.list.back().hasPicture = true;
            qs.list.back().picture = "BM";
        }
    }
    Recorder r;
    ASSERT_TRUE(printout::PRINTFRAGEN(r, qs));
    const std::vector<Place> at = headers(r);
    const std::vector<double> under = rules(r);
    const std::size_t questionPages = at.back().page + 1 - 1; // the last pages hold the solutions
    ASSERT_EQ(at.size(), 120u);
    ASSERT_GE(questionPages, 3u);
    EXPECT_EQ(at[0].page, 0u);
    EXPECT_FALSE(at[0].right);
    EXPECT_DOUBLE_EQ(at[0].row, 0.5);
    int columnChanges = 0;
    for (std::size_t i = 0; i + 1 < 60; ++i) {
        const Place& a = at[i];
        const Place& b = at[i + 1];
        // A question goes on below the last while the column has room for it: 39 rows before a picture, 46 else.
        const bool full = under[i] > (qs.list[i + 1].hasPicture ? 39 : 46);
        SCOPED_TRACE(i);
        if (!full) {
            EXPECT_EQ(b.page, a.page);
            EXPECT_EQ(b.right, a.right);
            continue;
        }
        ++columnChanges;
        EXPECT_DOUBLE_EQ(b.row, 0.5);
        if (a.right) {
            EXPECT_EQ(b.page, a.page + 1);
            EXPECT_FALSE(b.right);
        } else {
            EXPECT_EQ(b.page, a.page);
            EXPECT_TRUE(b.right);
        }
    }
    EXPECT_GE(columnChanges, 4);
    // Nothing runs off the page.
    for (double row : under)
        EXPECT_LT(row, 60);
}

TEST(PrintPages, APictureStandsAtTheColumnStartAndTheTextFollowsBelowIt) {
    Questions qs;
    qs.list = {choice(1, 2), choice(2, 2)};
    for (PrintQuestion& q : qs.list) {
        q.hasPicture = true;
        q.picture = "BM";
    }
    // The second question goes into the right column.
    qs.list[0].text = QString(60 * 40, QLatin1Char('x'));
    Recorder r;
    ASSERT_TRUE(printout::PRINTFRAGEN(r, qs));
    std::vector<Op> pictures, texts;
    for (const Op& op : r.pages[0])
        (op.kind == Op::Picture ? pictures : texts).push_back(op);
    ASSERT_EQ(pictures.size(), 2u);
    const double width = kW / 2.5;
    EXPECT_DOUBLE_EQ(pictures[0].x, 8 * kCol);
    EXPECT_DOUBLE_EQ(pictures[0].y, 2 * kRow);
    EXPECT_NEAR(pictures[0].x2 - pictures[0].x, width, 1e-6);
    EXPECT_NEAR(pictures[0].y2 - pictures[0].y, width * 200 / 318, 1e-6);
    EXPECT_DOUBLE_EQ(pictures[1].x, kRightColumn + 8 * kCol);
    EXPECT_DOUBLE_EQ(pictures[1].y, 2 * kRow);
    // The question text begins below the picture's room: (W / 2.3) * 200 / 318 further down.
    const auto first =
        std::find_if(texts.begin(), texts.end(), [](const Op& op) { return op.text == QString(60, QLatin1Char('x')); });
    ASSERT_NE(first, texts.end());
    EXPECT_NEAR(first->y, 2 * kRow + kW / 2.3 * 200 / 318, 1e-6);
}

TEST(PrintPages, SolutionsFollowThePrintedOrderOnPagesOfTheirOwn) {
    Questions qs;
    qs.list = {choice(1, 3, {false, true, true}), choice(2, 2, {true, false, false}), valueQuestion(3, "0.8"),
               valueQuestion(4, "1.5", "30")};
    Recorder r;
    ASSERT_TRUE(printout::PRINTFRAGEN(r, qs));
    ASSERT_EQ(r.pages.size(), 2u);
    QStringList questionTexts, solutionTexts;
    for (const Op& op : r.pages[0])
        if (op.kind == Op::Text) questionTexts << op.text;
    for (const Op& op : r.pages[1])
        if (op.kind == Op::Text) solutionTexts << op.text;
    // A value's place on the question page is twenty blanks.
    EXPECT_TRUE(
        questionTexts.contains(QStringLiteral("Anhalteweg") + QString(20, QLatin1Char(' ')) + QStringLiteral("Meter")));
    EXPECT_TRUE(questionTexts.contains(QStringLiteral("Anhalteweg") + QString(20, QLatin1Char(' ')) +
                                       QStringLiteral("und") + QString(20, QLatin1Char(' ')) +
                                       QStringLiteral("Meter")));
    EXPECT_EQ(solutionTexts,
              (QStringList{
                  QStringLiteral("Nun folgen die Ergebnisse dieser Prüfungsfragen"),
                  QStringLiteral("Frage Nr.: 1.1.01-001    Fehlerpunkte: 3"), QStringLiteral("(   ) Antwort 1"),
                  QStringLiteral("( X ) Antwort 2"), QStringLiteral("( X ) Antwort 3"),
                  QStringLiteral("Frage Nr.: 1.1.01-002    Fehlerpunkte: 3"), QStringLiteral("( X ) Antwort 1"),
                  QStringLiteral("(   ) Antwort 2"), QStringLiteral("Frage Nr.: 1.1.01-003    Fehlerpunkte: 3"),
                  QStringLiteral("Anhalteweg  0,8  Meter"), QStringLiteral("Frage Nr.: 1.1.01-004    Fehlerpunkte: 3"),
                  QStringLiteral("Anhalteweg  1,5  und  30  Meter")}));
    // The three marks of a question stand on one row at 8, 20 and 30 column steps.
    std::vector<Op> marks;
    for (const Op& op : r.pages[1])
        if (op.text.contains(QLatin1String("Antwort"))) marks.push_back(op);
    ASSERT_EQ(marks.size(), 5u);
    EXPECT_DOUBLE_EQ(marks[0].x, 8 * kCol);
    EXPECT_DOUBLE_EQ(marks[1].x, 20 * kCol);
    EXPECT_DOUBLE_EQ(marks[2].x, 30 * kCol);
    EXPECT_DOUBLE_EQ(marks[0].y, marks[2].y);
}

TEST(PrintPages, SolutionsTurnToTheRightColumnBelowTheHeadingAndThenToANewPage) {
    Questions qs;
    for (int i = 1; i <= 40; ++i)
        qs.list.push_back(choice(i, 2));
    Recorder r;
    ASSERT_TRUE(printout::PRINTFRAGEN(r, qs));
    std::size_t firstSolutionPage = 0;
    while (r.pages[firstSolutionPage].empty() || r.pages[firstSolutionPage][0].font != PrintFont::Heading)
        ++firstSolutionPage;
    std::vector<Place> at = headers(r);
    at.erase(at.begin(), at.begin() + 40);
    ASSERT_EQ(at.size(), 40u);
    // Each solution takes 3.5 rows; from row 2 a column holds 14 of them before it passes row 50.
    EXPECT_EQ(at[0].page, firstSolutionPage);
    EXPECT_DOUBLE_EQ(at[0].row, 2.5);
    EXPECT_FALSE(at[13].right);
    EXPECT_TRUE(at[14].right);
    EXPECT_DOUBLE_EQ(at[14].row, 2.5);
    EXPECT_EQ(at[28].page, firstSolutionPage + 1);
    EXPECT_FALSE(at[28].right);
    const Op& heading = r.pages[firstSolutionPage + 1][0];
    EXPECT_EQ(heading.text, QStringLiteral("Nun folgen weitere Ergebnisse dieser Prüfungsfragen"));
    EXPECT_EQ(heading.font, PrintFont::Heading);
    EXPECT_DOUBLE_EQ(heading.y, 0.5 * kRow);
}

TEST(PrintPages, AnEmptySelectionPrintsAnEmptyPageAndTheHeadingOfTheSolutions) {
    Questions none;
    Recorder r;
    ASSERT_TRUE(printout::PRINTFRAGEN(r, none));
    ASSERT_EQ(r.pages.size(), 2u);
    EXPECT_TRUE(r.pages[0].empty());
    ASSERT_EQ(r.pages[1].size(), 1u);
    EXPECT_EQ(r.pages[1][0].text, QStringLiteral("Nun folgen die Ergebnisse dieser Prüfungsfragen"));
}

TEST(PrintPages, AnswersWithAFormToFillInTakeTheWholeWidth) {
    Questions qs;
    qs.list = {choice(1, 2), choice(2, 2)};
    const QString words = QStringLiteral("wort ").repeated(16).trimmed(); // 79 characters
    qs.list[0].answers = {QStringLiteral("Name: ------"), words, QString()};
    qs.list[1].answers = {QStringLiteral("kurz"), words, QString()};
    Recorder r;
    ASSERT_TRUE(printout::PRINTFRAGEN(r, qs));
    int longLines = 0, shortLines = 0;
    for (const Op& op : r.pages[0])
        if (op.text.startsWith(QLatin1String("wort"))) (op.text.size() > 57 ? longLines : shortLines)++;
    EXPECT_EQ(longLines, 1);
    EXPECT_EQ(shortLines, 2);
}

TEST(PrintPages, AValueLineTooLongForTheColumnGoesOnBelowInsteadOfOffThePaper) {
    Questions qs;
    qs.list = {valueQuestion(1, QStringLiteral("14"), QStringLiteral("10")), choice(2, 2)};
    qs.list[0].vor = QStringLiteral("Kinder müssen bis zum vollendeten");
    qs.list[0].zwisch = QStringLiteral("Lebensjahr, dürfen bis zum vollendeten");
    qs.list[0].nach = QStringLiteral("Lebensjahr");
    Recorder r;
    ASSERT_TRUE(printout::PRINTFRAGEN(r, qs));
    for (const auto& page : r.pages)
        for (const Op& op : page)
            EXPECT_LE(op.text.size(), 60) << op.text.toStdString();
    std::vector<double> rows;
    for (const Op& op : r.pages[0])
        if (op.text.contains(QLatin1String("Lebensjahr")) || op.text.contains(QLatin1String("vollendeten")))
            rows.push_back(op.y / kRow);
    // Frage text at row 2, value lines from 3.2 on, 0.7 apart.
    ASSERT_GE(rows.size(), 2u);
    EXPECT_DOUBLE_EQ(rows[0], 3.2);
    EXPECT_DOUBLE_EQ(rows[1], 3.9);
    // The next question begins 1.5 rows below the last of them and half a row further.
    EXPECT_DOUBLE_EQ(headers(r)[1].row, rows.back() + 1.5 + 0.5);
}

TEST(PrintText, LinesBreakAtBlanksWithinTheWidthAndLoseTheirLeadingBlanks) {
    EXPECT_EQ(printout::wrapText(QStringLiteral("aaa bbb ccc"), 7), (QStringList{"aaa bbb", "ccc"}));
    EXPECT_EQ(printout::wrapText(QStringLiteral("  eins\r\n   zwei"), 60), (QStringList{"eins", "zwei"}));
    EXPECT_EQ(printout::wrapText(QStringLiteral("abcdefghij"), 4), (QStringList{"abcd", "efgh", "ij"}));
    EXPECT_EQ(printout::wrapText(QStringLiteral("ab\r\rcd\r\n"), 60), (QStringList{"ab", "", "cd"}));
    EXPECT_EQ(printout::wrapText(QString(), 60), QStringList{});
    for (const QString& line : printout::wrapText(QStringLiteral("Wie verhalten Sie sich, wenn ").repeated(9), 60))
        EXPECT_LE(line.size(), 60);
    EXPECT_EQ(printout::decimalComma(QStringLiteral("0.8")), QStringLiteral("0,8"));
}

} // namespace
