#include "export/CompoundFile.h"

#include "export/LittleEndian.h"
#include "platform/system/TextCodec.h"

#include <algorithm>
#include <cstring>

using korvyn::PutU16;
using korvyn::PutU32;

namespace {

constexpr std::size_t kSectorSize = 512;
constexpr std::size_t kMiniSectorSize = 64;
constexpr DWORD kMiniStreamCutoff = 4096;
constexpr std::size_t kEntriesPerSector = 128;
constexpr std::size_t kDirEntriesPerSector = 4;
constexpr std::size_t kHeaderListEntries = 109;
constexpr std::size_t kExtensionListEntries = 127;
constexpr std::size_t kMaxNameChars = 31;

constexpr DWORD kFree = 0xFFFFFFFF;
constexpr DWORD kEndOfChain = 0xFFFFFFFE;
constexpr DWORD kTableSector = 0xFFFFFFFD;
constexpr DWORD kExtensionSector = 0xFFFFFFFC;
constexpr DWORD kHighestSector = 0xFFFFFFF9;
constexpr DWORD kNoEntry = 0xFFFFFFFF;

constexpr BYTE kStorage = 1;
constexpr BYTE kStream = 2;
constexpr BYTE kRoot = 5;

char16_t Fold(char16_t c) {
    return c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c;
}

// Entry names are compared without regard to the case of ASCII letters.
bool SameName(const std::u16string& a, const std::u16string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char16_t x, char16_t y) { return Fold(x) == Fold(y); });
}

std::size_t SectorsFor(std::size_t bytes, std::size_t sectorSize) {
    return (bytes + sectorSize - 1) / sectorSize;
}

// Fits a chain of `table` to `needed` sectors: its sectors are reused from start, those
// beyond are released, missing ones allocated and linked behind. Returns them in order.
template <typename Allocate, typename Release>
std::vector<DWORD> FitChain(std::vector<DWORD>& table, DWORD& start, std::size_t needed,
                            Allocate allocate, Release release) {
    std::vector<DWORD> chain;
    DWORD next = start;
    while (next != kEndOfChain && chain.size() < needed) {
        chain.push_back(next);
        next = table[next];
    }
    if (chain.empty()) {
        release(start);
        start = kEndOfChain;
    } else if (next != kEndOfChain) {
        table[chain.back()] = kEndOfChain;
        release(next);
    }
    while (chain.size() < needed) {
        const DWORD added = allocate();
        if (chain.empty())
            start = added;
        else
            table[chain.back()] = added;
        chain.push_back(added);
    }
    return chain;
}

} // namespace

CompoundFile::CompoundFile() = default;

CompoundFile::~CompoundFile() {
    if (open_)
        Close();
}

void CompoundFile::Reset() {
    entries_.clear();
    fat_.clear();
    fatSectors_.clear();
    extensionSectors_.clear();
    miniFat_.clear();
    miniFatSectors_.clear();
    miniStream_ = {};
    image_ = {}; // a closed document keeps no memory
    freeHint_ = 0;
}

bool CompoundFile::CreateDocument(const char* name8bit) {
    if (open_)
        Close();
    Reset();
    if (!name8bit || !file_.OpenDevicePath(name8bit))
        return false;
    open_ = true;
    entries_.push_back(
        Entry{u"Root Entry", kRoot, kNoEntry, kNoEntry, kNoEntry, kEndOfChain, 0, kNoEntry});
    fat_.assign(kEntriesPerSector, kFree);
    image_.assign(kEntriesPerSector * kSectorSize, 0);
    fat_[0] = kTableSector;
    fat_[1] = kEndOfChain; // the directory
    fatSectors_.push_back(0);
    freeHint_ = 2;
    return Flush() == kOk;
}

bool CompoundFile::Close() {
    if (!open_)
        return false;
    open_ = false;
    const bool ok = file_.Commit();
    Reset();
    return ok;
}

void CompoundFile::Discard() {
    open_ = false;
    file_.Discard();
    Reset();
}

CompoundFile::Path CompoundFile::Lookup(const char* name8bit) const {
    if (!open_)
        return kNotOpen;
    if (!name8bit)
        return kBadPath;
    const std::u16string wide = korvyn::platform::SystemBytesToWide(name8bit);
    std::u16string_view rest = wide;
    if (!rest.empty() && rest.front() == u'\\')
        rest.remove_prefix(1); // the root; names are otherwise taken from the root too
    Path path{kOk};
    for (;;) {
        const std::size_t cut = rest.find(u'\\');
        path.leaf = std::u16string(rest.substr(0, cut));
        if (path.leaf.empty() || path.leaf.find_first_of(u"/:!") != std::u16string::npos)
            return kBadPath;
        for (DWORD i = 1; i < entries_.size(); ++i) {
            if (entries_[i].parent == path.parent && SameName(entries_[i].name, path.leaf))
                path.found = i;
        }
        if (cut == std::u16string_view::npos)
            return path;
        if (path.found == kNoEntry || entries_[path.found].type != kStorage)
            return kBadPath;
        path.parent = path.found;
        path.found = kNoEntry;
        rest.remove_prefix(cut + 1);
    }
}

int CompoundFile::MakeStream(const char* name8bit) {
    const Path path = Lookup(name8bit);
    if (path.result != kOk)
        return path.result;
    if (path.leaf.size() > kMaxNameChars)
        return kNameTooLong;
    if (path.found != kNoEntry)
        return kExists;
    entries_.push_back(
        Entry{path.leaf, kStream, kNoEntry, kNoEntry, kNoEntry, kEndOfChain, 0, path.parent});
    // The directory grows by one sector for every four entries.
    DWORD last = 1;
    std::size_t sectors = 1;
    for (; fat_[last] != kEndOfChain; last = fat_[last])
        ++sectors;
    if (entries_.size() > sectors * kDirEntriesPerSector) {
        const DWORD added = AllocateSector();
        fat_[last] = added;
    }
    LinkChildren(path.parent);
    return Flush();
}

// Children in entry order; the middle one hangs from the parent, those before it form a
// chain of left links, those after it a chain of right links.
void CompoundFile::LinkChildren(DWORD parent) {
    std::vector<DWORD> children;
    for (DWORD i = 1; i < entries_.size(); ++i) {
        if (entries_[i].parent == parent)
            children.push_back(i);
    }
    const std::size_t middle = children.size() / 2;
    entries_[parent].child = children.empty() ? kNoEntry : children[middle];
    for (std::size_t i = 0; i < children.size(); ++i) {
        Entry& e = entries_[children[i]];
        e.left = i > 0 && i <= middle ? children[i - 1] : kNoEntry;
        e.right = i >= middle && i + 1 < children.size() ? children[i + 1] : kNoEntry;
    }
}

int CompoundFile::WriteStream(const char* name8bit, const BYTE* data, DWORD size) {
    const Path path = Lookup(name8bit);
    if (path.result != kOk)
        return path.result;
    if (path.found == kNoEntry || entries_[path.found].type != kStream || (!data && size > 0))
        return kNoStream;
    Entry& entry = entries_[path.found];
    const bool wasMini = entry.size < kMiniStreamCutoff;
    const bool mini = size < kMiniStreamCutoff;
    if (wasMini != mini && entry.start != kEndOfChain) {
        // Crossing the cutoff: the stream moves, its old chain is released first.
        if (wasMini) {
            FreeMiniChain(entry.start);
            UpdateMiniContainer();
        } else {
            FreeChain(entry.start);
        }
        entry.start = kEndOfChain;
    }
    if (mini) {
        WriteMiniStream(entry, data, size);
    } else {
        WriteChain(entry.start, data, size);
    }
    entry.size = size;
    return Flush();
}

DWORD CompoundFile::AllocateSector() {
    for (;;) {
        for (DWORD i = freeHint_; i < fat_.size(); ++i) {
            if (fat_[i] == kFree) {
                fat_[i] = kEndOfChain;
                freeHint_ = i + 1;
                return i;
            }
        }
        AddTableSector();
    }
}

// A new table sector lies at the table's capacity, so table sectors sit at 0, 128, 256, ...
// as long as every sector below is in use. Beyond 109 table sectors their list continues
// in extension sectors, each taking the lowest free sector after it.
void CompoundFile::AddTableSector() {
    const auto at = static_cast<DWORD>(fat_.size());
    fat_.resize(fat_.size() + kEntriesPerSector, kFree);
    image_.resize(fat_.size() * kSectorSize, 0);
    fat_[at] = kTableSector;
    fatSectors_.push_back(at);
    freeHint_ = std::min(freeHint_, at + 1);
    if (fatSectors_.size() >
        kHeaderListEntries + kExtensionListEntries * extensionSectors_.size()) {
        const DWORD extension = AllocateSector();
        fat_[extension] = kExtensionSector;
        extensionSectors_.push_back(extension);
    }
}

void CompoundFile::FreeChain(DWORD start) {
    while (start <= kHighestSector) {
        const DWORD next = fat_[start];
        fat_[start] = kFree;
        freeHint_ = std::min(freeHint_, start);
        start = next;
    }
}

void CompoundFile::FreeMiniChain(DWORD start) {
    while (start <= kHighestSector) {
        const DWORD next = miniFat_[start];
        miniFat_[start] = kFree;
        start = next;
    }
}

void CompoundFile::WriteChain(DWORD& start, const BYTE* data, std::size_t size) {
    const std::size_t needed = SectorsFor(size, kSectorSize);
    // Room for the new sectors and their table sectors, so the image grows only once.
    image_.reserve(image_.size() + (needed + needed / kEntriesPerSector + 2) * kSectorSize);
    const auto chain = FitChain(
        fat_, start, needed, [this] { return AllocateSector(); },
        [this](DWORD rest) { FreeChain(rest); });
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const std::size_t offset = i * kSectorSize;
        const std::size_t n = std::min(kSectorSize, size - offset);
        std::memcpy(Sector(chain[i]), data + offset, n);
        std::memset(Sector(chain[i]) + n, 0, kSectorSize - n);
    }
}

void CompoundFile::WriteMiniStream(Entry& entry, const BYTE* data, std::size_t size) {
    Entry& root = entries_[0];
    if (root.start == kEndOfChain && size > 0)
        root.start = AllocateSector(); // the container's first sector comes first
    const auto chain = FitChain(
        miniFat_, entry.start, SectorsFor(size, kMiniSectorSize),
        [this] { return AllocateMiniSector(); }, [this](DWORD rest) { FreeMiniChain(rest); });
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const std::size_t at = std::size_t{chain[i]} * kMiniSectorSize;
        if (miniStream_.size() < at + kMiniSectorSize)
            miniStream_.resize(at + kMiniSectorSize, 0);
        const std::size_t offset = i * kMiniSectorSize;
        const std::size_t n = std::min(kMiniSectorSize, size - offset);
        std::memcpy(miniStream_.data() + at, data + offset, n);
        std::memset(miniStream_.data() + at + n, 0, kMiniSectorSize - n);
    }
    UpdateMiniContainer();
}

DWORD CompoundFile::AllocateMiniSector() {
    for (;;) {
        const auto it = std::find(miniFat_.begin(), miniFat_.end(), kFree);
        if (it != miniFat_.end()) {
            *it = kEndOfChain;
            return static_cast<DWORD>(it - miniFat_.begin());
        }
        AddMiniTableSector();
    }
}

// Mini-table sectors stay consecutive: the first takes the lowest free sector, each further
// one the sector right behind the last, moving the sectors from there on up by one.
void CompoundFile::AddMiniTableSector() {
    if (miniFatSectors_.empty()) {
        miniFatSectors_.push_back(AllocateSector());
    } else {
        const DWORD at = miniFatSectors_.back() + 1;
        if (at >= fat_.size() || fat_[at] != kFree)
            InsertSector(at);
        fat_[at] = kEndOfChain;
        fat_[at - 1] = at;
        miniFatSectors_.push_back(at);
    }
    miniFat_.resize(miniFat_.size() + kEntriesPerSector, kFree);
}

// Renumbers every sector from `at` on by one, leaving sector `at` free, and moves their
// contents along; every reference to a moved sector follows it.
void CompoundFile::InsertSector(DWORD at) {
    if (fat_.back() != kFree)
        AddTableSector();
    const auto shift = [at](DWORD& n) {
        if (n >= at && n <= kHighestSector)
            ++n;
    };
    std::for_each(fat_.begin(), fat_.end(), shift);
    fat_.insert(fat_.begin() + at, kFree);
    fat_.pop_back();
    std::for_each(fatSectors_.begin(), fatSectors_.end(), shift);
    std::for_each(extensionSectors_.begin(), extensionSectors_.end(), shift);
    std::for_each(miniFatSectors_.begin(), miniFatSectors_.end(), shift);
    for (Entry& e : entries_) {
        if (e.type == kRoot || (e.type == kStream && e.size >= kMiniStreamCutoff))
            shift(e.start);
    }
    image_.insert(image_.begin() + std::ptrdiff_t{at} * kSectorSize, kSectorSize, 0);
    image_.resize(fat_.size() * kSectorSize);
    freeHint_ = std::min(freeHint_, at);
}

// The container holds every mini sector up to the highest in use; without any, neither the
// container nor the mini table remains.
void CompoundFile::UpdateMiniContainer() {
    Entry& root = entries_[0];
    std::size_t used = miniFat_.size();
    while (used > 0 && miniFat_[used - 1] == kFree)
        --used;
    if (used == 0) {
        FreeChain(root.start);
        root.start = kEndOfChain;
        root.size = 0;
        miniStream_.clear();
        if (!miniFatSectors_.empty())
            FreeChain(miniFatSectors_.front());
        miniFat_.clear();
        miniFatSectors_.clear();
        return;
    }
    root.size = static_cast<DWORD>(used * kMiniSectorSize);
    miniStream_.resize(root.size, 0);
    WriteChain(root.start, miniStream_.data(), miniStream_.size());
}

std::size_t CompoundFile::SectorsInUse() const {
    std::size_t n = fat_.size();
    while (n > 0 && fat_[n - 1] == kFree)
        --n;
    return n;
}

void CompoundFile::PutTableSectors() {
    const auto putEntries = [this](DWORD sector, const std::vector<DWORD>& from, std::size_t first,
                                   std::size_t count) {
        for (std::size_t i = 0; i < count; ++i) {
            const std::size_t k = first + i;
            PutU32(Sector(sector) + 4 * i, k < from.size() ? from[k] : kFree);
        }
    };
    for (std::size_t k = 0; k < fatSectors_.size(); ++k)
        putEntries(fatSectors_[k], fat_, k * kEntriesPerSector, kEntriesPerSector);
    for (std::size_t k = 0; k < extensionSectors_.size(); ++k) {
        const DWORD sector = extensionSectors_[k];
        putEntries(sector, fatSectors_, kHeaderListEntries + k * kExtensionListEntries,
                   kExtensionListEntries);
        PutU32(Sector(sector) + 4 * kExtensionListEntries,
               k + 1 < extensionSectors_.size() ? extensionSectors_[k + 1] : kEndOfChain);
    }
    for (std::size_t k = 0; k < miniFatSectors_.size(); ++k)
        putEntries(miniFatSectors_[k], miniFat_, k * kEntriesPerSector, kEntriesPerSector);

    std::size_t index = 0;
    for (DWORD sector = 1; sector != kEndOfChain; sector = fat_[sector]) {
        std::memset(Sector(sector), 0, kSectorSize);
        for (std::size_t slot = 0; slot < kDirEntriesPerSector && index < entries_.size();
             ++slot, ++index) {
            const Entry& e = entries_[index];
            BYTE* at = Sector(sector) + slot * (kSectorSize / kDirEntriesPerSector);
            for (std::size_t c = 0; c < e.name.size(); ++c)
                PutU16(at + 2 * c, e.name[c]);
            PutU16(at + 64, static_cast<WORD>((e.name.size() + 1) * 2));
            at[66] = e.type;
            at[67] = 1; // black
            PutU32(at + 68, e.left);
            PutU32(at + 72, e.right);
            PutU32(at + 76, e.child);
            PutU32(at + 116, e.start);
            PutU32(at + 120, e.size);
        }
    }
}

std::vector<BYTE> CompoundFile::Header() const {
    std::vector<BYTE> h(kSectorSize, 0);
    static constexpr BYTE kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::memcpy(h.data(), kSignature, sizeof kSignature);
    PutU16(&h[24], 0x003B);
    PutU16(&h[26], 3);
    PutU16(&h[28], 0xFFFE);
    PutU16(&h[30], 9);
    PutU16(&h[32], 6);
    PutU32(&h[44], static_cast<DWORD>(fatSectors_.size()));
    PutU32(&h[48], 1);
    PutU32(&h[56], kMiniStreamCutoff);
    PutU32(&h[60], miniFatSectors_.empty() ? kEndOfChain : miniFatSectors_.front());
    PutU32(&h[64], static_cast<DWORD>(miniFatSectors_.size()));
    PutU32(&h[68], extensionSectors_.empty() ? kEndOfChain : extensionSectors_.front());
    PutU32(&h[72], static_cast<DWORD>(extensionSectors_.size()));
    for (std::size_t i = 0; i < kHeaderListEntries; ++i)
        PutU32(&h[76 + 4 * i], i < fatSectors_.size() ? fatSectors_[i] : kFree);
    return h;
}

int CompoundFile::Flush() {
    PutTableSectors();
    const std::size_t used = SectorsInUse();
    const std::vector<BYTE> header = Header();
    const bool ok = file_.WriteAt(0, header.data(), header.size()) &&
                    file_.WriteAt(kSectorSize, image_.data(), used * kSectorSize) &&
                    file_.Resize((used + 1) * kSectorSize);
    if (ok)
        return kOk;
    Discard();
    return kWriteFailed;
}
