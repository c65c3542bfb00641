// lenkwerk-play: plays one WAV file of the program's and ends. The program starts it for each sound, so the audio
// libraries and their threads never live in the program itself, and an audio system that hangs cannot hold a
// dialog.
//
//     lenkwerk-play <file.wav>
//
// Exit codes: 0 played, 1 wrong call, 2 the file cannot be read or is no PCM WAV, 3 no audio output.
#include <alsa/asoundlib.h>
#include <unistd.h>

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "ui/sound/wav.h"

namespace {

// Sounds of the program last seconds; anything bigger is not one of them.
constexpr std::streamsize kMaxBytes = 32 << 20;

// ALSA writes its complaints (no sound card, say) to standard error; a missing device is an ordinary case here.
void quiet(const char*, int, const char*, int, const char*, ...) {}

snd_pcm_format_t formatOf(const sound::Wav& wav) {
    switch (wav.bitsPerSample) {
    case 8:
        return SND_PCM_FORMAT_U8;
    case 16:
        return SND_PCM_FORMAT_S16_LE;
    case 24:
        return SND_PCM_FORMAT_S24_3LE;
    default:
        return SND_PCM_FORMAT_S32_LE;
    }
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lenkwerk-play <file.wav>\n");
        return 1;
    }
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<std::uint8_t> bytes;
    if (in) {
        in.seekg(0, std::ios::end);
        const std::streamsize size = in.tellg();
        if (size > 0 && size <= kMaxBytes) {
            bytes.resize(static_cast<std::size_t>(size));
            in.seekg(0);
            in.read(reinterpret_cast<char*>(bytes.data()), size);
            if (!in) bytes.clear();
        }
    }
    std::string why = "cannot be read";
    const auto wav = bytes.empty() ? std::nullopt : sound::parseWav(bytes, &why);
    if (!wav) {
        std::fprintf(stderr, "lenkwerk-play: %s: %s\n", argv[1], why.c_str());
        return 2;
    }
    // A sound server that stops answering must not keep this process for ever.
    alarm(static_cast<unsigned>(wav->frames() / static_cast<std::size_t>(wav->rate)) + 10);

    snd_lib_error_set_handler(quiet);
    snd_pcm_t* pcm = nullptr;
    // Opened without waiting: a device another program holds gives no sound rather than a late one; the writes
    // then wait for the device as usual.
    if (snd_pcm_open(&pcm, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) return 3;
    if (snd_pcm_nonblock(pcm, 0) < 0) {
        snd_pcm_close(pcm);
        return 3;
    }
    if (snd_pcm_set_params(pcm, formatOf(*wav), SND_PCM_ACCESS_RW_INTERLEAVED, static_cast<unsigned>(wav->channels),
                           static_cast<unsigned>(wav->rate), 1, 200000) < 0) {
        snd_pcm_close(pcm);
        return 3;
    }
    const std::uint8_t* next = wav->samples.data();
    snd_pcm_uframes_t left = wav->frames();
    while (left > 0) {
        snd_pcm_sframes_t written = snd_pcm_writei(pcm, next, left);
        if (written < 0) written = snd_pcm_recover(pcm, static_cast<int>(written), 1);
        if (written < 0) break;
        next += static_cast<std::size_t>(written) * wav->frameBytes();
        left -= static_cast<snd_pcm_uframes_t>(written);
    }
    snd_pcm_drain(pcm);
    snd_pcm_close(pcm);
    return left == 0 ? 0 : 3;
}
