#include "platform/sound/sound.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <mutex>
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

struct PcmCloser {
    void operator()(snd_pcm_t* pcm) const { snd_pcm_close(pcm); }
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
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(ignoreAlsaError); });

    snd_pcm_t* raw = nullptr;
    // Opened without blocking: a device held by another program must not stall the caller.
    if (snd_pcm_open(&raw, "default", SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
        return;
    }
    std::unique_ptr<snd_pcm_t, PcmCloser> pcm(raw);
    if (snd_pcm_nonblock(pcm.get(), 0) < 0 ||
        snd_pcm_set_params(pcm.get(), SND_PCM_FORMAT_S16, SND_PCM_ACCESS_RW_INTERLEAVED, 1,
                           kSampleRate, 1, 100000) < 0) {
        return;
    }
    auto frames =
        static_cast<std::size_t>(std::min(ticks, kLongestTicks) * kSampleRate / kTicksPerSecond);
    std::vector<std::int16_t> samples = sineWave(frequency, frames);
    std::size_t done = 0;
    while (done < samples.size()) {
        snd_pcm_sframes_t written =
            snd_pcm_writei(pcm.get(), samples.data() + done, samples.size() - done);
        if (written < 0) {
            // An underrun or a suspended device is recovered once; anything else ends the tone.
            if (snd_pcm_recover(pcm.get(), static_cast<int>(written), 1) < 0) {
                return;
            }
            continue;
        }
        done += static_cast<std::size_t>(written);
    }
    snd_pcm_drain(pcm.get());
}

} // namespace cuentas::sound
