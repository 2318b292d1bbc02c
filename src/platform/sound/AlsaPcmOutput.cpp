#include "platform/sound/AlsaPcmOutput.h"

#include <alsa/asoundlib.h>
#include <dlfcn.h>

#include <mutex>

namespace korvyn::platform {
namespace {

constexpr unsigned kLatencyUs = 100000; // short, so that a new sound starts soon

void Silent(const char*, int, const char*, int, const char*, ...) {}

// The sound library is loaded when the first sound opens the device, not with the
// program: most runs play nothing, and loading it costs every start.
struct Alsa {
    decltype(&snd_pcm_open) open = nullptr;
    decltype(&snd_pcm_nonblock) nonblock = nullptr;
    decltype(&snd_pcm_set_params) setParams = nullptr;
    decltype(&snd_pcm_writei) writei = nullptr;
    decltype(&snd_pcm_recover) recover = nullptr;
    decltype(&snd_pcm_frames_to_bytes) framesToBytes = nullptr;
    decltype(&snd_pcm_drain) drain = nullptr;
    decltype(&snd_pcm_drop) drop = nullptr;
    decltype(&snd_pcm_close) close = nullptr;
    bool loaded = false;
};

template <typename F> bool Find(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(::dlsym(library, name));
    return function != nullptr;
}

// Null when the library or one of its functions is missing: then no sound plays.
const Alsa* LoadAlsa() {
    static Alsa alsa;
    static std::once_flag once;
    std::call_once(once, [] {
        void* library = ::dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
        decltype(&snd_lib_error_set_handler) setErrorHandler = nullptr;
        if (library == nullptr || !Find(library, "snd_lib_error_set_handler", setErrorHandler) ||
            !Find(library, "snd_pcm_open", alsa.open) ||
            !Find(library, "snd_pcm_nonblock", alsa.nonblock) ||
            !Find(library, "snd_pcm_set_params", alsa.setParams) ||
            !Find(library, "snd_pcm_writei", alsa.writei) ||
            !Find(library, "snd_pcm_recover", alsa.recover) ||
            !Find(library, "snd_pcm_frames_to_bytes", alsa.framesToBytes) ||
            !Find(library, "snd_pcm_drain", alsa.drain) ||
            !Find(library, "snd_pcm_drop", alsa.drop) ||
            !Find(library, "snd_pcm_close", alsa.close)) {
            return;
        }
        setErrorHandler(Silent);
        alsa.loaded = true;
    });
    return alsa.loaded ? &alsa : nullptr;
}

} // namespace

AlsaPcmOutput::AlsaPcmOutput(std::string device) : device_(std::move(device)) {}

AlsaPcmOutput::~AlsaPcmOutput() {
    Close();
}

bool AlsaPcmOutput::Open(const WaveFormat& format) {
    Close();
    const Alsa* alsa = LoadAlsa();
    if (alsa == nullptr) {
        return false;
    }
    const snd_pcm_format_t sampleFormat =
        format.bitsPerSample == 8 ? SND_PCM_FORMAT_U8 : SND_PCM_FORMAT_S16_LE;
    // Opened without blocking, so that a busy device fails at once instead of waiting.
    if (alsa->open(&pcm_, device_.c_str(), SND_PCM_STREAM_PLAYBACK, SND_PCM_NONBLOCK) < 0) {
        pcm_ = nullptr;
        return false;
    }
    if (alsa->nonblock(pcm_, 0) < 0 ||
        alsa->setParams(pcm_, sampleFormat, SND_PCM_ACCESS_RW_INTERLEAVED, format.channels,
                        format.samplesPerSecond, 1, kLatencyUs) < 0) {
        Close();
        return false;
    }
    return true;
}

// pcm_ is only ever set after the library loaded, so the calls below find it there.
bool AlsaPcmOutput::Write(const BYTE* frames, std::size_t count) {
    while (pcm_ && count) {
        const Alsa* alsa = LoadAlsa();
        snd_pcm_sframes_t done = alsa->writei(pcm_, frames, count);
        if (done < 0)
            done = alsa->recover(pcm_, static_cast<int>(done), 1);
        if (done < 0)
            return false;
        const std::size_t frameBytes = static_cast<std::size_t>(alsa->framesToBytes(pcm_, 1));
        frames += static_cast<std::size_t>(done) * frameBytes;
        count -= static_cast<std::size_t>(done);
    }
    return pcm_ != nullptr;
}

void AlsaPcmOutput::Drain() {
    if (pcm_)
        LoadAlsa()->drain(pcm_);
}

void AlsaPcmOutput::Drop() {
    if (pcm_)
        LoadAlsa()->drop(pcm_);
}

void AlsaPcmOutput::Close() {
    if (pcm_)
        LoadAlsa()->close(pcm_);
    pcm_ = nullptr;
}

} // namespace korvyn::platform
