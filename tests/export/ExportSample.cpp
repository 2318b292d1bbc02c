// Writes the sample files that the Python readers check:
//   export_sample <folder> stations <rows>       -> <kind>.xls and cells.txt, the sheet's
//   export_sample <folder> sst <even|odd|tight>     cells as "row<TAB>column<TAB>N or
//   export_sample <folder> numbers                  T<TAB>number or UTF-8 text" lines
//   export_sample <folder> streams <size>... [<k>=<size>]...
//        -> streams.cfb: streams "S0", "S1", ... of the sizes, then stream k written again;
//           byte i of stream k is (i * 7 + k) % 251
// The folder stands in for the Documents folder; names go through the handheld mapping.
#include "ExportSamples.h"

#include "platform/system/DocumentsFolder.h"

#include <cstdio>
#include <string>
#include <vector>

using namespace korvyn;

namespace {

// Saves the first sheet as <kind>.xls and its cells, as they were set, as cells.txt.
bool SaveSheet(XlsWorkbook& book, const std::string& kind, const char* folder) {
    const XlsWorksheet& sheet = *book.FindSheet(kind == "stations" ? "WI-FI" : "Sheet1");
    std::FILE* cells = std::fopen((std::string(folder) + "/cells.txt").c_str(), "w");
    if (!cells)
        return false;
    for (int r = 0; r < sheet.RowCount(); ++r) {
        for (int c = 0; c < sheet.ColumnCount(); ++c) {
            const XlsCell& cell = *sheet.Cell(r, c);
            if (cell.GetType() == XlsCell::String || cell.GetType() == XlsCell::WideString)
                std::fprintf(cells, "%d\t%d\tT\t%s\n", r, c,
                             (cell.Text() + platform::Utf16ToUtf8(cell.WideText())).c_str());
            else if (cell.GetType() != XlsCell::Undefined)
                std::fprintf(cells, "%d\t%d\tN\t%.17g\n", r, c,
                             cell.DoubleValue() + cell.IntegerValue());
        }
    }
    return std::fclose(cells) == 0 && book.SaveToFile(("My Documents\\" + kind + ".xls").c_str());
}

bool Streams(int argc, char** argv) {
    CompoundFile doc;
    bool ok = doc.CreateDocument("My Documents\\streams.cfb");
    for (int a = 3, made = 0; a < argc && ok; ++a) {
        const std::string arg = argv[a];
        const auto equals = arg.find('=');
        const int k = equals == std::string::npos ? made++ : std::stoi(arg.substr(0, equals));
        const std::string name = "S" + std::to_string(k);
        std::vector<BYTE> data(
            std::stoul(arg.substr(equals == std::string::npos ? 0 : equals + 1)));
        for (std::size_t i = 0; i < data.size(); ++i)
            data[i] = static_cast<BYTE>((i * 7 + k) % 251);
        ok = (equals != std::string::npos || doc.MakeStream(name.c_str()) == CompoundFile::kOk) &&
             doc.WriteStream(name.c_str(), data.data(), static_cast<DWORD>(data.size())) ==
                 CompoundFile::kOk;
    }
    return doc.Close() && ok;
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
    XlsWorkbook book;
    book.CreateBlank(1);
    if (kind == "stations") {
        test::MakeStationWorkbook(book, std::stoi(arg), true);
        ok = SaveSheet(book, kind, argv[1]);
    } else if (kind == "sst") {
        test::FillSstSample(*book.FindSheet("Sheet1"), arg);
        ok = SaveSheet(book, kind, argv[1]);
    } else if (kind == "numbers") {
        test::FillNumberSample(*book.FindSheet("Sheet1"));
        ok = SaveSheet(book, kind, argv[1]);
    } else if (kind == "streams") {
        ok = Streams(argc, argv);
    }
    if (!ok)
        std::fprintf(stderr, "export_sample: writing %s failed\n", kind.c_str());
    return ok ? 0 : 1;
}
