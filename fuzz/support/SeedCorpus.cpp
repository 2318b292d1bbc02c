// Writes the seed corpus of every fuzz target from the program's own data and writers:
//   korvyn_fuzz_seeds <folder>   (the repository's fuzz/corpus)
// Each target NAME_fuzz gets <folder>/NAME_fuzz/<seed>. Rerun after changing a format.
#include "export/ExportSamples.h"
#include "export/XlsWorkbook.h"
#include "platform/devices/ScanFile.h"
#include "platform/devices/SimScenarios.h"
#include "platform/devices/WifiDriver.h"
#include "platform/registry/RegFileFormat.h"
#include "platform/registry/Registry.h"
#include "platform/resources/Resources.h"
#include "support/FuzzInput.h"
#include "support/RelayoutPage.h"
#include "support/ResBuilder.h"

#include <linux/nl80211.h>
#include <netlink/attr.h>
#include <netlink/genl/genl.h>
#include <netlink/msg.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;
using namespace korvyn;
using korvyn::fuzz::FuzzOutput;

namespace {

fs::path g_root;

void Seed(const std::string& target, const std::string& name, std::string_view bytes) {
    const fs::path folder = g_root / (target + "_fuzz");
    fs::create_directories(folder);
    std::ofstream(folder / name, std::ios::binary).write(bytes.data(), bytes.size());
}

std::string_view View(const std::vector<BYTE>& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::vector<BYTE> Resource(UINT id, LPCWSTR type) {
    const BYTE* data = nullptr;
    std::size_t size = 0;
    if (!platform::LoadResourceBytes(GetModuleHandle(nullptr), MAKEINTRESOURCE(id), type, data,
                                     size))
        return {};
    return {data, data + size};
}

std::string NetworkList(const std::vector<NDIS_WLAN_BSSID>& entries) {
    std::vector<BYTE> area(8192 - kNdisuioHeaderSize);
    area.resize(platform::WriteNetworkList(entries, area.data(), static_cast<DWORD>(area.size())));
    return std::string(View(area));
}

void ScanSeeds() {
    const platform::ScanScript demo = platform::DemoScenario();
    std::string file = platform::FormatScanFileHeader(demo.adapters);
    for (int s = 0; s < 3; ++s)
        file += platform::FormatScan(demo.scans[s]);
    Seed("ScanFile", "demo", file);
    Seed("ScanFile", "none", platform::FormatScanFileHeader(platform::NoneScenario().adapters));
    // Regressions: a recording cut in its last scan, other line ends and a byte-order mark,
    // terminal escape sequences and a long line where a message quotes the file.
    Seed("ScanFile", "regression-cut-recording", file.substr(0, file.size() - 20));
    std::string crOnly = file, crLf = "\xEF\xBB\xBF";
    std::replace(crOnly.begin(), crOnly.end(), '\n', '\r');
    for (char c : file)
        crLf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    Seed("ScanFile", "regression-cr-only", crOnly);
    Seed("ScanFile", "regression-bom-crlf", crLf);
    Seed("ScanFile", "regression-escapes",
         "korvyn-scan 1\nadapter \x1b]2;owned\x07 other\n\x1b[2J" + std::string(5000, 'w') + "\n");

    // Lists of the demo's scans as the device hands them out, with each hide setting.
    for (std::uint8_t flags = 0; flags < 4; ++flags) {
        FuzzOutput list;
        list.U8(flags);
        for (int s = flags * 7; s < flags * 7 + 3; ++s)
            list.Chunk(NetworkList(demo.scans[s]));
        Seed("NetworkList", "demo-" + std::to_string(flags), list.Bytes());
    }
    FuzzOutput empty;
    Seed("NetworkList", "empty", empty.U8(0).Chunk(NetworkList({})).Bytes());
}

// The BSS attributes the kernel would send for a network entry.
void PutBss(nl_msg* m, const NDIS_WLAN_BSSID& e) {
    nla_put(m, NL80211_BSS_BSSID, 6, e.MacAddress);
    const DWORD ds = e.Configuration.DSConfig;
    nla_put_u32(m, NL80211_BSS_FREQUENCY, ds <= 14 ? 2407 + 5 * ds : ds / 1000);
    nla_put_u16(m, NL80211_BSS_BEACON_INTERVAL, 100);
    nla_put_u16(m, NL80211_BSS_CAPABILITY,
                static_cast<std::uint16_t>((e.InfrastructureMode == 1   ? 0x0001
                                            : e.InfrastructureMode == 0 ? 0x0002
                                                                        : 0) |
                                           (e.Privacy ? 0x0010 : 0)));
    nla_put_u32(m, NL80211_BSS_SIGNAL_MBM,
                static_cast<std::uint32_t>(platform::RssiDbm(static_cast<DWORD>(e.Rssi)) * 100));
    nla_put_u32(m, NL80211_BSS_SEEN_MS_AGO, 250);
    std::string ies("\x01\x04\x82\x84\x8b\x96", 6);
    ies += '\0';
    ies += static_cast<char>(e.Ssid.SsidLength);
    ies.append(reinterpret_cast<const char*>(e.Ssid.Ssid), e.Ssid.SsidLength);
    // A secured network of a known kind offers PSK and SAE in its RSN element (PSK in a
    // WPA element for WPA); one with a width gives every operation element.
    if (e.Privacy == 3)
        ies += std::string("\xdd\x16\x00\x50\xf2\x01\x01\x00\x00\x50\xf2\x02\x01\x00"
                           "\x00\x50\xf2\x02\x01\x00\x00\x50\xf2\x02",
                           24);
    else if (e.Privacy > 3)
        ies += std::string("\x30\x18\x01\x00\x00\x0f\xac\x04\x01\x00\x00\x0f\xac\x04"
                           "\x02\x00\x00\x0f\xac\x02\x00\x0f\xac\x08\x00\x00",
                           26);
    if (e.Configuration.FHConfig.HopPattern != 0) {
        ies += std::string("\x3d\x16\x24\x05", 4) + std::string(20, '\0'); // HT, 40 MHz
        ies += std::string("\xc0\x05\x01\x2a\x32\x00\x00", 7);             // VHT, 160 MHz
        ies += std::string("\xff\x0c\x24\x00\x00\x02\x00\x00\x00\x25\x03\x27\x2f\x00",
                           14); // HE with 6 GHz information, 160 MHz
        ies += std::string("\xff\x09\x6a\x01\x00\x00\x00\x00\x04\x27\x1f", 11); // EHT
    }
    nla_put(m, NL80211_BSS_INFORMATION_ELEMENTS, static_cast<int>(ies.size()), ies.data());
}

void Nl80211Seeds() {
    const auto scan = platform::DemoScenario().scans[20];
    for (std::size_t i = 0; i < scan.size(); i += 4) {
        std::unique_ptr<nl_msg, decltype(&nlmsg_free)> m(nlmsg_alloc(), &nlmsg_free);
        genlmsg_put(m.get(), 0, 1, 0x1c, 0, NLM_F_MULTI, NL80211_CMD_NEW_SCAN_RESULTS, 0);
        nlattr* bss = nla_nest_start(m.get(), NL80211_ATTR_BSS);
        PutBss(m.get(), scan[i]);
        nla_nest_end(m.get(), bss);
        // Byte 0 chooses the form: 0 the nested set alone, 1 the whole attribute set.
        const bool whole = i % 8 == 4;
        auto* header = static_cast<genlmsghdr*>(nlmsg_data(nlmsg_hdr(m.get())));
        const std::string_view payload =
            whole ? std::string_view(reinterpret_cast<const char*>(genlmsg_attrdata(header, 0)),
                                     static_cast<std::size_t>(genlmsg_attrlen(header, 0)))
                  : std::string_view(static_cast<const char*>(nla_data(bss)),
                                     static_cast<std::size_t>(nla_len(bss)));
        Seed("Nl80211Scan", "demo-" + std::to_string(i), std::string(1, whole ? 1 : 0) += payload);
    }
}

void ResourceSeeds() {
    const UINT bitmaps[] = {150, 153, 172, 210};
    for (UINT id : bitmaps)
        Seed("Bitmap", "bitmap-" + std::to_string(id), View(Resource(id, RT_BITMAP)));
    for (UINT id : {160u, 175u})
        Seed("MenuTemplate", "menu-" + std::to_string(id), View(Resource(id, RT_MENU)));
    Seed("WaveFile", "new-station", View(Resource(157, u"WAVE")));
    for (UINT id : {102u, 148u, 149u, 185u, 186u})
        Seed("DialogTemplate", "dialog-" + std::to_string(id), View(Resource(id, RT_DIALOG)));

    test::ResBuilder res;
    WCHAR text[64];
    std::map<unsigned, std::u16string> strings;
    for (UINT id = 2000; id < 2037; ++id)
        if (int n = LoadString(GetModuleHandle(nullptr), id, text, 64); n > 0)
            strings[id] = std::u16string(text, n);
    res.AddStrings(strings)
        .Add(WORD(2), WORD(210), Resource(210, RT_BITMAP))
        .Add(WORD(4), WORD(160), Resource(160, RT_MENU))
        .Add(WORD(5), WORD(148), Resource(148, RT_DIALOG));
    Seed("ResFile", "small-module", View(res.Bytes()));

    for (short shift : {0, 3, -2})
        Seed("RelayoutDialog_gui", "page" + std::to_string(shift),
             View(fuzz::RelayoutPageTemplate(shift)));
    Seed("RelayoutDialog_gui", "dialog-148", View(Resource(148, RT_DIALOG)));
}

void RegistrySeeds() {
    const fs::path file = g_root / ".registry.reg";
    platform::SetRegistryFile(file);
    HKEY key = nullptr;
    RegCreateKeyEx(HKEY_CURRENT_USER, u"Software\\Brindlemoor\\Korvyn", 0, nullptr, 0, KEY_WRITE,
                   nullptr, &key, nullptr);
    const DWORD twelve = 12;
    RegSetValueEx(key, u"Font", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&twelve), 4);
    const std::u16string adapter = u"wlan0 \"quoted\" \\ \u00e9\n";
    RegSetValueEx(key, u"Adapter", 0, REG_SZ, reinterpret_cast<const BYTE*>(adapter.c_str()),
                  static_cast<DWORD>(2 * adapter.size() + 2));
    const BYTE blob[] = {0, 1, 2, 0xFE, 0xFF};
    RegSetValueEx(key, u"Blob", 0, REG_BINARY, blob, sizeof blob);
    RegSetValueEx(key, nullptr, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(u"a\0b\0"), 10);
    RegCloseKey(key);
    std::ifstream in(file, std::ios::binary);
    Seed("RegFile", "settings", std::string(std::istreambuf_iterator<char>(in), {}));
    platform::SetRegistryFile({});
    fs::remove(file);

    // Regressions: files that once took time or memory out of proportion to their size,
    // and one just beyond the size limit.
    using platform::kMaxRegFileSize;
    std::string deep = "REGEDIT4\n[HKEY_CURRENT_USER";
    for (int level = 0; level < 20000; ++level)
        deep += "\\k";
    Seed("RegFile", "regression-deep-key", deep + "]\n");
    std::string values = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Korvyn]\n";
    char line[48];
    for (int i = 0; values.size() + 32 < kMaxRegFileSize; ++i) {
        std::snprintf(line, sizeof line, "\"v%06d\"=dword:%08x\n", i, i);
        values += line;
    }
    Seed("RegFile", "regression-many-values", values);
    std::string hex = "REGEDIT4\n[HKEY_CURRENT_USER\\Software\\Korvyn]\n\"Blob\"=hex:00";
    for (int i = 1; hex.size() + 8 < kMaxRegFileSize; ++i) {
        std::snprintf(line, sizeof line, i % 25 ? ",%02x" : ",\\\n  %02x", i & 0xFF);
        hex += line;
    }
    Seed("RegFile", "regression-long-hex", hex + "\n");
    Seed("RegFile", "regression-too-large", "REGEDIT4\n" + std::string(kMaxRegFileSize, ';'));
}

// A sheet as the workbook target's cell list.
void PutSheet(FuzzOutput& out, const XlsWorksheet& sheet, std::uint8_t index) {
    for (int r = 0; r < sheet.RowCount(); ++r) {
        for (int c = 0; c < sheet.ColumnCount(); ++c) {
            const XlsCell* cell = sheet.Cell(r, c);
            if (cell->GetType() == XlsCell::Undefined)
                continue;
            out.U8(index).U16(static_cast<std::uint16_t>(r)).U8(static_cast<std::uint8_t>(c));
            switch (cell->GetType()) {
            case XlsCell::WideString: {
                const std::u16string& t = cell->WideText();
                out.U8(0).Chunk({reinterpret_cast<const char*>(t.data()), 2 * t.size()});
                break;
            }
            case XlsCell::String:
                out.U8(1).Chunk(cell->Text());
                break;
            case XlsCell::Double:
                out.U8(2).F64(cell->DoubleValue());
                break;
            default:
                out.U8(3).U32(static_cast<std::uint32_t>(cell->IntegerValue()));
            }
        }
    }
}

void WorkbookSeeds() {
    {
        XlsWorkbook book;
        FuzzOutput out;
        out.U8(0).U8(1).Chunk("WI-FI");
        PutSheet(out, *test::MakeStationWorkbook(book, 40, true), 0);
        Seed("Workbook", "stations", out.Bytes());
    }
    XlsWorkbook book;
    book.CreateBlank(2);
    test::FillNumberSample(*book.FindSheet("Sheet1"));
    test::FillSstSample(*book.FindSheet("Sheet2"), "odd");
    FuzzOutput out;
    out.U8(1).U8(0).U8(0);
    PutSheet(out, *book.FindSheet("Sheet1"), 0);
    // The long strings as repeats, so that the seed stays small.
    out.U8(1).U16(0).U8(0).U8(5).U16(300).Chunk(std::string("\x51\x01\x51\x01", 4));
    out.U8(1).U16(65535).U8(0).U8(0x82).F64(-0.0); // the last row there is
    Seed("Workbook", "numbers-and-long-text", out.Bytes());
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: korvyn_fuzz_seeds <corpus folder>\n");
        return 2;
    }
    g_root = argv[1];
    ScanSeeds();
    Nl80211Seeds();
    ResourceSeeds();
    RegistrySeeds();
    WorkbookSeeds();
    return 0;
}
