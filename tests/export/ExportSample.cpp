// Writes the sample files that the Python readers check:
//   export_sample <folder> stations <rows>       -> stations.xls
//   export_sample <folder> csv <rows>            -> stations.csv
//   export_sample <folder> sst <even|odd|tight>  -> sst.xls
//   export_sample <folder> numbers               -> numbers.xls
//   export_sample <folder> streams <size>...     -> streams.cfb, streams "S0", "S1", ...
//                                                   with byte i of stream k = (i * 7 + k) % 251
// The folder stands in for the Documents folder; names go through the handheld mapping.
#include "ExportSamples.h"

#include "platform/system/AtomicFile.h"
#include "platform/system/DocumentsFolder.h"

#include <cstdio>
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
    }
    if (!ok)
        std::fprintf(stderr, "export_sample: writing %s failed\n", kind.c_str());
    return ok ? 0 : 1;
}
