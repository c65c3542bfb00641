#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <cstdint>
#include <string>
#include <thread>
#include <vector>

#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include "core/context.h"
#include "support/testdir.h"
#include "ui/services.h"
#include "ui/sound/wav.h"

namespace {

QString str(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

// Builds WAV files chunk by chunk, so that each test can bend one part of the layout.
struct WavBuilder {
    std::string bytes;

    void u16(std::uint32_t v) {
        for (int i = 0; i < 2; ++i)
            bytes.push_back(char((v >> (8 * i)) & 0xff));
    }
    void u32(std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            bytes.push_back(char((v >> (8 * i)) & 0xff));
    }
    void chunk(const char* id, const std::string& body, std::uint32_t declared = UINT32_MAX - 1) {
        bytes += id;
        u32(declared == UINT32_MAX - 1 ? std::uint32_t(body.size()) : declared);
        bytes += body;
        if (body.size() % 2) bytes.push_back('\0');
    }
    static std::string fmt(int format, int channels, int rate, int bits) {
        WavBuilder b;
        b.u16(format);
        b.u16(channels);
        b.u32(rate);
        b.u32(rate * channels * bits / 8);
        b.u16(channels * bits / 8);
        b.u16(bits);
        return b.bytes;
    }
    static std::string extensible(int subFormat, int channels, int rate, int bits) {
        WavBuilder b;
        b.bytes = fmt(0xFFFE, channels, rate, bits);
        b.u16(22);   // size of the extension
        b.u16(bits); // valid bits
        b.u32(3);    // channel mask
        b.u16(subFormat);
        b.bytes += std::string("\x00\x00\x00\x00\x10\x00\x80\x00\x00\xAA\x00\x38\x9B\x71", 14);
        return b.bytes;
    }
    // The RIFF header over everything added so far.
    std::vector<std::uint8_t> file() const {
        WavBuilder head;
        head.bytes = "RIFF";
        head.u32(std::uint32_t(bytes.size() + 4));
        head.bytes += "WAVE" + bytes;
        return {head.bytes.begin(), head.bytes.end()};
    }
};

std::optional<sound::Wav> parse(const std::vector<std::uint8_t>& bytes, std::string* why = nullptr) {
    return sound::parseWav(bytes, why);
}

// A short silent sound as the program delivers them: 16-bit mono.
void writeSilence(const std::filesystem::path& path) {
    WavBuilder b;
    b.chunk("fmt ", WavBuilder::fmt(1, 1, 22050, 16));
    b.chunk("data", std::string(2 * 2205, '\0'));
    const auto bytes = b.file();
    lwtest::writeFile(path, std::string(bytes.begin(), bytes.end()));
}

} // namespace

TEST(Wav, ReadsPcmInAnyChunkOrderAndSkipsPaddedChunks) {
    WavBuilder b;
    b.chunk("LIST", std::string(5, 'x')); // odd size: one pad byte follows
    b.chunk("fmt ", WavBuilder::fmt(1, 2, 44100, 16));
    b.chunk("data", std::string(4 * 10, '\x11'));
    auto wav = parse(b.file());
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->channels, 2);
    EXPECT_EQ(wav->rate, 44100);
    EXPECT_EQ(wav->bitsPerSample, 16);
    EXPECT_EQ(wav->frames(), 10u);
    EXPECT_EQ(wav->samples.front(), 0x11);

    WavBuilder dataFirst; // legal, if unusual: the format after the samples
    dataFirst.chunk("data", std::string(3, '\x80'));
    dataFirst.chunk("fmt ", WavBuilder::fmt(1, 1, 8000, 8));
    wav = parse(dataFirst.file());
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->frames(), 3u);

    WavBuilder ext;
    ext.chunk("fmt ", WavBuilder::extensible(1, 2, 48000, 24));
    ext.chunk("data", std::string(6 * 4, '\0'));
    wav = parse(ext.file());
    ASSERT_TRUE(wav);
    EXPECT_EQ(wav->bitsPerSample, 24);
    EXPECT_EQ(wav->frames(), 4u);
}

TEST(Wav, ACutOffDataChunkIsTakenAsFarAsItGoesInWholeFrames) {
    for (std::uint32_t declared : {1000u, 0xFFFFFFFFu}) {
        WavBuilder b;
        b.chunk("fmt ", WavBuilder::fmt(1, 2, 22050, 16));
        b.bytes += "data";
        b.u32(declared);
        b.bytes += std::string(4 * 7 + 3, '\0'); // seven frames and part of an eighth
        const auto wav = parse(b.file());
        ASSERT_TRUE(wav) << declared;
        EXPECT_EQ(wav->frames(), 7u);
        EXPECT_EQ(wav->samples.size(), 28u);
    }
}

TEST(Wav, RefusesWhatItCannotPlayWithAReason) {
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
        const char* reason;
    };
    auto with = [](const std::string& fmt, bool data = true) {
        WavBuilder b;
        b.chunk("fmt ", fmt);
        if (data) b.chunk("data", std::string(8, '\0'));
        return b.file();
    };
    std::vector<Case> cases = {
        {"empty", {}, "not a WAV file"},
        {"not RIFF", {'R', 'I', 'F', 'X', 0, 0, 0, 0, 'W', 'A', 'V', 'E'}, "not a WAV file"},
        {"no format", WavBuilder{}.file(), "no format chunk"},
        {"short format", with(std::string(10, '\0')), "no format chunk"},
        {"no data", with(WavBuilder::fmt(1, 1, 8000, 8), false), "no data chunk"},
        {"ADPCM", with(WavBuilder::fmt(2, 1, 8000, 4)), "not uncompressed PCM"},
        {"float", with(WavBuilder::fmt(3, 1, 8000, 32)), "not uncompressed PCM"},
        {"extensible float", with(WavBuilder::extensible(3, 1, 8000, 32)), "not uncompressed PCM"},
        {"short extensible", with(WavBuilder::fmt(0xFFFE, 1, 8000, 16)), "short extensible format chunk"},
        {"no channels", with(WavBuilder::fmt(1, 0, 8000, 16)), "unsupported channel count"},
        {"rate 0", with(WavBuilder::fmt(1, 1, 0, 16)), "unsupported sample rate"},
        {"12 bits", with(WavBuilder::fmt(1, 1, 8000, 12)), "unsupported sample size"},
    };
    for (const auto& c : cases) {
        std::string why;
        EXPECT_FALSE(parse(c.bytes, &why)) << c.name;
        EXPECT_EQ(why, c.reason) << c.name;
    }
}

#ifdef LW_SOUND_PLAYER
// The real player program: its answer for a file, and how long it took.
int runPlayer(const QStringList& arguments, qint64* ms = nullptr, const QString& home = {}) {
    QProcess player;
    if (!home.isEmpty()) {
        auto env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("HOME"), home);
        player.setProcessEnvironment(env);
    }
    QElapsedTimer clock;
    clock.start();
    player.start(QStringLiteral(LW_SOUND_PLAYER), arguments);
    if (!player.waitForFinished(20000)) return -1;
    if (ms) *ms = clock.elapsed();
    return player.exitStatus() == QProcess::NormalExit ? player.exitCode() : -1;
}

TEST(SoundPlayer, PlaysOrReportsNoOutputAndRefusesBrokenFilesQuickly) {
    lwtest::TempDir dir;
    writeSilence(dir.path() / "pok.wav");
    lwtest::writeFile(dir.path() / "kaputt.wav", "RIFF\x10\0\0\0WAVEjunk");
    EXPECT_EQ(runPlayer({}), 1);
    EXPECT_EQ(runPlayer({str(dir.path() / "fehlt.wav")}), 2);
    EXPECT_EQ(runPlayer({str(dir.path() / "kaputt.wav")}), 2);
    EXPECT_EQ(runPlayer({str(dir.path())}), 2); // a folder is no sound
    qint64 ms = 0;
    const int played = runPlayer({str(dir.path() / "pok.wav")}, &ms);
    EXPECT_TRUE(played == 0 || played == 3) << played; // 3: this machine has no audio output
    EXPECT_LT(ms, 10000);
}

TEST(SoundPlayer, SendsExactlyTheSamplesToTheAudioOutput) {
    // The audio output is a file here: ALSA reads the user's ~/.asoundrc, which sends the default device there.
    lwtest::TempDir dir;
    const auto out = dir.path() / "out.raw";
    lwtest::writeFile(dir.path() / ".asoundrc",
                      "pcm.!default { type file slave.pcm \"null\" file \"" + out.string() + "\" format \"raw\" }\n");
    for (int bits : {8, 16, 24}) {
        WavBuilder b;
        b.chunk("fmt ", WavBuilder::fmt(1, 2, 22050, bits));
        std::string samples;
        for (int i = 0; i < 2 * 3000 * bits / 8; ++i)
            samples.push_back(char((i * 7) & 0xff));
        b.chunk("data", samples);
        const auto bytes = b.file();
        lwtest::writeFile(dir.path() / "ton.wav", std::string(bytes.begin(), bytes.end()));
        std::filesystem::remove(out);
        ASSERT_EQ(runPlayer({str(dir.path() / "ton.wav")}, nullptr, str(dir.path())), 0) << bits;
        EXPECT_EQ(lwtest::readFile(out), samples) << bits;
    }
}

TEST(Sound, StartsThePlayerWithTheResolvedFileAndDoesNotWaitForIt) {
    lwtest::TempDir dir;
    std::filesystem::create_directories(dir.path() / "Sounds");
    writeSilence(dir.path() / "Sounds" / "pok.wav");
    // A stand-in player that notes what it was given and then takes its time, as a long sound would.
    const auto heard = dir.path() / "heard.txt";
    const auto player = dir.path() / "player.sh";
    lwtest::writeFile(player, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" + heard.string() + "'\nsleep 3\n");
    ::chmod(player.c_str(), 0755);
    core::Context ctx(str(dir.path()));
    ui::EffectSound sound([&](const QString& name) { return ctx.resolve(name); }, str(player));

    QElapsedTimer clock;
    clock.start();
    sound.play(QStringLiteral(".\\Sounds\\fehler.wav")); // no such file: no player
    sound.play(QStringLiteral(".\\SOUNDS\\POK.WAV"));
    EXPECT_LT(clock.elapsed(), 1500); // the dialog that plays it goes on at once
    for (int i = 0; i < 100 && !std::filesystem::exists(heard); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(lwtest::readFile(heard), (dir.path() / "Sounds" / "pok.wav").string() + "\n");
}

QStringList g_warnings;

TEST(Sound, AMissingPlayerIsNamedOnceAndOtherwiseSilent) {
    lwtest::TempDir dir;
    writeSilence(dir.path() / "pok.wav");
    ui::EffectSound sound([&](const QString&) { return str(dir.path() / "pok.wav"); },
                          str(dir.path() / "lenkwerk-play"));
    g_warnings.clear();
    const auto previous = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& text) {
        if (type == QtWarningMsg) g_warnings << text;
    });
    sound.play(QStringLiteral("pok.wav"));
    sound.play(QStringLiteral("pok.wav")); // every answer of a training would repeat it
    qInstallMessageHandler(previous);
    ASSERT_EQ(g_warnings.size(), 1) << g_warnings.join(QLatin1Char('|')).toStdString();
    EXPECT_TRUE(g_warnings.front().contains(str(dir.path() / "lenkwerk-play")));
}
#endif
