#pragma once

#include <QString>

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "store/workarea.h"

namespace core {
class Context;
class Progress;
} // namespace core

// The learning statistics of one learner: the counts of a class (and theme), the counts by theme and the
// comparison of the two learners. Qt Core only; the dialogs that show them are in statist.h.
namespace stats {

// ---- numbers as the statistics show them -------------------------------------------------------------------

// a / b truncated, and 0 when b is 0: several statistics rely on an empty selection giving 0 rather than an
// error.
long long quotient(long long a, long long b);

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Red when nothing of `whole` is reached, blue when all of it is, a mixture in between (each channel truncated);
// an empty whole gives red.
Rgb shareColor(long long part, long long whole);

// The progress bar while the records are counted: from black to red over all records of the table.
Rgb meterColor(long long step, long long recordCount);

// ---- selections ----------------------------------------------------------------------------------------------

// The class column of a class code, by prefix ("B / BE" -> KLASSE_B, "DE" -> KLASSE_D, "S" -> KLASSE_K); none
// for a code that matches no class.
std::optional<std::string> classField(const QString& classCode);
// "KLASSE_B > 0"; for an unknown code a condition no record meets.
std::string classCondition(const QString& classCode);
// Themes 1 to 8: "THEMA = nI_THEMA" (the session variable holds the theme); theme 9: every value question.
std::string themeCondition(int theme);

// ---- the overview of a class (and theme) ---------------------------------------------------------------------

struct Counts {
    long long NFRAGEN = 0;  // questions of the selection
    long long NBEANTW = 0;  // of them answered at least once
    long long NGEFRAGT = 0; // answers given in total
    long long NRICHTIG = 0; // questions answered correctly at least once
    friend bool operator==(const Counts&, const Counts&) = default;
};

// Bar 1, answered of all questions.
Rgb answeredColor(const Counts& c);
// Bar 2: red while fewer than half of the answered questions were ever answered right, otherwise blue (exactly
// half is blue); none while nothing was answered, so the bar keeps its default colour.
std::optional<Rgb> rightColor(const Counts& c);

// Counts the records of the area's controlling order; the progress learns the position against all records of
// the table, with the bar growing from black to red.
Counts GETSTAT(store::WorkArea& area, core::Progress* progress = nullptr);

// The tables of the statistics overview (STATIST) and of a theme's statistic (STATTHEMA): the learner's table
// open as DLOC with the conditional order LOCAL.CDX over the selection.
class Overview {
public:
    explicit Overview(core::Context& ctx);
    // Closes the tables; an overview of a class (CHECKDBF) also deletes the index files Local.cdx, Local1.cdx and
    // Local2.cdx, a theme's statistic leaves them to the training run that opened it.
    ~Overview();
    Overview(const Overview&) = delete;
    Overview& operator=(const Overview&) = delete;

    // Open the learner's table, build the order of the class (and theme), and count under the progress dialog.
    // False when the table cannot be opened or the order not built (the error was reported).
    bool CHECKDBF(const QString& classCode);
    bool CHECKDBF2(const QString& classCode, int theme);

    const Counts& counts() const { return m_counts; }
    const QString& classCode() const { return m_class; }

    // Asks whether to delete the class's statistics; on yes zeroes the counters of every question of the class
    // (wait cursor) and returns true. A question in several classes loses its counts for all of them.
    bool STAT_DEL();

    store::Session& session() { return m_session; }
    // The learner's table, or none while the comparison has it closed.
    store::WorkArea* area() const;

    // The comparison needs both learners' tables exclusively: it closes the overview's and gives them back.
    void closeTables();
    // Opens the learner's table again with the overview's order and goes to the record it was on.
    bool reopen();

private:
    bool open(const QString& classCode, std::string condition, bool removeIndexes);

    core::Context& m_ctx;
    store::Session m_session;
    QString m_class;
    Counts m_counts;
    bool m_removeIndexes = false;
    std::uint32_t m_recno = 0;
};

// ---- by theme --------------------------------------------------------------------------------------------------

// Counts of one class by the themes 1 to 8 ([n - 1]) and for the whole class (suffix A).
struct ThemeCounts {
    std::array<long long, 8> NFRAGEN{}; // questions of the class in theme n
    std::array<long long, 8> NGEFRAG{}; // of them answered at least once
    std::array<long long, 8> NRICHTG{}; // of them answered correctly at least once
    long long NFRAGENA = 0;             // every question of the class, whatever its theme
    long long NGEFRAGA = 0;             // sums over themes 1 to 8
    long long NRICHTGA = 0;
    friend bool operator==(const ThemeCounts&, const ThemeCounts&) = default;
};

// Walks every record of the area in its order and counts those of the class column.
ThemeCounts countByTheme(store::WorkArea& area, std::string_view classField);

// The statistics by theme over the overview's open table: a theme index named after the learner's table
// (LOCAL1.CDX or LOCAL2.CDX) built anew, the counting, and afterwards the overview's order restored.
class ThemeStatistics {
public:
    ThemeStatistics(core::Context& ctx, Overview& overview);
    // Restores the overview's order and deletes the theme index files.
    ~ThemeStatistics();
    ThemeStatistics(const ThemeStatistics&) = delete;
    ThemeStatistics& operator=(const ThemeStatistics&) = delete;

    // Builds the theme index under the progress dialog; false when it could not be built.
    bool CHECKDBF();
    // Counts the overview's class (wait cursor).
    const ThemeCounts& GETSTAT();
    const ThemeCounts& counts() const { return m_counts; }

private:
    core::Context& m_ctx;
    Overview& m_overview;
    ThemeCounts m_counts;
    std::uint32_t m_recno = 0;
};

// ---- the two learners -------------------------------------------------------------------------------------

struct LearnerCounts {
    std::array<long long, 8> NFRAGEN{}; // questions of the class in theme n
    std::array<long long, 8> NRICHTG{}; // of them answered correctly at least once
    long long NFRAGENA = 0;             // every question of the class
    long long NRICHTGA = 0;             // sum over themes 1 to 8
    friend bool operator==(const LearnerCounts&, const LearnerCounts&) = default;
};

// Counts the class in the area; the progress advances only on the records of the class.
LearnerCounts countLearner(store::WorkArea& area, std::string_view classField, core::Progress* progress = nullptr);

// The comparison of LOCAL1 and LOCAL2 for one class, whoever is logged in. The overview's table is closed while
// it runs and opened again, with its order and record, when the comparison ends.
class Comparison {
public:
    Comparison(core::Context& ctx, Overview* overview, const QString& classCode);
    ~Comparison();
    Comparison(const Comparison&) = delete;
    Comparison& operator=(const Comparison&) = delete;

    // Whether the second learner's table exists; without it there is nothing to compare.
    bool secondLearnerExists() const;
    // Reads the names, closes the overview's table, opens both tables with their theme indexes (built under the
    // progress dialog). False when a table cannot be opened.
    bool CHECKDBF();
    // Count learner 1 and learner 2, each under a progress dialog.
    void GETSTAT1();
    void GETSTAT2();

    const LearnerCounts& learner1() const { return m_counts[0]; }
    const LearnerCounts& learner2() const { return m_counts[1]; }
    // The names from the settings file, padded to 30 characters.
    const QString& name1() const { return m_names[0]; }
    const QString& name2() const { return m_names[1]; }

private:
    void count(int learner);

    core::Context& m_ctx;
    Overview* m_overview;
    QString m_class;
    store::Session m_session;
    std::array<LearnerCounts, 2> m_counts{};
    std::array<QString, 2> m_names;
    bool m_closedOverview = false;
};

} // namespace stats
