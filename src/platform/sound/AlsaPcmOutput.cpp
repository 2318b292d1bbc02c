#include "platform/sound/AlsaPcmOutput.h"

#include <alsa/asoundlib.h>

#include <mutex>

namespace korvyn::platform {
namespace {

constexpr unsigned kLatencyUs = 100000; // short, so that a new sound starts soon

void Silent(const char*, int, const char*, int, const char*, ...) {}

} // namespace

AlsaPcmOutput::AlsaPcmOutput(std::string device) : device_(std::move(device)) {
    static std::once_flag quiet;
    std::call_once(quiet, [] { snd_lib_error_set_handler(Silent); });
}

AlsaPcmOutput::~AlsaPcmOutput() {
    Close();
}

bool AlsaPcmOutput::Open(const WaveFormat& format) {
    Close();
    const snd_pcm_format_t sampleFormat =
        format.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    // Opened without blocking, so that a busy device fails at once instead of waiting.
    if (snd_pcm_open(&pcm_, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
        pcm_ = nullptr;
        return false;
    }
    if (snd_pcm_nonblock(pcm_, 0) < 0 ||
        snd_pcm_set_params(pcm_, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.channels,
                           format.samplesPerSecond, 1, kLatencyUs) < 0) {
        Close();
        return false;
    }
    return true;
}

bool AlsaPcmOutput::Write(const BYTE* frames, std::size_t count) {
    while (pcm_ && count) {
        snd_pcm_sframes_t done = snd_pcm_writei(pcm_, frames, count);
        if (done < 0)
            done = snd_pcm_recover(pcm_, static_cast<int>(done), 1);
        if (done < 0)
            return false;
        const std::size_t frameBytes = static_cast<std::size_t>(snd_pcm_frames_to_bytes(pcm_, 1));
        frames += static_cast<std::size_t>(done) * frameBytes;
        count -= static_cast<std::size_t>(done);
    }
    return pcm_ != nullptr;
}

void AlsaPcmOutput::Drain() {
    if (pcm_)
        snd_pcm_drain(pcm_);
}

void AlsaPcmOutput::Drop() {
    if (pcm_)
        snd_pcm_drop(pcm_);
}

void AlsaPcmOutput::Close() {
    if (pcm_)
        snd_pcm_close(pcm_);
    pcm_ = nullptr;
}

} // namespace korvyn::platform
