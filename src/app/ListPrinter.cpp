#include "app/ListPrinter.h"

#include "core/StationTable.h"
#include "platform/system/TextCodec.h"
#include "settings/CLanguageTable.h"
#include "views/StationColumns.h"

namespace korvyn {
namespace {

void AppendField(std::string& out, const std::u16string& text) {
    out += platform::EscapeControls(platform::Utf16ToUtf8(text));
}

} // namespace

std::string ListAsText(const CLanguageTable& languages, const StationTable& stations, int rows) {
    std::string out;
    auto appendLine = [&out](const StationTexts& texts) {
        for (int column = 0; column < kStationColumnCount; ++column) {
            if (column > 0) {
                out += '\t';
            }
            AppendField(out, texts[column]);
        }
        out += '\n';
    };
    appendLine(StationHeadings(languages));
    StationTexts texts;
    for (int row = 0; row < rows; ++row) {
        StationRowTexts(stations, row, languages, texts);
        appendLine(texts);
    }
    return out;
}

} // namespace korvyn
