#include "catalogue.h"

#include <algorithm>

#include "mkfines/finesource.h"
#include "store/codepage.h"
#include "store/error.h"
#include "store/format.h"
#include "store/table.h"

namespace mkdocs {

namespace {

QString fromTable(const std::string& cp1252) {
    std::string s = cp1252;
    while (!s.empty() && s.back() == ' ')
        s.pop_back();
    return QString::fromStdString(store::cp1252ToUtf8(s));
}

QString esc(const QString& s) {
    return s.toHtmlEscaped();
}

// A number as Germans write it, with only the decimals it has: 0.5 → "0,5", 80 → "80".
QString plain(double v) {
    return QString::fromStdString(store::plainNumber(v)).replace(QLatin1Char('.'), QLatin1Char(','));
}

QString perMille(double v) {
    return QString::fromStdString(store::transformPicture(v, "@E 99.99")).trimmed();
}

QString points(int n) {
    return n > 0 ? QString::number(n) : QStringLiteral("–");
}

QString months(int n) {
    if (n <= 0) return QStringLiteral("–");
    return n == 1 ? QStringLiteral("1 Monat") : QStringLiteral("%1 Monate").arg(n);
}

QString fineCell(double amount) {
    return amount > 0 ? euro(amount) : QStringLiteral("–");
}

// Speeding ranges include both bounds; the top one reaches 999 km/h.
QString speedingRange(const FineRecord& r) {
    if (r.to >= 999) return QStringLiteral("mehr als %1").arg(plain(r.from - 1));
    if (r.from <= 1) return QStringLiteral("bis %1").arg(plain(r.to));
    return QStringLiteral("%1–%2").arg(plain(r.from), plain(r.to));
}

// Distance ranges exclude their upper bound: 1 to 81 is "up to 80 km/h".
QString speedDrivenRange(const FineRecord& r) {
    if (r.from <= 1 && r.to >= 1000) return QStringLiteral("jede");
    if (r.from <= 1) return QStringLiteral("bis %1 km/h").arg(plain(r.to - 1));
    if (r.to >= 1000) return QStringLiteral("über %1 km/h").arg(plain(r.from - 1));
    return QStringLiteral("%1–%2 km/h").arg(plain(r.from), plain(r.to - 1));
}

// Alcohol ranges exclude their upper bound as well; the top one reaches 10 per mille.
QString alcoholRange(const FineRecord& r) {
    if (r.to >= 10) return QStringLiteral("ab %1").arg(perMille(r.from));
    return QStringLiteral("%1 bis unter %2").arg(perMille(r.from), perMille(r.to));
}

// A criminal offence carries no fine but the most points; its "ban" is the shortest time before a new licence.
bool isCriminal(const FineRecord& r) {
    return r.fine <= 0 && r.points >= 5;
}

// Numbers the provenance notes in the order the tables first cite them.
class Notes {
public:
    QString cite(const QString& note) {
        if (note.isEmpty()) return QString();
        auto it = std::find(m_notes.begin(), m_notes.end(), note);
        if (it == m_notes.end()) it = m_notes.insert(m_notes.end(), note);
        return QString::number(it - m_notes.begin() + 1);
    }
    // Two rows shown on one line: one number when they agree.
    QString cite(const QString& a, const QString& b) {
        QString x = cite(a), y = cite(b);
        if (x == y || y.isEmpty()) return x;
        if (x.isEmpty()) return y;
        if (y.toInt() < x.toInt()) std::swap(x, y);
        return x + QStringLiteral(", ") + y;
    }
    const std::vector<QString>& all() const { return m_notes; }

private:
    std::vector<QString> m_notes;
};

QString tableStart() {
    return QStringLiteral(
        "<table border=\"1\" cellspacing=\"0\" cellpadding=\"4\" width=\"100%\" style=\"border-collapse: collapse\">");
}

const QString kCentre = QStringLiteral("align=\"center\"");

QString th(const QString& text, const QString& attrs = {}) {
    return QStringLiteral("<th%1>%2</th>").arg(attrs.isEmpty() ? QString() : QLatin1Char(' ') + attrs, esc(text));
}

QString td(const QString& text, bool number = false, const QString& attrs = {}) {
    QString a = number ? QStringLiteral(" align=\"right\"") : QString();
    if (!attrs.isEmpty()) a += QLatin1Char(' ') + attrs;
    return QStringLiteral("<td%1>%2</td>").arg(a, esc(text));
}

QString resultHeads() {
    return th(QStringLiteral("Bußgeld"), "width=\"12%\"") + th(QStringLiteral("Punkte"), "width=\"9%\"") +
           th(QStringLiteral("Fahrverbot"), "width=\"13%\"");
}

QString sourceHead() {
    return th(QStringLiteral("Quelle"), "width=\"8%\"");
}

std::vector<FineRecord> ofType(const std::vector<FineRecord>& rows, int type) {
    std::vector<FineRecord> out;
    std::copy_if(rows.begin(), rows.end(), std::back_inserter(out),
                 [&](const FineRecord& r) { return r.type == type; });
    std::stable_sort(out.begin(), out.end(), [](const FineRecord& a, const FineRecord& b) { return a.sort < b.sort; });
    return out;
}

// The distinct offence texts in the order of their first row.
std::vector<QString> offences(const std::vector<FineRecord>& rows) {
    std::vector<QString> out;
    for (const FineRecord& r : rows)
        if (std::find(out.begin(), out.end(), r.offence) == out.end()) out.push_back(r.offence);
    return out;
}

QString titleOf(const std::vector<FineRecord>& rows, const QString& fallback) {
    return rows.empty() || rows.front().theme.isEmpty() ? fallback : rows.front().theme;
}

QString speedingSection(const std::vector<FineRecord>& rows, Notes& notes) {
    QString html =
        QStringLiteral("<h2>%1</h2>").arg(esc(titleOf(rows, QStringLiteral("Geschwindigkeitsüberschreitung"))));
    html += QStringLiteral("<p class=\"note\">Überschreitung der zulässigen Höchstgeschwindigkeit in km/h, nach Abzug "
                           "der Messtoleranz. Beide Grenzen eines Bereichs gehören dazu.</p>");
    for (const QString& vehicle : offences(rows)) {
        std::vector<FineRecord> inside, outside;
        for (const FineRecord& r : rows)
            if (r.offence == vehicle) (r.option == 1 ? inside : outside).push_back(r);
        auto byFrom = [](const FineRecord& a, const FineRecord& b) { return a.from < b.from; };
        std::stable_sort(inside.begin(), inside.end(), byFrom);
        std::stable_sort(outside.begin(), outside.end(), byFrom);
        const bool sameRanges =
            inside.size() == outside.size() &&
            std::equal(inside.begin(), inside.end(), outside.begin(),
                       [](const FineRecord& a, const FineRecord& b) { return a.from == b.from && a.to == b.to; });

        html += QStringLiteral("<h3>%1</h3>").arg(esc(vehicle));
        if (sameRanges) {
            html += tableStart();
            html +=
                QStringLiteral("<thead><tr>") + th(QStringLiteral("km/h zu schnell"), "rowspan=\"2\" width=\"24%\"") +
                th(QStringLiteral("innerorts"), "colspan=\"3\"") + th(QStringLiteral("außerorts"), "colspan=\"3\"") +
                th(QStringLiteral("Quelle"), "rowspan=\"2\" width=\"8%\"") + QStringLiteral("</tr><tr>");
            for (int i = 0; i < 2; ++i)
                html += resultHeads();
            html += QStringLiteral("</tr></thead>");
            for (std::size_t i = 0; i < inside.size(); ++i) {
                const FineRecord& in = inside[i];
                const FineRecord& out = outside[i];
                html += QStringLiteral("<tr>") + td(speedingRange(in)) + td(fineCell(in.fine), true) +
                        td(points(in.points), true) + td(months(in.banMonths), true) + td(fineCell(out.fine), true) +
                        td(points(out.points), true) + td(months(out.banMonths), true) +
                        td(notes.cite(in.provenance, out.provenance), false, kCentre) + QStringLiteral("</tr>");
            }
            html += QStringLiteral("</table>");
            continue;
        }
        for (const auto* part : {&inside, &outside}) {
            if (part->empty()) continue;
            html += QStringLiteral("<h4>%1</h4>")
                        .arg(part == &inside ? QStringLiteral("innerorts") : QStringLiteral("außerorts"));
            html += tableStart() + QStringLiteral("<thead><tr>") +
                    th(QStringLiteral("km/h zu schnell"), "width=\"58%\"") + resultHeads() + sourceHead() +
                    QStringLiteral("</tr></thead>");
            for (const FineRecord& r : *part)
                html += QStringLiteral("<tr>") + td(speedingRange(r)) + td(fineCell(r.fine), true) +
                        td(points(r.points), true) + td(months(r.banMonths), true) +
                        td(notes.cite(r.provenance), false, kCentre) + QStringLiteral("</tr>");
            html += QStringLiteral("</table>");
        }
    }
    return html;
}

QString distanceSection(const std::vector<FineRecord>& rows, Notes& notes) {
    QString html = QStringLiteral("<h2>%1</h2>").arg(esc(titleOf(rows, QStringLiteral("Abstand"))));
    html += QStringLiteral("<p class=\"note\">Gemessen wird am halben Tachowert: Bei 100 km/h sind das 50 m, "
                           "3/10 davon also 15 m.</p>");
    html += tableStart() + QStringLiteral("<thead><tr>") + th(QStringLiteral("Vergehen"), "width=\"39%\"") +
            th(QStringLiteral("gefahrene Geschwindigkeit"), "width=\"19%\"") + resultHeads() + sourceHead() +
            QStringLiteral("</tr></thead>");
    for (std::size_t i = 0; i < rows.size();) {
        // Rows of one offence that follow each other share its text.
        std::size_t span = 1;
        while (i + span < rows.size() && rows[i + span].offence == rows[i].offence)
            ++span;
        for (std::size_t k = 0; k < span; ++k) {
            const FineRecord& r = rows[i + k];
            html += QStringLiteral("<tr>");
            if (k == 0) html += td(r.offence, false, span > 1 ? QStringLiteral("rowspan=\"%1\"").arg(span) : QString());
            html += td(speedDrivenRange(r)) + td(fineCell(r.fine), true) + td(points(r.points), true) +
                    td(months(r.banMonths), true) + td(notes.cite(r.provenance), false, kCentre) +
                    QStringLiteral("</tr>");
        }
        i += span;
    }
    return html + QStringLiteral("</table>");
}

QString alcoholSection(const std::vector<FineRecord>& rows, Notes& notes) {
    QString html = QStringLiteral("<h2>%1</h2>").arg(esc(titleOf(rows, QStringLiteral("Alkohol"))));
    html += QStringLiteral("<p class=\"note\">Blutalkohol in Promille; die Obergrenze eines Bereichs gehört zum "
                           "nächsten. Straftaten haben kein Bußgeld: Es folgt ein Strafverfahren, und bis zu einer "
                           "neuen Fahrerlaubnis vergeht mindestens die genannte Sperrfrist.</p>");
    for (const QString& offence : offences(rows)) {
        html += QStringLiteral("<h3>%1</h3>").arg(esc(offence));
        html += tableStart() + QStringLiteral("<thead><tr>") + th(QStringLiteral("Promille"), "width=\"14%\"") +
                resultHeads() + th(QStringLiteral("Erläuterung"), "width=\"44%\"") + sourceHead() +
                QStringLiteral("</tr></thead>");
        std::vector<FineRecord> ranges;
        std::copy_if(rows.begin(), rows.end(), std::back_inserter(ranges),
                     [&](const FineRecord& r) { return r.offence == offence; });
        std::stable_sort(ranges.begin(), ranges.end(),
                         [](const FineRecord& a, const FineRecord& b) { return a.from < b.from; });
        for (const FineRecord& r : ranges) {
            const bool criminal = isCriminal(r);
            html += QStringLiteral("<tr>") + td(alcoholRange(r)) +
                    td(criminal ? QStringLiteral("Straftat") : fineCell(r.fine), !criminal) +
                    td(points(r.points), true) +
                    td(criminal && r.banMonths > 0 ? QStringLiteral("Sperrfrist mind. %1").arg(months(r.banMonths))
                                                   : months(r.banMonths),
                       !criminal) +
                    td(r.info) + td(notes.cite(r.provenance), false, kCentre) + QStringLiteral("</tr>");
        }
        html += QStringLiteral("</table>");
    }
    return html;
}

QString groupSection(const std::vector<FineRecord>& rows, Notes& notes) {
    QString html = QStringLiteral("<h2>%1</h2>").arg(esc(titleOf(rows, QStringLiteral("Weitere Verstöße"))));
    html += tableStart() + QStringLiteral("<thead><tr>") + th(QStringLiteral("Vergehen"), "width=\"58%\"") +
            resultHeads() + sourceHead() + QStringLiteral("</tr></thead>");
    for (const FineRecord& r : rows)
        html += QStringLiteral("<tr>") + td(r.offence) + td(fineCell(r.fine), true) + td(points(r.points), true) +
                td(months(r.banMonths), true) + td(notes.cite(r.provenance), false, kCentre) + QStringLiteral("</tr>");
    return html + QStringLiteral("</table>");
}

} // namespace

QString euro(double amount) {
    return QString::fromStdString(store::transformPicture(amount, "@E 999,999.99")).trimmed() + QStringLiteral(" €");
}

std::optional<std::vector<FineRecord>> readFineTable(const QString& path) {
    auto table = store::Table::open(path.toStdString(), store::Table::Mode::SharedRead);
    if (!table) return std::nullopt;
    const char* const names[] = {"TYPE",     "SORT",     "VERGEHEN", "THEMA",   "OPTION", "LIMITVON",
                                 "LIMITBIS", "BUSSGELD", "PUNKTE",   "FVERBOT", "INFO"};
    int at[11];
    for (int i = 0; i < 11; ++i) {
        at[i] = table->fieldIndex(names[i]);
        if (at[i] < 0) {
            store::reportError(path.toStdString(), std::string("das Feld ") + names[i] + " fehlt");
            return std::nullopt;
        }
    }
    std::vector<FineRecord> rows;
    for (std::uint32_t rec = 1; table->goTo(rec); ++rec) {
        if (table->isDeleted()) continue;
        auto num = [&](int i) { return table->fieldValue(at[i]).asNumber(); };
        auto text = [&](int i) { return fromTable(table->fieldValue(at[i]).asText()); };
        FineRecord r;
        r.type = static_cast<int>(num(0));
        r.sort = static_cast<int>(num(1));
        r.offence = text(2);
        r.theme = text(3);
        r.option = static_cast<int>(num(4));
        r.from = num(5);
        r.to = num(6);
        r.fine = num(7);
        r.points = static_cast<int>(num(8));
        r.banMonths = static_cast<int>(num(9));
        r.info = text(10);
        rows.push_back(std::move(r));
    }
    return rows;
}

bool attachProvenance(std::vector<FineRecord>& rows, const std::string& sourceText, QString* fault) {
    const mkfines::Source source = mkfines::readSource(sourceText);
    if (!source.faults.empty()) {
        *fault = QStringLiteral("die Quelle der Bußgeldtabelle ist fehlerhaft (Zeile %1: %2)")
                     .arg(source.faults.front().line)
                     .arg(QString::fromStdString(source.faults.front().message));
        return false;
    }
    std::vector<bool> used(source.rows.size(), false);
    for (FineRecord& r : rows) {
        bool found = false;
        for (std::size_t i = 0; i < source.rows.size() && !found; ++i) {
            const std::vector<store::Value>& v = source.rows[i].values;
            found = !used[i] && static_cast<int>(v[0].asNumber()) == r.type &&
                    static_cast<int>(v[1].asNumber()) == r.sort && fromTable(v[2].asText()) == r.offence &&
                    static_cast<int>(v[4].asNumber()) == r.option && v[5].asNumber() == r.from &&
                    v[6].asNumber() == r.to;
            if (found) {
                used[i] = true;
                r.provenance = QString::fromStdString(source.rows[i].provenance).trimmed();
            }
        }
        if (!found) {
            *fault =
                QStringLiteral("die Zeile „%1“ (TYPE %2) fehlt in der Quelle; die Tabelle ist nicht aus ihr gebaut")
                    .arg(r.offence)
                    .arg(r.type);
            return false;
        }
    }
    return true;
}

QString catalogueHtml(const std::vector<FineRecord>& rows, const QString& introBody) {
    QString html = QStringLiteral("<html><head><title>Bußgeldkatalog</title></head><body>");
    if (!introBody.contains(QStringLiteral("<h1"), Qt::CaseInsensitive))
        html += QStringLiteral("<h1>Bußgeldkatalog</h1>");
    html += introBody;

    std::vector<int> types;
    for (const FineRecord& r : rows)
        if (std::find(types.begin(), types.end(), r.type) == types.end()) types.push_back(r.type);
    std::sort(types.begin(), types.end());
    Notes notes;
    for (int type : types) {
        const std::vector<FineRecord> group = ofType(rows, type);
        switch (type) {
        case 1:
            html += speedingSection(group, notes);
            break;
        case 3:
            html += distanceSection(group, notes);
            break;
        case 12:
            html += alcoholSection(group, notes);
            break;
        default:
            html += groupSection(group, notes);
            break;
        }
    }
    if (!notes.all().empty()) {
        html += QStringLiteral("<h2>Quellen der Werte</h2><p class=\"note\">Die Zahl in der Spalte „Quelle“ "
                               "verweist auf diese Liste.</p>");
        html += tableStart() + QStringLiteral("<thead><tr>") + th(QStringLiteral("Nr."), "width=\"8%\"") +
                th(QStringLiteral("Beleglage"), "width=\"92%\"") + QStringLiteral("</tr></thead>");
        for (std::size_t i = 0; i < notes.all().size(); ++i)
            html += QStringLiteral("<tr>") + td(QString::number(i + 1), false, kCentre) + td(notes.all()[i]) +
                    QStringLiteral("</tr>");
        html += QStringLiteral("</table>");
    }
    return html + QStringLiteral("</body></html>");
}

} // namespace mkdocs
