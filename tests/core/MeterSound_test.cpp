// The meter's sound: the pitch of each signal, and the waves of the tones and the click
// as measured from their samples.
#include "core/MeterSound.h"

#include "support/WaveMeasure.h"

#include <gtest/gtest.h>

#include <cmath>

using korvyn::MeterSound;
using korvyn::test::Measure;
using korvyn::test::MeasuredWave;

namespace {

double Pitch(LONG rssi) {
    return MeterSound::Frequency(MeterSound::Step(rssi));
}

} // namespace

TEST(MeterSound, PitchRisesASemitoneEvery3DbAndStopsAtBothEnds) {
    const double semitone = std::exp2(1.0 / 12) - 1e-9;
    for (LONG rssi = -130; rssi <= 20; ++rssi) {
        SCOPED_TRACE(rssi);
        const bool inRange = rssi >= -100 && rssi < -10;
        EXPECT_LE(Pitch(rssi + 1) / Pitch(rssi), semitone + 1e-6) << "never more than a step";
        if (inRange) {
            EXPECT_GE(Pitch(std::min(rssi + 3, -10)) / Pitch(rssi), semitone);
        } else {
            EXPECT_EQ(Pitch(rssi + 1), Pitch(rssi)) << "clamped";
        }
    }
    EXPECT_GE(Pitch(-130), 300) << "loud enough on a small speaker";
    EXPECT_LE(Pitch(20), 2500) << "not shrill";
}

TEST(MeterSound, TonesAndTheClickAreWholeWavesOfTheirPitchAndLength) {
    const struct {
        const char* what;
        korvyn::platform::ToneShape shape;
    } rows[] = {{"weakest tone", MeterSound::Tone(0)},
                {"strongest tone", MeterSound::Tone(MeterSound::kSteps - 1)},
                {"click", MeterSound::Click()}};
    MeasuredWave measured[3];
    for (int i = 0; i < 3; ++i) {
        const auto& shape = rows[i].shape;
        const std::vector<BYTE> wave = korvyn::platform::MakeToneWave(shape);
        const MeasuredWave m = measured[i] = Measure(wave.data(), wave.size());
        SCOPED_TRACE(rows[i].what);
        ASSERT_TRUE(m.pcm16Mono);
        EXPECT_EQ(wave.size(), 44 + 2 * m.frames) << "nothing after the samples";
        EXPECT_NEAR(m.milliseconds, shape.milliseconds, 0.1);
        EXPECT_NEAR(m.hertz, shape.frequency, shape.frequency * 0.02);
        EXPECT_NEAR(m.peak, shape.amplitude * 32767, shape.amplitude * 32767 * 0.05);
    }
    for (const MeasuredWave& tone : {measured[0], measured[1]}) {
        EXPECT_LT(tone.edges, tone.peak / 20) << "faded in and out";
        EXPECT_LT(measured[2].hertz * 2, tone.hertz) << "the click sounds lower";
        EXPECT_LT(measured[2].milliseconds * 3, tone.milliseconds) << "and shorter";
    }
}
