#pragma once
// The records of one sheet in the workbook stream: BOF, INDEX, DIMENSIONS, the cell table
// in blocks of 32 rows (their ROW records, their cell records, a DBCELL), WINDOW2, EOF.
#include "export/XlsWorksheet.h"
#include "export/records/BofRecord.h"
#include "export/records/DbCellRecord.h"
#include "export/records/DimensionsRecord.h"
#include "export/records/EofRecord.h"
#include "export/records/IndexRecord.h"
#include "export/records/LabelSstRecord.h"
#include "export/records/MulRkRecord.h"
#include "export/records/NumberRecord.h"
#include "export/records/RkRecord.h"
#include "export/records/RowRecord.h"
#include "export/records/SstRecord.h"
#include "export/records/Window2Record.h"

#include <cstddef>
#include <variant>
#include <vector>

namespace korvyn {

class XlsSheetPart {
public:
    static constexpr int kBlockRows = 32;

    // Builds the records of sheet, entering its texts into sst. Only the first sheet of a
    // workbook is selected.
    XlsSheetPart(const XlsWorksheet& sheet, SstRecord& sst, bool first);

    std::size_t Size() const;
    // Fills in the stream positions of the DBCELL records for a part starting at start.
    void SetPosition(std::size_t start);
    std::size_t Write(std::uint8_t* at) const;

private:
    // Cell records are held by value: a full sheet has hundreds of thousands.
    using CellRecord = std::variant<LabelSstRecord, RkRecord, MulRkRecord, NumberRecord>;

    struct Block {
        std::vector<RowRecord> rows;
        std::vector<CellRecord> cells;
        std::vector<std::size_t> rowCellBytes;
        std::size_t rowBytes = 0;
        std::size_t cellBytes = 0;
        DbCellRecord dbCell;
    };

    static const XlsRecord& Record(const CellRecord& cell);
    void AddRow(const XlsWorksheet& sheet, int row, SstRecord& sst, bool& firstSeen);
    void Finish(Block& block);

    BofRecord bof_{BofRecord::kSheet};
    IndexRecord index_;
    DimensionsRecord dimensions_;
    std::vector<Block> blocks_;
    Window2Record window2_;
    EofRecord eof_;
};

} // namespace korvyn
