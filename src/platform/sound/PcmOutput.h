#pragma once
// An audio device that takes PCM samples; ALSA in the program, a fake in tests.
#include "platform/resources/WaveFile.h"

#include <cstddef>

namespace korvyn::platform {

class PcmOutput {
public:
    virtual ~PcmOutput() = default;
    // False when there is no device or it cannot play the format.
    virtual bool Open(const WaveFormat& format) = 0;
    // Blocks until the frames are queued; false when the device failed.
    virtual bool Write(const BYTE* frames, std::size_t count) = 0;
    virtual void Drain() = 0; // lets what was written play to the end
    virtual void Drop() = 0;  // stops at once
    virtual void Close() = 0;
};

} // namespace korvyn::platform
