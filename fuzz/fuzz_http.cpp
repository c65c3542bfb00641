// HTTP replies: whatever a server sends, in pieces whose sizes come from the input too, with a small ceiling so
// that the size checks are reached.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "online/httpreply.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::size_t step = 1 + data[0] % 64;
    const std::uint64_t ceiling = 1 + std::uint64_t(data[1]) * 64;
    std::string_view reply(reinterpret_cast<const char*>(data + 2), size - 2);
    std::uint64_t seen = 0;
    online::HttpReplyParser parser(ceiling, [&](std::string_view bytes) {
        seen += bytes.size();
        return true;
    });
    bool ok = true;
    for (std::size_t i = 0; i < reply.size() && ok; i += step)
        ok = parser.feed(reply.substr(i, step));
    const bool complete = ok && parser.finish();
    // What reached the sink is what the parser counted, never more than the ceiling or the announced length.
    if (seen != parser.bodyReceived() || seen > ceiling) __builtin_trap();
    if (complete && parser.contentLength() && !parser.chunked() && seen != *parser.contentLength()) __builtin_trap();
    if (parser.statusLine().size() > online::HttpReplyParser::kMaxStatusLine) __builtin_trap();
    return 0;
}
