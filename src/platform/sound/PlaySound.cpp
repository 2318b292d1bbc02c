#include "platform/sound/PlaySound.h"

#include "platform/sound/AlsaPcmOutput.h"
#include "platform/sound/WaveSoundPlayer.h"

#include <atomic>

namespace {

std::atomic<korvyn::platform::SoundPlayer*> g_player{nullptr};

korvyn::platform::SoundPlayer& AlsaPlayer() {
    static korvyn::platform::WaveSoundPlayer player(
        std::make_unique<korvyn::platform::AlsaPcmOutput>());
    return player;
}

} // namespace

BOOL PlaySound(LPCWSTR name, HMODULE module, DWORD flags) {
    korvyn::platform::SoundPlayer* player = g_player.load();
    return (player ? *player : AlsaPlayer()).Play(name, module, flags);
}

namespace korvyn::platform {

void SetSoundPlayer(SoundPlayer* player) {
    g_player.store(player);
}

} // namespace korvyn::platform
