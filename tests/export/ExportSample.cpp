// Writes the sample files that the Python readers check:
//   export_sample <folder> stations <rows>       -> stations.xls
//   export_sample <folder> sst <even|odd|tight>  -> sst.xls
//   export_sample <folder> numbers               -> numbers.xls
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

bool SaveSheet(void (*fill)(XlsWorksheet&, const std::string&), const std::string& arg,
               const char* name) {
    XlsWorkbook book;
    book.CreateBlank(1);
    fill(*book.FindSheet("Sheet1"), arg);
    return book.SaveToFile(name);
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
    if (kind == "stations") {
        XlsWorkbook book;
        test::MakeStationWorkbook(book, std::stoi(arg), true);
        ok = book.SaveToFile("My Documents\\stations.xls");
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
