#include "ui/sound/wav.h"

#include <algorithm>
#include <cstring>

namespace sound {

namespace {

std::uint32_t le32(const std::uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (std::uint32_t(p[3]) << 24);
}

std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::optional<Wav> refuse(std::string* error, const char* why) {
    if (error) *error = why;
    return std::nullopt;
}

constexpr std::uint16_t kPcm = 1;
constexpr std::uint16_t kExtensible = 0xFFFE;

} // namespace

std::optional<Wav> parseWav(std::span<const std::uint8_t> bytes, std::string* error) {
    if (bytes.size() < 12 || std::memcmp(bytes.data(), "RIFF", 4) != 0 || std::memcmp(bytes.data() + 8, "WAVE", 4))
        return refuse(error, "not a WAV file");
    std::span<const std::uint8_t> fmt, data;
    bool haveData = false;
    std::size_t at = 12;
    while (at + 8 <= bytes.size()) {
        const std::uint8_t* head = bytes.data() + at;
        const std::size_t declared = le32(head + 4);
        const std::size_t available = bytes.size() - at - 8;
        const std::size_t size = std::min(declared, available);
        const auto body = bytes.subspan(at + 8, size);
        if (std::memcmp(head, "fmt ", 4) == 0 && fmt.empty()) fmt = body;
        if (std::memcmp(head, "data", 4) == 0 && !haveData) {
            data = body;
            haveData = true;
        }
        if (declared >= available) break;
        at += 8 + declared + (declared & 1);
    }
    if (fmt.size() < 16) return refuse(error, "no format chunk");
    if (!haveData) return refuse(error, "no data chunk");

    std::uint16_t format = le16(fmt.data());
    if (format == kExtensible) {
        // The extensible header names the real format in the first two bytes of its sub-format GUID.
        if (fmt.size() < 40) return refuse(error, "short extensible format chunk");
        format = le16(fmt.data() + 24);
    }
    if (format != kPcm) return refuse(error, "not uncompressed PCM");

    Wav wav;
    wav.channels = le16(fmt.data() + 2);
    wav.rate = static_cast<int>(std::min<std::uint32_t>(le32(fmt.data() + 4), 1u << 30));
    wav.bitsPerSample = le16(fmt.data() + 14);
    if (wav.channels < 1 || wav.channels > 8) return refuse(error, "unsupported channel count");
    if (wav.rate < 1000 || wav.rate > 384000) return refuse(error, "unsupported sample rate");
    if (wav.bitsPerSample != 8 && wav.bitsPerSample != 16 && wav.bitsPerSample != 24 && wav.bitsPerSample != 32)
        return refuse(error, "unsupported sample size");
    wav.samples = data.first(data.size() - data.size() % wav.frameBytes());
    return wav;
}

} // namespace sound
