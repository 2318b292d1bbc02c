// The Save command on a full list of 65,535 stations:
//  - the real save, as the Save button runs it: from the station table through the
//    texts the list shows to a file flushed to disk, comma-separated and as a workbook;
//  - the serialisation alone: ready-made texts into comma-separated text in memory, a
//    ready-made sheet into its Workbook stream;
//  - the real comma-separated save beside Python's csv module writing the same rows to a
//    flushed file (QUOTE_ALL gives the same bytes, as every field here has a text), with
//    the ratios of CPU and wall time.
#include "core/StationTable.h"
#include "export/DelimitedText.h"
#include "export/XlsWorkbook.h"
#include "platform/system/DocumentsFolder.h"
#include "settings/CLanguageTable.h"
#include "settings/CSettings.h"
#include "support/Timing.h"
#include "views/StationColumns.h"
#include "views/StationExport.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using korvyn::bench::Ratio;
using korvyn::bench::ThreadSeconds;
using korvyn::bench::WallSeconds;

constexpr int kRows = 65535;
constexpr DWORD kScan = 128;

// A table of 65,535 stations seen in 512 scans of 128: names of every kind (plain,
// accented, Cyrillic, with quotes and commas), both types, open and secured, the last
// scan's stations active and the others greyed.
struct FullList {
    FullList() : table(settings) {
        settings.SetValue(CSettings::kSound, 1);
        languages.Load(0);
        std::vector<ScanObservation> scan;
        for (DWORD id = 0; id < kRows; ++id) {
            ScanObservation o{};
            const BYTE mac[6] = {0x00, 0x1b, 0x2c, BYTE(id >> 16), BYTE(id >> 8), BYTE(id)};
            std::copy(std::begin(mac), std::end(mac), o.mac);
            const char16_t* names[] = {u"Network ", u"Caf\u00e9 ", u"\u0421\u0435\u0442\u044c ",
                                       u"Say \"hi\", ", u"Office-"};
            std::u16string name = names[id % 5];
            for (int d = 10000; d > 0; d /= 10) {
                name += static_cast<char16_t>(u'0' + id / d % 10);
            }
            name.copy(o.ssid, name.size());
            o.rssi = -40 - static_cast<LONG>(id % 50);
            o.channel = 1 + id % 13;
            o.mode = id % 9 ? 1 : 0;
            o.privacy = id % 2;
            scan.push_back(o);
            if (scan.size() == kScan || id + 1 == kRows) {
                table.Merge(scan.data(), static_cast<DWORD>(scan.size()));
                scan.clear();
            }
        }
        DWORD total = 0, active = 0;
        table.RebuildView(total, active);
        rows = static_cast<int>(total);
    }

    korvyn::ExportOutcome Save(korvyn::ExportFormat format) const {
        return korvyn::ExportStationList(format, korvyn::StationHeadings(languages), rows,
                                         [this](int row, korvyn::StationTexts& texts) {
                                             korvyn::StationRowTexts(table, row, languages, texts);
                                         });
    }

    CSettings settings;
    CLanguageTable languages;
    StationTable table;
    int rows = 0;
};

const FullList& List() {
    static const FullList list;
    return list;
}

// The list's texts, made once.
const std::vector<korvyn::StationTexts>& Texts() {
    static const std::vector<korvyn::StationTexts> texts = [] {
        std::vector<korvyn::StationTexts> all(static_cast<std::size_t>(List().rows));
        for (int r = 0; r < List().rows; ++r) {
            korvyn::StationRowTexts(List().table, r, List().languages, all[r]);
        }
        return all;
    }();
    return texts;
}

// A Documents folder of the benchmark's own, removed afterwards.
class Documents {
public:
    Documents() {
        const char* base = std::getenv("TMPDIR");
        std::string path = std::string(base && *base ? base : "/tmp") + "/korvyn-bench-XXXXXX";
        folder_ = mkdtemp(path.data()) ? path : "";
        korvyn::platform::SetDocumentsFolderOverride(folder_);
    }
    ~Documents() {
        korvyn::platform::SetDocumentsFolderOverride({});
        std::error_code ec;
        std::filesystem::remove_all(folder_, ec);
    }
    std::filesystem::path File(const std::u16string& deviceName) const {
        const std::u16string prefix = u"My Documents\\";
        std::string name;
        for (char16_t c : deviceName.substr(prefix.size())) {
            name += static_cast<char>(c);
        }
        return std::filesystem::path(folder_) / name;
    }
    const std::string& Folder() const { return folder_; }

private:
    std::string folder_;
};

void Save(benchmark::State& state, korvyn::ExportFormat format) {
    Documents documents;
    List();
    for (auto _ : state) {
        if (!List().Save(format).saved) {
            state.SkipWithError("saving failed");
            return;
        }
    }
    state.counters["rows"] = List().rows;
}

void BM_CsvSave(benchmark::State& state) {
    Save(state, korvyn::ExportFormat::Csv);
}
BENCHMARK(BM_CsvSave)->Unit(benchmark::kMillisecond);

void BM_WorkbookSave(benchmark::State& state) {
    Save(state, korvyn::ExportFormat::Workbook);
}
BENCHMARK(BM_WorkbookSave)->Unit(benchmark::kMillisecond);

void BM_CsvSerialisation(benchmark::State& state) {
    const auto& texts = Texts();
    std::size_t bytes = 0;
    for (auto _ : state) {
        korvyn::DelimitedText text(',', '"');
        text.Reserve(texts.size() * 112);
        for (const auto& row : texts) {
            for (const auto& cell : row) {
                text.Text(std::u16string_view(cell));
            }
            text.EndRow();
        }
        bytes = text.Bytes().size();
        benchmark::DoNotOptimize(text.Bytes().data());
    }
    state.counters["rows"] = static_cast<double>(texts.size());
    state.SetBytesProcessed(static_cast<std::int64_t>(bytes * state.iterations()));
}
BENCHMARK(BM_CsvSerialisation)->Unit(benchmark::kMillisecond);

void BM_WorkbookSerialisation(benchmark::State& state) {
    XlsWorkbook book;
    book.CreateBlank(1);
    XlsWorksheet* sheet = book.FindSheet("Sheet1");
    const auto& texts = Texts();
    for (int r = 0; r < static_cast<int>(texts.size()); ++r) {
        for (int c = 0; c < korvyn::kStationColumnCount; ++c) {
            if (c == 1 || c == 2 || c == 6 || c == 7) {
                sheet->CellAt(r, c)->SetNumber(korvyn::LeadingNumber(texts[r][c]));
            } else {
                sheet->CellAt(r, c)->SetWideText(texts[r][c]);
            }
        }
    }
    for (auto _ : state) {
        std::vector<BYTE> stream = book.WorkbookStream();
        if (stream.empty()) {
            state.SkipWithError("the workbook could not be laid out");
            return;
        }
        benchmark::DoNotOptimize(stream.data());
    }
    state.counters["rows"] = static_cast<double>(texts.size());
}
BENCHMARK(BM_WorkbookSerialisation)->Unit(benchmark::kMillisecond);

std::string ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void BM_CsvSaveBesidePython(benchmark::State& state) {
    Documents documents;
    const korvyn::ExportOutcome first = List().Save(korvyn::ExportFormat::Csv);
    const std::filesystem::path ours = documents.File(first.fileName);
    const std::filesystem::path theirs = std::filesystem::path(documents.Folder()) / "python.csv";
    const std::string command = std::string("python3 ") + KORVYN_BENCH_DIR +
                                "/python_csv_writer.py '" + ours.string() + "' '" +
                                theirs.string() + "'";
    double ownCpu = 0, ownWall = 0, pythonCpu = 0, pythonWall = 0;
    for (auto _ : state) {
        const double cpu = ThreadSeconds(), wall = WallSeconds();
        if (!List().Save(korvyn::ExportFormat::Csv).saved) {
            state.SkipWithError("saving failed");
            return;
        }
        ownCpu += ThreadSeconds() - cpu;
        ownWall += WallSeconds() - wall;
        FILE* python = popen(command.c_str(), "r");
        double seconds[2] = {0, 0};
        const bool read =
            python != nullptr && std::fscanf(python, "%lf %lf", &seconds[0], &seconds[1]) == 2;
        if (python == nullptr || pclose(python) != 0 || !read) {
            state.SkipWithError("python3 did not write the rows");
            return;
        }
        pythonCpu += seconds[0];
        pythonWall += seconds[1];
    }
    if (ReadFile(ours) != ReadFile(theirs)) {
        state.SkipWithError("Python's file differs from the saved one");
        return;
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["rows"] = List().rows;
    state.counters["own_cpu_ms"] = ownCpu / n * 1e3;
    state.counters["python_cpu_ms"] = pythonCpu / n * 1e3;
    state.counters["cpu_ratio"] = Ratio(ownCpu, pythonCpu);
    state.counters["own_wall_ms"] = ownWall / n * 1e3;
    state.counters["python_wall_ms"] = pythonWall / n * 1e3;
    state.counters["wall_ratio"] = Ratio(ownWall, pythonWall);
}
BENCHMARK(BM_CsvSaveBesidePython)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
