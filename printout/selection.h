#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "core/settingstable.h"

namespace core {
class Context;
}
namespace store {
class Session;
}

namespace printout {

// The classes of the class choice, in their order (number 1..14): the caption and the class code whose columns
// select the questions and give their points. "Klasse DE" has no column of its own: like training and exam it
// selects by the D column and prints the points of the CE column.
struct PrintClass {
    const char* caption;
    const char* code;
};
extern const std::array<PrintClass, 14> PRINT_CLASSES;

// The themes of the theme choice (number 1..10): the caption and the catalog theme (1..8) or one of the two
// selections over all themes.
inline constexpr int kValueQuestions = -1; // every question that asks for a value
inline constexpr int kAllQuestions = 0;    // every question of the class
struct PrintTheme {
    const char* caption;
    int thema;
};
extern const std::array<PrintTheme, 10> PRINT_THEMES;

// The selection condition of a class and theme choice over FRAGEN ("KLASSE_D > 0 .and. THEMA = nTHEMA"), with the
// theme number the condition reads as NTHEMA; nullopt for numbers outside the choices.
struct Condition {
    std::string text;
    int NTHEMA = 0;
};
std::optional<Condition> printCondition(int classNo, int themeNo);

// The remembered choices, [Setup] KataDruck and KataThema.
struct PrintSettings {
    PrintSettings();
    int KataDruck = 1;
    int KataThema = 1;
};
std::span<const core::SettingField<PrintSettings>> printSettingsTable();
PrintSettings readPrintSettings(const core::Context& ctx);
// Writes one of the two keys as a plain number.
bool writePrintSetting(const core::Context& ctx, const char* key, int value);

// One question as the printout needs it, texts readable.
struct PrintQuestion {
    QString FRAGENR;
    int points = 0;
    QString text;
    std::array<QString, 3> answers; // empty for a value question; the third empty with two answers
    std::array<bool, 3> ok{};
    QString vor, wert, zwisch, wert2, nach; // value questions, trimmed
    bool hasPicture = false;
    QByteArray picture; // the bytes of the .BMP, only when asked for

    bool multipleChoice() const { return !answers[0].trimmed().isEmpty(); }
    bool threeAnswers() const { return !answers[2].trimmed().isEmpty(); }
};

// What the pages are printed from: the questions in printed order.
class QuestionSource {
public:
    virtual ~QuestionSource() = default;
    virtual int count() const = 0;
    // Question `index` (0-based); the picture's bytes are read only when `withPicture` is true.
    virtual PrintQuestion question(int index, bool withPicture) const = 0;
};

// The files the printout makes in the program folder.
inline constexpr std::array kPrintFiles{"BILD.BMP", "FRAGEN9.CDX", "LOCAL.CDX", "KATALOG.DBF", "KATALOG.FPT"};
// Deletes them; missing files are no error.
void removePrintFiles(const core::Context& ctx);

// KATAPRINT's selection: the questions of a class and theme copied from FRAGEN, in question-number order, into
// the working copy KATALOG, whose answers are then shuffled. FRAGEN itself is only read. The copy is closed and
// every file of the printout deleted when the selection ends.
class Selection : public QuestionSource {
public:
    // The random whole number 0..100 drawn for each question.
    using Draw = std::function<int()>;
    explicit Selection(core::Context& ctx, Draw draw = {});
    ~Selection() override;
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

    // Selects, copies and shuffles; false when a table could not be opened or written (reported already).
    bool select(int classNo, int themeNo);
    // Closes the tables and deletes the printout's files; also done when the selection ends.
    void finish();

    int count() const override;
    PrintQuestion question(int index, bool withPicture) const override;

private:
    bool shuffle();

    core::Context& m_ctx;
    Draw m_draw;
    std::unique_ptr<store::Session> m_session;
    std::string m_pointsColumn;
};

} // namespace printout
