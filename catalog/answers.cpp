#include "catalog/answers.h"

#include <algorithm>
#include <cctype>

#include "catalog/crypt.h"
#include "catalog/tables.h"
#include "platform/ansi.h"
#include "store/workarea.h"

namespace catalog {

QString readableText(const store::WorkArea& area, const char* field) {
    return platform::fromAnsi(ENCRYPT(area.text(field)));
}

QString fieldText(const store::WorkArea& area, const char* field) {
    return platform::fromAnsi(area.text(field));
}

int questionLayout(const store::WorkArea& area) {
    switch (questionKind(area.text("MC_WERT"), area.text("MC_WERT2"))) {
    case QuestionKind::MultipleChoice:
        return 1;
    case QuestionKind::OneValue:
        return 2;
    case QuestionKind::TwoValues:
        return 3;
    }
    return 1;
}

PictureKind pictureKind(const store::WorkArea& area) {
    const QString bitmap = fieldText(area, "BITMAP").trimmed();
    if (bitmap.isEmpty()) return PictureKind::None;
    return bitmap.compare(QLatin1String("KEINBILD"), Qt::CaseInsensitive) == 0 ? PictureKind::Filler : PictureKind::Own;
}

namespace {

std::string_view trim(std::string_view s) {
    const size_t first = s.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(' ') - first + 1);
}

// The whole number a text starts with (an optional sign, then digits), without leading zeros; "0" when none.
std::string leadingNumber(std::string_view s) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) negative = s[i++] == '-';
    std::string digits;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))
        digits += s[i++];
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    if (digits.empty()) return "0";
    return negative ? "-" + digits : digits;
}

} // namespace

std::string normaliseEntry(std::string_view entry) {
    std::string text(trim(entry));
    std::replace(text.begin(), text.end(), '.', ',');
    const size_t comma = text.find(',');
    if (comma != std::string::npos) {
        const std::string_view after = std::string_view(text).substr(comma + 1, 10);
        if (leadingNumber(after) != "0") return text;
    }
    return leadingNumber(text);
}

bool entryMatches(std::string_view entry, std::string_view expected) {
    return normaliseEntry(entry) == trim(expected);
}

std::array<int, 3> answerOrder(int r, bool threeAnswers) {
    if (!threeAnswers) return r < 50 ? std::array<int, 3>{0, 1, -1} : std::array<int, 3>{1, 0, -1};
    if (r < 33) return {0, 1, 2};
    if (r < 66) return {1, 2, 0};
    return {2, 0, 1};
}

bool writeShuffledAnswers(const store::WorkArea& from, store::WorkArea& to, int r) {
    static const char* const antw[3] = {"ANTW1", "ANTW2", "ANTW3"};
    static const char* const okField[3] = {"OK1", "OK2", "OK3"};
    // Everything is read before the first write, since `to` may be `from`.
    std::array<std::string, 3> answers;
    std::array<bool, 3> ok{};
    for (std::size_t i = 0; i < 3; ++i) {
        answers[i] = from.text(antw[i]);
        ok[i] = from.logical(okField[i]);
    }
    const bool three = answers[2].find_first_not_of(" \r\n\t") != std::string::npos;
    const std::array<int, 3> order = answerOrder(r, three);
    for (std::size_t pos = 0; pos < 3; ++pos) {
        const int source = order[pos];
        const bool taken = source >= 0;
        if (!to.replaceMemo(antw[pos], taken ? answers[std::size_t(source)] : std::string(), false) ||
            !to.replace(okField[pos], store::Value::logical(taken && ok[std::size_t(source)])))
            return false;
    }
    return true;
}

} // namespace catalog
