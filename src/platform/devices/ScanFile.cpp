#include "platform/devices/ScanFile.h"

#include "platform/system/RegularFile.h"
#include "platform/system/TextCodec.h"
#include "platform/system/WholeNumber.h"
#include "wifi/SecurityClass.h"

#include <cctype>
#include <cstdio>

namespace korvyn::platform {
namespace {

constexpr std::string_view kHeader = "korvyn-scan";
constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(kBlanks);
    if (first == std::string_view::npos)
        return {};
    return s.substr(first, s.find_last_not_of(kBlanks) - first + 1);
}

// Takes the next blank-separated word off the front of s.
std::string_view NextWord(std::string_view& s) {
    s = Trim(s);
    const auto end = std::min(s.find_first_of(kBlanks), s.size());
    const std::string_view word = s.substr(0, end);
    s.remove_prefix(end);
    return word;
}

bool ParseMac(std::string_view text, BYTE (&mac)[6]) {
    if (text.size() != 17)
        return false;
    for (int i = 0; i < 6; ++i) {
        const int hi = HexDigit(text[i * 3]);
        const int lo = HexDigit(text[i * 3 + 1]);
        if (hi < 0 || lo < 0 || (i < 5 && text[i * 3 + 2] != ':'))
            return false;
        mac[i] = static_cast<BYTE>(hi * 16 + lo);
    }
    return true;
}

// A signed decimal, or the raw 32-bit value in 0x hex.
bool ParseRssi(std::string_view text, DWORD& raw) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        return text.size() <= 8 && text[0] != '-' && ParseWholeNumber(text, raw, 16);
    }
    std::int32_t value = 0;
    if (!ParseWholeNumber(text, value))
        return false;
    raw = static_cast<DWORD>(value);
    return true;
}

// The quoted SSID of a bss line; fields receives what follows the closing quote.
bool ParseSsid(std::string_view text, std::string& ssid, std::string_view& fields,
               std::string& why) {
    if (text.empty() || text[0] != '"') {
        why = "expected the SSID in double quotes";
        return false;
    }
    ssid.clear();
    for (std::size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '"') {
            fields = text.substr(i + 1);
            if (!fields.empty() && kBlanks.find(fields[0]) == std::string_view::npos) {
                why = "text after the SSID";
                return false;
            }
            if (ssid.size() > 32) {
                why = "SSID longer than 32 bytes";
                return false;
            }
            return true;
        }
        if (c != '\\') {
            ssid += c;
            continue;
        }
        if (i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\')) {
            ssid += text[++i];
        } else if (i + 3 < text.size() && text[i + 1] == 'x' && HexDigit(text[i + 2]) >= 0 &&
                   HexDigit(text[i + 3]) >= 0) {
            ssid += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
            i += 3;
        } else {
            why = "bad escape in the SSID (use \\\", \\\\ or \\xHH)";
            return false;
        }
    }
    why = "SSID without its closing quote";
    return false;
}

// The optional key=value fields after the SSID: sec=, width= and center=, each at most
// once; any other key is refused, so that a misspelt one does not go unnoticed.
bool ParseFields(std::string_view rest, NDIS_WLAN_BSSID& entry, std::string& why) {
    bool sec = false, width = false, center = false;
    for (std::string_view field = NextWord(rest); !field.empty(); field = NextWord(rest)) {
        const auto equals = field.find('=');
        const std::string_view key = field.substr(0, equals);
        const std::string_view value =
            equals == std::string_view::npos ? std::string_view() : field.substr(equals + 1);
        bool& seen = key == "sec" ? sec : key == "width" ? width : center;
        if (key != "sec" && key != "width" && key != "center") {
            why = "unknown field \"" + std::string(field) + "\" (expected sec=, width= or center=)";
            return false;
        }
        if (seen) {
            why = std::string(key) + "= given twice";
            return false;
        }
        seen = true;
        if (key == "sec") {
            DWORD privacy = 0;
            if (!SecurityFromName(value, privacy)) {
                why = "bad sec= (expected open, wep, wpa, wpa2, wpa3, wpa2/3 or owe, with -e for "
                      "802.1X, or secured)";
                return false;
            }
            if ((privacy == 0) != (entry.Privacy == 0)) {
                why = "sec=" + std::string(value) + " disagrees with privacy " +
                      std::to_string(entry.Privacy);
                return false;
            }
            entry.Privacy = privacy;
        } else if (key == "width") {
            ULONG mhz = 0;
            if (!ParseWholeNumber(value, mhz) ||
                (mhz != 20 && mhz != 40 && mhz != 80 && mhz != 160 && mhz != 320)) {
                why = "bad width= (expected 20, 40, 80, 160 or 320)";
                return false;
            }
            entry.Configuration.FHConfig.HopPattern = mhz;
        } else {
            ULONG khz = 0;
            if (!ParseWholeNumber(value, khz) || khz == 0) {
                why = "bad center= (expected the centre frequency in kHz)";
                return false;
            }
            entry.Configuration.FHConfig.HopSet = khz;
        }
    }
    return true;
}

bool ParseBss(std::string_view rest, NDIS_WLAN_BSSID& entry, std::string& why) {
    BYTE mac[6];
    DWORD rssi = 0;
    ULONG ds = 0, mode = 0, privacy = 0;
    if (!ParseMac(NextWord(rest), mac))
        why = "bad MAC address (expected six hex pairs such as 00:0a:1b:2c:3d:4e)";
    else if (!ParseRssi(NextWord(rest), rssi))
        why = "bad RSSI (expected a signed decimal or 0x and up to 8 hex digits)";
    else if (!ParseWholeNumber(NextWord(rest), ds))
        why = "bad DSConfig (expected a channel number or a frequency in kHz)";
    else if (!ParseWholeNumber(NextWord(rest), mode))
        why = "bad infrastructure mode";
    else if (!ParseWholeNumber(NextWord(rest), privacy))
        why = "bad privacy value";
    else {
        std::string ssid;
        std::string_view fields;
        if (!ParseSsid(Trim(rest), ssid, fields, why))
            return false;
        entry = MakeBssid(mac, rssi, ds, mode, privacy, ssid);
        return ParseFields(fields, entry, why);
    }
    return false;
}

bool IsValidUtf8At(const std::string& s, std::size_t i, std::size_t& length) {
    const auto b = static_cast<unsigned char>(s[i]);
    length = b >= 0xF0 && b <= 0xF4 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 && b < 0xE0 ? 2 : 0;
    if (length == 0 || b > 0xF4 || i + length > s.size())
        return false;
    const std::u16string wide = Utf8ToUtf16(std::string_view(s).substr(i, length));
    return wide.find(u'\uFFFD') == std::u16string::npos;
}

} // namespace

bool ParseScanFile(std::string_view text, ScanScript& script, std::string& error,
                   ScanFileCut* cut) {
    ScanScript result;
    bool header = false;
    bool inScan = false;
    bool partial = false; // the line is the last one and has no line end
    std::size_t scanLine = 0, scanStart = 0;
    std::size_t lineStart = 0;
    std::size_t number = 0;
    std::string_view line;
    auto finish = [&](std::size_t cutLine, std::size_t cutBytes) {
        if (cutLine != 0 && inScan)
            result.scans.pop_back();
        script = std::move(result);
        if (cut)
            *cut = {cutLine, cutBytes};
        return true;
    };
    auto fail = [&](std::size_t at, const std::string& why) {
        // The recorder writes a scan at a time: a file cut while one was written ends in
        // a part of it, which is left out.
        if (partial && header && (inScan || std::string_view("scan").starts_with(line)))
            return inScan ? finish(scanLine, scanStart) : finish(number, lineStart);
        error = "line " + std::to_string(at) + ": " + why;
        return false;
    };
    std::size_t at = text.starts_with("\xEF\xBB\xBF") ? 3 : 0;
    while (at < text.size()) {
        lineStart = at;
        std::size_t end = text.find_first_of("\r\n", at);
        partial = end == std::string_view::npos;
        if (partial)
            end = text.size();
        line = Trim(text.substr(at, end - at));
        at = end + (text.substr(end, 2) == "\r\n" ? 2 : 1);
        ++number;
        if (line.empty() || line[0] == '#')
            continue;
        std::string_view rest = line;
        const std::string_view word = NextWord(rest);
        if (!header) {
            if (word != kHeader)
                return fail(number, "not a scan file (it must begin with \"korvyn-scan 1\")");
            if (Trim(rest) != "1")
                return fail(number, "unsupported scan file version " + QuoteExcerpt(Trim(rest)) +
                                        " (expected 1)");
            header = true;
        } else if (word == "adapter") {
            const std::string_view name = NextWord(rest);
            const std::string_view kind = NextWord(rest);
            if (inScan || !result.scans.empty())
                return fail(number, "adapters must come before the first scan");
            if (name.empty() || (kind != "wireless" && kind != "other") || !Trim(rest).empty())
                return fail(number, "expected \"adapter NAME wireless\" or \"adapter NAME other\"");
            const std::u16string wide = Utf8ToUtf16(name);
            for (const ScanAdapter& a : result.adapters)
                if (a.name == wide)
                    return fail(number, "adapter " + QuoteExcerpt(name) + " listed twice");
            result.adapters.push_back({wide, kind == "wireless"});
        } else if (word == "scan") {
            if (inScan)
                return fail(number, "scan inside a scan (the one of line " +
                                        std::to_string(scanLine) + " has no end)");
            if (!Trim(rest).empty())
                return fail(number, "text after \"scan\"");
            inScan = true;
            scanLine = number;
            scanStart = lineStart;
            result.scans.emplace_back();
        } else if (word == "end") {
            if (!inScan)
                return fail(number, "end without scan");
            if (!Trim(rest).empty())
                return fail(number, "text after \"end\"");
            inScan = false;
        } else if (word == "bss") {
            if (!inScan)
                return fail(number, "bss outside a scan");
            NDIS_WLAN_BSSID entry;
            std::string why;
            if (!ParseBss(rest, entry, why))
                return fail(number, why);
            result.scans.back().push_back(entry);
        } else {
            return fail(number, "unknown line " + QuoteExcerpt(word));
        }
    }
    if (!header)
        return fail(1, "not a scan file (it must begin with \"korvyn-scan 1\")");
    if (inScan)
        return finish(scanLine, scanStart);
    return finish(0, text.size());
}

bool LoadScanFile(const std::filesystem::path& file, ScanScript& script, std::string& error,
                  ScanFileCut* cut) {
    const std::string name = EscapeControls(file.string());
    std::string text, why;
    switch (ReadRegularFile(file, kMaxScanFileSize, text, why)) {
    case ReadStatus::Read:
        break;
    case ReadStatus::Missing:
        error = name + ": no such file";
        return false;
    case ReadStatus::TooLarge:
    case ReadStatus::Refused:
        error = name + ": " + why;
        return false;
    }
    ScanFileCut left;
    if (!ParseScanFile(text, script, error, &left)) {
        error = name + ": " + error;
        return false;
    }
    if (left.line != 0)
        std::fprintf(stderr, "korvyn: %s: the last scan (line %zu) is incomplete and is left out\n",
                     name.c_str(), left.line);
    if (cut)
        *cut = left;
    return true;
}

std::string FormatScanFileHeader(const std::vector<ScanAdapter>& adapters) {
    std::string out = std::string(kHeader) + " 1\n";
    for (const ScanAdapter& a : adapters)
        out += "adapter " + Utf16ToUtf8(a.name) + (a.wireless ? " wireless\n" : " other\n");
    return out;
}

std::string FormatScan(const std::vector<NDIS_WLAN_BSSID>& entries) {
    std::string out = "scan\n";
    char field[64];
    for (const NDIS_WLAN_BSSID& e : entries) {
        const BYTE* m = e.MacAddress;
        const auto raw = static_cast<DWORD>(e.Rssi);
        std::snprintf(field, sizeof field, "bss %02x:%02x:%02x:%02x:%02x:%02x ", m[0], m[1], m[2],
                      m[3], m[4], m[5]);
        out += field;
        // A value shifted left by 16 bits is written as the driver gave it.
        if ((raw & 0xFFFFu) == 0 && (raw >> 24) == 0xFFu)
            std::snprintf(field, sizeof field, "0x%08x", raw);
        else
            std::snprintf(field, sizeof field, "%d", static_cast<int>(e.Rssi));
        out += field;
        // The kinds of security go by name after the SSID, behind the privacy flag.
        const bool named = e.Privacy > kSecurityUnknown && !SecurityName(e.Privacy).empty();
        std::snprintf(field, sizeof field, " %u %u %u \"", e.Configuration.DSConfig,
                      e.InfrastructureMode, named ? ULONG{kSecurityUnknown} : e.Privacy);
        out += field;
        const std::string ssid(reinterpret_cast<const char*>(e.Ssid.Ssid),
                               std::min<std::size_t>(e.Ssid.SsidLength, sizeof e.Ssid.Ssid));
        for (std::size_t i = 0; i < ssid.size(); ++i) {
            const auto c = static_cast<unsigned char>(ssid[i]);
            std::size_t length = 0;
            if (c == '"' || c == '\\') {
                out += '\\';
                out += static_cast<char>(c);
            } else if (c >= 0x20 && c < 0x7F) {
                out += static_cast<char>(c);
            } else if (c >= 0x80 && IsValidUtf8At(ssid, i, length)) {
                out.append(ssid, i, length); // readable names stay readable
                i += length - 1;
            } else {
                std::snprintf(field, sizeof field, "\\x%02x", c);
                out += field;
            }
        }
        out += '"';
        if (named) {
            out += " sec=";
            for (const char c : SecurityName(e.Privacy))
                out += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        if (e.Configuration.FHConfig.HopPattern)
            out += " width=" + std::to_string(e.Configuration.FHConfig.HopPattern);
        if (e.Configuration.FHConfig.HopSet)
            out += " center=" + std::to_string(e.Configuration.FHConfig.HopSet);
        out += '\n';
    }
    out += "end\n";
    return out;
}

} // namespace korvyn::platform
