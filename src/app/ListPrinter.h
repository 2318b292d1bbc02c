#pragma once
// The network list as shown, as text for standard output: the ten column headings of
// the current language, then one line per list row in display order, fields separated
// by tabs, UTF-8. A tab or line break inside a field (a network name may hold one)
// becomes a space, so every row stays one line of ten fields.
#include <string>

class CLanguageTable;
class StationTable;

namespace korvyn {

std::string ListAsText(const CLanguageTable& languages, const StationTable& stations, int rows);

} // namespace korvyn
