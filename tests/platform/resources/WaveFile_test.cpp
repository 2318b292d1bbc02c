#include "platform/resources/WaveFile.h"

#include "WaveBytes.h"

#include <cstring>
#include <gtest/gtest.h>

using namespace korvyn::platform;
using namespace korvyn::test;

namespace {

TEST(WaveFile, ReadsFormatAndSamplesPastOtherChunks) {
    std::vector<BYTE> chunks;
    Chunk(chunks, "LIST", {1, 2, 3}); // odd length: padded
    Chunk(chunks, "fmt ", Format(1, 11025, 8));
    Chunk(chunks, "data", {0x80, 0x90, 0x70});
    const auto file = Riff(chunks);
    WaveFormat wave;
    ASSERT_TRUE(ParseWave(file.data(), file.size(), wave));
    EXPECT_EQ(wave.formatTag, WAVE_FORMAT_PCM);
    EXPECT_EQ(wave.channels, 1);
    EXPECT_EQ(wave.samplesPerSecond, 11025u);
    EXPECT_EQ(wave.averageBytesPerSecond, 11025u);
    EXPECT_EQ(wave.blockAlign, 1);
    EXPECT_EQ(wave.bitsPerSample, 8);
    ASSERT_EQ(wave.samples.size(), 3u);
    EXPECT_EQ(wave.samples[1], 0x90);
    EXPECT_EQ(wave.samples.data(), file.data() + file.size() - 4);
}

TEST(WaveFile, MalformedFilesAreRefused) {
    std::vector<BYTE> chunks;
    Chunk(chunks, "fmt ", Format(2, 44100, 16));
    Chunk(chunks, "data", std::vector<BYTE>(8, 0));
    const auto good = Riff(chunks);
    WaveFormat wave;
    ASSERT_TRUE(ParseWave(good.data(), good.size(), wave));
    wave = {};
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(ParseWave(good.data(), n, wave)) << n;
    EXPECT_EQ(wave.channels, 0);

    auto notWave = good;
    std::memcpy(notWave.data() + 8, "AVI ", 4);
    EXPECT_FALSE(ParseWave(notWave.data(), notWave.size(), wave));

    std::vector<BYTE> onlyData;
    Chunk(onlyData, "data", {1, 2});
    const auto noFormat = Riff(onlyData);
    EXPECT_FALSE(ParseWave(noFormat.data(), noFormat.size(), wave));

    std::vector<BYTE> shortFmt;
    Chunk(shortFmt, "fmt ", {1, 0, 1, 0});
    Chunk(shortFmt, "data", {1, 2});
    const auto truncatedFormat = Riff(shortFmt);
    EXPECT_FALSE(ParseWave(truncatedFormat.data(), truncatedFormat.size(), wave));

    // A RIFF size that ends the file before its own "WAVE" tag holds no chunk at all, and
    // nothing past the given bytes is read (the sanitizer build checks the latter).
    for (BYTE riffSize = 0; riffSize < 4; ++riffSize) {
        for (std::size_t size = 12; size <= 20; ++size) {
            std::vector<BYTE> tiny(good.begin(), good.begin() + static_cast<long>(size));
            tiny[4] = riffSize;
            tiny[5] = tiny[6] = tiny[7] = 0;
            EXPECT_FALSE(ParseWave(tiny.data(), tiny.size(), wave)) << int{riffSize} << " " << size;
        }
    }

    auto longData = good;
    longData[good.size() - 8 - 4] = 0xFF; // data chunk claims 255 bytes
    EXPECT_FALSE(ParseWave(longData.data(), longData.size(), wave));
    EXPECT_EQ(wave.channels, 0);
}

} // namespace
