// The synthesized sounds in Sounds/: valid WAV files of a sensible length, loud enough but never clipping,
// without DC or clicks, and each with the shape its occasion asks for.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <optional>
#include <sstream>

#include "content_support.h"
#include "support/testdir.h"

namespace {

namespace fs = std::filesystem;

struct Wav {
    int channels = 0, rate = 0, bits = 0, format = 0;
    std::vector<double> samples; // -1 .. 1
    double seconds() const { return static_cast<double>(samples.size()) / rate; }
};

std::uint32_t le(const std::string& b, std::size_t at, int n) {
    std::uint32_t v = 0;
    for (int i = n - 1; i >= 0; --i)
        v = v << 8 | static_cast<unsigned char>(b.at(at + i));
    return v;
}

// Walks the RIFF chunks; nothing when the file is not a WAVE file with a format and a data chunk.
std::optional<Wav> readWav(const fs::path& path) {
    const std::string b = lwtest::readFile(path);
    if (b.size() < 12 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 4, "WAVE") != 0) return std::nullopt;
    if (le(b, 4, 4) + 8 != b.size()) return std::nullopt;
    Wav w;
    bool haveFormat = false, haveData = false;
    for (std::size_t at = 12; at + 8 <= b.size();) {
        const std::string id = b.substr(at, 4);
        const std::uint32_t size = le(b, at + 4, 4);
        if (at + 8 + size > b.size()) return std::nullopt;
        if (id == "fmt ") {
            w.format = static_cast<int>(le(b, at + 8, 2));
            w.channels = static_cast<int>(le(b, at + 10, 2));
            w.rate = static_cast<int>(le(b, at + 12, 4));
            w.bits = static_cast<int>(le(b, at + 22, 2));
            haveFormat = le(b, at + 16, 4) == static_cast<std::uint32_t>(w.rate * w.channels * w.bits / 8);
        } else if (id == "data" && haveFormat && w.bits == 16) {
            for (std::size_t i = 0; i + 1 < size; i += 2)
                w.samples.push_back(static_cast<std::int16_t>(le(b, at + 8 + i, 2)) / 32768.0);
            haveData = true;
        }
        at += 8 + size + (size & 1);
    }
    if (!haveFormat || !haveData) return std::nullopt;
    return w;
}

double peakOf(const Wav& w, double from = 0, double to = 1e9) {
    double peak = 0;
    for (std::size_t i = static_cast<std::size_t>(from * w.rate); i < w.samples.size() && i < to * w.rate; ++i)
        peak = std::max(peak, std::fabs(w.samples[i]));
    return peak;
}

// The main pitch of a stretch, from its rate of upward zero crossings (partials are weak enough not to add any).
double pitchOf(const Wav& w, double from, double to) {
    int crossings = 0;
    const auto first = static_cast<std::size_t>(from * w.rate), last = static_cast<std::size_t>(to * w.rate);
    for (std::size_t i = first + 1; i < last && i < w.samples.size(); ++i)
        if (w.samples[i - 1] < 0 && w.samples[i] >= 0) ++crossings;
    return crossings / (to - from);
}

const char* const kSounds[] = {"Tavolin.wav", "fehler.wav", "pok.wav", "pnok.wav"};

Wav load(const char* name) {
    std::optional<Wav> w = readWav(lwtest::distDir() / "Sounds" / name);
    EXPECT_TRUE(w) << name << " is no readable WAV file";
    return w.value_or(Wav{});
}

TEST(Sounds, AreMonoPcmOfSensibleLength) {
    for (const char* name : kSounds) {
        SCOPED_TRACE(name);
        const Wav w = load(name);
        EXPECT_EQ(w.format, 1);
        EXPECT_EQ(w.channels, 1);
        EXPECT_EQ(w.rate, 22050);
        EXPECT_EQ(w.bits, 16);
        EXPECT_GE(w.seconds(), 0.3);
        EXPECT_LE(w.seconds(), 1.5);
    }
    const double greeting = load("Tavolin.wav").seconds();
    EXPECT_GE(greeting, 0.8);
    EXPECT_LE(greeting, 1.4);
}

TEST(Sounds, AreAudibleWithoutClippingDcOrClicks) {
    const double ceiling = std::pow(10.0, -3.0 / 20.0); // -3 dBFS
    for (const char* name : kSounds) {
        SCOPED_TRACE(name);
        const Wav w = load(name);
        ASSERT_FALSE(w.samples.empty());
        const double peak = peakOf(w);
        EXPECT_LE(peak, ceiling);
        EXPECT_GE(peak, std::pow(10.0, -12.0 / 20.0)) << "too quiet to hear beside other sounds";
        double sum = 0;
        for (double s : w.samples)
            sum += s;
        EXPECT_LT(std::fabs(sum / w.samples.size()), 0.002) << "DC offset";
        // A soft attack, rising over several milliseconds, and a faded end.
        EXPECT_LT(peakOf(w, 0, 0.002), 0.1 * peak);
        EXPECT_LT(peakOf(w, w.seconds() - 0.002), 0.01 * peak);
        // Nowhere a jump from one sample to the next that only a click would make.
        double jump = 0;
        for (std::size_t i = 1; i < w.samples.size(); ++i)
            jump = std::max(jump, std::fabs(w.samples[i] - w.samples[i - 1]));
        EXPECT_LT(jump, 0.5 * peak);
    }
}

TEST(Sounds, EachHasTheShapeOfItsOccasion) {
    const Wav greeting = load("Tavolin.wav");
    EXPECT_LT(peakOf(greeting, greeting.seconds() - 0.1), 0.5 * peakOf(greeting, 0.3, 0.5)) << "rings out";

    const Wav wrong = load("fehler.wav");
    EXPECT_LT(pitchOf(wrong, 0.02, wrong.seconds() - 0.05), 300) << "a low sound";
    EXPECT_GT(pitchOf(wrong, 0.02, 0.18), pitchOf(wrong, 0.3, 0.5)) << "two notes, the second lower";

    const Wav right = load("pok.wav");
    EXPECT_GT(pitchOf(right, 0.15, 0.35), 1.2 * pitchOf(right, 0.01, 0.10)) << "rising";
    EXPECT_GT(pitchOf(right, 0.01, 0.10), 500) << "bright";

    const Wav failed = load("pnok.wav");
    EXPECT_LT(pitchOf(failed, 0.45, 0.8), 0.8 * pitchOf(failed, 0.02, 0.18)) << "falling";
}

TEST(Sounds, PythonsWaveModuleReadsThemAlike) {
    if (lwtest::runCommand("/usr/bin/python3 -c 'import wave' 2>/dev/null") != 0) GTEST_SKIP() << "no python3";
    for (const char* name : kSounds) {
        SCOPED_TRACE(name);
        const fs::path path = lwtest::distDir() / "Sounds" / name;
        std::string out;
        ASSERT_EQ(lwtest::runCommand(lwtest::cat("/usr/bin/python3 -c \"import sys, wave; w = wave.open(sys.argv[1]); "
                                                 "print(w.getnchannels(), w.getsampwidth(), w.getframerate(), "
                                                 "w.getnframes())\" ",
                                                 lwtest::quotedPath(path), " 2>&1"),
                                     &out),
                  0)
            << out;
        std::ostringstream want;
        want << "1 2 22050 " << load(name).samples.size() << "\n";
        EXPECT_EQ(out, want.str());
    }
}

} // namespace
