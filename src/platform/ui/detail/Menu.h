#pragma once
// Private: what an HMENU points at.
#include "platform/ui/CMenu.h"
#include "platform/ui/WinUser.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace korvyn::platform {

struct MenuEntry {
    UINT flags = 0;
    UINT id = 0;
    std::u16string text;
    HMENU popup = nullptr;
};

struct Menu {
    explicit Menu(std::uintptr_t serialNumber) : serial(serialNumber) {}
    ~Menu();
    const std::uintptr_t serial;
    std::vector<MenuEntry> items;
    std::unique_ptr<CMenu> wrapper;
    HMENU handle() const { return reinterpret_cast<HMENU>(serial); }
};

Menu* MenuFrom(HMENU menu);
Menu* NewMenu();

} // namespace korvyn::platform
