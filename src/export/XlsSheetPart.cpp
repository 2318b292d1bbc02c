#include "export/XlsSheetPart.h"

#include "export/RkValue.h"
#include "platform/system/TextCodec.h"

#include <algorithm>
#include <optional>

namespace korvyn {
namespace {

constexpr int kReserveStep = 1000;

bool IsNumber(const XlsCell* cell) {
    return cell->GetType() == XlsCell::Double || cell->GetType() == XlsCell::Integer;
}

double NumberOf(const XlsCell* cell) {
    return cell->GetType() == XlsCell::Integer ? cell->IntegerValue() : cell->DoubleValue();
}

} // namespace

const XlsRecord& XlsSheetPart::Record(const CellRecord& cell) {
    return std::visit([](const auto& record) -> const XlsRecord& { return record; }, cell);
}

XlsSheetPart::XlsSheetPart(const XlsWorksheet& sheet, SstRecord& sst, bool first)
    : window2_(first) {
    const int rows = sheet.RowCount();
    index_.lastRowPlus1 = dimensions_.lastRowPlus1 = static_cast<std::uint32_t>(rows);
    dimensions_.lastColumnPlus1 = static_cast<std::uint16_t>(sheet.ColumnCount());
    blocks_.resize((rows + kBlockRows - 1) / kBlockRows);
    index_.dbCellPositions.assign(blocks_.size(), 0);
    bool firstSeen = false;
    for (int r = 0; r < rows; ++r)
        AddRow(sheet, r, sst, firstSeen);
    for (Block& block : blocks_)
        Finish(block);
}

void XlsSheetPart::AddRow(const XlsWorksheet& sheet, int row, SstRecord& sst, bool& firstSeen) {
    Block& block = blocks_[row / kBlockRows];
    const int columns = sheet.ColumnCount();
    const auto r = static_cast<std::uint16_t>(row);
    bool rowStarted = false;
    for (int c = 0; c < columns;) {
        const XlsCell* cell = sheet.Cell(row, c);
        if (cell->GetType() == XlsCell::Undefined) {
            ++c;
            continue;
        }
        if (!firstSeen) {
            firstSeen = true;
            index_.firstRow = dimensions_.firstRow = static_cast<std::uint32_t>(row);
            dimensions_.firstColumn = static_cast<std::uint16_t>(c);
        }
        if (!rowStarted) {
            rowStarted = true;
            if (block.rows.empty())
                block.cells.reserve(std::min(kBlockRows * columns, kReserveStep));
            block.rows.emplace_back(r, static_cast<std::uint16_t>(columns));
            block.rowCellBytes.push_back(0);
        }
        const auto column = static_cast<std::uint16_t>(c);
        if (cell->GetType() == XlsCell::WideString) {
            block.cells.emplace_back(std::in_place_type<LabelSstRecord>, r, column,
                                     sst.Add(cell->WideText()));
            ++c;
        } else if (cell->GetType() == XlsCell::String) {
            block.cells.emplace_back(std::in_place_type<LabelSstRecord>, r, column,
                                     sst.Add(platform::SystemBytesToWide(cell->Text())));
            ++c;
        } else {
            // Adjacent numbers that have an RK form share one MULRK; others stand alone.
            const double value = NumberOf(cell);
            const std::optional<std::uint32_t> rk = RkValue(value);
            std::vector<std::uint32_t> run;
            int end = c + 1;
            if (rk) {
                for (; end < columns && IsNumber(sheet.Cell(row, end)); ++end) {
                    const auto next = RkValue(NumberOf(sheet.Cell(row, end)));
                    if (!next)
                        break;
                    if (run.empty())
                        run.push_back(*rk);
                    run.push_back(*next);
                }
            }
            if (!run.empty()) {
                block.cells.emplace_back(std::in_place_type<MulRkRecord>, r, column,
                                         std::move(run));
                c = end;
            } else if (rk) {
                block.cells.emplace_back(std::in_place_type<RkRecord>, r, column, *rk);
                ++c;
            } else {
                block.cells.emplace_back(std::in_place_type<NumberRecord>, r, column, value);
                ++c;
            }
        }
        block.rowCellBytes.back() += Record(block.cells.back()).RecordSize();
    }
}

void XlsSheetPart::Finish(Block& block) {
    for (const RowRecord& row : block.rows)
        block.rowBytes += row.RecordSize();
    for (std::size_t bytes : block.rowCellBytes)
        block.cellBytes += bytes;
    block.dbCell.firstRowOffset = static_cast<std::uint32_t>(block.rowBytes + block.cellBytes);
    if (block.rows.empty())
        return;
    // The first offset runs from the end of the first ROW to the first cell record.
    block.dbCell.rowOffsets.push_back(
        static_cast<std::uint16_t>(block.rowBytes - block.rows.front().RecordSize()));
    for (std::size_t i = 0; i + 1 < block.rowCellBytes.size(); ++i)
        block.dbCell.rowOffsets.push_back(static_cast<std::uint16_t>(block.rowCellBytes[i]));
}

std::size_t XlsSheetPart::Size() const {
    std::size_t size = bof_.RecordSize() + index_.RecordSize() + dimensions_.RecordSize();
    for (const Block& block : blocks_)
        size += block.rowBytes + block.cellBytes + block.dbCell.RecordSize();
    return size + window2_.RecordSize() + eof_.RecordSize();
}

void XlsSheetPart::SetPosition(std::size_t start) {
    std::size_t at = start + bof_.RecordSize() + index_.RecordSize() + dimensions_.RecordSize();
    for (std::size_t i = 0; i < blocks_.size(); ++i) {
        const Block& block = blocks_[i];
        at += block.rowBytes + block.cellBytes;
        index_.dbCellPositions[i] = static_cast<std::uint32_t>(at);
        at += block.dbCell.RecordSize();
    }
}

std::size_t XlsSheetPart::Write(std::uint8_t* at) const {
    std::uint8_t* p = at;
    p += bof_.Write(p);
    p += index_.Write(p);
    p += dimensions_.Write(p);
    for (const Block& block : blocks_) {
        for (const RowRecord& row : block.rows)
            p += row.Write(p);
        for (const CellRecord& cell : block.cells)
            p += Record(cell).Write(p);
        p += block.dbCell.Write(p);
    }
    p += window2_.Write(p);
    p += eof_.Write(p);
    return static_cast<std::size_t>(p - at);
}

} // namespace korvyn
