#pragma once

// A small catalog for the viewer's tests: questions of several classes, with and without pictures, value
// questions, texts in mixed case with umlauts and "...", and a learner who has answered some of them.
#include <filesystem>
#include <vector>

#include "training/catalogfixture.h"

namespace viewertest {

using trainingfixture::Question;

inline std::vector<Question> sampleCatalog() {
    using trainingfixture::choice;
    using trainingfixture::value;
    std::vector<Question> q;
    q.push_back(choice("1.1.01-001", 1, "Wer hat an dieser Kreuzung Vorfahrt?", {"Ich", "Der Radfahrer"},
                       {false, true, false}));
    q.back().bitmap = "1101-001";
    q.back().picture = trainingfixture::bitmapBytes(32, 20, 200, 40, 40);
    q.push_back(choice("1.2.01-002", 2, "Was gilt an einer Einmündung ohne Zeichen ...", {"Rechts vor links", "Nichts"},
                       {true, false, false}));
    q.back().bitmap = "KEINBILD";
    q.push_back(choice("1.3.01-003", 3, "Worauf müssen Sie bei ÜBERHOLVORGÄNGEN achten?",
                       {"Auf den Gegenverkehr", "Auf die Tageszeit", "Auf nachfolgende Fahrzeuge"},
                       {true, false, true}));
    q.back().points = {{"KLASSE_A", 4}};
    q.back().bitmap = "KEINBILD";
    q.push_back(value("1.4.01-004", 4, "Wie groß muss der Abstand zum Vorausfahrenden mindestens sein?", "Zwischen",
                      "50", "Metern"));
    q.back().zwisch = "und";
    q.back().wert2 = "70";
    q.back().points = {{"KLASSE_B", 5}, {"KLASSE_C", 2}};
    q.back().bitmap = "KEINBILD";
    q.push_back(
        value("2.5.01-005", 5, "Wie hoch ist der Verbrauch über eine Strecke von 100 km?", "etwa", "8", "Liter"));
    q.back().points = {{"KLASSE_A1", 2}};
    q.back().bitmap = "KEINBILD";
    q.push_back(choice("2.6.01-006", 6, "Welche Bedeutung hat das Zeichen über der Tür?", {"Notausgang", "Keine"},
                       {true, false, false}));
    q.back().points = {{"KLASSE_T", 3}};
    q.back().bitmap = "2601-006";
    q.back().picture = trainingfixture::bitmapBytes(16, 10, 20, 200, 40);
    return q;
}

// The catalog with its index and LOCAL1, in which 1.1.01-001 was answered 4 times (3 right) and 1.4.01-004 twice
// (never right).
inline void writeSample(const std::filesystem::path& dir) {
    trainingfixture::writeCatalog(dir, sampleCatalog());
    catalog::MAKELOCAL(dir, "LOCAL1");
    trainingfixture::setCounts(dir / "LOCAL1.DBF", {{"1.1.01-001", {4, 3, 1, "17"}}, {"1.4.01-004", {2, 0, 2, "42"}}});
}

} // namespace viewertest
