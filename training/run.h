#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

#include "training/questionrun.h"

namespace core {
class Context;
}
namespace store {
class Session;
class WorkArea;
} // namespace store

namespace training {

// The state of one training run, visible to every routine of the run and to its dialogs.
struct RunState {
    QString CDLGKLASSE;  // class code of the run
    QString CDLGTHEMA;   // theme title, quotes included
    int NDLGTYP = 0;     // layout the current question needs: 1 multiple choice, 2 one number, 3 two numbers
    int NDLGOPEN = 0;    // layout of the dialog now open, 0 none
    bool LLOESUNG = false; // the solution of the current question has been shown
    bool LAUSWERT = false; // show the solution pop-up after a wrong answer
    QString CFRAGE, CANTW1, CANTW2, CANTW3;  // readable question and answers
    bool LISOK1 = false, LISOK2 = false, LISOK3 = false; // the learner's ticks
    QString CMC_VOR, CMC_ZWISCH, CMC_NACH;   // frame texts of a number question
    QString CMC_WERT = QString(10, QLatin1Char(' ')); // the learner's entries
    QString CMC_WERT2 = QString(10, QLatin1Char(' '));
    QString CBITMAP;     // picture file to show, empty for none
    QString CFRGNR;      // FRAGENR of the current question
    int NFRAGENR = 0;    // NUMMER of the current question
    int NVON = 0;        // questions in the working set
    int NPUNKTE = 0;     // points of the current question
    int NFEHLER = 0;     // error points of this run
    int NFRAGEN = 0;     // answers evaluated in this run
};

// NRANDOM: one seed, set at the first call to the seconds since midnight (with hundredths); each call gives
// r = (seed * seconds) mod (n + 1), keeps r + seconds as the next seed and returns the whole part of r.
class Random {
public:
    // The seconds since midnight, with hundredths.
    using Seconds = std::function<double()>;
    explicit Random(Seconds seconds) : m_seconds(std::move(seconds)) {}
    int NRANDOM(int n);

private:
    Seconds m_seconds;
    double m_seed = 0;
    bool m_seeded = false;
};

// A training run over the active learner's table: choosing the questions, the working set, showing, evaluating
// and going on. The dialogs drive it; it owns its tables and removes every file it made when it ends, however it
// ends. The exam builds on its tables, its working set and its evaluation.
class Run : public QuestionRun {
public:
    explicit Run(core::Context& ctx);
    ~Run() override;
    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    RunState& state() override { return m_state; }
    const RunState& state() const override { return m_state; }
    store::Session& session() { return *m_session; }
    // NRANDOM's generator, one for the whole run.
    Random& random() { return m_random; }

    // FRAGEN's first step: the run state for a class and theme (1..9) with the theme title.
    void begin(const QString& classCode, int theme, const QString& title);

    // Opens the tables and fills the working set with the first NS_MAXFRAGEN questions of the class and theme,
    // the least mastered first; then the working set stands on its first record and NVON holds its count.
    // False when a table could not be opened or an index not be built (reported already).
    bool CHECKDBF(const QString& classCode, int theme);
    // Opens the active learner's table as DLOC, ordered by `key` over the records that pass `filter` (LOCAL.CDX).
    store::WorkArea* openLearningState(const std::string& key, const std::string& filter);
    // Opens FRAGEN as DFRG on its index, building the index first when it is missing.
    store::WorkArea* openCatalog();
    // The selection order has done its work: LOCAL.CDX goes, the working set stands on its first record and NVON
    // holds its count.
    void selectionDone();
    // An empty T_FRAGE (replacing an old one).
    bool MAKETEMP();
    // Removes every question from the working set.
    void emptyWorkingSet();
    // Copies learning-state records in their current order and filter into the working set, numbered 1, 2, 3 ...,
    // until maxCount; emptyFirst empties the working set first. Returns the number copied.
    int MAKEFRAGEN(const QString& classCode, int maxCount, bool emptyFirst);
    // Appends the working-set record of the learning-state record at hand, with the answers rotated by a number
    // drawn for it, or by `rotation` (0..100) where several questions share one.
    bool copyQuestion(int nummer, const QString& classCode);
    bool copyQuestion(int nummer, const QString& classCode, int rotation);

    // The notice for a run without questions: the class and theme have none, or the settings ask for none.
    QString emptySelectionNotice() const;

    // GETDATA: the working-set record at hand into the run state (layout, texts, numbers, picture, blank
    // ticks and entries).
    void GETDATA() override;
    // What SPEEKIT is given for the question at hand.
    QString speechText() const;
    void speakQuestion() override;

    // CHKDATA: evaluates the ticks or entries of the run state (judge), marks the working-set record, plays the
    // sound and adds the points of a wrong answer. True when right.
    bool CHKDATA() override;
    // Right or wrong, counted in NFRAGEN and in the learning state in one write; nothing else.
    bool judge();
    // GETERGEBNIS: the ticks and entries take the right answer.
    void GETERGEBNIS() override;

    // CHKWEITER: goes on after an answer; the wrongly answered questions come again when LS_WVORLAGE says so.
    Step CHKWEITER() override;
    // Goes on; after the last question presents the wrongly answered ones again only with presentAgain.
    Step goOn(bool presentAgain);

    // The solution as the pop-up shows it for the question at hand.
    QString solutionText() const override;
    // The correctness flags of the three answer positions of the question at hand.
    bool correct(int position) const;
    // The expected values of the question at hand, trimmed.
    QString expected(int field) const;

    // Closes every table of the run (before the verdict, whose statistics open the learner's table).
    void closeTables();
    // Closes the tables and deletes BILD.BMP, LOCAL.CDX and T_FRAGE; also done when the run is destroyed.
    void finish();

private:
    store::WorkArea* area(const char* alias) const;
    bool buildCatalogIndex();
    bool seekQuestion(const std::string& fragenr);
    QString fillerPicture();
    void renumber();

    core::Context& m_ctx;
    std::unique_ptr<store::Session> m_session;
    RunState m_state;
    Random m_random;
    int m_theme = 0;
    // Where each question of the working set stands in the learner's table, so that an evaluation finds its
    // record without an index over the whole table.
    std::unordered_map<std::string, std::uint32_t> m_localRecord;
    bool m_finished = false;
    bool m_catalogIndexBuilt = false;
};

// The learning-state counters after one evaluation: ANTWORTEN + 1 and RICHTIG or FALSCH + 1, none of them beyond
// 9999 and ANTWORTEN = RICHTIG + FALSCH afterwards. Once the counters are full the answer is no longer counted.
struct Counters {
    int ANTWORTEN = 0;
    int RICHTIG = 0;
    int FALSCH = 0;
};
Counters countAnswer(Counters before, bool right);

} // namespace training
