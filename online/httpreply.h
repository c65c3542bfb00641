#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace online {

// Reads an HTTP reply as it arrives: status line, header lines, then the body by its length, in chunks (from
// HTTP/1.1 on) or up to the closing connection. Every part is bounded, so whatever a server sends costs at most
// a few kilobytes of memory besides the body, which goes straight to the sink.
class HttpReplyParser {
public:
    static constexpr std::size_t kMaxStatusLine = 500; // the reply as shown; longer lines are cut
    static constexpr std::size_t kMaxLine = 8 * 1024;  // any header, chunk or trailer line
    static constexpr std::size_t kMaxHeaders = 100;    // header lines, trailers included
    static constexpr std::size_t kMaxChunkSizeLine = 256;

    // Receives the body bytes in order; false stops the reply (a write error).
    using BodySink = std::function<bool(std::string_view bytes)>;

    HttpReplyParser(std::uint64_t bodyCeiling, BodySink sink);

    // The next bytes from the connection; false once the reply is broken or too large (see error()).
    bool feed(std::string_view bytes);
    // The connection closed: true when the reply is complete (a body without length or chunks ends here).
    bool finish();

    bool headersDone() const { return m_state > State::Headers; }
    bool done() const { return m_state == State::Done; }
    bool failed() const { return m_state == State::Failed; }
    const std::string& error() const { return m_error; }

    // The status line as received (at most kMaxStatusLine characters), "" before it arrived.
    const std::string& statusLine() const { return m_statusLine; }
    // 10 for HTTP/1.0, 11 for HTTP/1.1; 9 for a status line without the "HTTP/" prefix.
    int version() const { return m_version; }
    std::optional<std::uint64_t> contentLength() const { return m_length; }
    bool chunked() const { return m_chunked; }
    std::uint64_t bodyReceived() const { return m_received; }

private:
    enum class State { StatusLine, Headers, Body, ChunkSize, ChunkData, ChunkEnd, Trailers, Done, Failed };

    bool fail(std::string message);
    // Collects one line; true when it is complete in m_line (without its line end).
    bool takeLine(std::string_view& bytes, std::size_t limit, const char* what);
    bool statusLineDone();
    bool headerLine();
    bool headersEnd();
    bool chunkSizeLine();
    bool body(std::string_view bytes);

    std::uint64_t m_ceiling;
    BodySink m_sink;
    State m_state = State::StatusLine;
    std::string m_line;
    bool m_lineComplete = false;
    std::string m_statusLine;
    std::string m_error;
    int m_version = 9;
    std::size_t m_headerCount = 0;
    std::optional<std::uint64_t> m_length;
    bool m_chunkedHeader = false;
    bool m_chunked = false;
    std::uint64_t m_chunkLeft = 0;
    std::uint64_t m_received = 0;
};

} // namespace online
