#pragma once
// An Excel 97-2003 workbook: the workbook-wide records (fonts, cell formats, styles, the
// list of sheets with their names) and its sheets. SaveToFile lays the whole workbook out
// as one BIFF8 "Workbook" stream and stores it in a new compound document.
#include "export/CompoundFile.h"
#include "export/XlsWorksheet.h"
#include "export/records/BofRecord.h"
#include "export/records/BoundSheetRecord.h"
#include "export/records/EofRecord.h"
#include "export/records/FontRecord.h"
#include "export/records/StyleRecord.h"
#include "export/records/Window1Record.h"
#include "export/records/XfRecord.h"
#include "platform/WinTypes.h"

#include <memory>
#include <vector>

class XlsWorkbook {
public:
    // The longest sheet name, in characters.
    static constexpr std::size_t kMaxSheetName = 31;

    XlsWorkbook();
    ~XlsWorkbook(); // closes a document still open
    XlsWorkbook(const XlsWorkbook&) = delete;
    XlsWorkbook& operator=(const XlsWorkbook&) = delete;

    // Replaces the contents with the default records and `sheets` empty sheets named
    // "Sheet1", "Sheet2", ...
    void CreateBlank(int sheets);
    // False, with nothing changed, when no sheet has the old name, a sheet has the new one,
    // or the new name is empty or longer than kMaxSheetName characters. Names are compared
    // byte for byte.
    bool RenameSheet(const char* oldName, const char* newName);
    XlsWorksheet* FindSheet(const char* name);

    // The "Workbook" stream; empty for a workbook without sheets or too large to store.
    std::vector<BYTE> WorkbookStream();
    // name8bit is a handheld path such as "My Documents\Korvyn 20261206201931.xls". True
    // once the complete file is in place; on any failure an earlier file of that name stays.
    bool SaveToFile(const char* name8bit);
    // After a failed SaveToFile: the system's reason, or none when the workbook itself
    // could not be laid out.
    const std::error_code& SaveError() const { return document_.Error(); }

private:
    korvyn::BofRecord bof_{korvyn::BofRecord::kWorkbookPart};
    korvyn::Window1Record window1_;
    std::vector<korvyn::FontRecord> fonts_;
    std::vector<korvyn::XfRecord> xfs_;
    std::vector<korvyn::StyleRecord> styles_;
    std::vector<korvyn::BoundSheetRecord> boundSheets_;
    korvyn::EofRecord eof_;
    std::vector<std::unique_ptr<XlsWorksheet>> sheets_;
    CompoundFile document_;
};
