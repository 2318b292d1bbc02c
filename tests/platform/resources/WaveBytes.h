#pragma once
// RIFF WAVE files built chunk by chunk for the tests.
#include "support/ResBuilder.h"

#include <vector>

namespace korvyn::test {

inline void Chunk(std::vector<BYTE>& out, const char* tag, const std::vector<BYTE>& body) {
    out.insert(out.end(), tag, tag + 4);
    PutDword(out, static_cast<std::uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() % 2)
        out.push_back(0);
}

// The body of a PCM "fmt " chunk.
inline std::vector<BYTE> Format(WORD channels, DWORD rate, WORD bits) {
    std::vector<BYTE> fmt;
    PutWord(fmt, 1);
    PutWord(fmt, channels);
    PutDword(fmt, rate);
    PutDword(fmt, rate * channels * bits / 8);
    PutWord(fmt, static_cast<WORD>(channels * bits / 8));
    PutWord(fmt, bits);
    return fmt;
}

inline std::vector<BYTE> Riff(const std::vector<BYTE>& chunks) {
    std::vector<BYTE> out{'R', 'I', 'F', 'F'};
    PutDword(out, static_cast<std::uint32_t>(chunks.size() + 4));
    out.insert(out.end(), {'W', 'A', 'V', 'E'});
    out.insert(out.end(), chunks.begin(), chunks.end());
    return out;
}

// A whole file of silent PCM samples.
inline std::vector<BYTE> Wave(WORD channels, DWORD rate, WORD bits, std::size_t sampleBytes) {
    std::vector<BYTE> chunks;
    Chunk(chunks, "fmt ", Format(channels, rate, bits));
    Chunk(chunks, "data", std::vector<BYTE>(sampleBytes, 0x80));
    return Riff(chunks);
}

} // namespace korvyn::test
