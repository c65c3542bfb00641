#include <gtest/gtest.h>

#include <string>

#include "online/httpreply.h"

using online::HttpReplyParser;

namespace {

struct Result {
    bool ok;
    bool complete;
    std::string body;
    std::string error;
    int version;
};

// Feeds the reply in pieces of `step` bytes, then ends the connection.
Result parse(const std::string& reply, std::size_t step = 1 << 20, std::uint64_t ceiling = 1 << 20) {
    std::string body;
    HttpReplyParser p(ceiling, [&](std::string_view b) {
        body.append(b);
        return true;
    });
    bool ok = true;
    for (std::size_t i = 0; i < reply.size() && ok; i += step)
        ok = p.feed(std::string_view(reply).substr(i, step));
    const bool complete = ok && p.finish();
    return {ok, complete, body, p.error(), p.version()};
}

} // namespace

TEST(HttpReply, BodiesByLengthByChunksAndToTheCloseComeOutWholeInAnyPieces) {
    for (std::size_t step : {std::size_t(1), std::size_t(3), std::size_t(1000)}) {
        auto r = parse("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhallo und mehr", step);
        EXPECT_TRUE(r.complete) << step;
        EXPECT_EQ(r.body, "hallo") << "bytes after the announced end are not the file";
        r = parse("HTTP/1.1 200 OK\r\ntransfer-encoding: Chunked\r\n\r\n5;x=1\r\nhallo\r\nA\r\n0123456789\r\n0\r\n"
                  "X-T: 1\r\n\r\n",
                  step);
        EXPECT_TRUE(r.complete) << step;
        EXPECT_EQ(r.body, "hallo0123456789");
        r = parse("HTTP/1.0 200 OK\nServer: x\n\nbis zum Ende", step);
        EXPECT_TRUE(r.complete) << "a body without length ends with the connection";
        EXPECT_EQ(r.body, "bis zum Ende");
    }
}

TEST(HttpReply, ChunksCountOnlyFromHttp11AndAStatusLineWithoutPrefixIsHttp09) {
    auto r = parse("HTTP/1.0 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhallo\r\n0\r\n\r\n");
    EXPECT_TRUE(r.complete);
    EXPECT_EQ(r.body, "5\r\nhallo\r\n0\r\n\r\n");
    EXPECT_EQ(r.version, 10);
    r = parse("200 irgendwas\r\n\r\nText");
    EXPECT_EQ(r.version, 9);
    EXPECT_EQ(r.body, "Text");
}

TEST(HttpReply, BrokenOrHostileRepliesFailWithoutGrowing) {
    // A header line longer than the bound, as a whole or in many small pieces.
    const std::string longLine = "HTTP/1.0 200 OK\r\nX: " + std::string(100000, 'a') + "\r\n\r\nx";
    for (std::size_t step : {std::size_t(7), std::size_t(1 << 20)}) {
        auto r = parse(longLine, step);
        EXPECT_FALSE(r.ok);
        EXPECT_NE(r.error.find("zu lang"), std::string::npos);
    }
    std::string many = "HTTP/1.0 200 OK\r\n";
    for (int i = 0; i < 200; ++i)
        many += "X-" + std::to_string(i) + ": 1\r\n";
    EXPECT_FALSE(parse(many + "\r\n").ok);
    // Lengths: not a number, two different ones, more than the ceiling.
    EXPECT_FALSE(parse("HTTP/1.0 200 OK\r\nContent-Length: 12x\r\n\r\n").ok);
    EXPECT_FALSE(parse("HTTP/1.0 200 OK\r\nContent-Length: 99999999999999999999\r\n\r\n").ok);
    EXPECT_FALSE(parse("HTTP/1.0 200 OK\r\nContent-Length: 3\r\nContent-Length: 4\r\n\r\nabcd").ok);
    EXPECT_FALSE(parse("HTTP/1.0 200 OK\r\nContent-Length: 2000\r\n\r\n", 1 << 20, 1000).ok);
    EXPECT_FALSE(parse("HTTP/1.0 200 OK\r\n\r\n" + std::string(1001, 'x'), 100, 1000).ok);
    EXPECT_FALSE(parse("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nfffffffffffffff\r\n", 1 << 20, 1000).ok);
    EXPECT_FALSE(parse("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nzz\r\n").ok);
    EXPECT_FALSE(parse("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nabX\r\n").ok);
}

TEST(HttpReply, AConnectionThatEndsEarlyLeavesTheReplyIncomplete) {
    EXPECT_FALSE(parse("HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nabc").complete);
    EXPECT_FALSE(parse("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5\r\nhal").complete);
    EXPECT_FALSE(parse("HTTP/1.0 200 OK\r\nX: 1").complete);
    EXPECT_FALSE(parse("").complete);
}

TEST(HttpReply, AStatusLineIsKeptAsTheReplyUpToFiveHundredCharacters) {
    std::string status;
    HttpReplyParser p(100, {});
    EXPECT_TRUE(p.feed("HTTP/1.1 404 " + std::string(1000, 'N') + "\r\n\r\n"));
    EXPECT_EQ(p.statusLine().size(), HttpReplyParser::kMaxStatusLine);
    EXPECT_EQ(p.version(), 11);
    // A sink that refuses (a full disk) stops the reply.
    HttpReplyParser refusing(100, [](std::string_view) { return false; });
    EXPECT_FALSE(refusing.feed("HTTP/1.0 200 OK\r\n\r\nabc"));
}
