// mksounds: synthesizes the program's sounds into <dir>/ as 16-bit PCM mono WAV files at 22050 Hz.
//
//     mksounds <Sounds folder>
//
// Each sound is a few notes of sine partials with a soft attack and an exponential decay. The result is
// normalized to a set peak below full scale, so no sound can clip or startle, whatever the note list says.

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <numbers>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kRate = 22050;
constexpr double kMaxPeakDb = -4.0; // one decibel of room under the -3 dBFS ceiling
constexpr double kRelease = 0.04;   // every note ends with a fade of this many seconds, so nothing clicks

struct Partial {
    double ratio; // of the note's frequency
    double gain;
};

// A timbre: its partials and the attack time. Higher partials fade faster, as on a struck bar.
struct Voice {
    std::vector<Partial> partials;
    double attack;
};

struct Note {
    double start;  // seconds
    double freq;   // Hz
    double length; // seconds, release included
    double gain;
    double decay; // time constant of the exponential decay, seconds
};

struct Sound {
    const char* file;
    double peakDb; // level of the loudest sample; clamped to kMaxPeakDb
    Voice voice;
    std::vector<Note> notes;
};

// Equal temperament, A4 = 440 Hz; n counts semitones from A4.
constexpr double semitone(int n) {
    double f = 440.0;
    const double step = 1.0594630943592953;
    for (int i = 0; i < n; ++i)
        f *= step;
    for (int i = 0; i > n; --i)
        f /= step;
    return f;
}
constexpr double C4 = semitone(-9), E4 = semitone(-5), G4 = semitone(-2);
constexpr double C5 = semitone(3), E5 = semitone(7), G5 = semitone(10), A5 = semitone(12), C6 = semitone(15);
constexpr double F3 = semitone(-16), A3 = semitone(-12);

std::vector<Sound> sounds() {
    const Voice bell{{{1.0, 1.0}, {2.0, 0.35}, {3.0, 0.12}, {4.2, 0.05}}, 0.014};
    const Voice soft{{{1.0, 1.0}, {2.0, 0.18}, {3.0, 0.05}}, 0.030};
    const Voice bright{{{1.0, 1.0}, {2.0, 0.30}, {3.0, 0.10}}, 0.012};
    return {
        // Greeting: a rising major arpeggio that rings out.
        {"Tavolin.wav",
         -4.0,
         bell,
         {{0.00, C5, 0.70, 0.55, 0.30},
          {0.12, E5, 0.70, 0.50, 0.30},
          {0.24, G5, 0.75, 0.50, 0.32},
          {0.36, C6, 0.74, 0.60, 0.35}}},
        // Wrong answer: two soft low notes a major third apart, falling; a little quieter than the rest.
        {"fehler.wav", -6.0, soft, {{0.00, A3, 0.24, 0.80, 0.18}, {0.20, F3, 0.36, 0.80, 0.22}}},
        // Right answer, passed: a quick bright rising fourth.
        {"pok.wav", -4.0, bright, {{0.00, E5, 0.16, 0.60, 0.12}, {0.11, A5, 0.38, 0.65, 0.20}}},
        // Failed: a gentle, subdued falling figure ending on the tonic.
        {"pnok.wav",
         -5.0,
         soft,
         {{0.00, G4, 0.26, 0.60, 0.20}, {0.20, E4, 0.26, 0.60, 0.20}, {0.40, C4, 0.50, 0.70, 0.28}}},
    };
}

std::vector<double> render(const Sound& s) {
    double end = 0;
    for (const Note& n : s.notes)
        end = std::max(end, n.start + n.length);
    std::vector<double> out(static_cast<std::size_t>(std::ceil(end * kRate)) + 1, 0.0);
    for (const Note& n : s.notes) {
        const auto first = static_cast<std::size_t>(std::lround(n.start * kRate));
        const auto count = static_cast<std::size_t>(std::lround(n.length * kRate));
        for (std::size_t i = 0; i < count && first + i < out.size(); ++i) {
            const double t = static_cast<double>(i) / kRate;
            const double left = n.length - t;
            double env = n.gain;
            if (t < s.voice.attack) env *= 0.5 - 0.5 * std::cos(std::numbers::pi * t / s.voice.attack);
            if (left < kRelease) env *= 0.5 - 0.5 * std::cos(std::numbers::pi * left / kRelease);
            double v = 0;
            for (const Partial& p : s.voice.partials) {
                const double decay = n.decay / (1.0 + 0.6 * (p.ratio - 1.0));
                v += p.gain * std::exp(-t / decay) * std::sin(2 * std::numbers::pi * n.freq * p.ratio * t);
            }
            out[first + i] += env * v;
        }
    }
    return out;
}

std::vector<std::int16_t> toPcm(const std::vector<double>& signal, double peakDb) {
    double peak = 0;
    for (double v : signal)
        peak = std::max(peak, std::fabs(v));
    const double scale = peak > 0 ? std::pow(10.0, std::min(peakDb, kMaxPeakDb) / 20.0) * 32767.0 / peak : 0.0;
    std::vector<std::int16_t> pcm;
    pcm.reserve(signal.size());
    for (double v : signal)
        pcm.push_back(static_cast<std::int16_t>(std::lround(v * scale)));
    return pcm;
}

void putLe(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// A canonical 44-byte RIFF/WAVE header followed by the samples, little-endian.
bool writeWav(const fs::path& path, const std::vector<std::int16_t>& pcm) {
    const auto dataBytes = static_cast<std::uint32_t>(pcm.size() * 2);
    std::string bytes = "RIFF";
    putLe(bytes, 36 + dataBytes, 4);
    bytes += "WAVEfmt ";
    putLe(bytes, 16, 4);        // fmt chunk size
    putLe(bytes, 1, 2);         // PCM
    putLe(bytes, 1, 2);         // mono
    putLe(bytes, kRate, 4);     // sample rate
    putLe(bytes, kRate * 2, 4); // bytes per second
    putLe(bytes, 2, 2);         // block align
    putLe(bytes, 16, 2);        // bits per sample
    bytes += "data";
    putLe(bytes, dataBytes, 4);
    for (std::int16_t s : pcm)
        putLe(bytes, static_cast<std::uint16_t>(s), 2);

    const fs::path part = path.string() + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) return false;
    }
    std::error_code ec;
    fs::rename(part, path, ec);
    return !ec;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "Aufruf: mksounds <Ordner>\n");
        return 2;
    }
    const fs::path dir = argv[1];
    std::error_code ec;
    fs::create_directories(dir, ec);
    for (const Sound& s : sounds()) {
        const std::vector<std::int16_t> pcm = toPcm(render(s), s.peakDb);
        if (!writeWav(dir / s.file, pcm)) {
            std::fprintf(stderr, "mksounds: %s lässt sich nicht schreiben\n", (dir / s.file).c_str());
            return 1;
        }
        std::printf("mksounds: %s, %.2f s\n", s.file, static_cast<double>(pcm.size()) / kRate);
    }
    return 0;
}
