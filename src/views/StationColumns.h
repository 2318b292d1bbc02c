#pragma once
// The ten columns of the network list: their headings, widths and the text each cell
// shows for a station. The list page, its export and the zoomed meter all read stations
// through these, so a cell reads the same on screen and in a saved file.
#include "core/StationRecord.h"
#include "wifi/ChannelUse.h"

#include <array>
#include <string>

class CLanguageTable;
class StationTable;

namespace korvyn {

inline constexpr int kStationColumnCount = 10;
// Column k is headed by language text kFirstHeadingText + k ("Name", "Sig", ...).
inline constexpr int kFirstHeadingText = 23;
// The column that shows the signal and its wedge.
inline constexpr int kSignalColumn = 1;

// The list font's height in pixels for a stored "Font" setting: 10 to 20 as stored, any
// other value 12. The signal wedge takes the same size.
int ListFontSize(long long stored);

// The width a column is inserted with.
int ColumnInitialWidth(int column);
// The width for a list font of fontSize pixels: the font size times the column's first
// factor, times its second, plus its addend, in double precision, truncated.
int ColumnWidth(int column, int fontSize);

// 100 - |rssi| as a decimal number.
std::u16string SignalText(LONG rssi);
// An OLE date as "yy/mm/dd hh:mm:ss" with the year modulo 1000; every field -1 when the
// date cannot be converted.
std::u16string DateText(double date);
// The channel as the Ch cell shows it: 2.4 and 5 GHz channels as plain numbers, 6 GHz
// ones with "6G" in front ("6G37"), anything outside 1 to 233 as "--".
std::u16string ChannelText(DWORD channel, Band band);
// The Sec cell: the language's text for open (0) and for WEP or an unknown kind of
// security; the short name of the kind otherwise ("WPA2", "WPA3", "WPA2-E", "OWE", ...),
// the same in every language.
std::u16string SecurityText(DWORD privacy, const CLanguageTable& languages);
// The text of one cell; columns outside 0 to 9 are empty. use is what the table keeps
// beside the record (StationTable::GetChannelUse); its band tells 6 GHz channels apart.
std::u16string StationCellText(const StationRecord& station, int column,
                               const CLanguageTable& languages, const ChannelUse& use = {});
// The same into out, whose memory is reused.
void StationCellText(const StationRecord& station, int column, const CLanguageTable& languages,
                     const ChannelUse& use, std::u16string& out);
// The station's name, at most its 32 characters.
std::u16string StationName(const StationRecord& station);

using StationTexts = std::array<std::u16string, kStationColumnCount>;
// The ten headings in the current language.
StationTexts StationHeadings(const CLanguageTable& languages);
// The cells of row `row` of the table's view; all empty when the view has no such row.
void StationRowTexts(const StationTable& stations, int row, const CLanguageTable& languages,
                     StationTexts& texts);

} // namespace korvyn
