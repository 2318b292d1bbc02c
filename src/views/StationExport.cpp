#include "views/StationExport.h"

#include "export/XlsWorkbook.h"
#include "platform/system/AtomicFile.h"
#include "platform/system/DocumentsFolder.h"
#include "platform/system/SystemTime.h"
#include "platform/system/TextCodec.h"

#include <algorithm>
#include <charconv>
#include <cstdio>

namespace korvyn {
namespace {

constexpr const char* kSheetName = "WI-FI";
// List rows a sheet holds under its header row.
constexpr int kSheetRows = XlsWorksheet::kMaxRow;

bool IsNumericColumn(int column) {
    return column == 1 || column == 2 || column == 6 || column == 7;
}

// One list row into sheet row `row`. In a workbook the signal and channel columns are
// numbers; in comma-separated text every cell is the list's text.
void PutRow(XlsWorksheet& sheet, int row, const StationTexts& texts, ExportFormat format) {
    for (int column = 0; column < kStationColumnCount; ++column) {
        XlsCell* cell = sheet.CellAt(row, column);
        if (format == ExportFormat::Workbook && IsNumericColumn(column)) {
            cell->SetNumber(LeadingNumber(texts[column]));
        } else {
            cell->SetWideText(texts[column]);
        }
    }
}

std::string Reason(const std::error_code& error, const char* otherwise) {
    return error ? error.message() : otherwise;
}

// Comma-separated text: the sheet as it stands, then the rows beyond a sheet's reach in
// further sheets of the same shape, so that every row of the list is written.
bool WriteCsv(const XlsWorksheet& sheet, int rowCount, const StationRowSource& rows,
              const std::string& name, std::string& reason) {
    platform::AtomicFile file;
    bool ok = file.OpenDevicePath(name) && sheet.WriteDelimited(file.Stream(), ',', '"');
    StationTexts texts;
    for (int first = kSheetRows; ok && first < rowCount; first += kSheetRows + 1) {
        XlsWorksheet more;
        const int last = std::min(rowCount, first + kSheetRows + 1);
        for (int r = first; r < last; ++r) {
            rows(r, texts);
            PutRow(more, r - first, texts, ExportFormat::Csv);
        }
        ok = more.WriteDelimited(file.Stream(), ',', '"');
    }
    ok = ok && file.Commit();
    if (!ok) {
        reason = Reason(file.Error(), "the file could not be written");
    }
    return ok;
}

} // namespace

std::u16string ExportFileName(ExportFormat format, const SYSTEMTIME& t) {
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%02d%02d%02d%02d%02d%02d", t.wYear, t.wMonth, t.wDay,
                  t.wHour, t.wMinute, t.wSecond);
    return u"My Documents\\Korvyn " + platform::Utf8ToUtf16(stamp) +
           (format == ExportFormat::Csv ? u".csv" : u".xls");
}

double LeadingNumber(std::u16string_view text) {
    std::size_t i = 0;
    auto at = [&](std::size_t k) { return k < text.size() ? text[k] : u'\0'; };
    auto digit = [&](std::size_t k) { return at(k) >= u'0' && at(k) <= u'9'; };
    while (at(i) == u' ' || (at(i) >= u'\t' && at(i) <= u'\r')) {
        ++i;
    }
    std::string number;
    if (at(i) == u'-' || at(i) == u'+') {
        if (at(i) == u'-') {
            number += '-';
        }
        ++i;
    }
    bool digits = false;
    for (; digit(i); ++i, digits = true) {
        number += static_cast<char>(at(i));
    }
    if (at(i) == u'.') {
        number += '.';
        for (++i; digit(i); ++i, digits = true) {
            number += static_cast<char>(at(i));
        }
    }
    if (!digits) {
        return 0;
    }
    // An exponent counts only with at least one digit.
    std::size_t e = i + 1 + ((at(i + 1) == u'-' || at(i + 1) == u'+') ? 1 : 0);
    if ((at(i) == u'e' || at(i) == u'E') && digit(e)) {
        number += 'e';
        if (at(i + 1) == u'-') {
            number += '-';
        }
        for (; digit(e); ++e) {
            number += static_cast<char>(at(e));
        }
    }
    double value = 0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    return error == std::errc() ? value : 0;
}

ExportOutcome ExportStationList(ExportFormat format, const StationTexts& headers, int rowCount,
                                const StationRowSource& rows) {
    rowCount = std::max(0, rowCount);
    XlsWorkbook book;
    book.CreateBlank(1);
    book.RenameSheet("Sheet1", kSheetName);
    XlsWorksheet* sheet = book.FindSheet(kSheetName);
    ExportOutcome outcome;
    if (sheet == nullptr) {
        outcome.reason = "the worksheet could not be made";
        return outcome;
    }
    for (int column = 0; column < kStationColumnCount; ++column) {
        sheet->CellAt(0, column)->SetWideText(headers[column]);
    }
    const int inSheet = std::min(rowCount, kSheetRows);
    StationTexts texts;
    for (int r = 0; r < inSheet; ++r) {
        rows(r, texts);
        PutRow(*sheet, r + 1, texts, format);
    }

    SYSTEMTIME now{};
    GetLocalTime(&now);
    outcome.fileName = ExportFileName(format, now);
    const std::string name = platform::LowBytes(outcome.fileName);
    outcome.path = platform::HostPathForDevicePath(name);
    if (format == ExportFormat::Csv) {
        outcome.saved = WriteCsv(*sheet, rowCount, rows, name, outcome.reason);
    } else {
        outcome.saved = book.SaveToFile(name.c_str());
        outcome.rowsLeftOut = rowCount - inSheet;
        if (!outcome.saved) {
            outcome.reason = Reason(book.SaveError(), "the workbook could not be laid out");
        }
    }
    std::error_code ec;
    if (!outcome.saved && !std::filesystem::is_directory(platform::DocumentsFolder(), ec)) {
        outcome.path = platform::DocumentsFolder(); // the folder itself could not be had
    }
    return outcome;
}

std::u16string ExportSavedMessage(const ExportOutcome& outcome) {
    const std::u16string path = platform::Utf8ToUtf16(platform::PathForDisplay(outcome.path));
    if (outcome.rowsLeftOut <= 0) {
        return path;
    }
    char note[160];
    std::snprintf(note, sizeof note,
                  "\n\nA workbook sheet holds %d rows: the last %d rows of the list were left out.",
                  kSheetRows, outcome.rowsLeftOut);
    return path + platform::Utf8ToUtf16(note);
}

std::u16string ExportFailedMessage(const ExportOutcome& outcome) {
    return u"The file could not be saved.\n" +
           platform::Utf8ToUtf16(platform::PathForDisplay(outcome.path)) + u"\n" +
           platform::Utf8ToUtf16(outcome.reason);
}

} // namespace korvyn
