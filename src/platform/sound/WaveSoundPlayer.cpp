#include "platform/sound/WaveSoundPlayer.h"

#include <algorithm>
#include <cstring>

namespace korvyn::platform {
namespace {

constexpr DWORD kChunksPerSecond = 20; // how often a playing sound looks for a newer one

bool Playable(const WaveFormat& f) {
    return f.formatTag == WAVE_FORMAT_PCM && (f.channels == 1 || f.channels == 2) &&
           (f.bitsPerSample == 8 || f.bitsPerSample == 16) && f.samplesPerSecond > 0 &&
           f.samplesPerSecond <= 384000;
}

} // namespace

WaveSoundPlayer::WaveSoundPlayer(std::unique_ptr<PcmOutput> output) : output_(std::move(output)) {}

WaveSoundPlayer::~WaveSoundPlayer() {
    {
        std::lock_guard hold(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (worker_.joinable())
        worker_.join();
}

BOOL WaveSoundPlayer::Play(LPCWSTR name, HMODULE module, DWORD flags) {
    if (!name || (flags & SND_PURGE)) {
        std::lock_guard hold(mutex_);
        ++requested_;
        pending_.reset();
        changed_.notify_all();
        return TRUE;
    }
    const BYTE* data = nullptr;
    std::size_t size = 0;
    Sound sound;
    if ((flags & SND_RESOURCE) == SND_RESOURCE) {
        if (!LoadResourceBytes(module, name, u"WAVE", data, size))
            return FALSE;
    } else if (flags & SND_MEMORY) {
        data = reinterpret_cast<const BYTE*>(name);
        if (std::memcmp(data, "RIFF", 4) != 0)
            return FALSE;
        DWORD riffSize = 0;
        std::memcpy(&riffSize, data + 4, sizeof riffSize);
        size = std::size_t{riffSize} + 8;
    } else {
        return FALSE;
    }
    sound.data.assign(data, data + size);
    if (!ParseWave(sound.data.data(), sound.data.size(), sound.format) || !Playable(sound.format))
        return FALSE;

    std::unique_lock hold(mutex_);
    const std::uint64_t request = ++requested_;
    pending_ = std::move(sound);
    if (!worker_.joinable())
        worker_ = std::thread([this] { Run(); });
    changed_.notify_all();
    if (!(flags & SND_ASYNC))
        changed_.wait(hold, [&] { return finished_ >= request || stopping_; });
    return TRUE;
}

void WaveSoundPlayer::Run() {
    std::unique_lock hold(mutex_);
    for (;;) {
        changed_.wait(hold, [&] { return stopping_ || pending_; });
        if (stopping_)
            return;
        const Sound sound = std::move(*pending_);
        pending_.reset();
        const std::uint64_t request = requested_;
        hold.unlock();
        PlayOne(sound, request);
        hold.lock();
        finished_ = std::max(finished_, request);
        changed_.notify_all();
    }
}

bool WaveSoundPlayer::Superseded(std::uint64_t request) {
    std::lock_guard hold(mutex_);
    return stopping_ || requested_ != request;
}

void WaveSoundPlayer::PlayOne(const Sound& sound, std::uint64_t request) {
    const WaveFormat& f = sound.format;
    if (!output_->Open(f))
        return;
    const std::size_t frameBytes = std::size_t{f.channels} * (f.bitsPerSample / 8);
    const std::size_t frames = f.samples.size() / frameBytes;
    const std::size_t chunk = std::max<std::size_t>(1, f.samplesPerSecond / kChunksPerSecond);
    bool whole = true;
    for (std::size_t at = 0; at < frames && whole; at += chunk) {
        whole = !Superseded(request) &&
                output_->Write(f.samples.data() + at * frameBytes, std::min(chunk, frames - at));
    }
    if (whole)
        output_->Drain();
    else
        output_->Drop();
    output_->Close();
}

} // namespace korvyn::platform
