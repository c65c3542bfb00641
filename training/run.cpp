#include "training/run.h"

#include <QTime>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "catalog/answers.h"
#include "catalog/crypt.h"
#include "catalog/runfiles.h"
#include "catalog/tables.h"
#include "core/context.h"
#include "platform/ansi.h"
#include "platform/inifile.h"
#include "shell/settings.h"
#include "store/error.h"
#include "store/workarea.h"
#include "training/entries.h"

namespace training {

namespace {

constexpr int kCounterMax = 9999;

bool blank(const QString& s) {
    return s.trimmed().isEmpty();
}

// The seconds since midnight with hundredths, as the clock of the context tells them.
double secondsSinceMidnight(const core::Context& ctx) {
    const QTime t = ctx.clock().now().time();
    return std::floor(t.msecsSinceStartOfDay() / 10.0) / 100.0;
}

} // namespace

int Random::NRANDOM(int n) {
    const double seconds = m_seconds();
    if (!m_seeded) {
        m_seed = seconds;
        m_seeded = true;
    }
    const double r = std::fmod(m_seed * seconds, double(n + 1));
    m_seed = r + seconds;
    return int(r);
}

Counters countAnswer(Counters before, bool right) {
    Counters after = before;
    after.RICHTIG = std::clamp(before.RICHTIG + (right ? 1 : 0), 0, kCounterMax);
    after.FALSCH = std::clamp(before.FALSCH + (right ? 0 : 1), 0, kCounterMax);
    // Full counters take no further answer: counting one would break ANTWORTEN = RICHTIG + FALSCH.
    if (after.RICHTIG + after.FALSCH > kCounterMax) {
        after.RICHTIG = std::clamp(before.RICHTIG, 0, kCounterMax);
        after.FALSCH = std::clamp(before.FALSCH, 0, kCounterMax - after.RICHTIG);
    }
    after.ANTWORTEN = after.RICHTIG + after.FALSCH;
    return after;
}

Run::Run(core::Context& ctx)
    : m_ctx(ctx), m_session(std::make_unique<store::Session>()),
      m_random([&ctx] { return secondsSinceMidnight(ctx); }) {}

Run::~Run() {
    finish();
}

store::WorkArea* Run::area(const char* alias) const {
    return m_session->find(alias);
}

void Run::begin(const QString& classCode, int theme, const QString& title) {
    m_state = RunState{};
    m_state.CDLGKLASSE = classCode;
    m_state.CDLGTHEMA = title;
    m_state.LAUSWERT = m_ctx.settings.LS_SAUSWERT;
    m_theme = theme;
}

bool Run::CHECKDBF(const QString& classCode, int theme) {
    core::BusyScope busy(m_ctx.messages());
    const auto columns = catalog::classColumns(classCode.toStdString());
    if (!columns) {
        store::reportError(classCode.toStdString(), "Unbekannte Klasse");
        return false;
    }
    const std::string filter = columns->select + " > 0 .and. " +
                               (theme == 9 ? std::string(".not. empty(MC_WERT)") : std::string("THEMA = nI_THEMA"));
    m_session->setVariable("NI_THEMA", store::Value::number(theme));

    if (!openLearningState("str(RICHTIG)+str(ANTWORTEN)+ZULETZT", filter)) return false;
    if (!openCatalog()) return false;
    if (!MAKETEMP()) return false;
    m_session->select("DLOC");
    MAKEFRAGEN(classCode, m_ctx.settings.NS_MAXFRAGEN, true);
    selectionDone();
    return true;
}

store::WorkArea* Run::openLearningState(const std::string& key, const std::string& filter) {
    store::WorkArea* loc = m_session->use(m_ctx.filePath(m_ctx.login().CS_LOCAL.toStdString() + ".DBF"), "DLOC");
    // A table without its counters would otherwise be reported by the index expression, not by its name.
    if (!loc || !catalog::checkStructure(loc->table(), catalog::localFields())) return nullptr;
    const bool never = false;
    if (!catalog::BUILDINDEX(*loc, key, m_ctx.filePath("LOCAL.CDX"), {}, never, filter)) return nullptr;
    return loc;
}

store::WorkArea* Run::openCatalog() {
    store::WorkArea* frg = m_session->use(m_ctx.filePath("FRAGEN.DBF"), "DFRG");
    if (!frg) return nullptr;
    const auto fragenCdx = m_ctx.filePath("FRAGEN.CDX");
    if (!std::filesystem::exists(fragenCdx)) {
        if (!catalog::buildIndexUnderMeter(m_ctx, *frg, "FRAGENR", fragenCdx,
                                           QStringLiteral("FRAGEN Index aufbauen...")))
            return nullptr;
    } else if (!frg->openIndex(fragenCdx) || !frg->setOrder("FRAGEN")) {
        return nullptr;
    }
    return frg;
}

void Run::selectionDone() {
    // The evaluations find their record by the number noted for each question, so the learner's table needs no
    // second index over all its records.
    if (store::WorkArea* loc = area("DLOC")) loc->closeIndexes();
    std::error_code ec;
    std::filesystem::remove(m_ctx.filePath("LOCAL.CDX"), ec);

    store::WorkArea* fra = area("DFRA");
    fra->goTop();
    m_state.NVON = int(fra->recCount());
}

bool Run::buildCatalogIndex() {
    store::WorkArea* frg = area("DFRG");
    m_catalogIndexBuilt = true;
    frg->closeIndexes();
    const auto cdx = m_ctx.filePath("FRAGEN.CDX");
    std::error_code ec;
    std::filesystem::remove(cdx, ec);
    return catalog::buildIndexUnderMeter(m_ctx, *frg, "FRAGENR", cdx, QStringLiteral("FRAGEN Index aufbauen..."));
}

// An index made for another catalog (copied in, or left from an older one) finds a wrong record or none: the index
// is then built anew, once a run, and asked again.
bool Run::seekQuestion(const std::string& fragenr) {
    store::WorkArea* frg = area("DFRG");
    const auto rtrim = [](std::string s) { return s.erase(s.find_last_not_of(' ') + 1); };
    const auto found = [&] { return frg->seek(fragenr) && rtrim(frg->text("FRAGENR")) == rtrim(fragenr); };
    if (found()) return true;
    return !m_catalogIndexBuilt && buildCatalogIndex() && found();
}

bool Run::MAKETEMP() {
    // A T_FRAGE.CDX left by an earlier run would describe another table. The old table goes before its memo file,
    // so that a crash in between never leaves a table without its memos.
    std::error_code ec;
    for (const char* name : {"T_FRAGE.DBF", "T_FRAGE.CDX", "T_FRAGE.FPT", "T_FRAGE.DBT"})
        std::filesystem::remove(m_ctx.filePath(name), ec);
    // The working set lives for this run only: it need not reach the disk.
    store::WorkArea* fra = m_session->create(m_ctx.filePath("T_FRAGE.DBF"), catalog::tFrageFields(), "DFRA",
                                             store::Table::Durability::Scratch);
    if (!fra) return false;
    return fra->indexOn("str(NUMMER)", m_ctx.filePath("T_FRAGE.CDX"), "T_FRAGE");
}

void Run::emptyWorkingSet() {
    if (store::WorkArea* fra = area("DFRA")) fra->zap();
    m_localRecord.clear();
}

int Run::MAKEFRAGEN(const QString& classCode, int maxCount, bool emptyFirst) {
    store::WorkArea* loc = area("DLOC");
    store::WorkArea* fra = area("DFRA");
    if (!loc || !fra) return 0;
    if (emptyFirst) emptyWorkingSet();
    int copied = 0;
    for (loc->goTop(); !loc->eof() && copied < maxCount; loc->skip())
        if (copyQuestion(copied + 1, classCode)) ++copied;
    fra->goTop();
    return copied;
}

bool Run::copyQuestion(int nummer, const QString& classCode) {
    return copyQuestion(nummer, classCode, m_random.NRANDOM(100));
}

bool Run::copyQuestion(int nummer, const QString& classCode, int r) {
    store::WorkArea* loc = area("DLOC");
    store::WorkArea* frg = area("DFRG");
    store::WorkArea* fra = area("DFRA");
    const store::Value fragenr = loc->value("FRAGENR");
    if (!seekQuestion(fragenr.asText())) return false; // the catalog lost it: nothing to show
    const auto columns = catalog::classColumns(classCode.toStdString());
    const double points = columns ? loc->number(columns->points) : 0;

    fra->appendBlank();
    fra->replace("NUMMER", store::Value::number(nummer));
    fra->replace("FRAGENR", fragenr);
    fra->replace("THEMA", loc->value("THEMA"));
    fra->replaceMemo("FRAGE", frg->text("FRAGE"), false);
    for (const char* field :
         {"MCHOICE", "MC_VOR", "MC_WERT", "MC_ZWISCH", "MC_WERT2", "MC_NACH", "MC_ANZAHL", "BITMAP"})
        fra->replace(field, frg->value(field));
    fra->replaceMemo("PICTURE", frg->text("PICTURE"), true);
    fra->replace("PUNKTE", store::Value::number(points));
    fra->replace("ACTIVE", store::Value::logical(false));
    fra->replace("FEHLER", store::Value::logical(false));

    catalog::writeShuffledAnswers(*frg, *fra, r);
    m_localRecord[fragenr.asText()] = loc->recNo();
    return true;
}

QString Run::emptySelectionNotice() const {
    if (m_ctx.settings.NS_MAXFRAGEN <= 0)
        return QStringLiteral("In den Voreinstellungen ist die Anzahl\rder Fragen je Übung auf 0 gesetzt.");
    return QStringLiteral("Zu diesem Thema gibt es in der\rKlasse '%1' keine Fragen.").arg(m_state.CDLGKLASSE);
}

QString Run::fillerPicture() {
    const QString ini = shell::iniPath(m_ctx);
    const QString section = QStringLiteral("KeinBild");
    const int max = int(platform::profileNumber(
        platform::readProfileString(ini, section, QStringLiteral("MaxBilder"), QStringLiteral("1"))));
    const int last = int(platform::profileNumber(
        platform::readProfileString(ini, section, QStringLiteral("LastBild"), QStringLiteral("1"))));
    const int next = last < max ? last + 1 : 1;
    platform::writeProfileString(ini, section, QStringLiteral("LastBild"), QString::number(next));
    QString name = platform::readProfileString(ini, section, QStringLiteral("Bild") + QString::number(next),
                                               QStringLiteral("Bild1"));
    // A bare name ("Bild1") means the picture of that name in the Bitmaps folder.
    if (!name.contains(QLatin1Char('\\')) && !name.contains(QLatin1Char('/')) && !name.contains(QLatin1Char('.')))
        name = QStringLiteral("Bitmaps\\") + name + QStringLiteral(".bmp");
    return m_ctx.path(name);
}

void Run::GETDATA() {
    store::WorkArea* fra = area("DFRA");
    RunState& s = m_state;
    s.NVON = int(fra->recCount());
    if (fra->eof()) return;
    s.NDLGTYP = catalog::questionLayout(*fra);
    s.CFRGNR = catalog::fieldText(*fra, "FRAGENR");
    s.CFRAGE = catalog::readableText(*fra, "FRAGE");
    s.NFRAGENR = int(fra->number("NUMMER"));
    s.NPUNKTE = int(fra->number("PUNKTE"));

    switch (catalog::pictureKind(*fra)) {
    case catalog::PictureKind::Filler:
        s.CBITMAP = fillerPicture();
        break;
    case catalog::PictureKind::Own: {
        const auto file = catalog::writeQuestionPicture(*fra, m_ctx.folder());
        s.CBITMAP = file.empty() ? QString() : QString::fromStdString(file.string());
        break;
    }
    case catalog::PictureKind::None:
        s.CBITMAP.clear();
        break;
    }

    const QString blanks(10, QLatin1Char(' '));
    s.CANTW1 = s.CANTW2 = s.CANTW3 = QString();
    s.CMC_VOR = s.CMC_ZWISCH = s.CMC_NACH = QString();
    s.LISOK1 = s.LISOK2 = s.LISOK3 = false;
    s.CMC_WERT = s.CMC_WERT2 = blanks;
    if (s.NDLGTYP == 1) {
        s.CANTW1 = catalog::readableText(*fra, "ANTW1");
        s.CANTW2 = catalog::readableText(*fra, "ANTW2");
        s.CANTW3 = catalog::readableText(*fra, "ANTW3");
    } else {
        s.CMC_VOR = catalog::fieldText(*fra, "MC_VOR").trimmed();
        s.CMC_NACH = catalog::fieldText(*fra, "MC_NACH").trimmed();
        if (s.NDLGTYP == 3) s.CMC_ZWISCH = catalog::fieldText(*fra, "MC_ZWISCH").trimmed();
    }
}

QString Run::speechText() const {
    QString text = m_state.CFRAGE;
    if (m_state.NDLGTYP == 1)
        for (const QString& answer : {m_state.CANTW1, m_state.CANTW2, m_state.CANTW3})
            if (!blank(answer)) text += QString(1000, QLatin1Char(' ')) + answer;
    return text;
}

void Run::speakQuestion() {
    core::SPEEKIT(m_ctx, speechText());
}

bool Run::correct(int position) const {
    static const char* const okField[3] = {"OK1", "OK2", "OK3"};
    store::WorkArea* fra = area("DFRA");
    return fra && position >= 1 && position <= 3 && !fra->eof() && fra->logical(okField[position - 1]);
}

QString Run::expected(int field) const {
    store::WorkArea* fra = area("DFRA");
    if (!fra || fra->eof()) return {};
    return catalog::fieldText(*fra, field == 2 ? "MC_WERT2" : "MC_WERT").trimmed();
}

bool Run::CHKDATA() {
    store::WorkArea* fra = area("DFRA");
    if (!fra || fra->eof()) return true;
    const bool right = judge();
    fra->replace("FEHLER", store::Value::logical(!right));
    if (m_ctx.settings.LS_SOUND)
        m_ctx.sound().play(right ? QStringLiteral(".\\Sounds\\pok.wav") : QStringLiteral(".\\Sounds\\fehler.wav"));
    if (!right) m_state.NFEHLER += m_state.NPUNKTE;
    return right;
}

bool Run::judge() {
    RunState& s = m_state;
    store::WorkArea* fra = area("DFRA");
    if (!fra || fra->eof()) return true;
    ++s.NFRAGEN;
    bool right;
    if (s.NDLGTYP == 1) {
        right = s.LISOK1 == correct(1) && s.LISOK2 == correct(2) && s.LISOK3 == correct(3);
    } else {
        right = entryRight(platform::toAnsi(s.CMC_WERT), fra->value("MC_WERT").asText());
        if (s.NDLGTYP == 3) right = right && entryRight(platform::toAnsi(s.CMC_WERT2), fra->value("MC_WERT2").asText());
    }

    // Every changed field of the learning state in one write, so that a crash never leaves ANTWORTEN apart from
    // RICHTIG + FALSCH.
    store::WorkArea* loc = area("DLOC");
    const auto at = m_localRecord.find(fra->value("FRAGENR").asText());
    if (loc && at != m_localRecord.end() && loc->goTo(at->second)) {
        const Counters c = countAnswer(
            {int(loc->number("ANTWORTEN")), int(loc->number("RICHTIG")), int(loc->number("FALSCH"))}, right);
        loc->replace("ANTWORTEN", store::Value::number(c.ANTWORTEN));
        loc->replace("RICHTIG", store::Value::number(c.RICHTIG));
        loc->replace("FALSCH", store::Value::number(c.FALSCH));
        loc->replace("ZULETZT", store::Value::text(m_ctx.clock().now().toString(QStringLiteral("ss")).toStdString()));
        loc->table().flush();
    }
    return right;
}

void Run::GETERGEBNIS() {
    RunState& s = m_state;
    s.LISOK1 = correct(1);
    s.LISOK2 = correct(2);
    s.LISOK3 = correct(3);
    if (s.NDLGTYP >= 2) s.CMC_WERT = expected(1);
    if (s.NDLGTYP == 3) s.CMC_WERT2 = expected(2);
}

void Run::renumber() {
    store::WorkArea* fra = area("DFRA");
    // The numbers are the key of the order walked, so the records are collected first and renumbered after.
    std::vector<std::uint32_t> records;
    for (fra->goTop(); !fra->eof(); fra->skip())
        records.push_back(fra->recNo());
    int n = 0;
    for (std::uint32_t rec : records) {
        fra->goTo(rec);
        fra->replace("NUMMER", store::Value::number(++n));
    }
    fra->goTop();
}

Run::Step Run::CHKWEITER() {
    return goOn(m_ctx.settings.LS_WVORLAGE);
}

Run::Step Run::goOn(bool presentAgain) {
    RunState& s = m_state;
    store::WorkArea* fra = area("DFRA");
    if (s.NFRAGENR >= s.NVON) {
        if (presentAgain) {
            std::vector<std::uint32_t> right;
            for (fra->goTop(); !fra->eof(); fra->skip())
                if (!fra->logical("FEHLER")) right.push_back(fra->recNo());
            for (std::uint32_t rec : right) {
                fra->goTo(rec);
                fra->deleteRecord();
            }
            fra->pack();
            fra->setOrder("T_FRAGE");
            fra->goTop();
            if (fra->recCount() > 0) {
                core::SPEEKIT(m_ctx, QStringLiteral("Nun werden die falsch beantworteten Fragen vorgelegt!"));
                core::MSGINFO(m_ctx, QStringLiteral("Nun werden die falsch beantworteten\rFragen vorgelegt !"),
                              QStringLiteral("Nochmals"));
                renumber();
                GETDATA();
                return Step::NewPass;
            }
        }
        core::SPEEKIT(m_ctx, QStringLiteral("Dies war die letzte Frage!"));
        core::MSGINFO(m_ctx, QStringLiteral("Dies war die letzte Frage."), QStringLiteral("Achtung"));
        return Step::Finished;
    }
    fra->skip();
    GETDATA();
    return Step::Next;
}

QString Run::solutionText() const {
    store::WorkArea* fra = area("DFRA");
    if (!fra || fra->eof()) return {};
    const auto rtrim = [](QString s) {
        while (s.endsWith(QLatin1Char(' ')))
            s.chop(1);
        return s;
    };
    switch (m_state.NDLGTYP) {
    case 1: {
        QString text;
        static const char* const antw[3] = {"ANTW1", "ANTW2", "ANTW3"};
        for (int i = 0; i < 3; ++i)
            if (!blank(catalog::readableText(*fra, antw[i])))
                text += QStringLiteral("\rAntwort %1 = ").arg(i + 1) +
                        (correct(i + 1) ? QStringLiteral("Richtig") : QStringLiteral("Falsch"));
        return text;
    }
    case 2:
        return rtrim(catalog::fieldText(*fra, "MC_VOR")) + QLatin1Char(' ') + expected(1) + QLatin1Char(' ') +
               rtrim(catalog::fieldText(*fra, "MC_NACH"));
    default:
        return rtrim(catalog::fieldText(*fra, "MC_VOR")) + QLatin1Char(' ') + expected(1) + QLatin1Char(' ') +
               rtrim(catalog::fieldText(*fra, "MC_ZWISCH")) + QLatin1Char(' ') + expected(2) + QLatin1Char(' ') +
               rtrim(catalog::fieldText(*fra, "MC_NACH"));
    }
}

void Run::closeTables() {
    m_session->closeAll();
}

void Run::finish() {
    closeTables();
    catalog::removeRunFiles(m_ctx.folder());
}

} // namespace training
