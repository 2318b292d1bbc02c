#pragma once
// The zoomed meter's sound: while the meter is shown and the "Sound" setting allows it,
// every scan plays a short tone whose pitch follows the station's signal, or a low click
// when the scan did not hear the station. The new-station sound is held meanwhile, so
// that only the meter speaks.
//
// The tones: one semitone higher for every 3 dB, from G4 (392 Hz) at -100 dBm and below
// to C#7 (about 2,217 Hz) at -10 dBm and above, 31 steps in all; each 70 ms long at a
// quarter of full scale, rising over 8 ms and falling over 15 ms so that it starts and
// ends without a click. The click: 15 ms at 110 Hz, half of full scale, rising in 1 ms
// and dying away over the rest, well below and much shorter than any tone. Both are
// 16-bit, 22,050 samples per second, made in memory when first needed and kept.
#include "platform/WinTypes.h"
#include "platform/sound/ToneWave.h"

#include <array>
#include <vector>

class CSettings;
class StationTable;

namespace korvyn {

class MeterSound {
public:
    static constexpr LONG kLowestRssi = -100; // dBm, and everything weaker
    static constexpr LONG kHighestRssi = -10; // dBm, and everything stronger
    static constexpr LONG kStepDb = 3;
    static constexpr int kSteps = (kHighestRssi - kLowestRssi) / kStepDb + 1;

    MeterSound(StationTable& stations, const CSettings& settings);
    ~MeterSound();
    MeterSound(const MeterSound&) = delete;
    MeterSound& operator=(const MeterSound&) = delete;

    // The meter is shown (held new-station sound) or gone (the sound back).
    void Show();
    void Hide();
    // After a scan, while shown: the tone for station `number`, or the click when the
    // latest scan did not hear it (or there is no such station). The sound is started
    // and the call returns; nothing plays when "Sound" mutes or the meter is not shown.
    void Scan(DWORD number);

    // The pitch step of a signal, 0 (weakest) to kSteps - 1, and its tone and frequency.
    static int Step(LONG rssi);
    static double Frequency(int step);
    static platform::ToneShape Tone(int step);
    static platform::ToneShape Click();

private:
    const std::vector<BYTE>& Wave(int step); // step -1 is the click

    StationTable& stations_;
    const CSettings& settings_;
    bool shown_ = false;
    std::array<std::vector<BYTE>, kSteps + 1> waves_; // the click, then the tones
};

} // namespace korvyn
