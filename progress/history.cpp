#include "progress/history.h"

#include <QDate>

#include <algorithm>
#include <map>
#include <system_error>

#include "catalog/tables.h"
#include "core/context.h"
#include "platform/ansi.h"
#include "store/error.h"
#include "store/table.h"
#include "store/workarea.h"

namespace progress {

namespace {

using store::FieldType;

// Store failures while the history is read or written are collected here instead of reaching the runtime error
// handler, whose dialog would offer to end the program in the middle of an exam's verdict.
class QuietStore {
public:
    QuietStore()
        : m_previous(store::setErrorCallback([this](const store::StoreError& e) {
              if (m_first.empty()) m_first = e.message;
          })) {}
    ~QuietStore() { store::setErrorCallback(m_previous); }
    QuietStore(const QuietStore&) = delete;
    QuietStore& operator=(const QuietStore&) = delete;
    const std::string& first() const { return m_first; }

private:
    std::string m_first;
    store::ErrorCallback m_previous;
};

std::string trimmed(std::string s) {
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return s;
}

QString slotOf(const QString& csLocal) {
    const QString digits = csLocal.right(1);
    return digits.isEmpty() || !digits.front().isDigit() ? QStringLiteral("1") : digits;
}

// Reads every record; a fault names the first thing that does not fit.
History readTable(const std::filesystem::path& path) {
    History history;
    QuietStore quiet;
    auto table = store::Table::open(path, store::Table::Mode::SharedRead);
    if (!table) {
        history.damaged = true;
        history.fault = quiet.first().empty() ? "nicht lesbar" : quiet.first();
        return history;
    }
    if (const std::string fault = catalog::structureFault(*table, historyFields(), "PHIS"); !fault.empty()) {
        history.damaged = true;
        history.fault = fault;
        return history;
    }
    const auto field = [&](const char* name) { return table->fieldIndex(name); };
    const int fNr = field("PRUEFUNG"), fDate = field("DATUM"), fTime = field("ZEIT"), fClass = field("KLASSE"),
              fErr = field("FEHLER"), fLimit = field("GRENZE"), fPassed = field("BESTANDEN"), fQ = field("FRAGENR"),
              fPts = field("PUNKTE"), fGiven = field("ANTWORT"), fWrong = field("FALSCH");
    std::map<int, std::size_t> at; // exam number -> index in history.exams
    for (std::uint32_t rec = 1; rec <= table->recCount(); ++rec) {
        if (!table->goTo(rec) || table->isDeleted()) continue;
        const int number = int(table->fieldValue(fNr).asNumber());
        auto found = at.find(number);
        if (found == at.end()) {
            RecordedExam exam;
            exam.number = number;
            const QDate date = QDate::fromJulianDay(table->fieldValue(fDate).asDate());
            const QTime time = QTime::fromString(QString::fromLatin1(trimmed(table->fieldValue(fTime).asText())),
                                                 QStringLiteral("hh:mm:ss"));
            exam.when = QDateTime(date, time.isValid() ? time : QTime(0, 0));
            exam.classCode = platform::fromAnsi(trimmed(table->fieldValue(fClass).asText()));
            exam.errors = int(table->fieldValue(fErr).asNumber());
            exam.limit = int(table->fieldValue(fLimit).asNumber());
            exam.passed = table->fieldValue(fPassed).asLogical();
            found = at.emplace(number, history.exams.size()).first;
            history.exams.push_back(std::move(exam));
        }
        RecordedAnswer answer;
        answer.FRAGENR = trimmed(table->fieldValue(fQ).asText());
        answer.points = int(table->fieldValue(fPts).asNumber());
        answer.given = platform::fromAnsi(trimmed(table->fieldValue(fGiven).asText()));
        answer.wrong = table->fieldValue(fWrong).asLogical();
        history.exams[found->second].answers.push_back(std::move(answer));
    }
    std::stable_sort(history.exams.begin(), history.exams.end(),
                     [](const RecordedExam& a, const RecordedExam& b) { return a.number < b.number; });
    return history;
}

QString rotatedTicks(const store::WorkArea& fra, store::WorkArea& frg, const training::RunState& s) {
    // The exam shows the answers rotated; the history keeps the ticks in catalog order, so a review can show
    // them beside the catalog's flags whatever rotation the exam drew.
    const bool ticks[3] = {s.LISOK1, s.LISOK2, s.LISOK3};
    static const char* const antw[3] = {"ANTW1", "ANTW2", "ANTW3"};
    QString given = QStringLiteral("---");
    const bool found = frg.seek(fra.text("FRAGENR"));
    for (int shown = 0; shown < 3; ++shown) {
        const std::string text = fra.text(antw[shown]);
        int catalogPos = shown;
        if (found)
            for (int c = 0; c < 3; ++c)
                if (frg.text(antw[c]) == text) {
                    catalogPos = c;
                    break;
                }
        if (ticks[shown]) given[catalogPos] = QLatin1Char('X');
    }
    return given;
}

// Where a damaged history is set aside: PHISn.BAD, or PHISn.B01 .. B99 when earlier damage lies there already,
// so that a second damage never overwrites the first. Empty when all are taken.
std::filesystem::path freeAsideName(std::filesystem::path path) {
    std::error_code ec;
    for (int n = 0; n < 100; ++n) {
        path.replace_extension(n == 0 ? std::string(".BAD") : (n < 10 ? ".B0" : ".B") + std::to_string(n));
        if (!std::filesystem::exists(path, ec) && !ec) return path;
    }
    return {};
}

} // namespace

QString historyName(const QString& csLocal) {
    return QStringLiteral("PHIS") + slotOf(csLocal);
}

std::filesystem::path historyPath(const core::Context& ctx) {
    return ctx.filePath((historyName(ctx.login().CS_LOCAL) + QStringLiteral(".DBF")).toStdString());
}

std::vector<store::FieldDef> historyFields() {
    return {
        {"PRUEFUNG", FieldType::Numeric, 6, 0},  // running number of the exam
        {"DATUM", FieldType::Date, 8, 0},        // when it was finished
        {"ZEIT", FieldType::Character, 8, 0},    // hh:mm:ss
        {"KLASSE", FieldType::Character, 6, 0},  // class code as the menu gives it
        {"FEHLER", FieldType::Numeric, 3, 0},    // error points of the exam
        {"GRENZE", FieldType::Numeric, 3, 0},    // most error points that still pass
        {"BESTANDEN", FieldType::Logical, 1, 0}, // passed
        {"NUMMER", FieldType::Numeric, 2, 0},    // position of the question in the exam
        {"FRAGENR", FieldType::Character, 12, 0},
        {"PUNKTE", FieldType::Numeric, 1, 0},     // points of the question in the class
        {"ANTWORT", FieldType::Character, 24, 0}, // the learner's answer (see RecordedAnswer)
        {"FALSCH", FieldType::Logical, 1, 0},     // answered wrongly
    };
}

History readHistory(const core::Context& ctx) {
    const auto path = historyPath(ctx);
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return {};
    return readTable(path);
}

bool appendExam(core::Context& ctx, RecordedExam exam) {
    const auto path = historyPath(ctx);
    const QString name = historyName(ctx.login().CS_LOCAL) + QStringLiteral(".DBF");
    History before;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        before = readTable(path);
        if (before.damaged) {
            const auto aside = freeAsideName(path);
            ec.clear();
            if (!aside.empty()) std::filesystem::rename(path, aside, ec);
            if (aside.empty() || ec) {
                // The damaged table is all there is of the learner's past exams: kept, not deleted for a new one.
                core::WARNBOX(ctx,
                              QStringLiteral("Die Prüfungsgeschichte %1 ist beschädigt (%2) und konnte nicht "
                                             "beiseite gelegt werden.\rDiese Prüfung wird nicht eingetragen.")
                                  .arg(name, platform::fromAnsi(before.fault)),
                              QStringLiteral("Prüfungsgeschichte"));
                return false;
            }
            core::WARNBOX(ctx,
                          QStringLiteral("Die Prüfungsgeschichte %1 war beschädigt (%2).\rSie wurde beiseite gelegt "
                                         "und neu angelegt.")
                              .arg(name, platform::fromAnsi(before.fault)),
                          QStringLiteral("Prüfungsgeschichte"));
            before = {};
        }
    }
    int last = 0;
    for (const RecordedExam& e : before.exams)
        last = std::max(last, e.number);
    exam.number = last + 1;

    QuietStore quiet;
    store::Session session;
    store::WorkArea* his =
        std::filesystem::exists(path, ec) ? session.use(path, "DHIS") : session.create(path, historyFields(), "DHIS");
    bool ok = his != nullptr;
    const std::string time = exam.when.time().toString(QStringLiteral("hh:mm:ss")).toStdString();
    int position = 0;
    for (const RecordedAnswer& a : exam.answers) {
        if (!ok) break;
        ++position;
        ok = his->appendBlank() && his->replace("PRUEFUNG", store::Value::number(exam.number)) &&
             his->replace("DATUM", store::Value::date(std::int32_t(exam.when.date().toJulianDay()))) &&
             his->replace("ZEIT", store::Value::text(time)) &&
             his->replace("KLASSE", store::Value::text(platform::toAnsi(exam.classCode))) &&
             his->replace("FEHLER", store::Value::number(exam.errors)) &&
             his->replace("GRENZE", store::Value::number(exam.limit)) &&
             his->replace("BESTANDEN", store::Value::logical(exam.passed)) &&
             his->replace("NUMMER", store::Value::number(position)) &&
             his->replace("FRAGENR", store::Value::text(a.FRAGENR)) &&
             his->replace("PUNKTE", store::Value::number(a.points)) &&
             his->replace("ANTWORT", store::Value::text(platform::toAnsi(a.given))) &&
             his->replace("FALSCH", store::Value::logical(a.wrong));
    }
    if (his) ok = his->table().flush() && ok;
    session.closeAll();
    if (!ok)
        core::WARNBOX(ctx,
                      QStringLiteral("Die Prüfung konnte nicht in die Prüfungsgeschichte %1\reingetragen werden (%2).")
                          .arg(name, platform::fromAnsi(quiet.first())),
                      QStringLiteral("Prüfungsgeschichte"));
    return ok;
}

void ExamRecorder::answered(exam::ExamRun& run, bool right) {
    const training::RunState& s = run.state();
    const std::string nr = trimmed(s.CFRGNR.toStdString());
    // Solution pressed twice evaluates a question twice: the first answer is the learner's own, and a question
    // once answered wrongly stays wrong.
    for (RecordedAnswer& a : m_answers)
        if (a.FRAGENR == nr) {
            a.wrong = a.wrong || !right;
            return;
        }
    RecordedAnswer answer;
    answer.FRAGENR = nr;
    answer.points = s.NPUNKTE;
    answer.wrong = !right;
    if (s.NDLGTYP == 1) {
        store::WorkArea* fra = run.run().session().find("DFRA");
        store::WorkArea* frg = run.run().session().find("DFRG");
        if (fra && frg) answer.given = rotatedTicks(*fra, *frg, s);
    } else {
        answer.given = s.CMC_WERT.trimmed();
        if (s.NDLGTYP == 3) answer.given += QLatin1Char(';') + s.CMC_WERT2.trimmed();
    }
    m_answers.push_back(std::move(answer));
}

void ExamRecorder::finished(exam::ExamRun& run, exam::Verdict verdict) {
    if (verdict != exam::Verdict::Passed && verdict != exam::Verdict::Failed) return;
    RecordedExam exam;
    exam.when = m_ctx.clock().now();
    exam.classCode = run.state().CDLGKLASSE;
    exam.errors = run.state().NFEHLER;
    exam.limit = run.exam().NMAXFEH;
    exam.passed = verdict == exam::Verdict::Passed;
    exam.answers = m_answers;
    appendExam(m_ctx, std::move(exam));
}

} // namespace progress
