// A whole training run as a learner does it with the keyboard alone, checked afterwards in the learner's table
// with a DBF reader of its own.
#include <QLabel>

#include "trainingui.h"
#include "training/questiondialog.h"
#include "training/solutiondialog.h"
#include "training/themedialog.h"
#include "ui/controls.h"
#include "ui/maskededit.h"

namespace {

using trainingui::TrainingUiTest;

class WholeRun : public TrainingUiTest {};

// Sends a key to whatever has the focus, as the keyboard does.
void key(QWidget* window, Qt::Key k, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : window;
    QTest::keyClick(target, k, modifiers);
}

TEST_F(WholeRun, ClassBThemeOneByKeyboardCountsEveryAnswerInTheLearnersTable) {
    if (lwtest::runCommand("/usr/bin/python3 -c 'import dbfread' 2>/dev/null") != 0)
        GTEST_SKIP() << "python3-dbfread is not installed (apt-get install python3-dbfread)";
    std::vector<trainingfixture::Question> all;
    for (int i = 1; i <= 4; ++i)
        all.push_back(trainingfixture::choice("1.1.01-00" + std::to_string(i), 1, "Frage " + std::to_string(i),
                                              {"Richtig " + std::to_string(i), "Falsch " + std::to_string(i)},
                                              {true, false, false}));
    all.push_back(trainingfixture::value("1.1.02-005", 1, "Frage 5", "etwa", "0,5", "Sekunden"));
    auto other = trainingfixture::choice("1.2.01-006", 2, "Frage 6", {"Ja", "Nein"}, {true, false, false});
    all.push_back(other);
    write(all);
    ctx.settings.LS_WVORLAGE = true;
    ctx.settings.LS_SAUSWERT = true;
    ctx.scripted.messages->queueAnswer(true); // "Statistik anzeigen ?"

    training::Links links;
    QStringList statistics;
    links.statTheme = [&](core::Context&, QWidget*, const QString& code, int theme, const QString& caption) {
        statistics << code << QString::number(theme) << caption;
    };
    int themeDialogs = 0, solutions = 0, presented = 0;
    bool wrongOnce = false;
    trainingui::drive([&](QWidget* modal) {
        if (auto* t = qobject_cast<training::ThemeDialog*>(modal)) {
            if (++themeDialogs == 1) {
                uitest::alt(t, 'G');
                return false;
            }
            QTest::keyClick(t, Qt::Key_Escape);
            return true;
        }
        if (auto* s = qobject_cast<training::SolutionDialog*>(modal)) {
            ++solutions;
            uitest::alt(s, 'W');
            return false;
        }
        auto* q = qobject_cast<training::QuestionDialog*>(modal);
        if (!q) return false;
        ++presented;
        const QString text = q->questionText()->text();
        if (q->layoutType() == 1) {
            // Question 2 is answered wrongly the first time: the wrong answer ticked instead of the right one.
            const bool wrong = text == QStringLiteral("Frage 2") && !wrongOnce;
            if (wrong) wrongOnce = true;
            for (int i = 1; i <= 3; ++i) {
                const bool right = q->answerText(i)->text().startsWith(QStringLiteral("Richtig"));
                const bool other = q->answerText(i)->text().startsWith(QStringLiteral("Falsch"));
                if ((right && !wrong) || (other && wrong)) key(q, Qt::Key(Qt::Key_1 + i - 1), Qt::AltModifier);
            }
            // A box ticked by its Alt key ticks a moment later, as a click would.
            QTest::qWait(200);
        } else {
            // A right value written with a trailing zero.
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("0.50"));
        }
        key(q, Qt::Key_Return);
        return false;
    });
    training::GETTHEMA(ctx, nullptr, QStringLiteral("B / BE"), QStringLiteral("Pkw"), links);

    EXPECT_EQ(themeDialogs, 2);
    EXPECT_EQ(presented, 6); // five questions, then question 2 again
    EXPECT_EQ(solutions, 1);
    EXPECT_EQ(statistics, (QStringList{QStringLiteral("B / BE"), QStringLiteral("1"), QStringLiteral("'Gefahrenlehre'")}));
    QStringList titles;
    for (const auto& shown : ctx.scripted.messages->shown())
        titles << shown.title;
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Nochmals"), QStringLiteral("Achtung"),
                                   QStringLiteral("Tja, leider ...")}));
    EXPECT_TRUE(ctx.scripted.messages->shown().back().text.startsWith(QStringLiteral("Sie haben 3 Fehlerpunkte.")));
    for (const char* f : {"BILD.BMP", "LOCAL.CDX", "T_FRAGE.DBF", "T_FRAGE.FPT", "T_FRAGE.CDX"})
        EXPECT_FALSE(std::filesystem::exists(dir / f)) << f;

    // A question never evaluated keeps the blank counters its new table gave it (read as 0).
    std::string out;
    ASSERT_EQ(lwtest::runCommand("/usr/bin/python3 -c \"import dbfread,sys\n"
                                 "for r in dbfread.DBF(sys.argv[1]):\n"
                                 "    print(r['FRAGENR'].strip(), r['ANTWORTEN'] or 0, r['RICHTIG'] or 0, r['FALSCH'] or 0, "
                                 "len(r['ZULETZT'].strip()))\" '" +
                                     (dir / "LOCAL1.DBF").string() + "'",
                                 &out),
              0);
    EXPECT_EQ(out, "1.1.01-001 1 1 0 2\n"
                   "1.1.01-002 2 1 1 2\n"
                   "1.1.01-003 1 1 0 2\n"
                   "1.1.01-004 1 1 0 2\n"
                   "1.1.02-005 1 1 0 2\n"
                   "1.2.01-006 0 0 0 0\n");
}

} // namespace
