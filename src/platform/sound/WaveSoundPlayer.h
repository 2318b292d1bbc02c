#pragma once
// Plays "WAVE" resources and wave files in memory on a worker thread, so that a play
// request returns at once. A new request replaces the sound playing: the worker stops it
// within a twentieth of a second of sound and starts the new one; requests never queue,
// so a slow device drops sounds rather than falls behind. A device that cannot be opened
// drops the sound without a word.
#include "platform/sound/PcmOutput.h"
#include "platform/sound/PlaySound.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace korvyn::platform {

class WaveSoundPlayer : public SoundPlayer {
public:
    explicit WaveSoundPlayer(std::unique_ptr<PcmOutput> output);
    ~WaveSoundPlayer() override;
    WaveSoundPlayer(const WaveSoundPlayer&) = delete;
    WaveSoundPlayer& operator=(const WaveSoundPlayer&) = delete;

    BOOL Play(LPCWSTR name, HMODULE module, DWORD flags) override;

private:
    struct Sound {
        WaveFormat format;      // samples point into data
        std::vector<BYTE> data; // a copy: the module or memory may go before the sound ends
    };

    void Run();
    void PlayOne(const Sound& sound, std::uint64_t request);
    bool Superseded(std::uint64_t request);

    std::unique_ptr<PcmOutput> output_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::optional<Sound> pending_;
    std::uint64_t requested_ = 0; // number of the latest request, a stop included
    std::uint64_t finished_ = 0;  // the latest request the worker is done with
    bool stopping_ = false;
    std::thread worker_;
};

} // namespace korvyn::platform
