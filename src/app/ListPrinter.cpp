#include "app/ListPrinter.h"

#include "core/StationTable.h"
#include "platform/system/TextCodec.h"
#include "settings/CLanguageTable.h"
#include "views/StationColumns.h"

namespace korvyn {
namespace {

void AppendField(std::string& out, const std::u16string& text) {
    std::string field = platform::Utf16ToUtf8(text);
    for (char& c : field) {
        if (c == '\t' || c == '\n' || c == '\r') {
            c = ' ';
        }
    }
    out += field;
}

} // namespace

std::string ListAsText(const CLanguageTable& languages, const StationTable& stations, int rows) {
    std::string out;
    for (int column = 0; column < kStationColumnCount; ++column) {
        if (column > 0) {
            out += '\t';
        }
        AppendField(out, languages.Text(kFirstHeadingText + column));
    }
    out += '\n';
    for (int row = 0; row < rows; ++row) {
        StationRecord station{};
        const bool found = stations.GetViewItem(row, station);
        for (int column = 0; column < kStationColumnCount; ++column) {
            if (column > 0) {
                out += '\t';
            }
            if (found) {
                AppendField(out, StationCellText(station, column, languages));
            }
        }
        out += '\n';
    }
    return out;
}

} // namespace korvyn
