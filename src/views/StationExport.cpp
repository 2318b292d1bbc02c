#include "views/StationExport.h"

#include "export/DelimitedText.h"
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

// A number followed by more text, such as the 6 GHz channel "6G37": its leading number
// alone would be another cell's text.
bool IsNumberWithMore(std::u16string_view text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= u'0' && text[digits] <= u'9')
        ++digits;
    return digits > 0 && digits < text.size();
}

// One list row into sheet row `row`: the signal and channel columns as numbers, except a
// channel the list marks with its band, which stays text as the list shows it; the others
// as the list's texts.
void PutRow(XlsWorksheet& sheet, int row, const StationTexts& texts) {
    for (int column = 0; column < kStationColumnCount; ++column) {
        XlsCell* cell = sheet.CellAt(row, column);
        if (IsNumericColumn(column) && !IsNumberWithMore(texts[column])) {
            cell->SetNumber(LeadingNumber(texts[column]));
        } else {
            cell->SetWideText(texts[column]);
        }
    }
}

std::string Reason(const std::error_code& error, const char* otherwise) {
    return error ? error.message() : otherwise;
}

// The file is named by the local time once the list has been read.
std::u16string TimedFileName(ExportFormat format) {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    return ExportFileName(format, now);
}

void PutRow(DelimitedText& text, const StationTexts& texts) {
    for (const std::u16string& cell : texts) {
        text.Text(std::u16string_view(cell));
    }
    text.EndRow();
}

// Comma-separated text: the header and every row of the list, made in one buffer and
// written to the file at once.
bool WriteCsv(const StationTexts& headers, int rowCount, const StationRowSource& rows,
              std::u16string& fileName, std::string& reason) {
    // About a hundred bytes a row; the buffer grows if names are long.
    constexpr std::size_t kRowBytes = 112;
    DelimitedText text(',', '"');
    text.Reserve((static_cast<std::size_t>(rowCount) + 1) * kRowBytes);
    PutRow(text, headers);
    StationTexts texts;
    for (int r = 0; r < rowCount; ++r) {
        rows(r, texts);
        PutRow(text, texts);
    }
    fileName = TimedFileName(ExportFormat::Csv);
    platform::AtomicFile file;
    // Larger than the stream's buffer, so the text goes to the file in one write.
    const bool ok = file.OpenDevicePath(platform::LowBytes(fileName)) &&
                    file.Stream().write(text.Bytes().data(),
                                        static_cast<std::streamsize>(text.Bytes().size())) &&
                    file.Commit();
    if (!ok) {
        reason = Reason(file.Error(), "the file could not be written");
    }
    return ok;
}

// The real place of the file, or the Documents folder itself when that could not be had.
void NamePlace(ExportOutcome& outcome) {
    outcome.path = platform::HostPathForDevicePath(platform::LowBytes(outcome.fileName));
    std::error_code ec;
    if (!outcome.saved && !std::filesystem::is_directory(platform::DocumentsFolder(), ec)) {
        outcome.path = platform::DocumentsFolder();
    }
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
    ExportOutcome outcome;
    if (format == ExportFormat::Csv) {
        outcome.saved = WriteCsv(headers, rowCount, rows, outcome.fileName, outcome.reason);
        NamePlace(outcome);
        return outcome;
    }
    XlsWorkbook book;
    book.CreateBlank(1);
    book.RenameSheet("Sheet1", kSheetName);
    XlsWorksheet* sheet = book.FindSheet(kSheetName);
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
        PutRow(*sheet, r + 1, texts);
    }
    outcome.fileName = TimedFileName(format);
    outcome.saved = book.SaveToFile(platform::LowBytes(outcome.fileName).c_str());
    outcome.rowsLeftOut = rowCount - inSheet;
    if (!outcome.saved) {
        outcome.reason = Reason(book.SaveError(), "the workbook could not be laid out");
    }
    NamePlace(outcome);
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
