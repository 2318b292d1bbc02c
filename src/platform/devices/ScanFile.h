#pragma once
// Scan files: a readable text form of adapters and scans, replayed by the simulated
// adapter and written by the recorder.
//
//   korvyn-scan 1
//   # a comment; blank lines are ignored
//   adapter wlan0 wireless
//   adapter eth0 other
//   scan
//   bss 00:0a:1b:2c:3d:4e -60 2437000 1 1 "Cafe \"Ritz\""
//   bss 00:0a:1b:2c:3d:4f -55 5180000 1 1 "Office" sec=wpa2 width=80 center=5210000
//   end
//
// bss fields: MAC, RSSI (signed decimal, or the raw 32-bit value in 0x hex), DSConfig (a
// channel number or kHz), infrastructure mode, privacy, and the SSID as a double-quoted
// string of up to 32 bytes with \", \\ and \xHH escapes; then optionally, in any order,
// sec= (the kind of security by its short name, wifi/SecurityClass.h; it must agree with
// privacy on open or secured and replaces its value), width= (MHz) and center= (kHz).
//
// Lines end in LF, CR LF or CR alone; a UTF-8 byte-order mark at the start is skipped. A
// file that ends inside a scan (the recorder was stopped by a crash or a full disk while
// writing it) is read without that scan.
#include "platform/devices/ScanScript.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace korvyn::platform {

// The most a scan file may hold: room for well over a million stations.
constexpr std::uint64_t kMaxScanFileSize = 256ull * 1024 * 1024;

// An incomplete last scan that a parse left out.
struct ScanFileCut {
    std::size_t line = 0;  // the line where it began; 0 when nothing was left out
    std::size_t bytes = 0; // the length of the file before it
};

// On failure, error reads "line N: what is wrong" (file content in it quoted, escaped and
// cut short) and script is left as it was.
bool ParseScanFile(std::string_view text, ScanScript& script, std::string& error,
                   ScanFileCut* cut = nullptr);

// As ParseScanFile, with the file's name in front of the message. The file must be a
// regular file of at most kMaxScanFileSize bytes. A scan left out is reported on
// standard error.
bool LoadScanFile(const std::filesystem::path& file, ScanScript& script, std::string& error,
                  ScanFileCut* cut = nullptr);

// The header line and one adapter line per adapter.
std::string FormatScanFileHeader(const std::vector<ScanAdapter>& adapters);

// One scan: "scan", a bss line per entry, "end".
std::string FormatScan(const std::vector<NDIS_WLAN_BSSID>& entries);

} // namespace korvyn::platform
