// The Save command on a full list: 65,535 station rows of ten columns, built into a
// worksheet and written as a workbook or as comma-separated text.
#include "export/XlsWorkbook.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/DocumentsFolder.h"
#include "platform/system/TextCodec.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

constexpr int kRows = 65535;
using Row = std::array<std::u16string, 10>;

// What the list shows: names, signal or "-----", channel, type, security, MAC, best and
// worst signal, first and last seen.
const std::vector<Row>& ListTexts() {
    static const std::vector<Row> rows = [] {
        std::vector<Row> list(kRows);
        char text[10][40];
        for (int k = 0; k < kRows; ++k) {
            std::snprintf(text[0], 40, "Network %05d", k);
            std::snprintf(text[1], 40, k % 4 ? "%d" : "-----", 40 + k % 50);
            std::snprintf(text[2], 40, "%d", 1 + k % 13);
            std::snprintf(text[3], 40, "%s", k % 9 ? "AP" : "Peer");
            std::snprintf(text[4], 40, "%s", k % 2 ? "WEP" : "Open");
            std::snprintf(text[5], 40, "00-1B-2C-%02X-%02X-%02X", k >> 16, (k >> 8) & 255, k & 255);
            std::snprintf(text[6], 40, "%d", 60 + k % 30);
            std::snprintf(text[7], 40, "%d", 20 + k % 30);
            std::snprintf(text[8], 40, "06/12/26 %02d:%02d:%02d", k / 3600 % 24, k / 60 % 60,
                          k % 60);
            std::snprintf(text[9], 40, "06/12/26 20:%02d:%02d", k / 60 % 60, k % 60);
            for (int c = 0; c < 10; ++c)
                list[k][c] = korvyn::platform::Utf8ToUtf16(text[c]);
        }
        return list;
    }();
    return rows;
}

XlsWorksheet* BuildSheet(XlsWorkbook& book, bool workbookForm) {
    static const char16_t* kHeaders[10] = {u"Name",       u"Sig",      u"Ch",       u"Type",
                                           u"Sec",        u"MAC",      u"Best sig", u"Worst sig",
                                           u"First seen", u"Last seen"};
    book.CreateBlank(1);
    book.RenameSheet("Sheet1", "WI-FI");
    XlsWorksheet* sheet = book.FindSheet("WI-FI");
    for (int c = 0; c < 10; ++c)
        sheet->CellAt(0, c)->SetWideText(kHeaders[c]);
    const auto& list = ListTexts();
    for (int r = 0; r < kRows; ++r) {
        for (int c = 0; c < 10; ++c) {
            XlsCell* cell = sheet->CellAt(r + 1, c);
            if (workbookForm && (c == 1 || c == 2 || c == 6 || c == 7))
                cell->SetNumber(
                    std::strtod(korvyn::platform::LowBytes(list[r][c]).c_str(), nullptr));
            else
                cell->SetWideText(list[r][c]);
        }
    }
    return sheet;
}

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

private:
    std::string folder_;
};

void BM_WorkbookExport(benchmark::State& state) {
    Documents documents;
    ListTexts();
    for (auto _ : state) {
        XlsWorkbook book;
        BuildSheet(book, true);
        if (!book.SaveToFile("My Documents\\Korvyn 20261206201931.xls"))
            state.SkipWithError("saving failed");
    }
}
BENCHMARK(BM_WorkbookExport)->Unit(benchmark::kMillisecond);

void BM_CsvExport(benchmark::State& state) {
    Documents documents;
    ListTexts();
    for (auto _ : state) {
        XlsWorkbook book;
        XlsWorksheet* sheet = BuildSheet(book, false);
        korvyn::platform::AtomicFile file;
        if (!file.OpenDevicePath("My Documents\\Korvyn 20261206201931.csv") ||
            !sheet->WriteDelimited(file.Stream(), ',', '"') || !file.Commit())
            state.SkipWithError("saving failed");
    }
}
BENCHMARK(BM_CsvExport)->Unit(benchmark::kMillisecond);

} // namespace
