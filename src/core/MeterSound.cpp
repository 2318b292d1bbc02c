#include "core/MeterSound.h"

#include "core/StationTable.h"
#include "platform/sound/PlaySound.h"
#include "settings/CSettings.h"

#include <algorithm>
#include <cmath>

namespace korvyn {
namespace {

constexpr double kLowestFrequency = 392.0; // G4

} // namespace

MeterSound::MeterSound(StationTable& stations, const CSettings& settings)
    : stations_(stations), settings_(settings) {}

MeterSound::~MeterSound() {
    Hide();
}

void MeterSound::Show() {
    shown_ = true;
    stations_.HoldNewStationSound(true);
}

void MeterSound::Hide() {
    if (shown_)
        stations_.HoldNewStationSound(false);
    shown_ = false;
}

int MeterSound::Step(LONG rssi) {
    return static_cast<int>((std::clamp(rssi, kLowestRssi, kHighestRssi) - kLowestRssi) / kStepDb);
}

double MeterSound::Frequency(int step) {
    return kLowestFrequency * std::exp2(std::clamp(step, 0, kSteps - 1) / 12.0);
}

platform::ToneShape MeterSound::Tone(int step) {
    return {Frequency(step), 70, 0.25, 8, 15};
}

platform::ToneShape MeterSound::Click() {
    return {110, 15, 0.5, 1, 14};
}

const std::vector<BYTE>& MeterSound::Wave(int step) {
    std::vector<BYTE>& wave = waves_[static_cast<std::size_t>(step + 1)];
    if (wave.empty())
        wave = platform::MakeToneWave(step < 0 ? Click() : Tone(step));
    return wave;
}

void MeterSound::Scan(DWORD number) {
    DWORD mute = 0;
    if (!shown_ || (settings_.GetValue(CSettings::kSound, mute) && mute != 0))
        return;
    StationRecord station{};
    const bool heard = stations_.GetByNumber(number, station) && station.active == 1;
    // The wave is kept, so the memory stays valid for as long as the sound may play.
    const std::vector<BYTE>& wave = Wave(heard ? Step(station.rssi) : -1);
    PlaySound(reinterpret_cast<LPCWSTR>(wave.data()), nullptr, SND_MEMORY | SND_ASYNC);
}

} // namespace korvyn
