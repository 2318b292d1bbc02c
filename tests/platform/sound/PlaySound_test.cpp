#include "platform/sound/PlaySound.h"

#include "platform/resources/WaveFile.h"
#include "platform/sound/AlsaPcmOutput.h"
#include "platform/sound/ToneWave.h"
#include "platform/sound/WaveSoundPlayer.h"
#include "support/FakePcmOutput.h"
#include "support/ResBuilder.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using namespace korvyn::platform;
using korvyn::test::PutDword;
using korvyn::test::PutWord;
using korvyn::test::ResBuilder;

using Device = korvyn::test::FakeDevice;
using FakeOutput = korvyn::test::FakePcmOutput;

// A RIFF WAVE file of silent PCM samples, after a chunk of odd length that is skipped.
std::vector<BYTE> Wave(WORD channels, DWORD rate, WORD bits, std::size_t sampleBytes) {
    std::vector<BYTE> out{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'L', 'I', 'S', 'T'};
    PutDword(out, 3);
    out.insert(out.end(), {1, 2, 3, 0, 'f', 'm', 't', ' '});
    PutDword(out, 16);
    PutWord(out, 1);
    PutWord(out, channels);
    PutDword(out, rate);
    PutDword(out, rate * channels * bits / 8);
    PutWord(out, static_cast<WORD>(channels * bits / 8));
    PutWord(out, bits);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    PutDword(out, static_cast<std::uint32_t>(sampleBytes));
    out.resize(out.size() + sampleBytes, 0x80);
    const auto riffSize = static_cast<std::uint32_t>(out.size() - 8);
    for (int i = 0; i < 4; ++i)
        out[4 + i] = static_cast<BYTE>(riffSize >> (8 * i));
    return out;
}

class WaveSoundPlayerTest : public ::testing::Test {
protected:
    void SetUp() override {
        module.reset(
            LoadResourceModule(ResBuilder()
                                   .Add(u"WAVE", std::uint16_t{157}, Wave(1, 11025, 8, 13780))
                                   .Add(u"WAVE", std::uint16_t{158}, Wave(2, 8000, 16, 1600))
                                   .Bytes()));
        ASSERT_TRUE(module);
    }
    BOOL Play(UINT id, DWORD flags = SND_RESOURCE | SND_ASYNC) {
        return player.Play(MAKEINTRESOURCE(id), module.get(), flags);
    }

    UniqueResourceModule module;
    std::shared_ptr<Device> device = std::make_shared<Device>();
    WaveSoundPlayer player{std::make_unique<FakeOutput>(device)};
};

TEST_F(WaveSoundPlayerTest, PlaysAResourceToTheEnd) {
    EXPECT_TRUE(Play(158, SND_RESOURCE)); // synchronous: done when the call returns
    EXPECT_EQ(device->WaitFor(0),
              (std::vector<std::string>{"open 8000 16x2", "write 400", "drain", "close"}));
    EXPECT_TRUE(Play(157));
    const auto events = device->WaitFor(4 + 1 + 26 + 2);
    EXPECT_EQ(events[4], "open 11025 8x1");
    EXPECT_EQ(events[5], "write 551") << "a twentieth of a second at a time";
    EXPECT_EQ(events[5 + 25], "write 5") << "13,780 samples";
    EXPECT_EQ(events.back(), "close");

    std::vector<BYTE> wave = Wave(1, 8000, 8, 500);
    EXPECT_TRUE(player.Play(reinterpret_cast<LPCWSTR>(wave.data()), nullptr, SND_MEMORY));
    wave.assign(wave.size(), 0); // the player took a copy
    const std::vector<std::string> memory = {"open 8000 8x1", "write 400", "write 100", "drain",
                                             "close"};
    EXPECT_TRUE(std::equal(memory.begin(), memory.end(), device->WaitFor(0).end() - 5));
}

// A new sound stops the playing one at once; a request returns while a sound plays, unless
// it is synchronous: then it waits for its own sound, after the others. (The program plays
// every sound asynchronously and never purges.)
TEST_F(WaveSoundPlayerTest, ANewSoundStopsThePlayingOne) {
    device->holdWrites = true;
    EXPECT_TRUE(Play(157));
    EXPECT_EQ(device->WaitFor(2)[1], "write 551") << "the first sound is playing";
    EXPECT_TRUE(Play(158));
    device->Release();
    EXPECT_EQ(device->WaitFor(4).at(2), "drop") << "stopped at its next chunk";
    EXPECT_TRUE(Play(158, SND_RESOURCE));
    const auto events = device->WaitFor(0);
    const std::vector<std::string> stopped = {"open 11025 8x1", "write 551", "drop",  "close",
                                              "open 8000 16x2", "write 400", "drain", "close"};
    ASSERT_GE(events.size(), stopped.size());
    EXPECT_EQ(std::vector<std::string>(events.begin(), events.begin() + 8), stopped);
    // The second sound may have been replaced by the third before or while it played;
    // either way the last one plays to its end.
    EXPECT_EQ(std::vector<std::string>(events.end() - 4, events.end()),
              std::vector<std::string>(stopped.end() - 4, stopped.end()));
}

// Damaged sounds: fuzz/WaveFile_fuzz.cpp.
TEST_F(WaveSoundPlayerTest, WithoutADeviceASoundGoesQuietly) {
    device->opens = false; // no audio device: the sound goes without a word
    EXPECT_TRUE(Play(158, SND_RESOURCE));
    device->opens = true;
    EXPECT_TRUE(Play(158, SND_RESOURCE));
    EXPECT_EQ(device->WaitFor(0), (std::vector<std::string>{"open 8000 16x2", "open 8000 16x2",
                                                            "write 400", "drain", "close"}));
}

// The installed player receives every sound: tests/core, tests/views.
TEST(AlsaPcmOutput, PlaysOnTheNullDeviceAndFailsQuietlyWithoutOne) {
    const std::vector<BYTE> wave = Wave(1, 11025, 8, 64);
    WaveFormat format;
    ASSERT_TRUE(ParseWave(wave.data(), wave.size(), format));
    const std::vector<BYTE> silence(64, 0x80);

    AlsaPcmOutput null("null");
    ASSERT_TRUE(null.Open(format));
    EXPECT_TRUE(null.Write(silence.data(), silence.size()));
    null.Close();
    EXPECT_FALSE(null.Write(silence.data(), silence.size())) << "closed";

    testing::internal::CaptureStderr();
    AlsaPcmOutput missing("korvyn_no_such_device");
    EXPECT_FALSE(missing.Open(format));
    // A tone made in memory plays on "null" and is dropped without a device, quietly.
    const std::vector<BYTE> tone = MakeToneWave(ToneShape{});
    for (const char* device : {"null", "korvyn_no_such_device"}) {
        WaveSoundPlayer player(std::make_unique<AlsaPcmOutput>(device));
        EXPECT_TRUE(player.Play(reinterpret_cast<LPCWSTR>(tone.data()), nullptr, SND_MEMORY));
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "") << "ALSA says nothing";
}

} // namespace
