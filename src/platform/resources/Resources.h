#pragma once
// The program's resources: dialog templates, menus, string tables, bitmaps and the sound,
// compiled from resources/korvyn.rc into a .res file embedded in the program, and found
// through the handheld platform's resource calls.
#include "platform/WinTypes.h"
#include "platform/resources/Bitmap.h"
#include "platform/resources/MenuTemplate.h"
#include "platform/resources/WaveFile.h"

#include <cstdint>
#include <memory>
#include <vector>

struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
struct HRSRC__;
using HRSRC = HRSRC__*;
struct HGLOBAL__;
using HGLOBAL = HGLOBAL__*;

// A resource identifier carried in a text pointer: numbers below 0x10000 are identifiers,
// anything else points at a name.
inline LPCWSTR MAKEINTRESOURCE(std::uintptr_t id) {
    return reinterpret_cast<LPCWSTR>(id & 0xFFFF);
}
inline bool IS_INTRESOURCE(LPCWSTR p) {
    return (reinterpret_cast<std::uintptr_t>(p) >> 16) == 0;
}

inline const LPCWSTR RT_CURSOR = MAKEINTRESOURCE(1);
inline const LPCWSTR RT_BITMAP = MAKEINTRESOURCE(2);
inline const LPCWSTR RT_ICON = MAKEINTRESOURCE(3);
inline const LPCWSTR RT_MENU = MAKEINTRESOURCE(4);
inline const LPCWSTR RT_DIALOG = MAKEINTRESOURCE(5);
inline const LPCWSTR RT_STRING = MAKEINTRESOURCE(6);
inline const LPCWSTR RT_ACCELERATOR = MAKEINTRESOURCE(9);
inline const LPCWSTR RT_RCDATA = MAKEINTRESOURCE(10);
inline const LPCWSTR RT_GROUP_ICON = MAKEINTRESOURCE(14);
inline const LPCWSTR RT_VERSION = MAKEINTRESOURCE(16);

// nullptr names the program's own module; there are no others to name.
HMODULE GetModuleHandle(LPCWSTR moduleName);

// Finds a resource by name and type, each a MAKEINTRESOURCE number, a "#123" text or a
// name compared ignoring case. nullptr when the module has no such resource.
HRSRC FindResource(HMODULE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HMODULE module, HRSRC resource);
// The resource's bytes; they live as long as the module.
const void* LockResource(HGLOBAL loaded);
DWORD SizeofResource(HMODULE module, HRSRC resource);

// Copies string resource id (string tables hold blocks of 16) into buffer, cut to
// cchBufferMax - 1 units and terminated, and returns the units copied. With cchBufferMax
// 0, buffer receives a read-only pointer to the string, which is not terminated, and
// the length is returned. Returns 0 for a missing or empty string.
int LoadString(HMODULE module, UINT id, LPWSTR buffer, int cchBufferMax);

namespace korvyn::platform {

// A module made from the bytes of a .res file, as tests and tools need; nullptr when
// the bytes are not a well-formed resource file. Free it with FreeResourceModule.
HMODULE LoadResourceModule(std::vector<BYTE> resFileBytes);
// Frees a module made by LoadResourceModule; the program's own module is left alone.
void FreeResourceModule(HMODULE module);

struct ResourceModuleDeleter {
    void operator()(HINSTANCE__* module) const { FreeResourceModule(module); }
};
using UniqueResourceModule = std::unique_ptr<HINSTANCE__, ResourceModuleDeleter>;

// Finds the resource and hands out its bytes; false when it does not exist.
bool LoadResourceBytes(HMODULE module, LPCWSTR name, LPCWSTR type, const BYTE*& data,
                       std::size_t& size);
// Bitmap resource id of the module, decoded.
bool LoadBitmapResource(HMODULE module, UINT id, Bitmap& out);
// Menu resource id of the module, parsed.
bool LoadMenuResource(HMODULE module, UINT id, std::vector<MenuItem>& out);

} // namespace korvyn::platform
