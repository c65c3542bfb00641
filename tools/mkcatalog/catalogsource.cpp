#include "catalogsource.h"

#include <algorithm>
#include <fstream>
#include <regex>
#include <set>
#include <sstream>

#include "catalog/answers.h"
#include "catalog/crypt.h"
#include "catalog/tables.h"
#include "store/codepage.h"

namespace catalogsrc {

const std::vector<std::string> kClassCodes = {"A", "A1", "B / BE", "C", "C1", "CE", "D",
                                              "D1", "DE", "M", "MO",     "L", "S",  "T"};
const std::vector<std::string> kColumns = {"A", "A1", "M", "MO", "K", "B", "C", "C1", "D", "D1", "CE", "L", "T"};
const std::vector<std::string> kFamilies = {"grund", "a", "b", "c", "d", "mofa", "lt"};

int Question::points(const std::string& column) const {
    auto it = punkte.find(column);
    return it == punkte.end() ? 0 : it->second;
}

namespace {

std::string trim(const std::string& s) {
    const size_t first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos)
        return {};
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

std::string where(const Question& q) { return q.file + ":" + std::to_string(q.line); }

// Length as the table stores it: bytes of cp1252.
size_t ansiLength(const std::string& utf8) { return store::utf8ToCp1252(utf8).size(); }

void parseFile(const std::filesystem::path& path, const std::string& family, int theme, Catalog& out) {
    std::ifstream in(path);
    const std::string name = path.parent_path().filename().string() + "/" + path.filename().string();
    Question q;
    bool open = false;
    std::string* last = nullptr; // value a continuation line belongs to
    auto finish = [&] {
        if (open)
            out.questions.push_back(q);
        q = Question{};
        open = false;
        last = nullptr;
    };
    auto fault = [&](int line, const std::string& message) {
        out.faults.push_back({name + ":" + std::to_string(line), message});
    };

    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (trim(line).empty()) {
            finish();
            continue;
        }
        if (line[0] == '#')
            continue;
        if (line.rfind("  ", 0) == 0) {
            if (!last)
                fault(lineNo, "Fortsetzungszeile ohne vorangehenden Wert");
            else
                last->append(1, ' ').append(trim(line));
            continue;
        }
        if (!open) {
            open = true;
            q.file = name;
            q.line = lineNo;
            q.family = family;
            q.fileTheme = theme;
        }
        if (line[0] == '+' || line[0] == '-') {
            q.answers.push_back({trim(line.substr(1)), line[0] == '+'});
            last = &q.answers.back().text;
            continue;
        }
        const size_t colon = line.find(':');
        if (colon == std::string::npos) {
            fault(lineNo, "Zeile ohne Schlüssel: " + line);
            last = nullptr;
            continue;
        }
        const std::string key = trim(line.substr(0, colon));
        const std::string value = trim(line.substr(colon + 1));
        last = nullptr;
        if (key == "nr")
            q.nr = value;
        else if (key == "frage")
            last = &(q.frage = value);
        else if (key == "vor")
            last = &(q.vor = value);
        else if (key == "wert")
            q.wert = value;
        else if (key == "zwischen")
            last = &(q.zwischen = value);
        else if (key == "wert2")
            q.wert2 = value;
        else if (key == "nach")
            last = &(q.nach = value);
        else if (key == "bild")
            q.bild = value == "ja";
        else if (key == "punkte") {
            std::istringstream items(value);
            std::string item;
            while (items >> item) {
                const size_t eq = item.find('=');
                const std::string column = item.substr(0, eq);
                int points = 0;
                if (eq != std::string::npos)
                    points = std::atoi(item.c_str() + eq + 1);
                if (eq == std::string::npos || std::find(kColumns.begin(), kColumns.end(), column) == kColumns.end())
                    fault(lineNo, "unbekannte Klassenspalte oder Form: " + item);
                else if (q.punkte.count(column))
                    fault(lineNo, "Klassenspalte doppelt: " + column);
                else
                    q.punkte[column] = points;
            }
        } else
            fault(lineNo, "unbekannter Schlüssel: " + key);
    }
    finish();
}

} // namespace

Catalog readCatalog(const std::filesystem::path& dir) {
    Catalog out;
    for (const auto& family : kFamilies) {
        for (int theme = 1; theme <= 8; ++theme) {
            const auto path = dir / family / ("thema" + std::to_string(theme) + ".txt");
            if (std::filesystem::exists(path))
                parseFile(path, family, theme, out);
        }
    }
    std::sort(out.questions.begin(), out.questions.end(),
              [](const Question& a, const Question& b) { return a.nr < b.nr; });
    return out;
}

void validate(Catalog& catalog, const std::filesystem::path& pictureDir) {
    static const std::regex numberForm(R"([12]\.[1-8]\.\d\d-\d\d\d)");
    static const std::regex valueForm(R"(-?\d+(,\d+)?)");
    std::set<std::string> seen;
    auto fault = [&](const Question& q, const std::string& message) {
        catalog.faults.push_back({where(q), (q.nr.empty() ? std::string("(ohne Nummer)") : q.nr) + ": " + message});
    };
    // A text must come back unchanged from the stored form, and fit the code page of the table.
    auto checkText = [&](const Question& q, const std::string& what, const std::string& text) {
        const std::string ansi = store::utf8ToCp1252(text);
        if (store::cp1252ToUtf8(ansi) != text)
            fault(q, what + " enthält Zeichen außerhalb der Windows-Codepage 1252");
        else if (catalog::ENCRYPT(catalog::DECRYPT(ansi)) != ansi || catalog::ENCRYPT(ansi) != ansi)
            fault(q, what + " enthält ein Zeichen der Verschlüsselungstabelle");
    };

    for (const Question& q : catalog.questions) {
        if (!std::regex_match(q.nr, numberForm)) {
            fault(q, "Fragenummer hat nicht die Form G.T.UU-NNN");
            continue;
        }
        if (!seen.insert(q.nr).second)
            fault(q, "Fragenummer doppelt");
        if (q.theme() != q.fileTheme)
            fault(q, "Thema der Nummer (" + std::to_string(q.theme()) + ") passt nicht zur Datei thema" +
                         std::to_string(q.fileTheme) + ".txt");
        if ((q.family == "grund") != (q.group() == '1'))
            fault(q, q.family == "grund" ? "Grundstoff muss mit 1 beginnen" : "Zusatzstoff muss mit 2 beginnen");
        if (q.frage.empty())
            fault(q, "Fragetext fehlt");
        checkText(q, "Fragetext", q.frage);

        if (q.isNumberQuestion()) {
            if (!q.answers.empty())
                fault(q, "Zahlenfrage darf keine Antworten (+/-) haben");
            for (const std::string* v : {&q.wert, &q.wert2}) {
                if (v->empty())
                    continue;
                if (!std::regex_match(*v, valueForm) || v->size() > 10)
                    fault(q, "Wert '" + *v + "' ist keine Zahl mit Dezimalkomma (höchstens 10 Zeichen)");
                else if (catalog::normaliseEntry(*v) != *v || (v->find(',') != std::string::npos && v->back() == '0'))
                    fault(q, "Wert '" + *v + "' muss in der kürzesten Form stehen (ohne führende Nullen und ohne "
                                 "Nullen am Ende der Nachkommastellen), sonst gilt die richtige Eingabe als falsch");
            }
            if (!q.zwischen.empty() && q.wert2.empty())
                fault(q, "Text zwischen den Feldern ohne zweiten Wert");
            for (auto [what, text] : {std::pair{"vor", &q.vor}, {"zwischen", &q.zwischen}, {"nach", &q.nach}}) {
                if (ansiLength(*text) > 30)
                    fault(q, std::string("Text '") + what + "' ist länger als 30 Zeichen");
                checkText(q, what, *text);
            }
        } else {
            if (!q.wert2.empty() || !q.vor.empty() || !q.nach.empty() || !q.zwischen.empty())
                fault(q, "Teile einer Zahlenfrage ohne 'wert'");
            if (q.answers.size() < 2 || q.answers.size() > 3)
                fault(q, "braucht zwei oder drei Antworten, hat " + std::to_string(q.answers.size()));
            if (std::none_of(q.answers.begin(), q.answers.end(), [](const Answer& a) { return a.right; }))
                fault(q, "keine Antwort ist als richtig (+) markiert");
            for (const Answer& a : q.answers) {
                if (a.text.empty())
                    fault(q, "leere Antwort");
                checkText(q, "Antwort", a.text);
            }
        }

        if (q.punkte.empty())
            fault(q, "gehört zu keiner Klasse (punkte fehlt)");
        for (const auto& [column, points] : q.punkte)
            if (points < 2 || points > 5)
                fault(q, "Punkte für " + column + " müssen 2 bis 5 sein, nicht " + std::to_string(points));

        if (q.bild) {
            const auto svg = pictureDir / (catalog::pictureName(q.nr) + ".svg");
            if (!std::filesystem::exists(svg))
                fault(q, "Bild fehlt: " + svg.filename().string());
        }
    }
    checkRepeatedTexts(catalog);
}

PatternDistribution answerPatterns(const Catalog& catalog) {
    std::map<std::string, int> counts;
    PatternDistribution out;
    for (const Question& q : catalog.questions) {
        if (q.isNumberQuestion() || q.answers.empty())
            continue;
        std::string pattern;
        for (const Answer& a : q.answers)
            pattern += std::string(pattern.empty() ? "" : " ") + (a.right ? '+' : '-');
        ++counts[pattern];
        ++out.multipleChoice;
    }
    for (const auto& [pattern, count] : counts)
        out.patterns.push_back({pattern, count});
    std::stable_sort(out.patterns.begin(), out.patterns.end(),
                     [](const PatternCount& a, const PatternCount& b) { return a.count > b.count; });
    return out;
}

void checkAnswerPatterns(Catalog& catalog, int maxPercent) {
    const PatternDistribution d = answerPatterns(catalog);
    for (const PatternCount& p : d.patterns)
        if (p.count * 100 > maxPercent * d.multipleChoice)
            catalog.faults.push_back({"Antwortmuster", "„" + p.pattern + "“ bei " + std::to_string(p.count) + " von " +
                                                           std::to_string(d.multipleChoice) +
                                                           " Auswahlfragen, erlaubt sind höchstens " +
                                                           std::to_string(maxPercent) + " %"});
}

namespace {

// Blanks collapsed, letters in lower case (ASCII and the Latin-1 capitals of UTF-8, which covers German).
std::string comparableText(const std::string& utf8) {
    std::string out;
    bool blank = false;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(utf8[i]);
        if (c == ' ' || c == '\t') {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        if (c == 0xC3 && i + 1 < utf8.size()) {
            const unsigned char next = static_cast<unsigned char>(utf8[i + 1]);
            out += static_cast<char>(c);
            out += static_cast<char>(next >= 0x80 && next <= 0x9E && next != 0x97 ? next + 0x20 : next);
            ++i;
        } else {
            out += static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
        }
    }
    return out;
}

bool shareAClass(const Question& a, const Question& b) {
    for (const auto& [column, points] : a.punkte)
        if (points > 0 && b.points(column) > 0)
            return true;
    return false;
}

} // namespace

void checkRepeatedTexts(Catalog& catalog) {
    std::map<std::string, std::vector<const Question*>> byText;
    for (const Question& q : catalog.questions)
        if (!q.frage.empty())
            byText[comparableText(q.frage)].push_back(&q);
    std::vector<Fault> faults;
    for (const auto& [text, questions] : byText) {
        for (size_t i = 1; i < questions.size(); ++i) {
            const Question& q = *questions[i];
            for (size_t j = 0; j < i; ++j) {
                const Question& earlier = *questions[j];
                if ((q.bild && earlier.bild) || !shareAClass(q, earlier))
                    continue;
                faults.push_back({where(q), q.nr + ": Fragetext wiederholt " + earlier.nr + " (" + earlier.file +
                                                ") in derselben Klasse"});
                break;
            }
        }
    }
    catalog.faults.insert(catalog.faults.end(), faults.begin(), faults.end());
}

bool namesBasis(const std::string& rowText) {
    static const std::regex basis(
        "§ *[0-9]|\\bArt\\. *[0-9]|\\bAnlage *[0-9]|\\b(Zeichen|Z\\.) *[0-9]|"
        "\\b(StVO|StVZO|FeV|StVG|BKatV|FPersV|StGB|PflVG|BOKraft|KraftStG|FZV|GGVSE|ADR|OWiG|AETR|WHG|AltölV|"
        "KrW-/AbfG)\\b|VO \\((EG|EWG)\\)|[a-zäöü-](verordnung|gesetz)|\\bQuelle: *[^ |]",
        std::regex::icase);
    return std::regex_search(rowText, basis);
}

void checkReview(Catalog& catalog, const std::filesystem::path& reviewFile) {
    static const std::regex row(R"(^\|\s*([12]\.[1-8]\.\d\d-\d\d\d)\s*\|(.*)$)");
    std::ifstream in(reviewFile);
    const std::string name = reviewFile.filename().string();
    std::string line;
    for (int lineNo = 1; std::getline(in, line); ++lineNo) {
        std::smatch m;
        if (!std::regex_match(line, m, row) || namesBasis(m[2].str()))
            continue;
        catalog.faults.push_back({name + ":" + std::to_string(lineNo),
                                  m[1].str() + ": Prüfzeile nennt keine Grundlage (Paragraf, Anlage, Zeichen, Gesetz "
                                               "oder Verordnung, sonst „Quelle: …“)"});
    }
}

std::vector<CoverageCell> coverage(const Catalog& catalog) {
    std::vector<CoverageCell> cells;
    for (const auto& code : kClassCodes) {
        const auto columns = catalog::classColumns(code);
        const std::string select = columns->select.substr(std::string("KLASSE_").size());
        for (const auto& step : catalog::EXAM_STEPS) {
            CoverageCell cell{code, step.theme, step.group, step.count, 0};
            for (const Question& q : catalog.questions)
                if (q.theme() == step.theme && q.group() == step.group && q.points(select) > 0)
                    ++cell.available;
            cells.push_back(cell);
        }
    }
    return cells;
}

void checkCoverage(Catalog& catalog, int factor) {
    for (const CoverageCell& cell : coverage(catalog))
        if (cell.available < factor * cell.takes)
            catalog.faults.push_back(
                {"Abdeckung", "Klasse " + cell.classCode + ", Thema " + std::to_string(cell.theme) + ", Gruppe " +
                                  cell.group + ": " + std::to_string(cell.available) + " Fragen, gebraucht " +
                                  std::to_string(factor * cell.takes)});
}

} // namespace catalogsrc
