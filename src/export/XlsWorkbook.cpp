#include "export/XlsWorkbook.h"

#include "export/XlsSheetPart.h"
#include "export/records/SstRecord.h"
#include "platform/system/TextCodec.h"

#include <cstring>
#include <limits>
#include <string>

using korvyn::BoundSheetRecord;

namespace {

constexpr int kDefaultFonts = 4;
constexpr int kDefaultXfs = 21;
constexpr int kDefaultStyles = 6;

} // namespace

XlsWorkbook::XlsWorkbook() = default;

XlsWorkbook::~XlsWorkbook() = default;

void XlsWorkbook::CreateBlank(int sheets) {
    fonts_.assign(kDefaultFonts, {});
    xfs_.assign(kDefaultXfs, {});
    styles_.assign(kDefaultStyles, {});
    boundSheets_.clear();
    sheets_.clear();
    int number = 1;
    for (int i = 0; i < sheets; ++i) {
        std::string name;
        do
            name = "Sheet" + std::to_string(number++);
        while (FindSheet(name.c_str()));
        boundSheets_.emplace_back(name);
        sheets_.push_back(std::make_unique<XlsWorksheet>());
    }
}

XlsWorksheet* XlsWorkbook::FindSheet(const char* name) {
    for (std::size_t i = 0; name && i < boundSheets_.size(); ++i) {
        if (boundSheets_[i].Name() == name)
            return sheets_[i].get();
    }
    return nullptr;
}

bool XlsWorkbook::RenameSheet(const char* oldName, const char* newName) {
    if (!newName || !*newName || FindSheet(newName) ||
        korvyn::platform::SystemBytesToWide(newName).size() > kMaxSheetName)
        return false;
    for (BoundSheetRecord& sheet : boundSheets_) {
        if (oldName && sheet.Name() == oldName) {
            sheet.SetName(newName);
            return true;
        }
    }
    return false;
}

std::vector<BYTE> XlsWorkbook::WorkbookStream() {
    if (sheets_.empty())
        return {};
    korvyn::SstRecord sst;
    std::vector<korvyn::XlsSheetPart> parts;
    parts.reserve(sheets_.size());
    for (std::size_t i = 0; i < sheets_.size(); ++i)
        parts.emplace_back(*sheets_[i], sst, i == 0);

    std::size_t size =
        bof_.RecordSize() + window1_.RecordSize() + sst.RecordSize() + eof_.RecordSize();
    for (const auto& font : fonts_)
        size += font.RecordSize();
    for (const auto& xf : xfs_)
        size += xf.RecordSize();
    for (const auto& style : styles_)
        size += style.RecordSize();
    for (const auto& sheet : boundSheets_)
        size += sheet.RecordSize();
    // Each sheet follows the workbook part and the sheets before it.
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (size > std::numeric_limits<DWORD>::max())
            return {};
        boundSheets_[i].SetPosition(static_cast<DWORD>(size));
        parts[i].SetPosition(size);
        size += parts[i].Size();
    }
    if (size > std::numeric_limits<DWORD>::max())
        return {};

    std::vector<BYTE> stream(size, 0);
    BYTE* at = stream.data();
    at += bof_.Write(at);
    at += window1_.Write(at);
    for (const auto& font : fonts_)
        at += font.Write(at);
    for (const auto& xf : xfs_)
        at += xf.Write(at);
    for (const auto& style : styles_)
        at += style.Write(at);
    for (const auto& sheet : boundSheets_)
        at += sheet.Write(at);
    at += sst.Write(at);
    at += eof_.Write(at);
    for (const auto& part : parts)
        at += part.Write(at);
    return stream;
}

bool XlsWorkbook::SaveToFile(const char* name8bit) {
    if (document_.IsOpen())
        document_.Close();
    if (sheets_.empty() || !document_.CreateDocument(name8bit))
        return false;
    if (document_.MakeStream("Workbook") != CompoundFile::kOk) {
        document_.Discard();
        return false;
    }
    const std::vector<BYTE> stream = WorkbookStream();
    if (stream.empty() ||
        document_.WriteStream("Workbook", stream.data(), static_cast<DWORD>(stream.size())) !=
            CompoundFile::kOk) {
        document_.Discard();
        return false;
    }
    return document_.Close();
}
