#include "online/httpreply.h"

#include <algorithm>
#include <cctype>

namespace online {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Decimal digits only, without overflow; nothing for anything else.
std::optional<std::uint64_t> decimal(std::string_view s) {
    if (s.empty() || s.size() > 18) return std::nullopt;
    std::uint64_t v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + static_cast<std::uint64_t>(c - '0');
    }
    return v;
}

} // namespace

HttpReplyParser::HttpReplyParser(std::uint64_t bodyCeiling, BodySink sink)
    : m_ceiling(bodyCeiling), m_sink(std::move(sink)) {}

bool HttpReplyParser::fail(std::string message) {
    if (m_state != State::Failed) {
        m_state = State::Failed;
        m_error = std::move(message);
    }
    m_line.clear();
    return false;
}

bool HttpReplyParser::takeLine(std::string_view& bytes, std::size_t limit, const char* what) {
    if (m_lineComplete) {
        m_line.clear();
        m_lineComplete = false;
    }
    const std::size_t nl = bytes.find('\n');
    const std::size_t take = nl == std::string_view::npos ? bytes.size() : nl;
    if (m_line.size() + take > limit) return fail(std::string(what) + " zu lang");
    m_line.append(bytes.substr(0, take));
    if (nl == std::string_view::npos) {
        bytes = {};
        return false;
    }
    bytes.remove_prefix(nl + 1);
    if (!m_line.empty() && m_line.back() == '\r') m_line.pop_back();
    m_lineComplete = true;
    return true;
}

bool HttpReplyParser::feed(std::string_view bytes) {
    while (!bytes.empty()) {
        switch (m_state) {
        case State::StatusLine:
        case State::Headers:
        case State::Trailers:
        case State::ChunkSize:
        case State::ChunkEnd: {
            const bool chunkLine = m_state == State::ChunkSize || m_state == State::ChunkEnd;
            const char* what = m_state == State::StatusLine ? "Statuszeile" : chunkLine ? "Chunk-Zeile" : "Kopfzeile";
            if (!takeLine(bytes, chunkLine ? kMaxChunkSizeLine : kMaxLine, what)) {
                if (failed()) return false;
                break;
            }
            bool ok = true;
            if (m_state == State::StatusLine)
                ok = statusLineDone();
            else if (m_state == State::ChunkSize)
                ok = chunkSizeLine();
            else if (m_state == State::ChunkEnd)
                ok = m_line.empty() ? (m_state = State::ChunkSize, true) : fail("Chunk ohne Zeilenende");
            else
                ok = headerLine();
            if (!ok) return false;
            break;
        }
        case State::Body:
        case State::ChunkData: {
            std::size_t take = bytes.size();
            if (m_state == State::ChunkData)
                take = static_cast<std::size_t>(std::min<std::uint64_t>(take, m_chunkLeft));
            else if (m_length)
                take = static_cast<std::size_t>(std::min<std::uint64_t>(take, *m_length - m_received));
            if (!body(bytes.substr(0, take))) return false;
            bytes.remove_prefix(take);
            if (m_state == State::ChunkData) {
                m_chunkLeft -= take;
                if (m_chunkLeft == 0) m_state = State::ChunkEnd;
            } else if (m_length && m_received == *m_length) {
                m_state = State::Done;
            }
            break;
        }
        case State::Done:
            // Whatever follows the announced end is not part of the reply.
            return true;
        case State::Failed:
            return false;
        }
    }
    return !failed();
}

bool HttpReplyParser::statusLineDone() {
    m_statusLine = m_line.substr(0, kMaxStatusLine);
    const std::string_view s(m_line);
    if (s.size() >= 8 && s.substr(0, 5) == "HTTP/" && std::isdigit(static_cast<unsigned char>(s[5])) && s[6] == '.' &&
        std::isdigit(static_cast<unsigned char>(s[7])))
        m_version = (s[5] - '0') * 10 + (s[7] - '0');
    else
        m_version = 9;
    m_state = State::Headers;
    return true;
}

bool HttpReplyParser::headerLine() {
    if (m_line.empty()) return m_state == State::Trailers ? (m_state = State::Done, true) : headersEnd();
    if (++m_headerCount > kMaxHeaders) return fail("zu viele Kopfzeilen");
    if (m_state == State::Trailers) return true;
    const std::size_t colon = m_line.find(':');
    if (colon == std::string::npos) return true; // not a header; ignored as before
    const std::string name = lower(trimmed(std::string_view(m_line).substr(0, colon)));
    const std::string_view value = trimmed(std::string_view(m_line).substr(colon + 1));
    if (name == "content-length") {
        const auto length = decimal(value);
        if (!length) return fail("ungültige Längenangabe");
        if (m_length && *m_length != *length) return fail("widersprüchliche Längenangaben");
        m_length = length;
    } else if (name == "transfer-encoding") {
        if (lower(value).find("chunked") != std::string::npos) m_chunkedHeader = true;
    }
    return true;
}

bool HttpReplyParser::headersEnd() {
    m_chunked = m_chunkedHeader && m_version >= 11;
    if (m_chunked) {
        m_length.reset(); // chunks decide where the body ends
        m_state = State::ChunkSize;
        return true;
    }
    if (m_length && *m_length > m_ceiling) return fail("Datei zu groß");
    m_state = m_length && *m_length == 0 ? State::Done : State::Body;
    return true;
}

bool HttpReplyParser::chunkSizeLine() {
    std::string_view s(m_line);
    if (const std::size_t ext = s.find(';'); ext != std::string_view::npos) s = s.substr(0, ext);
    s = trimmed(s);
    if (s.empty() || s.size() > 15) return fail("ungültige Chunk-Größe");
    std::uint64_t size = 0;
    for (char c : s) {
        const int d = std::isdigit(static_cast<unsigned char>(c)) ? c - '0'
                      : (c >= 'a' && c <= 'f')                    ? c - 'a' + 10
                      : (c >= 'A' && c <= 'F')                    ? c - 'A' + 10
                                                                  : -1;
        if (d < 0) return fail("ungültige Chunk-Größe");
        size = size * 16 + static_cast<std::uint64_t>(d);
    }
    if (size == 0) {
        m_state = State::Trailers;
        return true;
    }
    if (size > m_ceiling - std::min(m_ceiling, m_received)) return fail("Datei zu groß");
    m_chunkLeft = size;
    m_state = State::ChunkData;
    return true;
}

bool HttpReplyParser::body(std::string_view bytes) {
    if (bytes.empty()) return true;
    if (bytes.size() > m_ceiling - m_received) return fail("Datei zu groß");
    m_received += bytes.size();
    if (m_sink && !m_sink(bytes)) return fail("Schreibfehler");
    return true;
}

bool HttpReplyParser::finish() {
    if (m_state == State::Body && !m_length) m_state = State::Done;
    if (m_state == State::Done) return true;
    if (m_state == State::Failed) return false;
    return fail(headersDone() ? "Verbindung vor dem Ende der Datei beendet" : "Verbindung ohne Antwort beendet");
}

} // namespace online
