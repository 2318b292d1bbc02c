// Arbitrary grids (texts of any length and content, numbers including NaN, infinities,
// denormals and huge values, integers, empty cells) in up to three sheets, written as a
// BIFF8 workbook stream and as comma-separated text. The stream is read back by a reader
// of its own, which checks every record size and position, and must give back every
// cell; the text must split into the grid's rows and columns again.
//
// Input: a byte for the sheet count; per sheet a byte and, when it is odd, a new name;
// then cells: sheet, row (16 bits), column, kind and the value. Rows beyond 255 and columns
// beyond 15 count only when the kind byte has its high bit set.
#include "export/XlsWorkbook.h"
#include "export/records/SstRecord.h"
#include "platform/system/TextCodec.h"
#include "support/BiffReader.h"
#include "support/FuzzInput.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>

namespace {

using korvyn::fuzz::BiffValue;
using korvyn::fuzz::FuzzInput;
using korvyn::platform::SystemBytesToWide;
using korvyn::platform::Utf16ToUtf8;

constexpr std::size_t kCellBudget = 1 << 17; // rows times columns of one sheet
constexpr std::size_t kLongestText = 70000;

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "Workbook_fuzz: %s\n", what.c_str());
    std::abort();
}

std::u16string Wide(std::string_view bytes) {
    std::u16string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        text += static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                      static_cast<std::uint8_t>(bytes[i + 1]) << 8);
    return text;
}

// What a text cell holds once stored: at most 32767 units, never half a surrogate pair.
std::u16string Stored(std::u16string text) {
    if (text.size() > korvyn::SstRecord::kMaxChars) {
        std::size_t keep = korvyn::SstRecord::kMaxChars;
        if (text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF)
            --keep;
        text.resize(keep);
    }
    return text;
}

bool SameNumber(double a, double b) {
    return (std::isnan(a) && std::isnan(b)) || std::memcmp(&a, &b, sizeof a) == 0;
}

void Fill(FuzzInput& in, const std::vector<XlsWorksheet*>& sheets) {
    while (!in.Empty()) {
        XlsWorksheet* sheet = sheets[in.U8() % sheets.size()];
        const int rowBits = in.U16();
        const int columnBits = in.U8();
        const std::uint8_t kindByte = in.U8();
        const std::uint8_t kind = (kindByte & 0x7F) % 6;
        // The whole sheet only with the kind's high bit, so most grids stay small and fast.
        const bool anywhere = (kindByte & 0x80) != 0;
        const int row = anywhere ? rowBits : rowBits % 256;
        const int column = anywhere ? columnBits : columnBits % 16;
        const std::size_t rows = std::max(sheet->RowCount(), row + 1);
        const std::size_t columns = std::max(sheet->ColumnCount(), column + 1);
        const bool fits = rows * columns <= kCellBudget;
        XlsCell scratch;
        XlsCell* cell = fits ? sheet->CellAt(row, column) : &scratch;
        switch (kind) {
        case 0:
            cell->SetWideText(Wide(in.Chunk()));
            break;
        case 1:
            cell->SetText(in.Chunk());
            break;
        case 2:
            cell->SetNumber(in.F64());
            break;
        case 3:
            cell->SetInteger(static_cast<std::int32_t>(in.U32()));
            break;
        case 4:
            cell->SetWideText(u"");
            break;
        default: {
            const std::size_t repeat = in.U16();
            const std::u16string part = Wide(in.Chunk());
            std::u16string text;
            for (std::size_t k = 0; k < repeat && !part.empty() && text.size() < kLongestText; ++k)
                text += part;
            cell->SetWideText(text);
        }
        }
    }
}

void CheckStream(XlsWorkbook& book, const std::vector<XlsWorksheet*>& sheets,
                 const std::vector<std::u16string>& names) {
    std::string error;
    const auto read = korvyn::fuzz::ReadWorkbookStream(book.WorkbookStream(), error);
    if (!error.empty())
        Fail(error);
    if (read.size() != sheets.size())
        Fail("sheet count");
    for (std::size_t s = 0; s < sheets.size(); ++s) {
        if (read[s].name != names[s])
            Fail("sheet name");
        std::size_t cells = 0;
        for (int r = 0; r < sheets[s]->RowCount(); ++r) {
            for (int c = 0; c < sheets[s]->ColumnCount(); ++c) {
                const XlsCell* cell = sheets[s]->Cell(r, c);
                const auto found = read[s].cells.find({r, c});
                if (cell->GetType() == XlsCell::Undefined) {
                    if (found != read[s].cells.end())
                        Fail("a cell where there is none");
                    continue;
                }
                ++cells;
                if (found == read[s].cells.end())
                    Fail("a cell is missing");
                const BiffValue& v = found->second;
                bool same = false;
                switch (cell->GetType()) {
                case XlsCell::WideString:
                    same = v == BiffValue(Stored(cell->WideText()));
                    break;
                case XlsCell::String:
                    same = v == BiffValue(Stored(SystemBytesToWide(cell->Text())));
                    break;
                case XlsCell::Double:
                    same = v.index() == 0 && SameNumber(std::get<0>(v), cell->DoubleValue());
                    break;
                default:
                    same = v.index() == 0 && std::get<0>(v) == cell->IntegerValue();
                }
                if (!same)
                    Fail("cell (" + std::to_string(r) + ", " + std::to_string(c) +
                         ") reads back otherwise");
            }
        }
        if (cells != read[s].cells.size())
            Fail("cell count");
    }
}

// Splits delimited text at unquoted commas and line feeds; quoted fields come back with
// their quotes, inner doubled quotes undone.
std::vector<std::vector<std::string>> SplitCsv(const std::string& text) {
    std::vector<std::vector<std::string>> lines;
    std::vector<std::string> fields;
    std::string field;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        if (ch == '"' && field.empty()) {
            field = "\"";
            for (++i; i < text.size(); ++i) {
                if (text[i] == '"' && i + 1 < text.size() && text[i + 1] == '"')
                    field += text[i++];
                else if (text[i] == '"')
                    break;
                else
                    field += text[i];
            }
            if (i == text.size())
                Fail("a quoted field without its end");
            field += '"';
        } else if (ch == ',' || ch == '\n') {
            fields.push_back(std::move(field));
            field.clear();
            if (ch == '\n') {
                lines.push_back(std::move(fields));
                fields.clear();
            }
        } else {
            field += ch;
        }
    }
    if (!field.empty() || !fields.empty())
        Fail("text after the last line feed");
    return lines;
}

template <typename Number> std::string Digits(Number value) {
    char digits[32];
    return std::string(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void CheckDelimited(const XlsWorksheet& sheet) {
    std::ostringstream out;
    if (!sheet.WriteDelimited(out, ',', '"'))
        Fail("writing to memory failed");
    const auto lines = SplitCsv(out.str());
    if (lines.size() != static_cast<std::size_t>(sheet.RowCount()))
        Fail("line count");
    for (int r = 0; r < sheet.RowCount(); ++r) {
        if (lines[r].size() != static_cast<std::size_t>(std::max(sheet.ColumnCount(), 1)))
            Fail("field count in line " + std::to_string(r));
        for (int c = 0; c < sheet.ColumnCount(); ++c) {
            const XlsCell* cell = sheet.Cell(r, c);
            std::string want;
            switch (cell->GetType()) {
            case XlsCell::Undefined:
                break;
            case XlsCell::Integer:
                want = Digits(cell->IntegerValue());
                break;
            case XlsCell::Double:
                want = Digits(cell->DoubleValue());
                break;
            case XlsCell::String:
                want = '"' + cell->Text() + '"';
                break;
            case XlsCell::WideString:
                want = '"' + Utf16ToUtf8(cell->WideText()) + '"';
                break;
            }
            if (lines[r][c] != want)
                Fail("field (" + std::to_string(r) + ", " + std::to_string(c) +
                     ") reads back otherwise");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzInput in(data, size);
    XlsWorkbook book;
    const int count = 1 + in.U8() % 3;
    book.CreateBlank(count);
    std::vector<std::string> names;
    for (int s = 1; s <= count; ++s)
        names.push_back("Sheet" + std::to_string(s));
    for (std::string& name : names) {
        if (in.U8() & 1) {
            const std::string_view chunk = in.Chunk();
            const std::string wanted(chunk.substr(0, chunk.find('\0')));
            if (book.RenameSheet(name.c_str(), wanted.c_str()))
                name = wanted;
        }
    }
    std::vector<XlsWorksheet*> sheets;
    std::vector<std::u16string> wideNames;
    for (const std::string& name : names) {
        sheets.push_back(book.FindSheet(name.c_str()));
        if (!sheets.back())
            Fail("a sheet cannot be found by its name");
        wideNames.push_back(SystemBytesToWide(name));
    }
    Fill(in, sheets);
    CheckStream(book, sheets, wideNames);
    for (const XlsWorksheet* sheet : sheets)
        CheckDelimited(*sheet);
    return 0;
}
