#include "viewer/browser.h"

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <unordered_map>

#include "catalog/answers.h"
#include "catalog/crypt.h"
#include "catalog/maintenance.h"
#include "catalog/runfiles.h"
#include "catalog/tables.h"
#include "core/context.h"
#include "platform/ansi.h"
#include "platform/inifile.h"

namespace viewer {

namespace {

const Area kAreas[kAreaCount] = {
    {"Klasse &A / A1", "KLASSE_A > 0 .or. KLASSE_A1 > 0", "Klasse A, A1", "A / A1", "KLASSE_A"},
    {"Klasse B / B&E", "KLASSE_B > 0", "Klasse B, BE", "B / BE", "KLASSE_B"},
    {"Klasse &C / C1 / CE", "KLASSE_C > 0 .or. KLASSE_C1 > 0 .or. KLASSE_CE > 0", "Klasse C, C1, CE", "C / CE",
     "KLASSE_C"},
    {"Klasse &D / D1 / DE", "KLASSE_D > 0 .or. KLASSE_D1 > 0", "Klasse D, D1, DE", "D / DE", "KLASSE_D"},
    {"Klasse &M", "KLASSE_M > 0", "Klasse M", "M", "KLASSE_M"},
    {"Klasse M&ofa", "KLASSE_MO > 0", "Klasse MO", "MO", "KLASSE_MO"},
    {"Klasse &L", "KLASSE_L > 0", "Klasse L", "L", "KLASSE_L"},
    {"Klasse &S", "KLASSE_K > 0", "Klasse S", "S", "KLASSE_K"},
    {"Klasse &T", "KLASSE_T > 0", "Klasse T", "T", "KLASSE_T"},
    {"alle &Fragen", ".T.", "Alle Fragen", "unbekannt", nullptr},
    {"&nur Bilderfragen", "BITMAP<>'KEINBILD'", "Nur Bilderfragen", "unbekannt", nullptr},
};

QString iniFile(core::Context& ctx) {
    return ctx.path(ctx.settings.CINIFILE);
}

void removeFile(const std::filesystem::path& file) {
    std::error_code ec;
    std::filesystem::remove(file, ec);
}

// Stored catalog bytes straight to readable upper case: both steps map single characters, so one table does both
// and a search reads each text once.
const std::array<char, 256>& readableUpper() {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b) {
            const std::string one(1, char(b));
            t[std::size_t(b)] = upperAZ(catalog::ENCRYPT(one))[0];
        }
        return t;
    }();
    return table;
}

} // namespace

const Area& area(int number) {
    return kAreas[number >= 1 && number <= kAreaCount ? number - 1 : 0];
}

int readArea(core::Context& ctx) {
    const double n = platform::profileNumber(platform::readProfileString(
        iniFile(ctx), QStringLiteral("Setup"), QStringLiteral("Katalog"), QStringLiteral("1")));
    return n >= 1 && n <= kAreaCount ? int(n) : 1;
}

void writeArea(core::Context& ctx, int number) {
    platform::writeProfileString(iniFile(ctx), QStringLiteral("Setup"), QStringLiteral("Katalog"),
                                 QString::number(number));
}

std::string upperAZ(std::string_view ansi) {
    std::string out(ansi);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return out;
}

QString upperAZ(const QString& text) {
    QString out = text;
    for (QChar& c : out)
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    return out;
}

QString searchTerm(const QString& typed) {
    QString term = upperAZ(typed);
    while (!term.isEmpty() && term.back() == QLatin1Char(' '))
        term.chop(1);
    return term.isEmpty() ? QStringLiteral("...") : term;
}

QString firstLine(const QString& text, int width) {
    // Line breaks of the text end the line; blanks before the first word do not count as a word.
    QString line;
    int i = 0;
    const int n = int(text.size());
    while (i < n) {
        const QChar c = text[i];
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) break;
        if (c == QLatin1Char(' ')) {
            line += c;
            ++i;
            continue;
        }
        int end = i;
        while (end < n && text[end] != QLatin1Char(' ') && text[end] != QLatin1Char('\r') &&
               text[end] != QLatin1Char('\n'))
            ++end;
        const QString word = text.mid(i, end - i);
        if (line.size() + word.size() > width) {
            if (line.trimmed().isEmpty()) line = word.left(width);
            break;
        }
        line += word;
        i = end;
    }
    while (!line.isEmpty() && line.back() == QLatin1Char(' '))
        line.chop(1);
    return line;
}

Browser::Browser(core::Context& ctx) : m_ctx(ctx) {}

Browser::~Browser() {
    m_session.closeAll();
    removeFile(m_ctx.filePath("LOCAL.CDX"));
}

QString Browser::title() const {
    return QStringLiteral("Fragenkatalog - ") + QString::fromUtf8(area(m_area).title);
}

bool Browser::open(int areaNumber) {
    m_area = areaNumber >= 1 && areaNumber <= kAreaCount ? areaNumber : 1;
    m_session.closeAll();
    m_all.clear();
    m_rows.clear();
    m_fragenOf.clear();
    m_cache.clear();
    m_filtered = false;
    const core::BusyScope wait(m_ctx.messages());

    store::WorkArea* dfra = m_session.use(m_ctx.filePath("FRAGEN.DBF"), "DFRA");
    if (!dfra) return false;
    const auto fragenCdx = m_ctx.filePath("FRAGEN.CDX");
    if (!std::filesystem::exists(fragenCdx)) {
        if (!catalog::buildIndexUnderMeter(m_ctx, *dfra, "FRAGENR", fragenCdx,
                                           QStringLiteral("FRAGEN Index aufbauen...")))
            return false;
    } else if (!dfra->openIndex(fragenCdx) || !dfra->setOrder("FRAGEN")) {
        return false;
    }
    if (!copyArea(area(m_area))) return false;

    store::WorkArea* dloc = m_session.use(m_ctx.filePath("KATALOG.DBF"), "DLOC");
    if (!dloc || !dloc->setRelation("FRAGENR", "DFRA")) return false;
    dloc->goTop();
    const std::uint32_t count = dloc->recCount();
    m_all.resize(count);
    for (std::uint32_t r = 0; r < count; ++r)
        m_all[r] = r + 1;
    m_rows = m_all;
    m_cache.assign(count, std::nullopt);
    mapCatalog();
    return true;
}

bool Browser::copyArea(const Area& a) {
    store::WorkArea* src =
        m_session.use(m_ctx.filePath(platform::toAnsi(m_ctx.login().CS_LOCAL).append(".DBF")), "DLOC");
    if (!src) return false;
    // The tag holds only the area's records, in question order: walking it is the copy.
    if (!src->indexOn("FRAGENR", m_ctx.filePath("LOCAL.CDX"), "LOCAL", a.condition)) return false;
    const auto copyPath = m_ctx.filePath("KATALOG.DBF");
    removeFile(copyPath);
    std::unique_ptr<store::Table> copy = store::Table::create(copyPath, catalog::localFields());
    if (!copy) return false;
    store::Table& from = src->table();
    // The copy has the learner's fields; take each by name, since an older learner's table may order them apart.
    std::vector<std::pair<int, int>> fields;
    for (int i = 0; i < copy->fieldCount(); ++i) {
        const int j = from.fieldIndex(copy->fieldDef(i).name);
        if (j >= 0) fields.emplace_back(j, i);
    }
    bool ok = true;
    for (src->goTop(); ok && !src->eof(); src->skip()) {
        ok = copy->appendBlank();
        for (const auto& [j, i] : fields)
            ok = ok && copy->replace(i, from.fieldValue(j));
    }
    ok = copy->close() && ok;
    m_session.close("DLOC");
    return ok;
}

void Browser::mapCatalog() {
    store::WorkArea* dfra = m_session.find("DFRA");
    store::WorkArea* dloc = m_session.find("DLOC");
    if (!dfra || !dloc) return;
    store::Table& fragen = dfra->table();
    const int nrField = fragen.fieldIndex("FRAGENR");
    std::unordered_map<std::string, std::uint32_t> byNumber;
    byNumber.reserve(fragen.recCount());
    for (std::uint32_t r = 1; nrField >= 0 && r <= fragen.recCount(); ++r) {
        fragen.goTo(r);
        byNumber.emplace(std::string(fragen.rawField(nrField)), r);
    }
    store::Table& copy = dloc->table();
    const int copyNr = copy.fieldIndex("FRAGENR");
    m_fragenOf.assign(copy.recCount(), 0);
    for (std::uint32_t r = 1; copyNr >= 0 && r <= copy.recCount(); ++r) {
        copy.goTo(r);
        const auto it = byNumber.find(std::string(copy.rawField(copyNr)));
        if (it != byNumber.end()) m_fragenOf[r - 1] = it->second;
    }
    dloc->goTop();
}

const Row& Browser::row(int index) const {
    static const Row none;
    if (index < 0 || index >= rowCount()) return none;
    const std::uint32_t recno = m_rows[std::size_t(index)];
    std::optional<Row>& cached = m_cache[recno - 1];
    if (cached) return *cached;
    Row r;
    store::WorkArea* dloc = m_session.find("DLOC");
    store::WorkArea* dfra = m_session.find("DFRA");
    if (dloc && dfra) {
        store::Table& copy = dloc->table();
        copy.goTo(recno);
        r.fragenr = platform::fromAnsi(copy.rawField(copy.fieldIndex("FRAGENR")));
        while (r.fragenr.endsWith(QLatin1Char(' ')))
            r.fragenr.chop(1);
        r.thema = int(copy.fieldValue(copy.fieldIndex("THEMA")).asNumber());
        r.antworten = int(copy.fieldValue(copy.fieldIndex("ANTWORTEN")).asNumber());
        r.richtig = int(copy.fieldValue(copy.fieldIndex("RICHTIG")).asNumber());
        if (const std::uint32_t f = m_fragenOf[recno - 1]) {
            store::Table& fragen = dfra->table();
            fragen.goTo(f);
            r.text = firstLine(platform::fromAnsi(catalog::ENCRYPT(fragen.memo(fragen.fieldIndex("FRAGE")))));
        }
    }
    cached = std::move(r);
    return *cached;
}

bool Browser::SUCHEN2(const QString& typed) {
    const QString term = searchTerm(typed);
    const std::string needle = platform::toAnsi(term);
    showAll();
    store::WorkArea* dfra = m_session.find("DFRA");
    std::vector<std::uint32_t> hits;
    if (dfra) {
        store::Table& fragen = dfra->table();
        const int frage = fragen.fieldIndex("FRAGE");
        const auto& map = readableUpper();
        const std::boyer_moore_horspool_searcher searcher(needle.begin(), needle.end());
        std::string text;
        for (std::uint32_t recno : m_all) {
            const std::uint32_t f = m_fragenOf[recno - 1];
            if (!f || !fragen.goTo(f)) continue;
            text = fragen.memo(frage);
            for (char& c : text)
                c = map[static_cast<unsigned char>(c)];
            if (std::search(text.begin(), text.end(), searcher) != text.end()) hits.push_back(recno);
        }
    }
    if (hits.empty()) {
        core::MSGINFO(m_ctx, QStringLiteral("\rDie Suche nach '") + term + QStringLiteral("' war erfolglos !"),
                      QStringLiteral("Suchen"));
        return false;
    }
    m_rows = std::move(hits);
    m_filtered = true;
    return true;
}

void Browser::showAll() {
    m_rows = m_all;
    m_filtered = false;
}

bool Browser::moveTo(int index) {
    store::WorkArea* dloc = m_session.find("DLOC");
    if (!dloc || index < 0 || index >= rowCount()) return false;
    return dloc->goTo(m_rows[std::size_t(index)]);
}

QuestionData Browser::GETDATA(int index) {
    QuestionData q;
    const Area& a = area(m_area);
    q.classLabel = QString::fromUtf8(a.classLabel);
    q.points = QStringLiteral("--");
    if (!moveTo(index)) return q;
    store::WorkArea* dloc = m_session.find("DLOC");
    store::WorkArea* dfra = m_session.find("DFRA");
    q.antworten = int(dloc->number("ANTWORTEN"));
    q.richtig = int(dloc->number("RICHTIG"));
    q.fragenr = catalog::fieldText(*dloc, "FRAGENR");
    q.thema = int(dloc->number("THEMA"));
    // A learner's record whose question the catalog lacks shows empty texts.
    if (dfra->eof() || m_fragenOf[m_rows[std::size_t(index)] - 1] == 0) return q;
    q.fragenr = catalog::fieldText(*dfra, "FRAGENR");
    q.thema = int(dfra->number("THEMA"));
    q.frage = catalog::readableText(*dfra, "FRAGE");
    q.antw = {catalog::readableText(*dfra, "ANTW1"), catalog::readableText(*dfra, "ANTW2"),
              catalog::readableText(*dfra, "ANTW3")};
    q.ok = {dfra->logical("OK1"), dfra->logical("OK2"), dfra->logical("OK3")};
    q.vor = catalog::fieldText(*dfra, "MC_VOR").trimmed();
    q.wert = catalog::fieldText(*dfra, "MC_WERT");
    q.zwisch = catalog::fieldText(*dfra, "MC_ZWISCH").trimmed();
    q.wert2 = catalog::fieldText(*dfra, "MC_WERT2");
    q.nach = catalog::fieldText(*dfra, "MC_NACH").trimmed();
    q.layout = catalog::questionLayout(*dfra);
    if (a.pointsField) q.points = QString::number(int(dfra->number(a.pointsField)));
    switch (catalog::pictureKind(*dfra)) {
    case catalog::PictureKind::Filler:
        q.noPicture = true;
        q.picture = m_ctx.path(QStringLiteral(".\\bitmaps\\KEINBKAT.BMP"));
        break;
    case catalog::PictureKind::Own:
        if (const auto file = catalog::writeQuestionPicture(*dfra, m_ctx.folder()); !file.empty())
            q.picture = QString::fromStdString(file.string());
        break;
    case catalog::PictureKind::None:
        break;
    }
    return q;
}

bool Browser::DELDATA(int index) {
    if (!moveTo(index)) return false;
    store::WorkArea* dloc = m_session.find("DLOC");
    if (dloc->number("ANTWORTEN") + dloc->number("RICHTIG") <= 0) return false;
    if (!core::MSGYESNO(m_ctx, QStringLiteral("Daten zurücksetzen ?"), QStringLiteral("Frage"))) return false;
    moveTo(index);
    const bool ok = dloc->replace("ANTWORTEN", store::Value::number(0)) &&
                    dloc->replace("RICHTIG", store::Value::number(0)) &&
                    dloc->replace("FALSCH", store::Value::number(0));
    m_cache[m_rows[std::size_t(index)] - 1].reset();
    return ok;
}

bool Browser::exportQuestion(int index) {
    if (!moveTo(index) || m_fragenOf[m_rows[std::size_t(index)] - 1] == 0) return false;
    // The export closes and reopens the catalog; a relation into it would be dropped as a fault.
    m_session.find("DLOC")->clearRelations();
    const bool ok = catalog::MAKEUPDATE(m_ctx, m_session);
    if (store::WorkArea* dloc = m_session.find("DLOC")) dloc->setRelation("FRAGENR", "DFRA");
    moveTo(index);
    return ok;
}

} // namespace viewer
