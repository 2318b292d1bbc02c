// Writes the sample files that the Python readers check:
//   export_sample <folder> stations <rows>       -> stations.xls
//   export_sample <folder> csv <rows>            -> stations.csv
//   export_sample <folder> sst <even|odd|tight>  -> sst.xls
//   export_sample <folder> numbers               -> numbers.xls
//   export_sample <folder> streams <size>...     -> streams.cfb, streams "S0", "S1", ...
//                                                   with byte i of stream k = (i * 7 + k) % 251
//   export_sample <folder> names <file>          -> names.csv and names.xls: the network
//       names of <file> (one per line: the SSID length field, then up to 32 bytes in hex)
//       read from a simulated adapter into the station table and exported as the list
//       shows them; column 5 holds each station's MAC 02-4E-00-00-HH-LL, HHLL its line
// The folder stands in for the Documents folder; names go through the handheld mapping.
#include "ExportSamples.h"

#include "core/StationTable.h"
#include "platform/devices/SimulatedDriver.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/DocumentsFolder.h"
#include "settings/CSettings.h"
#include "wifi/DAvirIzev.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace korvyn;

namespace {

bool SaveSheet(void (*fill)(XlsWorksheet&, const std::string&), const std::string& arg,
               const char* name) {
    XlsWorkbook book;
    book.CreateBlank(1);
    fill(*book.FindSheet("Sheet1"), arg);
    return book.SaveToFile(name);
}

bool Streams(int argc, char** argv) {
    CompoundFile doc;
    if (!doc.CreateDocument("My Documents\\streams.cfb"))
        return false;
    for (int k = 3; k < argc; ++k) {
        const std::string name = "S" + std::to_string(k - 3);
        std::vector<BYTE> data(std::stoul(argv[k]));
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<BYTE>((i * 7 + (k - 3)) % 251);
        if (doc.MakeStream(name.c_str()) != CompoundFile::kOk ||
            doc.WriteStream(name.c_str(), data.data(), static_cast<DWORD>(data.size())) !=
                CompoundFile::kOk)
            return false;
    }
    return doc.Close();
}

// The names file as scans of a simulated adapter, 40 entries a scan.
platform::ScanScript NamesScript(const char* file) {
    platform::ScanScript script;
    script.adapters = {{u"wlan0", true}};
    std::ifstream in(file);
    std::string line;
    for (int k = 0; std::getline(in, line); ++k) {
        std::istringstream fields(line);
        ULONG length = 0;
        std::string hex, bytes;
        fields >> length >> hex;
        for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
            bytes += static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16));
        const BYTE mac[6] = {0x02, 0x4e, 0, 0, static_cast<BYTE>(k >> 8), static_cast<BYTE>(k)};
        NDIS_WLAN_BSSID entry = platform::MakeBssid(mac, static_cast<DWORD>(-50), 6, 1, 0, bytes);
        entry.Ssid.SsidLength = length;
        if (k % 40 == 0)
            script.scans.emplace_back();
        script.scans.back().push_back(entry);
    }
    return script;
}

bool Names(const char* file) {
    platform::ScanScript script = NamesScript(file);
    const std::size_t scans = script.scans.size();
    platform::SetWifiDriver(
        std::make_shared<platform::SimulatedDriver>(std::move(script), "names"));
    CSettings settings;
    StationTable table(settings);
    DAvirIzev adapter;
    ScanObservation observations[128];
    for (std::size_t s = 0; s < scans; ++s) {
        DWORD count = 0;
        if (!adapter.GetBSSIDs(u"wlan0", observations, sizeof observations, count) ||
            !adapter.RefreshBSSIDs(u"wlan0"))
            return false;
        table.Merge(observations, count);
    }
    DWORD total = 0, active = 0;
    table.RebuildView(total, active);

    XlsWorkbook csv, xls;
    XlsWorksheet* sheets[] = {test::MakeStationWorkbook(csv, 0, false),
                              test::MakeStationWorkbook(xls, 0, true)};
    StationRecord r{};
    for (int k = 0; table.GetViewItem(k, r); ++k) {
        char mac[18];
        std::snprintf(mac, sizeof mac, "%02X-%02X-%02X-%02X-%02X-%02X", r.mac[0], r.mac[1],
                      r.mac[2], r.mac[3], r.mac[4], r.mac[5]);
        for (XlsWorksheet* sheet : sheets) {
            for (int c = 1; c < 10; ++c)
                sheet->CellAt(k + 1, c)->SetWideText(
                    platform::Utf8ToUtf16(test::StationText(k, c)));
            sheet->CellAt(k + 1, 0)->SetWideText(r.ssid);
            sheet->CellAt(k + 1, 5)->SetWideText(platform::Utf8ToUtf16(mac));
        }
    }
    platform::SetWifiDriver(nullptr);
    platform::AtomicFile text;
    return text.OpenDevicePath("My Documents\\names.csv") &&
           sheets[0]->WriteDelimited(text.Stream(), ',', '"') && text.Commit() &&
           xls.SaveToFile("My Documents\\names.xls");
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: export_sample <folder> <kind> [arguments]\n");
        return 2;
    }
    platform::SetDocumentsFolderOverride(argv[1]);
    const std::string kind = argv[2];
    const std::string arg = argc > 3 ? argv[3] : "";
    bool ok = false;
    if (kind == "stations" || kind == "csv") {
        XlsWorkbook book;
        XlsWorksheet* sheet = test::MakeStationWorkbook(book, std::stoi(arg), kind == "stations");
        if (kind == "stations") {
            ok = book.SaveToFile("My Documents\\stations.xls");
        } else {
            platform::AtomicFile file;
            ok = file.OpenDevicePath("My Documents\\stations.csv") &&
                 sheet->WriteDelimited(file.Stream(), ',', '"') && file.Commit();
        }
    } else if (kind == "sst") {
        ok = SaveSheet(test::FillSstSample, arg, "My Documents\\sst.xls");
    } else if (kind == "numbers") {
        ok = SaveSheet([](XlsWorksheet& s, const std::string&) { test::FillNumberSample(s); }, arg,
                       "My Documents\\numbers.xls");
    } else if (kind == "streams") {
        ok = Streams(argc, argv);
    } else if (kind == "names") {
        ok = Names(arg.c_str());
    }
    if (!ok)
        std::fprintf(stderr, "export_sample: writing %s failed\n", kind.c_str());
    return ok ? 0 : 1;
}
