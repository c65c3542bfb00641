#include "printout/selection.h"

#include <QRandomGenerator>

#include <filesystem>

#include "catalog/answers.h"
#include "catalog/crypt.h"
#include "catalog/tables.h"
#include "core/context.h"
#include "platform/ansi.h"
#include "platform/inifile.h"
#include "store/workarea.h"

namespace printout {

const std::array<PrintClass, 14> PRINT_CLASSES = {{
    {"Klasse A", "A"},
    {"Klasse A1", "A1"},
    {"Klasse B / BE", "B / BE"},
    {"Klasse C", "C"},
    {"Klasse C1", "C1"},
    {"Klasse CE", "CE"},
    {"Klasse D", "D"},
    {"Klasse D1", "D1"},
    {"Klasse DE", "DE"},
    {"Klasse M", "M"},
    {"Klasse Mofa", "MO"},
    {"Klasse L", "L"},
    {"Klasse S", "S"},
    {"Klasse T", "T"},
}};

const std::array<PrintTheme, 10> PRINT_THEMES = {{
    {"Verhalten im Straßenverkehr", 2},
    {"Vorfahrt und Vorrang", 3},
    {"Gefahrenlehre", 1},
    {"Vorschriften, Betrieb von Kfz.", 6},
    {"Umweltschutz", 5},
    {"Technik", 7},
    {"Verkehrszeichen", 4},
    {"Eignung und Befähigung", 8},
    {"Werte und Maße", kValueQuestions},
    {"Alle Fragen", kAllQuestions},
}};

std::optional<Condition> printCondition(int classNo, int themeNo) {
    if (classNo < 1 || classNo > int(PRINT_CLASSES.size()) || themeNo < 1 || themeNo > int(PRINT_THEMES.size()))
        return std::nullopt;
    const auto columns = catalog::classColumns(PRINT_CLASSES[std::size_t(classNo - 1)].code);
    if (!columns) return std::nullopt;
    Condition c;
    c.text = columns->select + " > 0";
    const int thema = PRINT_THEMES[std::size_t(themeNo - 1)].thema;
    if (thema == kValueQuestions) {
        c.text += " .and. .not. empty(MC_WERT)";
    } else if (thema != kAllQuestions) {
        c.text += " .and. THEMA = nTHEMA";
        c.NTHEMA = thema;
    }
    return c;
}

// ---- remembered choices ------------------------------------------------------------------------------------

namespace {

constexpr core::SettingField<PrintSettings> kSettings[] = {
    {"Setup", "KataDruck", &PrintSettings::KataDruck, 1, core::WrittenNever, 1, int(PRINT_CLASSES.size())},
    {"Setup", "KataThema", &PrintSettings::KataThema, 1, core::WrittenNever, 1, int(PRINT_THEMES.size())},
};

QString iniFile(const core::Context& ctx) {
    return ctx.path(QStringLiteral("TAVOLIN.INI"));
}

} // namespace

PrintSettings::PrintSettings() {
    core::applyDefaults<PrintSettings>(*this, printSettingsTable());
}

std::span<const core::SettingField<PrintSettings>> printSettingsTable() {
    return kSettings;
}

PrintSettings readPrintSettings(const core::Context& ctx) {
    PrintSettings s;
    core::readSettings<PrintSettings>(s, printSettingsTable(), iniFile(ctx));
    return s;
}

bool writePrintSetting(const core::Context& ctx, const char* key, int value) {
    return platform::writeProfileString(iniFile(ctx), QStringLiteral("Setup"), QString::fromLatin1(key),
                                        QString::number(value));
}

// ---- selection ---------------------------------------------------------------------------------------------

void removePrintFiles(const core::Context& ctx) {
    std::error_code ec;
    for (const char* name : kPrintFiles) {
        const QString file = ctx.resolve(QString::fromLatin1(name));
        if (!file.isEmpty()) std::filesystem::remove(std::filesystem::path(file.toStdString()), ec);
    }
}

Selection::Selection(core::Context& ctx, Draw draw)
    : m_ctx(ctx), m_draw(std::move(draw)), m_session(std::make_unique<store::Session>()) {
    if (!m_draw) m_draw = [] { return int(QRandomGenerator::global()->bounded(101)); };
}

Selection::~Selection() {
    finish();
}

void Selection::finish() {
    m_session->closeAll();
    removePrintFiles(m_ctx);
}

bool Selection::select(int classNo, int themeNo) {
    core::BusyScope busy(m_ctx.messages());
    finish();
    const auto condition = printCondition(classNo, themeNo);
    if (!condition) return false;
    m_pointsColumn = catalog::classColumns(PRINT_CLASSES[std::size_t(classNo - 1)].code)->points;
    m_session->setVariable("NTHEMA", store::Value::number(condition->NTHEMA));

    store::WorkArea* frg = m_session->use(m_ctx.filePath("FRAGEN.DBF"), "DFRG");
    if (!frg) return false;
    const bool never = false;
    if (!catalog::BUILDINDEX(*frg, "FRAGENR", m_ctx.filePath("FRAGEN9.CDX"), {}, never, condition->text)) return false;

    // The copy has every field of the catalog, whatever the catalog holds beside the fields the printout reads.
    std::vector<store::FieldDef> fields;
    for (int i = 0; i < frg->table().fieldCount(); ++i)
        fields.push_back(frg->table().fieldDef(i));
    store::WorkArea* fra = m_session->create(m_ctx.filePath("KATALOG.DBF"), fields, "DFRA");
    if (!fra) return false;
    for (frg->goTop(); !frg->eof(); frg->skip()) {
        if (!fra->appendBlank()) return false;
        for (const store::FieldDef& f : fields) {
            const bool ok = f.type == store::FieldType::Memo
                                ? fra->replaceMemo(f.name, frg->value(f.name).asText(), f.name == "PICTURE")
                                : fra->replace(f.name, frg->value(f.name));
            if (!ok) return false;
        }
    }
    return shuffle() && fra->table().flush();
}

bool Selection::shuffle() {
    store::WorkArea* fra = m_session->find("DFRA");
    for (fra->goTop(); !fra->eof(); fra->skip())
        if (!catalog::writeShuffledAnswers(*fra, *fra, m_draw())) return false;
    return true;
}

int Selection::count() const {
    const store::WorkArea* fra = m_session->find("DFRA");
    return fra ? int(fra->recCount()) : 0;
}

PrintQuestion Selection::question(int index, bool withPicture) const {
    PrintQuestion q;
    store::WorkArea* fra = m_session->find("DFRA");
    if (!fra || !fra->goTo(std::uint32_t(index + 1))) return q;
    q.FRAGENR = catalog::fieldText(*fra, "FRAGENR").trimmed();
    q.points = int(fra->number(m_pointsColumn));
    q.text = catalog::readableText(*fra, "FRAGE");
    static const char* const antw[3] = {"ANTW1", "ANTW2", "ANTW3"};
    static const char* const okField[3] = {"OK1", "OK2", "OK3"};
    for (int i = 0; i < 3; ++i) {
        q.answers[std::size_t(i)] = catalog::readableText(*fra, antw[i]);
        q.ok[std::size_t(i)] = fra->logical(okField[i]);
    }
    q.vor = catalog::fieldText(*fra, "MC_VOR").trimmed();
    q.wert = catalog::fieldText(*fra, "MC_WERT").trimmed();
    q.zwisch = catalog::fieldText(*fra, "MC_ZWISCH").trimmed();
    q.wert2 = catalog::fieldText(*fra, "MC_WERT2").trimmed();
    q.nach = catalog::fieldText(*fra, "MC_NACH").trimmed();
    q.hasPicture = catalog::pictureKind(*fra) == catalog::PictureKind::Own;
    if (q.hasPicture && withPicture) {
        const std::string bytes = fra->value("PICTURE").asText();
        q.picture = QByteArray(bytes.data(), qsizetype(bytes.size()));
    }
    return q;
}

} // namespace printout
