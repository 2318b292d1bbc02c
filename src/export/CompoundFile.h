#pragma once
// A compound document (version 3, 512-byte sectors) holding streams under its root storage.
// The whole allocation state and every sector live in memory; after each call the changed
// document is written to a temporary file beside the target, and Close puts that file in
// place of the target, so a failed or abandoned document never replaces an earlier file.
//
// Results of MakeStream and WriteStream:
//    1  success
//   -1  no document is open (never created, closed, or its file could not be created)
//   -2  a malformed path: an empty name, an empty or unknown storage, a character that
//       names cannot hold ('/', ':', '!')
//   -4  no such stream
//   -5  the name has 32 or more characters
//   -6  an entry of that name exists already
//   -7  the file could not be written (the document is then abandoned)
#include "platform/WinTypes.h"
#include "platform/system/AtomicFile.h"

#include <cstdint>
#include <string>
#include <vector>

class CompoundFile {
public:
    enum Result : int {
        kOk = 1,
        kNotOpen = -1,
        kBadPath = -2,
        kNoStream = -4,
        kNameTooLong = -5,
        kExists = -6,
        kWriteFailed = -7,
    };

    CompoundFile();
    ~CompoundFile(); // closes an open document, putting it in place
    CompoundFile(const CompoundFile&) = delete;
    CompoundFile& operator=(const CompoundFile&) = delete;

    // name8bit is a handheld path such as "My Documents\Korvyn 20261206201931.xls".
    // Closes an open document first. False when the file cannot be created or written.
    bool CreateDocument(const char* name8bit);
    int MakeStream(const char* name8bit);
    int WriteStream(const char* name8bit, const BYTE* data, DWORD size);

    // Puts the document in place of its target. False when nothing was open or the file
    // could not be completed; the earlier file of that name is then untouched.
    bool Close();
    // Abandons the open document: its target stays as it was.
    void Discard();
    bool IsOpen() const { return open_; }
    // The system's reason for the first failure of the file since CreateDocument.
    const std::error_code& Error() const { return file_.Error(); }

private:
    struct Entry {
        std::u16string name;
        BYTE type = 1;
        DWORD left, right, child, start;
        DWORD size = 0;
        DWORD parent;
    };

    // A path looked up: its last name, the storage it names an entry in, and that entry.
    struct Path {
        Path(int r) : result(r) {}
        int result;
        std::u16string leaf;
        DWORD parent = 0;
        DWORD found = 0xFFFFFFFF; // none
    };

    void Reset();
    int Flush();
    Path Lookup(const char* name8bit) const;
    void LinkChildren(DWORD parent);

    DWORD AllocateSector();
    void AddTableSector();
    void FreeChain(DWORD start);
    void FreeMiniChain(DWORD start);
    void WriteChain(DWORD& start, const BYTE* data, std::size_t size);
    void WriteMiniStream(Entry& entry, const BYTE* data, std::size_t size);
    DWORD AllocateMiniSector();
    void AddMiniTableSector();
    void InsertSector(DWORD at);
    void UpdateMiniContainer();

    void PutTableSectors();
    std::vector<BYTE> Header() const;
    std::size_t SectorsInUse() const;
    BYTE* Sector(DWORD n) { return image_.data() + std::size_t{n} * 512; }

    bool open_ = false;
    korvyn::platform::AtomicFile file_;
    std::vector<Entry> entries_;
    std::vector<DWORD> fat_;              // 128 entries per table sector
    std::vector<DWORD> fatSectors_;       // where each table sector lies, in order
    std::vector<DWORD> extensionSectors_; // the table list beyond its first 109 entries
    std::vector<DWORD> miniFat_;          // 128 entries per mini-table sector
    std::vector<DWORD> miniFatSectors_;   // consecutive sectors
    std::vector<BYTE> miniStream_;        // the root's container of 64-byte mini sectors
    std::vector<BYTE> image_;             // sector n at n * 512 (the header is not held)
    DWORD freeHint_ = 0;                  // no free sector lies below this one
};
