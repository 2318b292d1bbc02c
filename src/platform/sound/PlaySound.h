#pragma once
// Sound playback as on the handheld: PlaySound of a "WAVE" resource or of a wave file in
// memory, asynchronous when asked, a new sound replacing one still playing.
#include "platform/WinTypes.h"
#include "platform/resources/Resources.h"

constexpr DWORD SND_SYNC = 0x00000000;
constexpr DWORD SND_ASYNC = 0x00000001;
constexpr DWORD SND_NODEFAULT = 0x00000002;
constexpr DWORD SND_MEMORY = 0x00000004;
constexpr DWORD SND_PURGE = 0x00000040;
constexpr DWORD SND_RESOURCE = 0x00040004;

// Plays the "WAVE" resource name of module (SND_RESOURCE), or the RIFF WAVE file that name
// points to (SND_MEMORY, module unused; its RIFF header gives its size, and the bytes are
// copied before the call returns); with SND_ASYNC the call returns at once. SND_PURGE, or
// a null name, stops the sound playing. FALSE when the sound does not exist or is not
// plain PCM; a missing audio device is not reported.
BOOL PlaySound(LPCWSTR name, HMODULE module, DWORD flags);

namespace korvyn::platform {

// Where play requests go; tests install one that records them.
class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    virtual BOOL Play(LPCWSTR name, HMODULE module, DWORD flags) = 0;
};

// nullptr restores the player that sounds through ALSA's default device.
void SetSoundPlayer(SoundPlayer* player);

} // namespace korvyn::platform
