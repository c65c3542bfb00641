#include "table.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "byteorder.h"
#include "calendar.h"
#include "error.h"
#include "filecommit.h"
#include "fileio.h"
#include "memofile.h"

namespace store {

using endian::getLE16;
using endian::getLE32;
using endian::putLE16;
using endian::putLE32;

namespace {

constexpr char kLive = ' ';
constexpr char kDeleted = '*';
constexpr char kEndOfFile = 0x1A;
constexpr char kFieldListEnd = 0x0D;
constexpr std::uint8_t kCodePage1252 = 0x03;
constexpr std::uint8_t kFlagMemo = 0x02;
constexpr std::uint32_t kVfpBacklink = 263;
constexpr int kMaxFields = 255;

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && s.front() == ' ')
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0'))
        s.remove_suffix(1);
    return s;
}

double parseNumber(std::string_view raw) {
    std::string_view s = trimBlanks(raw);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    double v = 0.0;
    if (s.empty() || s.find('*') != std::string_view::npos) return 0.0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
    return ec == std::errc() ? v : 0.0;
}

// Writes the number right-aligned into `width` bytes with exactly `decimals` decimals; false when it does not fit.
bool formatNumber(double v, int width, int decimals, char* out) {
    if (!std::isfinite(v) || std::fabs(v) >= 1e20) return false;
    char buf[64];
    auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    if (ec != std::errc()) return false;
    const char* begin = buf;
    // A value that rounds to zero is written without sign.
    if (buf[0] == '-' && std::all_of(buf + 1, end, [](char c) { return c == '0' || c == '.'; })) ++begin;
    const auto length = end - begin;
    if (length > width) return false;
    std::memset(out, ' ', static_cast<std::size_t>(width - length));
    std::memcpy(out + (width - length), begin, static_cast<std::size_t>(length));
    return true;
}

std::int32_t parseDate(std::string_view raw) {
    if (raw.size() != 8) return 0;
    int parts[3] = {};
    const int widths[3] = {4, 2, 2};
    std::size_t pos = 0;
    for (int i = 0; i < 3; ++i) {
        auto [end, ec] = std::from_chars(raw.data() + pos, raw.data() + pos + widths[i], parts[i]);
        if (ec != std::errc() || end != raw.data() + pos + widths[i]) return 0;
        pos += static_cast<std::size_t>(widths[i]);
    }
    return julianDay(parts[0], parts[1], parts[2]);
}

std::string formatDate(std::int32_t jd) {
    CivilDate d = civilFromJulian(jd);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%04d%02d%02d", d.year, d.month, d.day);
    return buf;
}

bool isTrueMark(char c) {
    return c == 'T' || c == 't' || c == 'Y' || c == 'y';
}

std::string upperAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

bool equalNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
        if (x != y) return false;
    }
    return true;
}

const char* typeName(FieldType t) {
    switch (t) {
    case FieldType::Character:
        return "C";
    case FieldType::Numeric:
        return "N";
    case FieldType::Logical:
        return "L";
    case FieldType::Date:
        return "D";
    case FieldType::Memo:
        return "M";
    }
    return "?";
}

// The memo file name beside a table: same base name, extension written in the case style of the table's.
std::filesystem::path memoPathFor(const std::filesystem::path& table, const char* lowerExt) {
    std::string ext = table.extension().string();
    std::string style = ext.empty() ? table.stem().string() : ext.substr(1);
    bool lower = std::any_of(style.begin(), style.end(), [](char c) { return c >= 'a' && c <= 'z'; }) &&
                 std::none_of(style.begin(), style.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    std::string e = lower ? lowerExt : upperAscii(lowerExt);
    auto p = table;
    p.replace_extension("." + e);
    return p;
}

bool todayYmd(unsigned char* out) {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (!::localtime_r(&now, &tm)) return false;
    out[0] = static_cast<unsigned char>(tm.tm_year % 100);
    out[1] = static_cast<unsigned char>(tm.tm_mon + 1);
    out[2] = static_cast<unsigned char>(tm.tm_mday);
    return true;
}

// Checks and normalises the field list of a new table; the message of the first fault, or empty.
std::string normaliseFields(std::vector<FieldDef>& fields) {
    if (fields.empty()) return "keine Felder angegeben";
    if (fields.size() > kMaxFields) return "zu viele Felder (" + std::to_string(fields.size()) + ", höchstens 255)";
    for (std::size_t i = 0; i < fields.size(); ++i) {
        FieldDef& f = fields[i];
        f.name = upperAscii(f.name);
        const std::string label = "Feld " + (f.name.empty() ? "Nr. " + std::to_string(i + 1) : f.name);
        if (f.name.empty() || f.name.size() > 10) return label + ": Name leer oder länger als 10 Zeichen";
        if (!(f.name[0] >= 'A' && f.name[0] <= 'Z')) return label + ": Name muss mit einem Buchstaben beginnen";
        for (char c : f.name)
            if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
                return label + ": Name enthält unzulässige Zeichen";
        for (std::size_t j = 0; j < i; ++j)
            if (fields[j].name == f.name) return label + ": Name kommt doppelt vor";
        if (f.type != FieldType::Numeric && f.decimals != 0)
            return label + ": nur numerische Felder haben Nachkommastellen";
        int fixed = 0;
        switch (f.type) {
        case FieldType::Character:
            if (f.length < 1 || f.length > 254) return label + ": Zeichenfeld muss 1 bis 254 Zeichen lang sein";
            break;
        case FieldType::Numeric:
            if (f.length < 1 || f.length > 20 || f.decimals < 0 || f.decimals >= f.length)
                return label + ": numerisches Feld braucht Breite 1 bis 20 und weniger Nachkommastellen als Breite";
            break;
        case FieldType::Logical:
            fixed = 1;
            break;
        case FieldType::Date:
            fixed = 8;
            break;
        case FieldType::Memo:
            fixed = 10;
            break;
        default:
            return label + ": unbekannter Feldtyp";
        }
        if (fixed != 0) {
            if (f.length != 0 && f.length != fixed)
                return label + ": Feldtyp " + typeName(f.type) + " hat die feste Länge " + std::to_string(fixed);
            f.length = fixed;
        }
    }
    return {};
}

bool isReadOnlyFile(const struct stat& st) {
    return (st.st_mode & 0222) == 0;
}

} // namespace

// ---------------------------------------------------------------------------------------------------------------
// Creating and opening

void Table::layoutFields() {
    m_offsets.clear();
    std::uint32_t offset = 1;
    for (const FieldDef& f : m_fields) {
        m_offsets.push_back(offset);
        offset += static_cast<std::uint32_t>(f.length);
    }
    m_recordLength = static_cast<std::uint16_t>(offset);
    m_blank.assign(m_recordLength, ' ');
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].type == FieldType::Memo && m_fields[i].length == 4)
            std::memset(m_blank.data() + m_offsets[i], 0, 4); // binary pointer: 0 = no memo
}

std::unique_ptr<Table> Table::create(const std::filesystem::path& path, std::vector<FieldDef> fields,
                                     Durability durability) {
    const bool durable = durability == Durability::Durable;
    const std::string file = path.string();
    const std::string name = io::displayName(path);
    if (std::string fault = normaliseFields(fields); !fault.empty()) {
        reportError(file, name + " kann nicht angelegt werden: " + fault);
        return nullptr;
    }
    const bool hasMemo =
        std::any_of(fields.begin(), fields.end(), [](const FieldDef& f) { return f.type == FieldType::Memo; });

    // A table that someone has open must not be replaced under them.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) {
        if (isReadOnlyFile(st)) {
            reportError(file, name + " ist schreibgeschützt und kann nicht ersetzt werden");
            return nullptr;
        }
        int probe = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        bool locked = probe >= 0 && ::flock(probe, LOCK_EX | LOCK_NB) != 0;
        if (probe >= 0) ::close(probe);
        if (locked) {
            reportError(file, name + " ist gesperrt (anderweitig geöffnet) und kann nicht ersetzt werden");
            return nullptr;
        }
    }

    std::unique_ptr<Table> t(new Table());
    t->m_path = path;
    t->m_fields = std::move(fields);
    t->m_version = hasMemo ? 0xF5 : 0x03;
    t->m_codePage = kCodePage1252;
    t->m_exclusive = true;
    t->m_durable = durable;
    t->layoutFields();
    t->m_headerLength = static_cast<std::uint16_t>(32 + 32 * t->m_fields.size() + 1);
    t->m_headerImage = t->headerBytes(0);

    auto dbf = io::TempFile::create(path);
    if (!dbf) {
        reportError(file, name + " kann nicht angelegt werden: " + io::lastError());
        return nullptr;
    }
    std::string bytes = t->m_headerImage + kEndOfFile;
    if (!io::writeAt(dbf->fd(), bytes.data(), bytes.size(), 0) || (durable && !dbf->sync())) {
        reportError(file, name + " kann nicht geschrieben werden: " + io::lastError());
        return nullptr;
    }
    std::optional<io::TempFile> memoTemp;
    if (hasMemo) {
        t->m_memoPath = memoPathFor(path, "fpt");
        memoTemp = io::TempFile::create(t->m_memoPath);
        int dupFd = memoTemp ? ::fcntl(memoTemp->fd(), F_DUPFD_CLOEXEC, 0) : -1;
        if (dupFd < 0) {
            reportError(t->m_memoPath.string(),
                        io::displayName(t->m_memoPath) + " kann nicht angelegt werden: " + io::lastError());
            return nullptr;
        }
        t->m_memo = MemoFile::createOn(dupFd, t->m_memoPath);
        if (!t->m_memo) return nullptr;
        if (durable && !memoTemp->sync()) {
            reportError(t->m_memoPath.string(),
                        io::displayName(t->m_memoPath) + " kann nicht geschrieben werden: " + io::lastError());
            return nullptr;
        }
    }
    // Table and memo file are replaced together; the memo file of a replaced table would otherwise lie about this one.
    FileCommit commit(path, durable);
    if (memoTemp) commit.replace(memoTemp->tempPath(), t->m_memoPath);
    commit.replace(dbf->tempPath(), path);
    if (!hasMemo)
        if (auto old = io::findCaseInsensitive(path.parent_path(), memoPathFor(path, "fpt").filename().string()))
            commit.remove(*old);
    const FileCommit::Result result = commit.run();
    if (result != FileCommit::Result::NotStarted) {
        dbf->keep();
        if (memoTemp) memoTemp->keep();
    }
    if (result != FileCommit::Result::Done) {
        reportError(file, name + " kann nicht angelegt werden");
        return nullptr;
    }
    t->m_fd = dbf->releaseFd();
    t->m_count = 0;
    t->m_recno = 1;
    return t;
}

std::unique_ptr<Table> Table::open(const std::filesystem::path& path, Mode mode) {
    for (;;) {
        ErrorAction action = ErrorAction::Default;
        auto t = openOnce(path, mode, action);
        if (t || action != ErrorAction::Retry) return t;
    }
}

std::unique_ptr<Table> Table::openOnce(const std::filesystem::path& path, Mode mode, ErrorAction& action) {
    const std::string file = path.string();
    const std::string name = io::displayName(path);
    const bool exclusive = mode == Mode::Exclusive;
    int systemCode = 0;
    auto fail = [&](const std::string& message) -> std::unique_ptr<Table> {
        action = reportOpenError(file, message, systemCode);
        return nullptr;
    };
    // For the failures the system gives a reason for.
    auto failSystem = [&](const std::string& message) -> std::unique_ptr<Table> {
        systemCode = errno;
        return fail(message + io::lastError());
    };

    // A commit of a new table and memo file that a crash interrupted is finished first.
    switch (recoverCommit(path)) {
    case Recovery::Busy:
        systemCode = EWOULDBLOCK;
        return fail(name + " ist gesperrt (wird gerade neu geschrieben)");
    case Recovery::Failed:
        return fail(name + " lässt sich nicht öffnen: eine unterbrochene Änderung ist nicht abgeschlossen");
    default:
        break;
    }

    std::unique_ptr<Table> t(new Table());
    t->m_path = path;
    t->m_exclusive = exclusive;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return failSystem(name + " lässt sich nicht öffnen: ");
    if (!S_ISREG(st.st_mode)) return fail(name + " ist keine Datei");
    if (exclusive && isReadOnlyFile(st)) {
        systemCode = EACCES;
        return fail(name + " ist schreibgeschützt und kann nur zum Lesen geöffnet werden");
    }
    t->m_fd = ::open(path.c_str(), (exclusive ? O_RDWR : O_RDONLY) | O_CLOEXEC);
    if (t->m_fd < 0) {
        systemCode = errno;
        if (exclusive && (errno == EACCES || errno == EPERM || errno == EROFS))
            return fail(name + " ist schreibgeschützt und kann nur zum Lesen geöffnet werden");
        return fail(name + " lässt sich nicht öffnen: " + io::lastError());
    }
    if (::flock(t->m_fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) != 0) {
        systemCode = errno;
        if (errno == EWOULDBLOCK) return fail(name + " ist gesperrt (anderweitig geöffnet)");
        return fail(name + " lässt sich nicht sperren: " + io::lastError());
    }

    const std::uint64_t size = io::fileSize(t->m_fd).value_or(0);
    unsigned char head[32];
    if (size < 32 || !io::readAt(t->m_fd, head, 32, 0))
        return fail(name + " ist keine Tabelle: die Datei hat nur " + std::to_string(size) +
                    " Bytes, der Kopf allein braucht 32");
    t->m_version = head[0];
    if (t->m_version != 0x03 && t->m_version != 0x83 && t->m_version != 0xF5 && t->m_version != 0x30) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", t->m_version);
        return fail(name + " hat eine unbekannte Dateiart (Kennbyte " + hex + ")");
    }
    const std::uint32_t count = getLE32(head + 4);
    t->m_headerLength = getLE16(head + 8);
    const std::uint16_t storedRecordLength = getLE16(head + 10);
    t->m_flags = head[28];
    t->m_codePage = head[29];
    if (t->m_headerLength > size)
        return fail(name + " ist abgeschnitten: der Kopf ist " + std::to_string(t->m_headerLength) +
                    " Bytes lang, die Datei hat nur " + std::to_string(size));

    t->m_headerImage.resize(t->m_headerLength);
    if (!io::readAt(t->m_fd, t->m_headerImage.data(), t->m_headerLength, 0))
        return failSystem(name + " lässt sich nicht lesen: ");
    const auto* image = reinterpret_cast<const unsigned char*>(t->m_headerImage.data());

    // Field descriptors up to the 0x0D mark; offsets come from summing the lengths, not from the descriptors.
    std::size_t pos = 32;
    while (pos < t->m_headerLength && image[pos] != kFieldListEnd) {
        if (pos + 32 > t->m_headerLength)
            return fail(name + ": die Kopflänge " + std::to_string(t->m_headerLength) +
                        " passt nicht zur Feldliste (sie endet mitten in einer Feldbeschreibung)");
        const unsigned char* d = image + pos;
        FieldDef f;
        f.name.assign(reinterpret_cast<const char*>(d), strnlen(reinterpret_cast<const char*>(d), 11));
        f.length = d[16];
        f.decimals = 0;
        char type = static_cast<char>(d[11]);
        bool ok = true;
        switch (type) {
        case 'C':
            f.type = FieldType::Character;
            ok = f.length >= 1;
            break;
        case 'N':
        case 'F':
            f.type = FieldType::Numeric;
            f.decimals = d[17];
            ok = f.length >= 1;
            break;
        case 'L':
            f.type = FieldType::Logical;
            ok = f.length == 1;
            break;
        case 'D':
            f.type = FieldType::Date;
            ok = f.length == 8;
            break;
        case 'M':
            f.type = FieldType::Memo;
            ok = f.length == 10 || f.length == 4;
            break;
        default:
            return fail(name + ": Feld " + f.name + " hat den Typ '" + std::string(1, type) +
                        "', den diese Anwendung nicht verarbeitet");
        }
        if (!ok || f.name.empty())
            return fail(name + ": Feld " + (f.name.empty() ? "ohne Namen" : f.name) + " hat die unzulässige Länge " +
                        std::to_string(f.length) + " für den Typ " + std::string(1, type));
        t->m_fields.push_back(std::move(f));
        pos += 32;
    }
    if (pos >= t->m_headerLength)
        return fail(name + ": die Kopflänge " + std::to_string(t->m_headerLength) +
                    " passt nicht zur Feldliste (kein Abschluss 0x0D davor)");
    if (t->m_fields.empty()) return fail(name + " ist keine Tabelle: sie hat keine Felder");
    const std::size_t minimal = 32 + 32 * t->m_fields.size() + 1;
    const std::size_t slack = kVfpBacklink + 256; // backlink area and padding some writers add
    if (t->m_headerLength > minimal + slack)
        return fail(name + ": die Kopflänge " + std::to_string(t->m_headerLength) + " passt nicht zu " +
                    std::to_string(t->m_fields.size()) + " Feldern (erwartet " + std::to_string(minimal) + " bis " +
                    std::to_string(minimal + slack) + ")");
    t->layoutFields();
    if (t->m_recordLength != storedRecordLength)
        return fail(name + ": die Satzlänge im Kopf (" + std::to_string(storedRecordLength) +
                    ") passt nicht zu den Feldern (" + std::to_string(t->m_recordLength) + ")");

    const std::uint64_t needed = t->m_headerLength + std::uint64_t(count) * t->m_recordLength;
    if (size < needed)
        return fail(name + " ist abgeschnitten: der Kopf nennt " + std::to_string(count) + " Sätze zu " +
                    std::to_string(t->m_recordLength) + " Bytes, das sind " + std::to_string(needed) +
                    " Bytes, die Datei hat nur " + std::to_string(size));

    const bool hasMemoField = std::any_of(t->m_fields.begin(), t->m_fields.end(),
                                          [](const FieldDef& f) { return f.type == FieldType::Memo; });
    const bool versionSaysMemo =
        t->m_version == 0xF5 || t->m_version == 0x83 || (t->isVfp() && (t->m_flags & kFlagMemo));
    if (hasMemoField && !versionSaysMemo && !t->isVfp())
        return fail(name + " hat Memofelder, laut Kopf aber keine Memodatei");
    if (hasMemoField || versionSaysMemo) {
        const auto kind = t->m_version == 0x83 ? MemoFile::Kind::Dbt : MemoFile::Kind::Fpt;
        const auto expected = memoPathFor(path, kind == MemoFile::Kind::Dbt ? "dbt" : "fpt");
        auto found = io::findCaseInsensitive(path.parent_path(), expected.filename().string());
        if (!found) {
            action = reportOpenError(expected.string(),
                                     "Die Memodatei " + io::displayName(expected) + " zu " + name + " fehlt", ENOENT);
            return nullptr;
        }
        t->m_memoPath = *found;
        struct stat mst {};
        if (exclusive && ::stat(found->c_str(), &mst) == 0 && isReadOnlyFile(mst)) {
            reportError(found->string(), "Die Memodatei " + io::displayName(*found) + " ist schreibgeschützt; " + name +
                                             " kann nur zum Lesen geöffnet werden");
            return nullptr;
        }
        t->m_memo = MemoFile::open(*found, kind, exclusive);
        if (!t->m_memo) return nullptr;
    }

    t->m_records.resize(std::size_t(count) * t->m_recordLength);
    if (!t->m_records.empty() &&
        !io::readAt(t->m_fd, t->m_records.data(), t->m_records.size(), static_cast<off_t>(t->m_headerLength)))
        return fail(name + " lässt sich nicht lesen: " + io::lastError());
    t->m_count = count;
    t->m_recno = 1;
    return t;
}

Table::~Table() {
    close();
}

std::string Table::headerBytes(std::uint32_t count) const {
    std::string out;
    if (!m_headerImage.empty()) {
        out = m_headerImage;
    } else {
        out.assign(m_headerLength, '\0');
        auto* h = reinterpret_cast<unsigned char*>(out.data());
        h[0] = m_version;
        putLE16(h + 8, m_headerLength);
        putLE16(h + 10, m_recordLength);
        h[28] = m_flags;
        h[29] = m_codePage;
        for (std::size_t i = 0; i < m_fields.size(); ++i) {
            unsigned char* d = h + 32 + 32 * i;
            std::memcpy(d, m_fields[i].name.data(), m_fields[i].name.size());
            d[11] = static_cast<unsigned char>(m_fields[i].type);
            putLE32(d + 12, m_offsets[i]);
            d[16] = static_cast<unsigned char>(m_fields[i].length);
            d[17] = static_cast<unsigned char>(m_fields[i].decimals);
        }
        h[32 + 32 * m_fields.size()] = kFieldListEnd;
    }
    auto* h = reinterpret_cast<unsigned char*>(out.data());
    todayYmd(h + 1);
    putLE32(h + 4, count);
    return out;
}

// ---------------------------------------------------------------------------------------------------------------
// Reading

int Table::fieldCount() const {
    return static_cast<int>(m_fields.size());
}

const FieldDef& Table::fieldDef(int index) const {
    static const FieldDef none;
    return index >= 0 && index < fieldCount() ? m_fields[static_cast<std::size_t>(index)] : none;
}

int Table::fieldIndex(std::string_view name) const {
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (equalNoCase(m_fields[i].name, name)) return static_cast<int>(i);
    return -1;
}

const char* Table::currentPtr() const {
    if (m_recno >= 1 && m_recno <= m_count) return m_records.data() + std::size_t(m_recno - 1) * m_recordLength;
    return m_blank.data();
}

std::string_view Table::rawField(int index) const {
    if (index < 0 || index >= fieldCount()) return {};
    const auto i = static_cast<std::size_t>(index);
    return {currentPtr() + m_offsets[i], static_cast<std::size_t>(m_fields[i].length)};
}

Value Table::fieldValue(int index) const {
    if (index < 0 || index >= fieldCount()) return {};
    std::string_view raw = rawField(index);
    switch (m_fields[static_cast<std::size_t>(index)].type) {
    case FieldType::Character:
        return Value::text(std::string(raw));
    case FieldType::Numeric:
        return Value::number(parseNumber(raw));
    case FieldType::Logical:
        return Value::logical(isTrueMark(raw[0]));
    case FieldType::Date:
        return Value::date(parseDate(raw));
    case FieldType::Memo:
        return Value::text(memo(index));
    }
    return {};
}

bool Table::goTo(std::uint32_t recno) {
    if (m_dirtyRecord != 0 && m_dirtyRecord != recno) commitRecord();
    m_recno = (recno == 0 || recno > m_count) ? m_count + 1 : recno;
    return !eof();
}

bool Table::isDeleted() const {
    return !eof() && currentPtr()[0] == kDeleted;
}

std::optional<std::uint32_t> Table::memoBlock(int field) const {
    std::string_view raw = rawField(field);
    if (raw.size() == 4) return getLE32(reinterpret_cast<const unsigned char*>(raw.data()));
    std::string_view digits = trimBlanks(raw);
    if (digits.empty()) return 0u;
    std::uint32_t block = 0;
    auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), block);
    if (ec != std::errc() || end != digits.data() + digits.size()) {
        reportError(m_path.string(), io::displayName(m_path) + ": Satz " + std::to_string(m_recno) + ", Feld " +
                                         m_fields[static_cast<std::size_t>(field)].name + ": ungültiger Memoverweis '" +
                                         std::string(raw) + "'");
        return std::nullopt;
    }
    return block;
}

void Table::setMemoBlock(char* record, int field, std::uint32_t block) const {
    const auto i = static_cast<std::size_t>(field);
    char* p = record + m_offsets[i];
    if (m_fields[i].length == 4) {
        putLE32(reinterpret_cast<unsigned char*>(p), block);
        return;
    }
    std::memset(p, ' ', 10);
    if (block != 0) {
        std::string digits = std::to_string(block);
        std::memcpy(p + 10 - digits.size(), digits.data(), digits.size());
    }
}

std::optional<std::string> Table::readMemo(int field, std::uint32_t* type) const {
    if (type) *type = MemoFile::kText;
    if (eof()) return std::string();
    auto block = memoBlock(field);
    if (!block) return std::nullopt;
    if (*block == 0) return std::string();
    if (!m_memo) {
        reportError(m_path.string(), io::displayName(m_path) + " hat keine Memodatei");
        return std::nullopt;
    }
    auto memo = m_memo->read(*block);
    if (!memo) return std::nullopt;
    if (type) *type = memo->type;
    return std::move(memo->data);
}

std::string Table::memo(int field) const {
    if (!checkField(field, "Memo lesen")) return {};
    if (m_fields[static_cast<std::size_t>(field)].type != FieldType::Memo) {
        reportError(m_path.string(), io::displayName(m_path) + ": Feld " +
                                         m_fields[static_cast<std::size_t>(field)].name + " ist kein Memofeld");
        return {};
    }
    return readMemo(field, nullptr).value_or(std::string());
}

// ---------------------------------------------------------------------------------------------------------------
// Writing

bool Table::checkField(int field, const char* what) const {
    if (field >= 0 && field < fieldCount()) return true;
    reportError(m_path.string(),
                io::displayName(m_path) + ": " + what + ": kein Feld Nr. " + std::to_string(field + 1));
    return false;
}

bool Table::checkWritable(const char* what) {
    if (m_fd < 0) {
        reportError(m_path.string(), io::displayName(m_path) + " ist nicht geöffnet (" + what + ")");
        return false;
    }
    if (!m_exclusive) {
        reportError(m_path.string(),
                    io::displayName(m_path) + " ist nur zum Lesen geöffnet: " + what + " ist nicht möglich");
        return false;
    }
    return true;
}

bool Table::onRecord(const char* what) {
    if (!checkWritable(what)) return false;
    if (eof()) {
        reportError(m_path.string(), io::displayName(m_path) + ": " + what + " ohne aktuellen Satz (Dateiende)");
        return false;
    }
    return true;
}

char* Table::recordPtr(std::uint32_t recno) {
    return m_records.data() + std::size_t(recno - 1) * m_recordLength;
}

char* Table::mutableCurrent() {
    m_dirtyRecord = m_recno;
    m_headerDirty = true;
    return recordPtr(m_recno);
}

// Observers may add or remove observers from inside a notification; removed ones are only cleared then
// and dropped once the outermost notification is over.
template <typename Call> void Table::notify(Call call) {
    ++m_notifying;
    for (std::size_t i = 0; i < m_observers.size(); ++i)
        if (TableObserver* o = m_observers[i]) call(*o);
    if (--m_notifying == 0)
        m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), nullptr), m_observers.end());
}

void Table::notifyChanged(std::uint32_t recno) {
    notify([&](TableObserver& o) { o.recordChanged(*this, recno); });
}

void Table::notifyReset() {
    notify([&](TableObserver& o) { o.tableReset(*this); });
}

bool Table::commitRecord() {
    const std::uint32_t recno = std::exchange(m_dirtyRecord, 0);
    if (recno == 0 || recno > m_count || m_fd < 0) return true;
    const off_t at = static_cast<off_t>(m_headerLength + std::uint64_t(recno - 1) * m_recordLength);
    bool ok;
    if (recno == m_count) {
        // The last record carries the end-of-file mark behind it.
        m_scratch.assign(recordPtr(recno), recordPtr(recno) + m_recordLength);
        m_scratch.push_back(kEndOfFile);
        ok = io::writeAt(m_fd, m_scratch.data(), m_scratch.size(), at);
    } else {
        ok = io::writeAt(m_fd, recordPtr(recno), m_recordLength, at);
    }
    if (!ok) {
        reportError(m_path.string(), io::displayName(m_path) + ": Satz " + std::to_string(recno) +
                                         " lässt sich nicht schreiben: " + io::lastError());
        return false;
    }
    return true;
}

bool Table::writeHeaderCounters() {
    unsigned char buf[7];
    todayYmd(buf);
    putLE32(buf + 3, m_count);
    if (!io::writeAt(m_fd, buf, sizeof buf, 1)) {
        reportError(m_path.string(), io::displayName(m_path) + ": Kopf lässt sich nicht schreiben: " + io::lastError());
        return false;
    }
    m_headerDirty = false;
    return true;
}

bool Table::flush() {
    if (m_fd < 0 || !m_exclusive) return true;
    bool ok = commitRecord();
    if (m_headerDirty) ok = writeHeaderCounters() && ok;
    return ok;
}

bool Table::close() {
    if (m_fd < 0) return true;
    bool ok = flush();
    ::close(m_fd);
    m_fd = -1;
    m_memo.reset();
    m_records.clear();
    m_records.shrink_to_fit();
    m_count = 0;
    m_recno = 1;
    return ok;
}

bool Table::appendBlank() {
    if (!appendRecord()) return false;
    notifyChanged(m_recno);
    return true;
}

bool Table::appendRecord() {
    if (!checkWritable("Satz anhängen")) return false;
    // A record that could not be written must not be left behind as a blank one with a new record after it.
    if (!commitRecord()) return false;
    if (m_count >= UINT32_MAX - 1) { // recCount() + 1 must stay representable
        reportError(m_path.string(), io::displayName(m_path) + " ist voll");
        return false;
    }
    m_records.insert(m_records.end(), m_blank.begin(), m_blank.end());
    ++m_count;
    m_recno = m_count;
    mutableCurrent();
    return true;
}

Table::Stored Table::storeValue(int field, const Value& value) {
    const FieldDef& f = m_fields[static_cast<std::size_t>(field)];
    auto refuse = [&](const std::string& why) {
        reportError(m_path.string(),
                    io::displayName(m_path) + ": Feld " + f.name + " (Typ " + typeName(f.type) + "): " + why);
        return Stored::Refused;
    };
    const auto width = static_cast<std::size_t>(f.length);
    const bool typeFits = f.type == FieldType::Character || f.type == FieldType::Memo ? value.isText()
                          : f.type == FieldType::Numeric                              ? value.isNumber()
                          : f.type == FieldType::Logical                              ? value.isLogical()
                                                                                      : value.isDate();
    if (!typeFits) return refuse("der Wert hat einen anderen Datentyp");
    if (f.type == FieldType::Memo)
        return storeMemo(field, value.asText(), MemoFile::kText) ? Stored::Yes : Stored::Refused;
    if (f.type == FieldType::Date && value.asDate() != 0 && civilFromJulian(value.asDate()).year == 0)
        return refuse("das Datum liegt außerhalb der Jahre 1 bis 9999");

    char* out = mutableCurrent() + m_offsets[static_cast<std::size_t>(field)];
    switch (f.type) {
    case FieldType::Character: {
        const std::string& text = value.asText();
        const std::size_t n = std::min(width, text.size());
        std::memcpy(out, text.data(), n);
        std::memset(out + n, ' ', width - n);
        break;
    }
    case FieldType::Numeric:
        if (!formatNumber(value.asNumber(), f.length, f.decimals, out)) {
            std::memset(out, '*', width);
            refuse("der Wert " + std::to_string(value.asNumber()) + " passt nicht in die Breite " +
                   std::to_string(f.length) + " mit " + std::to_string(f.decimals) + " Nachkommastellen");
            return Stored::Overflowed;
        }
        break;
    case FieldType::Logical:
        *out = value.asLogical() ? 'T' : 'F';
        break;
    case FieldType::Date:
        if (value.asDate() == 0)
            std::memset(out, ' ', 8);
        else
            std::memcpy(out, formatDate(value.asDate()).data(), 8);
        break;
    case FieldType::Memo:
        break;
    }
    return Stored::Yes;
}

bool Table::storeMemo(int field, std::string_view bytes, std::uint32_t type) {
    if (!m_memo) {
        reportError(m_path.string(), io::displayName(m_path) + " hat keine Memodatei");
        return false;
    }
    // A broken old pointer is not reused; the memo then goes to the end of the file.
    std::uint32_t old = 0;
    if (auto b = memoBlock(field)) old = *b;
    auto block = m_memo->write(old, bytes, type);
    if (!block) return false;
    setMemoBlock(mutableCurrent(), field, *block);
    return true;
}

bool Table::replace(int field, const Value& value) {
    if (!onRecord("Feld ersetzen") || !checkField(field, "Feld ersetzen")) return false;
    const Stored result = storeValue(field, value);
    if (result != Stored::Refused) // an overflow still changes the field (to '*')
        notifyChanged(m_recno);
    return result == Stored::Yes;
}

bool Table::replaceMemo(int field, std::string_view bytes, bool binary) {
    if (!onRecord("Memo ersetzen") || !checkField(field, "Memo ersetzen")) return false;
    if (m_fields[static_cast<std::size_t>(field)].type != FieldType::Memo) {
        reportError(m_path.string(), io::displayName(m_path) + ": Feld " +
                                         m_fields[static_cast<std::size_t>(field)].name + " ist kein Memofeld");
        return false;
    }
    if (!storeMemo(field, bytes, binary ? MemoFile::kBinary : MemoFile::kText)) return false;
    notifyChanged(m_recno);
    return true;
}

bool Table::blankRecord() {
    if (!onRecord("Satz leeren")) return false;
    char* rec = mutableCurrent();
    std::memcpy(rec + 1, m_blank.data() + 1, m_recordLength - 1u);
    notifyChanged(m_recno);
    return true;
}

bool Table::deleteRecord() {
    if (!onRecord("Satz löschen")) return false;
    mutableCurrent()[0] = kDeleted;
    notifyChanged(m_recno);
    return true;
}

bool Table::recall() {
    if (!onRecord("Satz zurückholen")) return false;
    mutableCurrent()[0] = kLive;
    notifyChanged(m_recno);
    return true;
}

// ---------------------------------------------------------------------------------------------------------------
// Pack, zap, copies

bool Table::pack() {
    if (!checkWritable("PACK")) return false;
    if (!commitRecord()) return false;

    std::vector<char> live;
    live.reserve(m_records.size());
    std::uint32_t liveCount = 0;
    for (std::uint32_t r = 1; r <= m_count; ++r) {
        const char* rec = recordPtr(r);
        if (rec[0] == kDeleted) continue;
        live.insert(live.end(), rec, rec + m_recordLength);
        ++liveCount;
    }

    // New memo file with the live memos only, pointers renumbered.
    std::optional<io::TempFile> memoTemp;
    std::unique_ptr<MemoFile> newMemo;
    std::vector<int> memoFields;
    for (int i = 0; i < fieldCount(); ++i)
        if (m_fields[static_cast<std::size_t>(i)].type == FieldType::Memo) memoFields.push_back(i);
    if (m_memo && m_memo->kind() == MemoFile::Kind::Fpt) {
        memoTemp = io::TempFile::create(m_memoPath);
        int dupFd = memoTemp ? ::fcntl(memoTemp->fd(), F_DUPFD_CLOEXEC, 0) : -1;
        if (dupFd < 0) {
            reportError(m_memoPath.string(), "PACK: " + io::displayName(m_memoPath) +
                                                 " kann nicht neu geschrieben werden: " + io::lastError());
            return false;
        }
        newMemo = MemoFile::createOn(dupFd, memoTemp->tempPath(), m_memo->blockSize());
        if (!newMemo) return false;
        const std::uint32_t saved = m_recno;
        std::uint32_t liveIndex = 0;
        for (std::uint32_t r = 1; r <= m_count; ++r) {
            if (recordPtr(r)[0] == kDeleted) continue;
            ++liveIndex;
            m_recno = r; // readMemo works on the current record
            char* target = live.data() + std::size_t(liveIndex - 1) * m_recordLength;
            for (int field : memoFields) {
                std::uint32_t type = MemoFile::kText;
                // An unreadable memo has been reported; it stays empty in the packed table.
                std::string data = readMemo(field, &type).value_or(std::string());
                auto block = newMemo->write(0, data, type);
                if (!block) {
                    m_recno = saved;
                    return false;
                }
                setMemoBlock(target, field, *block);
            }
        }
        m_recno = saved;
    }

    return replaceFiles(std::move(live), liveCount, std::move(memoTemp), std::move(newMemo), "PACK");
}

bool Table::replaceFiles(std::vector<char> records, std::uint32_t count, std::optional<io::TempFile> memoTemp,
                         std::unique_ptr<MemoFile> newMemo, const char* what) {
    const std::string name = io::displayName(m_path);
    auto dbf = io::TempFile::create(m_path);
    if (!dbf) {
        reportError(m_path.string(),
                    std::string(what) + ": " + name + " kann nicht neu geschrieben werden: " + io::lastError());
        return false;
    }
    std::string header = headerBytes(count);
    bool written = io::writeAt(dbf->fd(), header.data(), header.size(), 0) &&
                   io::writeAt(dbf->fd(), records.data(), records.size(), static_cast<off_t>(header.size())) &&
                   io::writeAt(dbf->fd(), &kEndOfFile, 1, static_cast<off_t>(header.size() + records.size())) &&
                   (!m_durable || (dbf->sync() && (!memoTemp || memoTemp->sync())));
    if (!written) {
        reportError(m_path.string(),
                    std::string(what) + ": " + name + " kann nicht neu geschrieben werden: " + io::lastError());
        return false;
    }
    // Memo file and table are replaced as one: a crash leaves the old pair or the new one, never a mix.
    FileCommit commit(m_path, m_durable);
    if (memoTemp) commit.replace(memoTemp->tempPath(), m_memoPath);
    commit.replace(dbf->tempPath(), m_path);
    const FileCommit::Result result = commit.run();
    if (result == FileCommit::Result::NotStarted) {
        reportError(m_path.string(), std::string(what) + ": " + name + " bleibt unverändert");
        return false;
    }
    dbf->keep();
    if (memoTemp) memoTemp->keep();
    if (result == FileCommit::Result::Pending) {
        // The files on disk are neither the old pair nor yet the new one: no further change may go to either.
        ::close(m_fd);
        m_fd = -1;
        m_memo.reset();
        m_records.clear();
        m_count = 0;
        m_recno = 1;
        m_dirtyRecord = 0;
        notifyReset();
        return false;
    }
    ::close(m_fd);
    m_fd = dbf->releaseFd();
    if (newMemo) {
        newMemo->setReportPath(m_memoPath);
        m_memo = std::move(newMemo);
    }
    m_records = std::move(records);
    m_count = count;
    m_dirtyRecord = 0;
    m_headerDirty = false;
    m_recno = 1;
    notifyReset();
    return true;
}

bool Table::zap() {
    if (!checkWritable("ZAP")) return false;
    // Nothing to remove: rewriting the files would only cost time (a fresh working set is emptied at every run).
    if (m_count == 0 && (!m_memo || m_memo->nextFree() == m_memo->headerBlocks())) return true;
    std::optional<io::TempFile> memoTemp;
    std::unique_ptr<MemoFile> newMemo;
    if (m_memo && m_memo->kind() == MemoFile::Kind::Fpt) {
        memoTemp = io::TempFile::create(m_memoPath);
        int dupFd = memoTemp ? ::fcntl(memoTemp->fd(), F_DUPFD_CLOEXEC, 0) : -1;
        if (dupFd < 0) {
            reportError(m_memoPath.string(), "ZAP: " + io::displayName(m_memoPath) +
                                                 " kann nicht neu geschrieben werden: " + io::lastError());
            return false;
        }
        newMemo = MemoFile::createOn(dupFd, memoTemp->tempPath(), m_memo->blockSize());
        if (!newMemo) return false;
    }
    return replaceFiles({}, 0, std::move(memoTemp), std::move(newMemo), "ZAP");
}

namespace {

// The value of a source field as the target field's type wants it; nullopt leaves the target blank.
std::optional<Value> convertValue(const Value& v, const FieldDef& from, const FieldDef& to) {
    switch (to.type) {
    case FieldType::Character:
        switch (from.type) {
        case FieldType::Character:
        case FieldType::Memo:
            return v;
        case FieldType::Numeric: {
            char text[20];
            if (!formatNumber(v.asNumber(), 20, from.decimals, text)) return std::nullopt;
            return Value::text(std::string(trimBlanks(std::string_view(text, 20))));
        }
        case FieldType::Logical:
            return Value::text(v.asLogical() ? "T" : "F");
        case FieldType::Date:
            return v.asDate() == 0 ? std::nullopt : std::optional(Value::text(formatDate(v.asDate())));
        }
        break;
    case FieldType::Numeric:
        if (from.type == FieldType::Numeric) return v;
        if (from.type == FieldType::Character) return Value::number(parseNumber(v.asText()));
        break;
    case FieldType::Logical:
        if (from.type == FieldType::Logical) return v;
        if (from.type == FieldType::Character) {
            std::string_view s = trimBlanks(v.asText());
            return s.empty() ? std::nullopt : std::optional(Value::logical(isTrueMark(s.front())));
        }
        break;
    case FieldType::Date:
        if (from.type == FieldType::Date) return v.asDate() == 0 ? std::nullopt : std::optional(v);
        if (from.type == FieldType::Character) {
            std::int32_t jd = parseDate(trimBlanks(v.asText()));
            return jd == 0 ? std::nullopt : std::optional(Value::date(jd));
        }
        break;
    case FieldType::Memo:
        if (from.type == FieldType::Character) return Value::text(std::string(trimBlanks(v.asText())));
        break;
    }
    return std::nullopt;
}

} // namespace

bool Table::appendFrom(Table& other) {
    if (!checkWritable("APPEND FROM")) return false;
    struct Mapping {
        int to;
        int from;
        bool raw; // identical layout: copy the bytes
    };
    std::vector<Mapping> map;
    for (int i = 0; i < fieldCount(); ++i) {
        int j = other.fieldIndex(m_fields[static_cast<std::size_t>(i)].name);
        if (j < 0) continue;
        const FieldDef& a = m_fields[static_cast<std::size_t>(i)];
        const FieldDef& b = other.fieldDef(j);
        bool raw = a.type == b.type && a.type != FieldType::Memo && a.length == b.length && a.decimals == b.decimals;
        map.push_back({i, j, raw});
    }

    struct Source {
        std::string raw;
        std::optional<Value> value;
        std::uint32_t memoType = MemoFile::kText;
    };
    const std::uint32_t otherSaved = other.recNo();
    const std::uint32_t n = other.recCount(); // fixed up front, so appending to itself ends
    bool ok = true;
    std::vector<Source> sources(map.size());
    for (std::uint32_t r = 1; r <= n; ++r) {
        other.goTo(r);
        const bool deleted = other.isDeleted();
        for (std::size_t k = 0; k < map.size(); ++k) {
            const Mapping& m = map[k];
            Source& s = sources[k];
            s.value.reset();
            s.memoType = MemoFile::kText;
            if (m.raw) {
                s.raw.assign(other.rawField(m.from));
            } else if (other.fieldDef(m.from).type == FieldType::Memo) {
                auto data = other.readMemo(m.from, &s.memoType);
                if (!data) ok = false;
                s.value = Value::text(data.value_or(std::string()));
            } else {
                s.value = other.fieldValue(m.from);
            }
        }
        if (!appendRecord()) return false;
        char* rec = mutableCurrent();
        rec[0] = deleted ? kDeleted : kLive;
        for (std::size_t k = 0; k < map.size(); ++k) {
            const Mapping& m = map[k];
            const Source& s = sources[k];
            if (m.raw) {
                std::memcpy(rec + m_offsets[static_cast<std::size_t>(m.to)], s.raw.data(), s.raw.size());
                continue;
            }
            const FieldDef& to = m_fields[static_cast<std::size_t>(m.to)];
            const FieldDef& from = other.fieldDef(m.from);
            if (to.type == FieldType::Memo && from.type == FieldType::Memo) {
                if (!s.value->asText().empty()) ok = storeMemo(m.to, s.value->asText(), s.memoType) && ok;
                continue;
            }
            if (auto v = convertValue(*s.value, from, to)) ok = storeValue(m.to, *v) == Stored::Yes && ok;
        }
        notifyChanged(m_recno);
    }
    if (&other != this) other.goTo(otherSaved);
    return ok;
}

bool Table::copyStructure(const std::filesystem::path& path) const {
    std::vector<FieldDef> fields = m_fields;
    for (FieldDef& f : fields)
        if (f.type == FieldType::Memo) f.length = 10;
    auto copy = create(path, std::move(fields));
    return copy && copy->close();
}

void Table::addObserver(TableObserver* observer) {
    if (observer && std::find(m_observers.begin(), m_observers.end(), observer) == m_observers.end())
        m_observers.push_back(observer);
}

void Table::removeObserver(TableObserver* observer) {
    if (m_notifying > 0)
        std::replace(m_observers.begin(), m_observers.end(), observer, static_cast<TableObserver*>(nullptr));
    else
        m_observers.erase(std::remove(m_observers.begin(), m_observers.end(), observer), m_observers.end());
}

} // namespace store
