#pragma once
// PCM output through an ALSA device. ALSA's own error messages are silenced, so that a
// machine without sound stays quiet in every sense.
#include "platform/sound/PcmOutput.h"

#include <string>

struct _snd_pcm;

namespace korvyn::platform {

class AlsaPcmOutput : public PcmOutput {
public:
    explicit AlsaPcmOutput(std::string device = "default");
    ~AlsaPcmOutput() override;

    bool Open(const WaveFormat& format) override;
    bool Write(const BYTE* frames, std::size_t count) override;
    void Drain() override;
    void Drop() override;
    void Close() override;

private:
    std::string device_;
    _snd_pcm* pcm_ = nullptr;
};

} // namespace korvyn::platform
