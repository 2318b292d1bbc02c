#pragma once
// The current user's registry, kept in a text file in the format of the platform's
// registry editor ("REGEDIT4"): one [section] per key, one "name"=data line per value.
// Every change is written to the file at once, atomically: a crash leaves the old or the
// new file, never a broken one.
#include "platform/WinError.h"
#include "platform/WinTypes.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

struct HKEY__;
using HKEY = HKEY__*;
using PHKEY = HKEY*;
using REGSAM = DWORD;
using LPDWORD = DWORD*;
using LPBYTE = BYTE*;
struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

inline const HKEY HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});

constexpr DWORD REG_NONE = 0;
constexpr DWORD REG_SZ = 1;
constexpr DWORD REG_EXPAND_SZ = 2;
constexpr DWORD REG_BINARY = 3;
constexpr DWORD REG_DWORD = 4;
constexpr DWORD REG_MULTI_SZ = 7;

constexpr REGSAM KEY_QUERY_VALUE = 0x0001;
constexpr REGSAM KEY_SET_VALUE = 0x0002;
constexpr REGSAM KEY_CREATE_SUB_KEY = 0x0004;
constexpr REGSAM KEY_ENUMERATE_SUB_KEYS = 0x0008;
constexpr REGSAM KEY_READ = 0x20019;
constexpr REGSAM KEY_WRITE = 0x20006;
constexpr REGSAM KEY_ALL_ACCESS = 0xF003F;

constexpr DWORD REG_OPTION_NON_VOLATILE = 0;
constexpr DWORD REG_CREATED_NEW_KEY = 1;
constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Key paths are relative to the given key, components separated by "\", compared
// ignoring case. Value names likewise; nullptr or "" is the key's default value.
LONG RegOpenKeyEx(HKEY key, LPCWSTR subKey, DWORD options, REGSAM access, PHKEY result);
LONG RegCreateKeyEx(HKEY key, LPCWSTR subKey, DWORD reserved, LPWSTR keyClass, DWORD options,
                    REGSAM access, LPSECURITY_ATTRIBUTES security, PHKEY result,
                    LPDWORD disposition);
LONG RegCloseKey(HKEY key);
// With data, *size is the buffer's size in bytes: longer data fails with ERROR_MORE_DATA
// and copies nothing. *size then receives the data's size; without data only the size
// (and type) are reported.
LONG RegQueryValueEx(HKEY key, LPCWSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                     LPDWORD size);
// Stores the value and writes the file. If the file cannot be written the value is kept
// in memory (and written with the next change that succeeds) and
// ERROR_REGISTRY_IO_FAILED is returned.
LONG RegSetValueEx(HKEY key, LPCWSTR name, DWORD reserved, DWORD type, const BYTE* data,
                   DWORD size);
LONG RegDeleteValue(HKEY key, LPCWSTR name);

namespace korvyn::platform {

// The file: the one set here (the --registry option) when not empty, else
// $KORVYN_REGISTRY, else $XDG_CONFIG_HOME/korvyn/registry.reg (~/.config when unset).
// Setting it drops what was read, so the next access reads the (new) file.
void SetRegistryFile(const std::filesystem::path& path);
std::filesystem::path RegistryFilePath();

// False when the last write of the file failed: the changes since are held in memory
// only (and go to the file with the next write that succeeds).
bool RegistryFileInSync();

// Test seam: called before each step of a save; returning false makes that step fail as
// a full disk or a crash would (a write stops halfway).
enum class RegistrySaveStep { Write, Flush, Rename };
using RegistrySaveHook = std::function<bool(RegistrySaveStep)>;
void SetRegistrySaveHook(RegistrySaveHook hook);

// Changes made while a batch is alive reach the file together, in one save when the last
// batch ends, so that a crash leaves the file as it was before all of them or after all of
// them. Calls inside a batch report success for a write that is still to come.
class RegistryBatch {
public:
    RegistryBatch();
    ~RegistryBatch(); // ends the batch as End does
    RegistryBatch(const RegistryBatch&) = delete;
    RegistryBatch& operator=(const RegistryBatch&) = delete;

    // Ends the batch; when it was the last one and something changed, writes the file.
    // False when that write failed (the changes stay in memory and go with the next save).
    bool End();

private:
    bool ended_ = false;
};

// The application profile: values under "Software\<registryKey>\<profileName>\<section>".
// Until a key is set (or after it is set to an empty registryKey), GetProfileInt gives
// the default and WriteProfileInt fails.
void SetProfileKey(std::u16string_view registryKey, std::u16string_view profileName);
std::u16string ProfileKeyPath();
int GetProfileInt(LPCWSTR section, LPCWSTR entry, int defaultValue);
bool WriteProfileInt(LPCWSTR section, LPCWSTR entry, int value);

} // namespace korvyn::platform
