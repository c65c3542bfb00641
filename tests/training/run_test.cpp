#include <gtest/gtest.h>

#include <QFile>

#include <set>

#include "catalog/tables.h"
#include "platform/inifile.h"
#include "store/workarea.h"
#include "support/scripted.h"
#include "support/testdir.h"
#include "training/catalogfixture.h"
#include "training/entries.h"
#include "training/run.h"
#include "training/verdict.h"

// Readable failure messages for texts.
inline std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << '"' << s.toStdString() << '"';
}

namespace {

using trainingfixture::Counts;
using trainingfixture::Question;
using TrainingRun = training::Run;

class RunTest : public ::testing::Test {
protected:
    RunTest() : ctx(QString::fromStdString(dir.path().string())) {
        ctx.settings.NS_MAXFRAGEN = 30;
        ctx.settings.LS_WVORLAGE = false;
        ctx.settings.LS_SAUSWERT = false;
        ctx.settings.LS_SOUND = true;
        ctx.settings.LS_SPEECH = false;
    }

    void write(const std::vector<Question>& questions) {
        ASSERT_TRUE(trainingfixture::writeCatalog(dir.path(), questions));
        ASSERT_EQ(catalog::MAKELOCAL(dir.path(), "LOCAL1"), catalog::MakeLocalResult::Created);
    }

    // `count` multiple-choice questions of theme `theme` for class B, numbered from `first`.
    static std::vector<Question> questions(int count, int theme = 1, int first = 1) {
        std::vector<Question> all;
        for (int i = first; i < first + count; ++i) {
            char nr[16];
            std::snprintf(nr, sizeof nr, "1.%d.01-%03d", theme, i);
            all.push_back(trainingfixture::choice(nr, theme, "Frage " + std::to_string(i),
                                                  {"Richtig " + std::to_string(i), "Falsch"}, {true, false, false}));
        }
        return all;
    }

    // The question numbers of the working set in presentation order.
    std::vector<std::string> workingSet(TrainingRun& run) {
        std::vector<std::string> nrs;
        store::WorkArea* fra = run.session().find("DFRA");
        for (fra->goTop(); !fra->eof(); fra->skip())
            nrs.push_back(fra->text("FRAGENR"));
        fra->goTop();
        return nrs;
    }

    std::map<std::string, Counts> counts() { return trainingfixture::readCounts(dir / "LOCAL1.DBF"); }

    lwtest::TempDir dir;
    lwtest::ScriptedContext ctx;
};

TEST_F(RunTest, AFreshLearnerGetsTheQuestionsOfClassAndThemeInCatalogOrderUpToTheLimit) {
    auto all = questions(30, 1);
    auto other = questions(5, 2, 31);
    all.insert(all.begin() + 10, other.begin(), other.end());
    all[3].points = {{"KLASSE_A", 2}}; // not a class B question
    write(all);
    ctx.settings.NS_MAXFRAGEN = 12;
    TrainingRun run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
    EXPECT_EQ(run.state().NVON, 12);
    const auto set = workingSet(run);
    ASSERT_EQ(set.size(), 12u);
    EXPECT_EQ(set.front(), "1.1.01-001");
    EXPECT_EQ(set[3], "1.1.01-005"); // 004 is not in class B
    EXPECT_EQ(set.back(), "1.1.01-013");
    // The selection index is gone once the questions are chosen.
    EXPECT_FALSE(std::filesystem::exists(dir / "LOCAL.CDX"));
}

TEST_F(RunTest, AThemeWithFewerQuestionsThanTheLimitGivesAllOfThem) {
    write(questions(12, 4));
    TrainingRun run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 4));
    EXPECT_EQ(run.state().NVON, 12);
}

TEST_F(RunTest, TheWeakestQuestionsComeFirst) {
    write(questions(6));
    // 001: right once; 002: wrong five times; 003: never; 004: wrong once at :59; 005: wrong once at :07;
    // 006: right twice.
    ASSERT_TRUE(trainingfixture::setCounts(dir / "LOCAL1.DBF", {{"1.1.01-001", {1, 1, 0, "30"}},
                                                                {"1.1.01-002", {5, 0, 5, "10"}},
                                                                {"1.1.01-004", {1, 0, 1, "59"}},
                                                                {"1.1.01-005", {1, 0, 1, "07"}},
                                                                {"1.1.01-006", {2, 2, 0, "01"}}}));
    TrainingRun run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
    const std::vector<std::string> expected = {"1.1.01-003", "1.1.01-005", "1.1.01-004",
                                               "1.1.01-002", "1.1.01-001", "1.1.01-006"};
    EXPECT_EQ(workingSet(run), expected);
    // NUMMER follows the order.
    store::WorkArea* fra = run.session().find("DFRA");
    int n = 0;
    for (fra->goTop(); !fra->eof(); fra->skip())
        EXPECT_EQ(fra->number("NUMMER"), ++n);
}

TEST_F(RunTest, TwoRunsOverTheSameStateChooseTheSameQuestions) {
    write(questions(8));
    std::vector<std::string> first;
    {
        TrainingRun run(ctx);
        ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
        first = workingSet(run);
    }
    ctx.scripted.clock->advanceSeconds(17);
    TrainingRun run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
    EXPECT_EQ(workingSet(run), first);
}

TEST_F(RunTest, ValuesThemeTakesEveryNumberQuestionOfTheClassWhateverItsTheme) {
    auto all = questions(3, 1);
    all.push_back(trainingfixture::value("1.2.02-001", 2, "Abstand?", "mindestens", "50", "m"));
    all.push_back(trainingfixture::value("1.7.02-002", 7, "Profil?", "", "1,6", "mm"));
    auto lorry = trainingfixture::value("2.7.02-003", 7, "Lkw?", "", "12", "t");
    lorry.points = {{"KLASSE_C", 4}};
    all.push_back(lorry);
    write(all);
    TrainingRun run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 9));
    const std::vector<std::string> expected = {"1.2.02-001", "1.7.02-002"};
    EXPECT_EQ(workingSet(run), expected);
}

TEST_F(RunTest, ClassDESelectsByTheDColumnAndScoresByTheCEColumn) {
    auto all = questions(3);
    all[0].points = {{"KLASSE_D", 4}, {"KLASSE_CE", 5}};
    all[1].points = {{"KLASSE_D", 2}}; // CE 0: no error points in DE
    all[2].points = {{"KLASSE_CE", 3}};
    write(all);
    TrainingRun run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("DE"), 1));
    ASSERT_EQ(run.state().NVON, 2);
    store::WorkArea* fra = run.session().find("DFRA");
    fra->goTop();
    EXPECT_EQ(fra->text("FRAGENR"), "1.1.01-001");
    EXPECT_EQ(fra->number("PUNKTE"), 5);
    fra->skip();
    EXPECT_EQ(fra->number("PUNKTE"), 0);
}

TEST(Random, FollowsItsSeedFromCallToCall) {
    training::Random random([] { return 1.5; });
    EXPECT_EQ(random.NRANDOM(100), 2);  // 1.5 * 1.5 = 2.25
    EXPECT_EQ(random.NRANDOM(100), 5);  // (2.25 + 1.5) * 1.5 = 5.625
    EXPECT_EQ(random.NRANDOM(100), 10); // (5.625 + 1.5) * 1.5 = 10.6875
    training::Random late([] { return 86399.99; });
    for (int i = 0; i < 50; ++i) {
        const int r = late.NRANDOM(100);
        EXPECT_GE(r, 0);
        EXPECT_LE(r, 100);
    }
}

TEST_F(RunTest, AnswersAreOnlyRotatedAndTheirFlagsTravelWithThem) {
    write({trainingfixture::choice("1.1.01-001", 1, "Drei", {"A", "B", "C"}, {false, true, false}),
           trainingfixture::choice("1.1.01-002", 1, "Zwei", {"X", "Y"}, {true, false, false})});
    std::set<std::string> three, two;
    for (int run_ = 0; run_ < 60; ++run_) {
        ctx.scripted.clock->set(QDateTime(QDate(2007, 1, 1), QTime(8, 0).addMSecs(run_ * 7310)));
        TrainingRun run(ctx);
        ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
        store::WorkArea* fra = run.session().find("DFRA");
        for (fra->goTop(); !fra->eof(); fra->skip()) {
            std::string order;
            for (const char* f : {"ANTW1", "ANTW2", "ANTW3"})
                order += catalog::ENCRYPT(fra->text(f));
            // The right answer is where its flag is.
            const std::string right = fra->text("FRAGENR") == "1.1.01-001" ? "B" : "X";
            for (int i = 0; i < 3; ++i)
                EXPECT_EQ(fra->logical(("OK" + std::to_string(i + 1)).c_str()),
                          i < int(order.size()) && order.substr(i, 1) == right);
            (order.size() == 3 ? three : two).insert(order);
        }
    }
    EXPECT_EQ(three, (std::set<std::string>{"ABC", "BCA", "CAB"}));
    EXPECT_EQ(two, (std::set<std::string>{"XY", "YX"}));
}

TEST(Entries, NumbersAreComparedAsThePersonWroteThem) {
    using training::entryRight;
    for (const char* e : {"7", "07", "7,0", "7.0", " 7 ", "7,00"})
        EXPECT_TRUE(entryRight(e, "7")) << e;
    EXPECT_TRUE(entryRight("0.5", "0,5"));
    EXPECT_TRUE(entryRight("0,50", "0,5")); // trailing zeros after the comma do not change the value
    EXPECT_TRUE(entryRight("0,5", "0,50"));
    EXPECT_TRUE(entryRight("1,60", "1,6"));
    EXPECT_FALSE(entryRight("1.000", "1000")); // the point is a decimal comma: the entry is 1
    EXPECT_TRUE(entryRight("1.000", "1"));
    EXPECT_TRUE(entryRight("", "0"));
    EXPECT_TRUE(entryRight("          ", "0"));
    EXPECT_FALSE(entryRight("", "5"));
    EXPECT_FALSE(entryRight("0,55", "0,5"));
    EXPECT_FALSE(entryRight("5", "50"));
    EXPECT_FALSE(entryRight("50", "5"));
    EXPECT_FALSE(entryRight("07,5", "7,5")); // a fraction keeps the entry as typed
    EXPECT_FALSE(entryRight("abc", "5"));
}

TEST(Counters, StayConsistentAndStopAt9999) {
    using training::countAnswer;
    auto c = countAnswer({3, 1, 2}, true);
    EXPECT_EQ(c.ANTWORTEN, 4);
    EXPECT_EQ(c.RICHTIG, 2);
    EXPECT_EQ(c.FALSCH, 2);
    c = countAnswer({9998, 9000, 998}, false);
    EXPECT_EQ(c.ANTWORTEN, 9999);
    EXPECT_EQ(c.FALSCH, 999);
    // Full: the answer is no longer counted, and nothing passes 9999.
    c = countAnswer({9999, 5000, 4999}, true);
    EXPECT_EQ(c.ANTWORTEN, 9999);
    EXPECT_EQ(c.RICHTIG, 5000);
    EXPECT_EQ(c.FALSCH, 4999);
    c = countAnswer({9999, 9999, 0}, true);
    EXPECT_EQ(c.RICHTIG, 9999);
    EXPECT_EQ(c.ANTWORTEN, 9999);
    // A damaged record comes back consistent.
    c = countAnswer({7, 1, 1}, false);
    EXPECT_EQ(c.ANTWORTEN, c.RICHTIG + c.FALSCH);
    EXPECT_EQ(c.FALSCH, 2);
}

// The learner's record of a question as the file on disk holds it while the run still has the table open.
std::map<std::string, std::string> recordOnDisk(const std::filesystem::path& dbf, const std::string& fragenr) {
    const std::string bytes = lwtest::readFile(dbf);
    const int header = (unsigned char)bytes[8] | ((unsigned char)bytes[9] << 8);
    const int length = (unsigned char)bytes[10] | ((unsigned char)bytes[11] << 8);
    for (size_t at = header; at + length <= bytes.size(); at += length) {
        std::map<std::string, std::string> fields;
        size_t offset = at + 1;
        for (const auto& f : catalog::localFields()) {
            std::string v = bytes.substr(offset, f.length);
            v.erase(0, v.find_first_not_of(' '));
            v.erase(v.find_last_not_of(' ') + 1);
            fields[f.name] = v;
            offset += f.length;
        }
        if (fields["FRAGENR"] == fragenr) return fields;
    }
    return {};
}

TEST_F(RunTest, EachEvaluationReachesTheLearnersFileAtOnceInOneConsistentRecord) {
    write(questions(2));
    ASSERT_TRUE(trainingfixture::setCounts(dir / "LOCAL1.DBF", {{"1.1.01-002", {9999, 5000, 4999, "11"}}}));
    ctx.scripted.clock->set(QDateTime(QDate(2007, 1, 1), QTime(9, 41, 37)));
    TrainingRun run(ctx);
    run.begin(QStringLiteral("B / BE"), 1, QStringLiteral("'Gefahrenlehre'"));
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
    run.GETDATA();
    ASSERT_EQ(run.state().CFRGNR, QStringLiteral("1.1.01-001"));
    // Tick the wrong answer only.
    const int wrongPosition = run.correct(1) ? 2 : 1;
    (wrongPosition == 1 ? run.state().LISOK1 : run.state().LISOK2) = true;
    EXPECT_FALSE(run.CHKDATA());
    auto rec = recordOnDisk(dir / "LOCAL1.DBF", "1.1.01-001");
    EXPECT_EQ(rec["ANTWORTEN"], "1");
    EXPECT_EQ(rec["RICHTIG"], "0");
    EXPECT_EQ(rec["FALSCH"], "1");
    EXPECT_EQ(rec["ZULETZT"], "37");
    EXPECT_EQ(run.state().NFEHLER, 3);
    EXPECT_EQ(run.state().NFRAGEN, 1);
    EXPECT_EQ(ctx.scripted.sound->played(), QStringList{QStringLiteral(".\\Sounds\\fehler.wav")});

    ASSERT_EQ(run.CHKWEITER(), TrainingRun::Step::Next);
    run.state().LISOK1 = run.correct(1);
    run.state().LISOK2 = run.correct(2);
    EXPECT_TRUE(run.CHKDATA());
    rec = recordOnDisk(dir / "LOCAL1.DBF", "1.1.01-002");
    EXPECT_EQ(rec["ANTWORTEN"], "9999");
    EXPECT_EQ(rec["RICHTIG"], "5000");
    EXPECT_EQ(rec["FALSCH"], "4999");
    EXPECT_EQ(rec["ZULETZT"], "37");
    EXPECT_EQ(ctx.scripted.sound->played().last(), QStringLiteral(".\\Sounds\\pok.wav"));
}

TEST_F(RunTest, MultipleChoiceIsRightOnlyWithExactlyTheRightTicks) {
    write({trainingfixture::choice("1.1.01-001", 1, "Zwei", {"Ja", "Nein"}, {true, false, false})});
    TrainingRun run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
    run.GETDATA();
    const int right = run.correct(1) ? 1 : 2;
    auto tick = [&](bool a, bool b, bool c) {
        run.state().LISOK1 = a;
        run.state().LISOK2 = b;
        run.state().LISOK3 = c;
        return run.CHKDATA();
    };
    EXPECT_TRUE(tick(right == 1, right == 2, false));
    EXPECT_FALSE(tick(right == 1, right == 2, true)); // the empty third box ticked
    EXPECT_FALSE(tick(true, true, false));
    EXPECT_FALSE(tick(false, false, false));
    run.closeTables();
    EXPECT_EQ(counts()["1.1.01-001"].antworten, 4);
    EXPECT_EQ(counts()["1.1.01-001"].richtig, 1);
}

TEST_F(RunTest, TwoNumberQuestionsNeedBothValues) {
    auto q = trainingfixture::value("1.7.02-001", 7, "Reifen?", "vorn", "1,6", "mm");
    q.zwisch = "und hinten";
    q.wert2 = "2";
    write({q});
    TrainingRun run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 7));
    run.GETDATA();
    EXPECT_EQ(run.state().NDLGTYP, 3);
    EXPECT_EQ(run.state().CMC_ZWISCH, QStringLiteral("und hinten"));
    run.state().CMC_WERT = QStringLiteral("1.6");
    run.state().CMC_WERT2 = QStringLiteral("3");
    EXPECT_FALSE(run.CHKDATA());
    run.state().CMC_WERT2 = QStringLiteral("2,0");
    EXPECT_TRUE(run.CHKDATA());
    EXPECT_EQ(run.solutionText(), QStringLiteral("vorn 1,6 und hinten 2 mm"));
    run.GETERGEBNIS();
    EXPECT_EQ(run.state().CMC_WERT, QStringLiteral("1,6"));
    EXPECT_EQ(run.state().CMC_WERT2, QStringLiteral("2"));
}

TEST_F(RunTest, SolutionTextListsTheAnswersAsShown) {
    write({trainingfixture::choice("1.1.01-001", 1, "Drei", {"A", "B", "C"}, {false, true, true}),
           trainingfixture::value("1.2.02-001", 2, "Abstand?", "mindestens", "50", "m")});
    ctx.settings.NS_MAXFRAGEN = 1;
    TrainingRun run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
    run.GETDATA();
    QString expected;
    for (int i = 1; i <= 3; ++i)
        expected += QStringLiteral("\rAntwort %1 = ").arg(i) + (run.correct(i) ? "Richtig" : "Falsch");
    EXPECT_EQ(run.solutionText(), expected);
    EXPECT_EQ(expected.count(QStringLiteral("Richtig")), 2);
    run.finish();
    TrainingRun values(ctx);
    ASSERT_TRUE(values.CHECKDBF(QStringLiteral("B / BE"), 2));
    values.GETDATA();
    EXPECT_EQ(values.solutionText(), QStringLiteral("mindestens 50 m"));
}

TEST_F(RunTest, WronglyAnsweredQuestionsComeBackUntilAllAreRight) {
    write(questions(3));
    ctx.settings.LS_WVORLAGE = true;
    TrainingRun run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
    run.GETDATA();
    auto answer = [&](bool right) {
        run.state().LISOK1 = right ? run.correct(1) : !run.correct(1);
        run.state().LISOK2 = run.correct(2);
        return run.CHKDATA();
    };
    EXPECT_TRUE(answer(true));
    ASSERT_EQ(run.CHKWEITER(), TrainingRun::Step::Next);
    EXPECT_FALSE(answer(false));
    const QString wrong = run.state().CFRGNR;
    ASSERT_EQ(run.CHKWEITER(), TrainingRun::Step::Next);
    EXPECT_TRUE(answer(true));
    ASSERT_EQ(run.CHKWEITER(), TrainingRun::Step::NewPass);
    EXPECT_EQ(ctx.scripted.messages->shown().back().title, QStringLiteral("Nochmals"));
    EXPECT_EQ(run.state().NVON, 1);
    EXPECT_EQ(run.state().NFRAGENR, 1);
    EXPECT_EQ(run.state().CFRGNR, wrong);
    // Wrong again: another pass with the same question.
    EXPECT_FALSE(answer(false));
    ASSERT_EQ(run.CHKWEITER(), TrainingRun::Step::NewPass);
    EXPECT_EQ(run.state().CFRGNR, wrong);
    EXPECT_TRUE(answer(true));
    ASSERT_EQ(run.CHKWEITER(), TrainingRun::Step::Finished);
    EXPECT_EQ(ctx.scripted.messages->shown().back().text, QStringLiteral("Dies war die letzte Frage."));
    EXPECT_EQ(run.state().NFRAGEN, 5);
    EXPECT_EQ(run.state().NFEHLER, 6);
    run.closeTables();
    EXPECT_EQ(counts()[wrong.toStdString()].antworten, 3);
}

TEST_F(RunTest, WithoutRepresentationTheRunEndsAfterTheLastQuestion) {
    write(questions(2));
    TrainingRun run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
    run.GETDATA();
    run.CHKDATA();
    ASSERT_EQ(run.CHKWEITER(), TrainingRun::Step::Next);
    run.CHKDATA();
    EXPECT_EQ(run.CHKWEITER(), TrainingRun::Step::Finished);
    ASSERT_EQ(ctx.scripted.messages->shown().size(), 1u);
    EXPECT_EQ(ctx.scripted.messages->shown()[0].title, QStringLiteral("Achtung"));
}

TEST_F(RunTest, AnEmptySelectionIsExplained) {
    write(questions(3, 1));
    {
        TrainingRun run(ctx);
        run.begin(QStringLiteral("B / BE"), 5, QStringLiteral("'Umweltschutz'"));
        ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 5));
        EXPECT_EQ(run.state().NVON, 0);
        EXPECT_TRUE(run.emptySelectionNotice().contains(QStringLiteral("keine Fragen")));
    }
    ctx.settings.NS_MAXFRAGEN = 0;
    TrainingRun run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
    EXPECT_EQ(run.state().NVON, 0);
    EXPECT_TRUE(run.emptySelectionNotice().contains(QStringLiteral("auf 0 gesetzt")));
}

TEST_F(RunTest, PicturesAndFillerPicturesAndNoTemporaryFileOutlivesTheRun) {
    auto all = questions(4);
    all[0].bitmap = "1101-001";
    all[0].picture = trainingfixture::bitmapBytes(4, 3, 200, 10, 10);
    all[1].bitmap = "KEINBILD";
    all[2].bitmap = "KEINBILD";
    write(all);
    const QString ini = QString::fromStdString((dir / "TAVOLIN.INI").string());
    platform::writeProfileString(ini, QStringLiteral("KeinBild"), QStringLiteral("MaxBilder"), QStringLiteral("3"));
    platform::writeProfileString(ini, QStringLiteral("KeinBild"), QStringLiteral("LastBild"), QStringLiteral("3"));
    platform::writeProfileString(ini, QStringLiteral("KeinBild"), QStringLiteral("Bild2"),
                                 QStringLiteral(".\\Bitmaps\\Kreisel.bmp"));
    {
        TrainingRun run(ctx);
        ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
        run.GETDATA();
        EXPECT_EQ(run.state().CBITMAP.toStdString(), (dir / "BILD.BMP").string());
        EXPECT_EQ(lwtest::readFile(dir / "BILD.BMP"), all[0].picture);
        run.CHKWEITER();
        EXPECT_TRUE(run.state().CBITMAP.endsWith(QStringLiteral("Bitmaps/Bild1.bmp"))) << run.state().CBITMAP;
        run.CHKWEITER();
        EXPECT_TRUE(run.state().CBITMAP.endsWith(QStringLiteral("Bitmaps/Kreisel.bmp"))) << run.state().CBITMAP;
        EXPECT_EQ(platform::readProfileString(ini, QStringLiteral("KeinBild"), QStringLiteral("LastBild"), {}),
                  QStringLiteral("2"));
        run.CHKWEITER();
        EXPECT_TRUE(run.state().CBITMAP.isEmpty());
        for (const char* f : {"BILD.BMP", "T_FRAGE.DBF", "T_FRAGE.CDX"})
            EXPECT_TRUE(std::filesystem::exists(dir / f)) << f;
        // The run is left in the middle.
    }
    for (const char* f : {"BILD.BMP", "LOCAL.CDX", "T_FRAGE.DBF", "T_FRAGE.FPT", "T_FRAGE.CDX", "T_FRAGE.DBT"})
        EXPECT_FALSE(std::filesystem::exists(dir / f)) << f;
    EXPECT_TRUE(std::filesystem::exists(dir / "LOCAL1.DBF"));
}

TEST_F(RunTest, AMissingCatalogIndexIsRebuiltUnderTheMeter) {
    write(questions(3));
    std::filesystem::remove(dir / "FRAGEN.CDX");
    TrainingRun run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
    EXPECT_EQ(run.state().NVON, 3);
    ASSERT_EQ(ctx.scripted.messages->shown().size(), 1u);
    EXPECT_EQ(ctx.scripted.messages->shown()[0].text, QStringLiteral("FRAGEN Index aufbauen..."));
    EXPECT_TRUE(std::filesystem::exists(dir / "FRAGEN.CDX"));
}

TEST_F(RunTest, SpeechGivesTheQuestionAndItsAnswersWithPauses) {
    write({trainingfixture::choice("1.1.01-001", 1, "Was gilt?", {"Eins", "Zwei"}, {true, false, false})});
    ctx.settings.LS_SPEECH = true;
    TrainingRun run(ctx);
    ASSERT_TRUE(run.CHECKDBF(QStringLiteral("B / BE"), 1));
    run.GETDATA();
    run.speakQuestion();
    ASSERT_EQ(ctx.scripted.speech->spoken().size(), 1u);
    const QStringList parts = ctx.scripted.speech->spoken()[0];
    ASSERT_EQ(parts.size(), 3);
    EXPECT_EQ(parts[0], QStringLiteral("Was gilt?"));
}

TEST_F(RunTest, TheVerdictSoundsSpeaksAndOffersTheStatistics) {
    ctx.scripted.messages->queueAnswer(true);
    EXPECT_TRUE(training::askVerdict(ctx, 12, true));
    const auto& shown = ctx.scripted.messages->shown().back();
    EXPECT_EQ(shown.text,
              QStringLiteral("Sie haben 12 Fehlerpunkte.\rÜben Sie lieber noch ein wenig !\rStatistik anzeigen ?"));
    EXPECT_EQ(shown.title, QStringLiteral("Tja, leider ..."));
    EXPECT_EQ(ctx.scripted.sound->played(), QStringList{QStringLiteral(".\\Sounds\\pnok.wav")});
    // With speech on there is no sound; without the statistics it is a notice.
    ctx.settings.LS_SPEECH = true;
    EXPECT_FALSE(training::askVerdict(ctx, 0, false));
    EXPECT_EQ(ctx.scripted.messages->shown().back().kind, lwtest::ScriptedMessages::Kind::Info);
    EXPECT_EQ(ctx.scripted.messages->shown().back().text, QStringLiteral("Sie haben die Prüfung fehlerfrei bestanden."));
    EXPECT_EQ(ctx.scripted.sound->played().size(), 1);
    EXPECT_EQ(ctx.scripted.speech->spoken().back().join(QString()),
              QStringLiteral("Prima, Sie haben die Prüfung fehlerfrei bestanden!"));
}

} // namespace
