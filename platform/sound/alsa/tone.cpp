#include "platform/sound/sound.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <numbers>
#include <vector>

namespace cuentas::sound {
namespace {

constexpr unsigned kSampleRate = 44100;
constexpr double kTicksPerSecond = 18.2;
constexpr std::uint32_t kLongestTicks = 182; // ten seconds: a longer tone is a caller's slip
constexpr double kAmplitude = 0.3 * 32767;

// ALSA prints its own complaints to stderr; a machine without sound is no error here.
void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// The sound library, loaded when the first tone is played: tones are rare (an error being
// shown), and loading it with the program would cost every start.
struct Alsa {
    decltype(&snd_lib_error_set_handler) setErrorHandler = nullptr;
    decltype(&snd_pcm_open) open = nullptr;
    decltype(&snd_pcm_nonblock) nonblock = nullptr;
    decltype(&snd_pcm_set_params) setParams = nullptr;
    decltype(&snd_pcm_writei) write = nullptr;
    decltype(&snd_pcm_recover) recover = nullptr;
    decltype(&snd_pcm_drain) drain = nullptr;
    decltype(&snd_pcm_close) close = nullptr;

    // Null on a machine without the library.
    static const Alsa* load() {
        static const std::unique_ptr<Alsa> alsa = [] {
            void* library = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
            if (!library) {
                return std::unique_ptr<Alsa>();
            }
            auto loaded = std::make_unique<Alsa>();
            bool complete =
                resolve(library, "snd_lib_error_set_handler", loaded->setErrorHandler) &&
                resolve(library, "snd_pcm_open", loaded->open) &&
                resolve(library, "snd_pcm_nonblock", loaded->nonblock) &&
                resolve(library, "snd_pcm_set_params", loaded->setParams) &&
                resolve(library, "snd_pcm_writei", loaded->write) &&
                resolve(library, "snd_pcm_recover", loaded->recover) &&
                resolve(library, "snd_pcm_drain", loaded->drain) &&
                resolve(library, "snd_pcm_close", loaded->close);
            if (!complete) {
                return std::unique_ptr<Alsa>();
            }
            loaded->setErrorHandler(ignoreAlsaError);
            return loaded; // the library stays loaded for the rest of the process
        }();
        return alsa.get();
    }

    template <class Function>
    static bool resolve(void* library, const char* name, Function& function) {
        function = reinterpret_cast<Function>(::dlsym(library, name));
        return function != nullptr;
    }
};

struct PcmCloser {
    const Alsa* alsa;
    void operator()(snd_pcm_t* pcm) const { alsa->close(pcm); }
};

// The tone's samples, faded in and out over 5 ms so that it starts and ends without a click.
std::vector<std::int16_t> sineWave(std::uint32_t frequency, std::size_t frames) {
    std::vector<std::int16_t> samples(frames);
    std::size_t fade = std::min<std::size_t>(kSampleRate / 200, frames / 2);
    for (std::size_t i = 0; i < frames; ++i) {
        double envelope = 1.0;
        if (fade > 0 && i < fade) {
            envelope = static_cast<double>(i) / static_cast<double>(fade);
        } else if (fade > 0 && frames - i <= fade) {
            envelope = static_cast<double>(frames - i) / static_cast<double>(fade);
        }
        double phase = 2 * std::numbers::pi * frequency * static_cast<double>(i) / kSampleRate;
        samples[i] = static_cast<std::int16_t>(kAmplitude * envelope * std::sin(phase));
    }
    return samples;
}

} // namespace

void playTone(std::uint32_t frequency, std::uint32_t ticks) {
    if (frequency == 0 || frequency >= kSampleRate / 2 || ticks == 0) {
        return;
    }
    const Alsa* alsa = Alsa::load();
    if (!alsa) {
        return;
    }
    snd_pcm_t* raw = nullptr;
    // Opened without blocking: a device held by another program must not stall the caller.
    if (alsa->open(&raw, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
        return;
    }
    std::unique_ptr<snd_pcm_t, PcmCloser> pcm(raw, PcmCloser{alsa});
    if (alsa->nonblock(pcm.get(), 0) < 0 ||
        alsa->setParams(pcm.get(), SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                        kSampleRate, 1, 100000) < 0) {
        return;
    }
    auto frames =
        static_cast<std::size_t>(std::min(ticks, kLongestTicks) * kSampleRate / kTicksPerSecond);
    std::vector<std::int16_t> samples = sineWave(frequency, frames);
    std::size_t done = 0;
    while (done < samples.size()) {
        snd_pcm_sframes_t written =
            alsa->write(pcm.get(), samples.data() + done, samples.size() - done);
        if (written < 0) {
            // An underrun or a suspended device is recovered once; anything else ends the tone.
            if (alsa->recover(pcm.get(), static_cast<int>(written), 1) < 0) {
                return;
            }
            continue;
        }
        done += static_cast<std::size_t>(written);
    }
    alsa->drain(pcm.get());
}

} // namespace cuentas::sound
