#pragma once

// Catalogs shaped for the exam: every theme with questions of both groups, in a catalog order that puts group 2
// before group 1, so that only the composition can bring group 1 first.
#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "training/catalogfixture.h"

namespace examfixture {

// The question number of the n-th question of a theme and group ("1.3.01-002").
inline std::string nr(char group, int theme, int n) {
    char text[32];
    std::snprintf(text, sizeof text, "%c.%d.01-%03d", group, theme, n);
    return text;
}

// Points of class B (and MO) by theme: theme 1 holds the 5-point questions.
inline int pointsOf(int theme) {
    switch (theme) {
    case 1:
        return 5;
    case 2:
        return 2;
    case 3:
        return 3;
    default:
        return 4;
    }
}

// `perCell` three-answer questions of every theme and group (answer "A" right), with the cells in `counts` (theme,
// group -> count) overriding that number.
inline std::vector<trainingfixture::Question> examCatalog(int perCell,
                                                          const std::map<std::pair<int, char>, int>& counts = {}) {
    std::vector<trainingfixture::Question> all;
    for (int theme = 1; theme <= 8; ++theme)
        for (char group : {'2', '1'}) {
            const auto it = counts.find({theme, group});
            const int count = it == counts.end() ? perCell : it->second;
            for (int n = 1; n <= count; ++n) {
                auto q = trainingfixture::choice(nr(group, theme, n), theme, "Frage " + nr(group, theme, n),
                                                 {"A", "B", "C"}, {true, false, false});
                q.points = {{"KLASSE_B", pointsOf(theme)}, {"KLASSE_MO", pointsOf(theme)}};
                all.push_back(std::move(q));
            }
        }
    return all;
}

// The answers and the wrong answers counted in a learner's table, over all its questions.
inline std::pair<int, int> answeredAndWrong(const std::filesystem::path& local) {
    std::pair<int, int> sums;
    for (const auto& [nr, c] : trainingfixture::readCounts(local)) {
        sums.first += c.antworten;
        sums.second += c.falsch;
    }
    return sums;
}

} // namespace examfixture
