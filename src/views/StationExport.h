#pragma once
// Saving the station list as shown: a header row and the list's texts, as comma-separated
// text or as a workbook with the sheet "WI-FI", into "My Documents\Korvyn
// YYYYMMDDhhmmss.csv" (or ".xls"). The file appears whole or not at all.
//
// A workbook sheet holds 65,535 rows under its header: longer lists are cut there and the
// outcome tells how many rows were left out. The comma-separated file holds every row.
#include "views/StationColumns.h"

#include <array>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

struct SYSTEMTIME;

namespace korvyn {

enum class ExportFormat { Csv, Workbook };

// The profile's "saveas" value: 0 comma-separated text, anything else a workbook.
inline ExportFormat ExportFormatFromSetting(int value) {
    return value == 0 ? ExportFormat::Csv : ExportFormat::Workbook;
}

// Fills the ten texts of list row `row`.
using StationRowSource = std::function<void(int row, StationTexts& texts)>;

struct ExportOutcome {
    std::u16string fileName; // the handheld's name: "My Documents\Korvyn ....csv"
    // Where the file went, or the folder that could not take it.
    std::filesystem::path path;
    bool saved = false;
    std::string reason;  // why the file could not be saved
    int rowsLeftOut = 0; // list rows a workbook could not hold
};

// "My Documents\Korvyn YYYYMMDDhhmmss.csv" or ".xls".
std::u16string ExportFileName(ExportFormat format, const SYSTEMTIME& time);

// The leading decimal number of a text as the standard conversion reads it (blanks,
// sign, digits, point, exponent); 0 when there is none ("-----").
double LeadingNumber(std::u16string_view text);

// Writes rows 0 to rowCount - 1 under the header; the file is named by the local time
// when the texts have been read.
ExportOutcome ExportStationList(ExportFormat format, const StationTexts& headers, int rowCount,
                                const StationRowSource& rows);

// The message boxes' texts: the file's real path, with "~" for the home folder (and the
// rows left out), or the failure with the file or folder it concerns.
std::u16string ExportSavedMessage(const ExportOutcome& outcome);
std::u16string ExportFailedMessage(const ExportOutcome& outcome);

} // namespace korvyn
