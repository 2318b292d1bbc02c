// Reading the settings file takes time in proportion to its size, whatever its shape: many
// keys, many values in one key, keys nested as deep as a file may hold them, and one long
// hex value over many lines. Each shape from 1 KiB to the 1 MiB a settings file may have;
// the fitted complexity should come out as N for every one.
#include "platform/registry/RegFileFormat.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <functional>
#include <string>

namespace {

using korvyn::platform::kMaxKeyDepth;
using korvyn::platform::ParseRegFile;
using korvyn::platform::RegParseError;

// "REGEDIT4", then pieces made by piece(i) for as long as the file stays within bytes.
std::string Fill(std::size_t bytes, const std::string& head,
                 const std::function<std::string(int)>& piece, const std::string& tail = "") {
    std::string text = "REGEDIT4\n\n" + head;
    for (int i = 0;; ++i) {
        std::string next = piece(i);
        if (text.size() + next.size() + tail.size() > bytes)
            break;
        text += next;
    }
    return text + tail;
}

std::string Number(const char* format, int i) {
    char text[96];
    std::snprintf(text, sizeof text, format, i);
    return text;
}

std::string ManyKeys(std::size_t bytes) {
    return Fill(bytes, "", [](int i) {
        return Number("[HKEY_CURRENT_USER\\Software\\Key%06d]\n\"v\"=dword:00000001\n\n", i);
    });
}

std::string ManyValues(std::size_t bytes) {
    return Fill(bytes, "[HKEY_CURRENT_USER\\Software\\Korvyn]\n",
                [](int i) { return Number("\"Value%06d\"=dword:0000000c\n", i); });
}

std::string DeepKeys(std::size_t bytes) {
    std::string below;
    for (std::size_t level = 1; level < kMaxKeyDepth; ++level)
        below += "\\Level";
    return Fill(bytes, "", [&below](int i) {
        return Number("[HKEY_CURRENT_USER\\Top%06d", i) + below + "]\n\"v\"=dword:00000001\n\n";
    });
}

std::string LongHex(std::size_t bytes) {
    return Fill(
        bytes, "[HKEY_CURRENT_USER\\Software\\Korvyn]\n\"Blob\"=hex:00",
        [](int i) { return (i % 25 == 24 ? ",\\\n  " : ",") + Number("%02x", i & 0xFF); }, "\n");
}

void Parse(benchmark::State& state, std::string (*make)(std::size_t)) {
    const std::string text = make(static_cast<std::size_t>(state.range(0)));
    for (auto _ : state) {
        RegParseError error;
        auto tree = ParseRegFile(text, error);
        if (!tree) {
            state.SkipWithError(error.reason.c_str());
            break;
        }
        benchmark::DoNotOptimize(tree);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
    state.SetComplexityN(static_cast<std::int64_t>(text.size()));
}

} // namespace

BENCHMARK_CAPTURE(Parse, many_keys, ManyKeys)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 20)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(Parse, many_values, ManyValues)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 20)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(Parse, deep_keys, DeepKeys)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 20)
    ->Complexity(benchmark::oN);
BENCHMARK_CAPTURE(Parse, long_hex, LongHex)
    ->RangeMultiplier(4)
    ->Range(1 << 10, 1 << 20)
    ->Complexity(benchmark::oN);
