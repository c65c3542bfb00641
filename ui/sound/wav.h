#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace sound {

// The samples of a PCM WAV file, pointing into the bytes it was read from.
struct Wav {
    int channels = 0;
    int rate = 0;                          // frames per second
    int bitsPerSample = 0;                 // 8 (unsigned), 16, 24 or 32 (signed, little-endian)
    std::span<const std::uint8_t> samples; // whole frames only

    std::size_t frameBytes() const { return static_cast<std::size_t>(channels) * (bitsPerSample / 8); }
    std::size_t frames() const { return frameBytes() ? samples.size() / frameBytes() : 0; }
};

// Reads a RIFF/WAVE file of uncompressed PCM (also in the extensible header). Chunks may come in any order and
// an odd-sized chunk is padded; a data chunk that claims more than the file holds (a cut-off download, or the
// size left open by a recorder) is taken as far as it goes. Anything else is refused with a reason in `error`.
std::optional<Wav> parseWav(std::span<const std::uint8_t> bytes, std::string* error = nullptr);

} // namespace sound
