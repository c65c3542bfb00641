#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// The question catalog as written in data/catalog: reading, checking and the exam coverage per class.
namespace catalogsrc {

struct Answer {
    std::string text;
    bool right = false;
};

struct Question {
    std::string file; // where it is written, for messages
    int line = 0;
    std::string family; // folder: grund, a, b, c, d, mofa, lt
    int fileTheme = 0;  // N of thema<N>.txt
    std::string nr;
    std::string frage;
    std::vector<Answer> answers;
    std::string vor, wert, zwischen, wert2, nach;
    std::map<std::string, int> punkte; // class column without "KLASSE_" ("A", "A1", "K", ...) -> points
    bool bild = false;

    int theme() const { return nr.size() > 2 ? nr[2] - '0' : 0; }
    char group() const { return nr.empty() ? '?' : nr[0]; }
    bool isNumberQuestion() const { return !wert.empty(); }
    int points(const std::string& column) const; // 0 when not in that class
};

struct Fault {
    std::string where; // file:line
    std::string message;
};

struct Catalog {
    std::vector<Question> questions;
    std::vector<Fault> faults;
};

// Reads every <family>/thema<N>.txt under dir (texts stay UTF-8). Format faults are collected, not thrown.
Catalog readCatalog(const std::filesystem::path& dir);

// Checks what the program relies on: well-formed unique numbers, theme and group matching the file, answers,
// points, number answers in the form the answer check compares, picture files present, texts that survive the
// scrambling. Adds a fault per problem.
void validate(Catalog& catalog, const std::filesystem::path& pictureDir);

// One step of the exam composition for one class: how many questions it takes and how many the catalog offers.
struct CoverageCell {
    std::string classCode;
    int theme = 0;
    char group = '1';
    int takes = 0;
    int available = 0;
};
// Every menu class code against every composition step.
std::vector<CoverageCell> coverage(const Catalog& catalog);
// Adds a fault for every cell with fewer than `factor` times the questions the step takes.
void checkCoverage(Catalog& catalog, int factor);

// Right-answer patterns of the multiple-choice questions ("+ - -", "- + +", ...) and how often each occurs.
struct PatternCount {
    std::string pattern;
    int count = 0;
};
struct PatternDistribution {
    std::vector<PatternCount> patterns; // most frequent first, then by pattern
    int multipleChoice = 0;             // questions counted
};
PatternDistribution answerPatterns(const Catalog& catalog);
// Adds a fault for every pattern that more than `maxPercent` per cent of the multiple-choice questions share: a
// learner would otherwise learn where the right answers sit instead of which they are.
void checkAnswerPatterns(Catalog& catalog, int maxPercent);

// Adds a fault for every question whose text (blanks and letter case aside) repeats another's that the same class
// can draw in its exam. Two questions with a picture each may share a text such as "Was gilt bei diesem Zeichen?".
void checkRepeatedTexts(Catalog& catalog);

// Adds a fault for every question row of the review table (| number | verdict | change |) that names no basis: no
// paragraph, article, Anlage, sign number, law or regulation, and no non-legal source after "Quelle:".
void checkReview(Catalog& catalog, const std::filesystem::path& reviewFile);
bool namesBasis(const std::string& rowText);

extern const std::vector<std::string> kClassCodes; // the menu's class codes
extern const std::vector<std::string> kColumns;    // source column names in table order
extern const std::vector<std::string> kFamilies;

} // namespace catalogsrc
