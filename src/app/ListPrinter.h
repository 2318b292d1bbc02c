#pragma once
// The network list as shown, as text for standard output: the ten column headings of
// the current language, then one line per list row in display order, fields separated
// by tabs, UTF-8. Control characters inside a field (a network name may hold a tab, a line
// break or a terminal's escape sequence) are written as "\xHH", so every row stays one
// line of ten fields and nothing in the air can steer the terminal.
#include <string>

class CLanguageTable;
class StationTable;

namespace korvyn {

std::string ListAsText(const CLanguageTable& languages, const StationTable& stations, int rows);

} // namespace korvyn
