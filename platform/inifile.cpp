#include "platform/inifile.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/ansi.h"
#include "store/codepage.h"
#include "store/format.h"

namespace platform {
namespace {

enum class Encoding { Ansi, Utf8, Utf8Bom, Utf16Le, Utf16Be };

struct Line {
    QString text;
    QString eol; // "\r\n", "\n", "\r" or "" for a last line without ending
};

struct Document {
    Encoding encoding = Encoding::Ansi;
    std::vector<Line> lines;
};

struct Section {
    QString name;
    std::size_t header = 0; // line of "[name]"
    std::size_t end = 0;    // one past its last line
};

bool hasNonAscii(const QByteArray& bytes) {
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) return true;
    return false;
}

QString decodeUtf16(const QByteArray& bytes, bool littleEndian) {
    QString text;
    text.reserve((bytes.size() - 2) / 2);
    for (qsizetype i = 2; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]);
        const auto b = static_cast<unsigned char>(bytes[i + 1]);
        text.append(QChar(static_cast<char16_t>(littleEndian ? (b << 8 | a) : (a << 8 | b))));
    }
    return text;
}

// Every decoding chosen here is lossless, so encoding the unchanged lines again gives the original bytes.
Document decode(const QByteArray& bytes) {
    Document doc;
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        doc.encoding = Encoding::Utf8Bom;
        text = QString::fromUtf8(bytes.mid(3));
    } else if (bytes.size() % 2 == 0 && bytes.startsWith("\xFF\xFE")) {
        doc.encoding = Encoding::Utf16Le;
        text = decodeUtf16(bytes, true);
    } else if (bytes.size() % 2 == 0 && bytes.startsWith("\xFE\xFF")) {
        doc.encoding = Encoding::Utf16Be;
        text = decodeUtf16(bytes, false);
    } else if (hasNonAscii(bytes) && store::isValidUtf8(std::string_view(bytes.constData(), bytes.size()))) {
        doc.encoding = Encoding::Utf8;
        text = QString::fromUtf8(bytes);
    } else {
        text = fromAnsi(std::string_view(bytes.constData(), bytes.size()));
    }

    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') continue;
        const qsizetype eolLength = text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n' ? 2 : 1;
        doc.lines.push_back({text.mid(start, i - start), text.mid(i, eolLength)});
        i += eolLength - 1;
        start = i + 1;
    }
    if (start < text.size()) doc.lines.push_back({text.mid(start), QString()});
    return doc;
}

QByteArray encode(const Document& doc) {
    QString text;
    for (const Line& line : doc.lines)
        text += line.text + line.eol;
    switch (doc.encoding) {
    case Encoding::Utf8:
        return text.toUtf8();
    case Encoding::Utf8Bom:
        return QByteArray("\xEF\xBB\xBF") + text.toUtf8();
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: {
        const bool le = doc.encoding == Encoding::Utf16Le;
        QByteArray out(le ? "\xFF\xFE" : "\xFE\xFF");
        for (QChar c : text) {
            const char hi = static_cast<char>(c.unicode() >> 8), lo = static_cast<char>(c.unicode() & 0xFF);
            out += le ? lo : hi;
            out += le ? hi : lo;
        }
        return out;
    }
    case Encoding::Ansi:
        break;
    }
    const std::string bytes = toAnsi(text);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

// The name of a section header line, or nothing.
std::optional<QString> headerName(const QString& line) {
    const QString t = line.trimmed();
    if (!t.startsWith(u'[')) return std::nullopt;
    const qsizetype close = t.indexOf(u']');
    return (close < 0 ? t.mid(1) : t.mid(1, close - 1)).trimmed();
}

// The key of an entry line, or nothing for blank lines, comments, headers and lines without '='.
std::optional<QString> entryKey(const QString& line) {
    const QString t = line.trimmed();
    if (t.startsWith(u';') || t.startsWith(u'[')) return std::nullopt;
    const qsizetype eq = t.indexOf(u'=');
    if (eq < 0) return std::nullopt;
    return t.left(eq).trimmed();
}

bool isQuote(QChar c) {
    return c == u'"' || c == u'\'';
}

QString entryValue(const QString& line) {
    QString v = line.mid(line.indexOf(u'=') + 1).trimmed();
    if (v.size() >= 2 && isQuote(v.front()) && v.back() == v.front()) v = v.mid(1, v.size() - 2);
    return v;
}

std::vector<Section> sections(const Document& doc) {
    std::vector<Section> result;
    for (std::size_t i = 0; i < doc.lines.size(); ++i) {
        if (auto name = headerName(doc.lines[i].text)) {
            if (!result.empty()) result.back().end = i;
            result.push_back({*name, i, doc.lines.size()});
        }
    }
    return result;
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The line of the first entry named `key` in any section named `section`.
std::optional<std::size_t> findEntry(const Document& doc, const std::vector<Section>& secs, const QString& section,
                                     const QString& key) {
    for (const Section& s : secs) {
        if (!sameName(s.name, section)) continue;
        for (std::size_t i = s.header + 1; i < s.end; ++i) {
            const auto k = entryKey(doc.lines[i].text);
            if (k && sameName(*k, key)) return i;
        }
    }
    return std::nullopt;
}

// The file as last read on this thread, reused only while a ProfileReadBatch is open and the file is still the
// same one, unchanged (device, inode, size, modification and change times).
struct Snapshot {
    QString file;
    std::array<std::int64_t, 7> identity{};
    QByteArray bytes;
    Document doc;
    bool reusable = false; // false for what is no plain file
};
thread_local std::optional<Snapshot> t_snapshot;
thread_local int t_batches = 0;

std::optional<std::array<std::int64_t, 7>> identityOf(const QString& file) {
    struct stat st {};
    if (::stat(QFile::encodeName(file).constData(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return std::array<std::int64_t, 7>{std::int64_t(st.st_dev),          std::int64_t(st.st_ino),
                                       std::int64_t(st.st_size),         std::int64_t(st.st_mtim.tv_sec),
                                       std::int64_t(st.st_mtim.tv_nsec), std::int64_t(st.st_ctim.tv_sec),
                                       std::int64_t(st.st_ctim.tv_nsec)};
}

const Snapshot* snapshot(const QString& file) {
    const auto identity = t_batches > 0 ? identityOf(file) : std::nullopt;
    if (identity && t_snapshot && t_snapshot->reusable && t_snapshot->file == file && t_snapshot->identity == *identity)
        return &*t_snapshot;
    t_snapshot.reset();
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return nullptr;
    t_snapshot = Snapshot{file, identity.value_or(std::array<std::int64_t, 7>{}), f.readAll(), {}, bool(identity)};
    t_snapshot->doc = decode(t_snapshot->bytes);
    return &*t_snapshot;
}

std::optional<QString> lookup(const QString& file, const QString& section, const QString& key) {
    const Snapshot* read = snapshot(file);
    if (!read) return std::nullopt;
    const Document* doc = &read->doc;
    const auto line = findEntry(*doc, sections(*doc), section.trimmed(), key.trimmed());
    if (!line) return std::nullopt;
    return entryValue(doc->lines[*line].text);
}

bool hasLineBreak(const QString& s) {
    return s.contains(u'\r') || s.contains(u'\n');
}

bool isBlank(const QString& s) {
    return s.trimmed().isEmpty();
}

} // namespace

ProfileReadBatch::ProfileReadBatch() {
    ++t_batches;
}

ProfileReadBatch::~ProfileReadBatch() {
    if (--t_batches == 0) t_snapshot.reset();
}

QString readProfileString(const QString& file, const QString& section, const QString& key,
                          const QString& defaultValue) {
    return lookup(file, section, key).value_or(defaultValue);
}

bool writeProfileString(const QString& file, const QString& section, const QString& key, const QString& value) {
    const QString sec = section.trimmed();
    const QString k = key.trimmed();
    if (sec.isEmpty() || k.isEmpty() || hasLineBreak(sec) || hasLineBreak(k) || hasLineBreak(value) ||
        sec.contains(u']') || k.contains(u'=') || k.startsWith(u'[') || k.startsWith(u';'))
        return false;

    const bool existed = QFileInfo::exists(file);
    QByteArray old;
    Document doc;
    if (existed) {
        const Snapshot* read = snapshot(file);
        if (!read) return false; // what it holds could not be kept
        old = read->bytes;
        doc = read->doc;
    }
    QString eol = QStringLiteral("\r\n");
    for (const Line& line : doc.lines) {
        if (!line.eol.isEmpty()) {
            eol = line.eol;
            break;
        }
    }

    QString written = value;
    if (value != value.trimmed() || (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front()))
        written = u'"' + value + u'"';

    const std::vector<Section> secs = sections(doc);
    if (const auto line = findEntry(doc, secs, sec, k)) {
        QString& text = doc.lines[*line].text;
        qsizetype start = text.indexOf(u'=') + 1;
        while (start < text.size() && (text[start] == u' ' || text[start] == u'\t'))
            ++start;
        text = text.left(start) + written;
    } else {
        auto it = std::find_if(secs.begin(), secs.end(), [&](const Section& s) { return sameName(s.name, sec); });
        std::size_t insertAt;
        if (it != secs.end()) {
            // After the section's last non-blank line, so that blank lines before the next section stay there.
            std::size_t last = it->header;
            for (std::size_t i = it->header + 1; i < it->end; ++i)
                if (!isBlank(doc.lines[i].text)) last = i;
            insertAt = last + 1;
        } else {
            if (!doc.lines.empty() && !isBlank(doc.lines.back().text)) {
                if (doc.lines.back().eol.isEmpty()) doc.lines.back().eol = eol;
                doc.lines.push_back({QString(), eol});
            }
            insertAt = doc.lines.size();
            doc.lines.push_back({u'[' + sec + u']', eol});
            ++insertAt;
        }
        if (doc.lines[insertAt - 1].eol.isEmpty()) doc.lines[insertAt - 1].eol = eol;
        doc.lines.insert(doc.lines.begin() + static_cast<std::ptrdiff_t>(insertAt), Line{k + u'=' + written, eol});
    }

    const QByteArray bytes = encode(doc);
    if (existed && bytes == old) return true;
    // The encoding is recognised from the bytes; a write must not change how the whole file is read (cp1252 text
    // that starts like a UTF-16 mark and turns even in length, or becomes valid UTF-8).
    if (decode(bytes).encoding != doc.encoding) return false;
    t_snapshot.reset();
    if (existed) {
        // A file nobody may write is read-only even for root, who would otherwise replace it.
        const QFileInfo info(file);
        const auto anyWrite = QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;
        if (!info.isWritable() || !(info.permissions() & anyWrite)) return false;
    }
    // Written beside the file and renamed over it: a failure at any point leaves the old file as it was.
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly)) return false;
    if (out.write(bytes) != bytes.size()) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

double profileNumber(const QString& text) {
    const std::string s = text.toStdString();
    std::size_t i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) negative = s[i++] == '-';
    const std::size_t start = i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9')
        ++i;
    if (i < s.size() && s[i] == '.')
        for (++i; i < s.size() && s[i] >= '0' && s[i] <= '9';)
            ++i;
    // from_chars does not follow the C locale, which Qt sets from the environment.
    double v = 0;
    const auto r = std::from_chars(s.data() + start, s.data() + i, v);
    if (r.ec != std::errc()) return 0; // no digits ("abc", "-", ".")
    return negative ? -v : v;
}

bool profileFlag(const QString& text) {
    return !text.startsWith(u'0');
}

double readProfileNumber(const QString& file, const QString& section, const QString& key, double defaultValue) {
    const auto text = lookup(file, section, key);
    return text ? profileNumber(*text) : defaultValue;
}

bool readProfileFlag(const QString& file, const QString& section, const QString& key, bool defaultValue) {
    const auto text = lookup(file, section, key);
    return text ? profileFlag(*text) : defaultValue;
}

bool writeProfileNumber(const QString& file, const QString& section, const QString& key, double value) {
    return writeProfileString(file, section, key, QString::fromStdString(store::plainNumber(value)));
}

bool writeProfileFlag(const QString& file, const QString& section, const QString& key, bool value) {
    return writeProfileString(file, section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

std::vector<std::pair<QString, QString>> readProfileSection(const QString& file, const QString& section) {
    std::vector<std::pair<QString, QString>> entries;
    const Snapshot* read = snapshot(file);
    if (!read) return entries;
    const Document* doc = &read->doc;
    const QString sec = section.trimmed();
    for (const Section& s : sections(*doc)) {
        if (!sameName(s.name, sec)) continue;
        for (std::size_t i = s.header + 1; i < s.end; ++i) {
            const auto k = entryKey(doc->lines[i].text);
            if (!k) continue;
            const bool seen =
                std::any_of(entries.begin(), entries.end(), [&](const auto& e) { return sameName(e.first, *k); });
            if (!seen) entries.emplace_back(*k, entryValue(doc->lines[i].text));
        }
    }
    return entries;
}

QStringList readProfileSectionKeys(const QString& file, const QString& section) {
    QStringList keys;
    for (const auto& entry : readProfileSection(file, section))
        keys << entry.first;
    return keys;
}

} // namespace platform
