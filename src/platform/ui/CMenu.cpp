#include "platform/ui/CMenu.h"

#include "platform/ui/DeviceScreen.h"
#include "platform/ui/PopupMenuHandler.h"
#include "platform/ui/detail/Menu.h"
#include "platform/ui/detail/ResourceAccess.h"
#include "platform/ui/detail/Window.h"

#include <QAction>
#include <QMenu>

#include <unordered_map>

using korvyn::platform::Menu;
using korvyn::platform::MenuEntry;
using korvyn::platform::MenuFrom;

IMPLEMENT_DYNAMIC(CMenu, CObject)

namespace korvyn::platform {
namespace {

std::unordered_map<std::uintptr_t, std::unique_ptr<Menu>>& Live() {
    static auto* live = new std::unordered_map<std::uintptr_t, std::unique_ptr<Menu>>;
    return *live;
}
std::uintptr_t nextSerial = 0x60000;

PopupMenuHandler& Handler() {
    static auto* handler = new PopupMenuHandler;
    return *handler;
}

std::vector<PopupMenuItem> ItemsOf(HMENU handle) {
    std::vector<PopupMenuItem> out;
    if (Menu* m = MenuFrom(handle)) {
        for (const MenuEntry& item : m->items) {
            out.push_back(
                PopupMenuItem{item.popup ? 0u : item.id, item.flags, item.text,
                              item.popup ? ItemsOf(item.popup) : std::vector<PopupMenuItem>{}});
        }
    }
    return out;
}

void FillQMenu(QMenu* target, const std::vector<PopupMenuItem>& items) {
    for (const PopupMenuItem& item : items) {
        if (item.flags & MF_SEPARATOR) {
            target->addSeparator();
            continue;
        }
        QString text = QString::fromStdU16String(item.text);
        if (item.flags & MF_POPUP) {
            FillQMenu(target->addMenu(text), item.popup);
            continue;
        }
        QAction* a = target->addAction(text);
        a->setData(item.id);
        a->setEnabled(!(item.flags & (MF_GRAYED | MF_DISABLED)));
        a->setCheckable((item.flags & MF_CHECKED) != 0);
        a->setChecked((item.flags & MF_CHECKED) != 0);
    }
}

UINT ShowQMenu(const PopupMenuRequest& r) {
    QMenu menu;
    FillQMenu(&menu, r.items);
    QSize size = menu.sizeHint();
    QPoint at(r.x, r.y);
    if (r.flags & TPM_RIGHTALIGN) {
        at.rx() -= size.width();
    } else if (r.flags & TPM_CENTERALIGN) {
        at.rx() -= size.width() / 2;
    }
    if (r.flags & TPM_BOTTOMALIGN) {
        at.ry() -= size.height();
    } else if (r.flags & TPM_VCENTERALIGN) {
        at.ry() -= size.height() / 2;
    }
    QAction* chosen = menu.exec(at);
    return chosen != nullptr ? chosen->data().toUInt() : 0;
}

// The index of an item by position or by command (searching sub-menus), with its menu.
bool Locate(HMENU handle, UINT item, UINT flags, Menu** owner, std::size_t* index) {
    Menu* m = MenuFrom(handle);
    if (m == nullptr) {
        return false;
    }
    if (flags & MF_BYPOSITION) {
        if (item >= m->items.size()) {
            return false;
        }
        *owner = m;
        *index = item;
        return true;
    }
    for (std::size_t i = 0; i < m->items.size(); ++i) {
        if (!m->items[i].popup && m->items[i].id == item) {
            *owner = m;
            *index = i;
            return true;
        }
        if (m->items[i].popup && Locate(m->items[i].popup, item, flags, owner, index)) {
            return true;
        }
    }
    return false;
}

} // namespace

Menu::~Menu() = default;

Menu* MenuFrom(HMENU menu) {
    auto it = Live().find(reinterpret_cast<std::uintptr_t>(menu));
    return it == Live().end() ? nullptr : it->second.get();
}

Menu* NewMenu() {
    std::uintptr_t serial = nextSerial;
    nextSerial += 2;
    auto m = std::make_unique<Menu>(serial);
    Menu* raw = m.get();
    Live()[serial] = std::move(m);
    return raw;
}

PopupMenuHandler SetPopupMenuHandler(PopupMenuHandler handler) {
    return std::exchange(Handler(), std::move(handler));
}

} // namespace korvyn::platform

HMENU LoadMenu(HINSTANCE instance, LPCWSTR name) {
    return korvyn::platform::MenuFromResource(instance, name);
}

HMENU CreatePopupMenu() {
    return korvyn::platform::NewMenu()->handle();
}

HMENU CreateMenu() {
    return CreatePopupMenu();
}

BOOL DestroyMenu(HMENU handle) {
    Menu* m = MenuFrom(handle);
    if (m == nullptr) {
        return FALSE;
    }
    std::vector<HMENU> popups;
    for (const MenuEntry& item : m->items) {
        if (item.popup) {
            popups.push_back(item.popup);
        }
    }
    korvyn::platform::Live().erase(m->serial);
    for (HMENU p : popups) {
        DestroyMenu(p);
    }
    return TRUE;
}

HMENU GetSubMenu(HMENU handle, int position) {
    Menu* m = MenuFrom(handle);
    if (m == nullptr || position < 0 || position >= int(m->items.size())) {
        return nullptr;
    }
    return m->items[std::size_t(position)].popup;
}

int GetMenuItemCount(HMENU handle) {
    Menu* m = MenuFrom(handle);
    return m != nullptr ? int(m->items.size()) : -1;
}

UINT GetMenuItemID(HMENU handle, int position) {
    Menu* m = MenuFrom(handle);
    if (m == nullptr || position < 0 || position >= int(m->items.size())) {
        return UINT(-1);
    }
    const MenuEntry& item = m->items[std::size_t(position)];
    return item.popup ? UINT(-1) : item.id;
}

BOOL RemoveMenu(HMENU handle, UINT item, UINT flags) {
    Menu* owner = nullptr;
    std::size_t index = 0;
    if (!korvyn::platform::Locate(handle, item, flags, &owner, &index)) {
        return FALSE;
    }
    owner->items.erase(owner->items.begin() + std::ptrdiff_t(index));
    return TRUE;
}

BOOL DeleteMenu(HMENU handle, UINT item, UINT flags) {
    Menu* owner = nullptr;
    std::size_t index = 0;
    if (!korvyn::platform::Locate(handle, item, flags, &owner, &index)) {
        return FALSE;
    }
    HMENU popup = owner->items[index].popup;
    owner->items.erase(owner->items.begin() + std::ptrdiff_t(index));
    if (popup) {
        DestroyMenu(popup);
    }
    return TRUE;
}

BOOL InsertMenu(HMENU handle, UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
    Menu* m = MenuFrom(handle);
    if (m == nullptr) {
        return FALSE;
    }
    MenuEntry item;
    item.flags = flags & ~MF_BYPOSITION;
    if (flags & MF_POPUP) {
        item.popup = reinterpret_cast<HMENU>(idOrPopup);
        if (MenuFrom(item.popup) == nullptr) {
            return FALSE;
        }
    } else {
        item.id = UINT(idOrPopup);
    }
    if (!(flags & MF_SEPARATOR) && text != nullptr) {
        item.text = text;
    }
    std::size_t at = m->items.size();
    if (flags & MF_BYPOSITION) {
        at = std::min<std::size_t>(position, m->items.size());
    } else {
        Menu* owner = nullptr;
        std::size_t index = 0;
        if (korvyn::platform::Locate(handle, position, MF_BYCOMMAND, &owner, &index)) {
            owner->items.insert(owner->items.begin() + std::ptrdiff_t(index), std::move(item));
            return TRUE;
        }
    }
    m->items.insert(m->items.begin() + std::ptrdiff_t(at), std::move(item));
    return TRUE;
}

BOOL AppendMenu(HMENU handle, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
    return InsertMenu(handle, UINT(-1), flags | MF_BYPOSITION, idOrPopup, text);
}

int GetMenuString(HMENU handle, UINT item, LPWSTR buffer, int maxCount, UINT flags) {
    Menu* owner = nullptr;
    std::size_t index = 0;
    if (!korvyn::platform::Locate(handle, item, flags, &owner, &index)) {
        return 0;
    }
    const std::u16string& text = owner->items[index].text;
    if (buffer == nullptr || maxCount <= 0) {
        return int(text.size());
    }
    std::size_t n = std::min<std::size_t>(text.size(), std::size_t(maxCount - 1));
    std::copy_n(text.data(), n, buffer);
    buffer[n] = 0;
    return int(n);
}

BOOL TrackPopupMenu(HMENU handle, UINT flags, int x, int y, int /*reserved*/, HWND owner,
                    LPCRECT /*rect*/) {
    using namespace korvyn::platform;
    if (MenuFrom(handle) == nullptr) {
        return FALSE;
    }
    PopupMenuRequest request{owner, handle, x, y, flags, ItemsOf(handle)};
    UINT chosen = 0;
    if (Handler()) {
        chosen = Handler()(request);
    } else if (!IsHeadless()) {
        chosen = ShowQMenu(request);
    }
    if (flags & TPM_RETURNCMD) {
        return BOOL(chosen);
    }
    if (chosen != 0 && !(flags & TPM_NONOTIFY)) {
        ::PostMessage(owner, WM_COMMAND, MAKEWPARAM(WORD(chosen), 0), 0);
    }
    return chosen != 0;
}

CMenu::~CMenu() {
    if (!m_wrapper) {
        DestroyMenu();
    }
}

CMenu* CMenu::FromHandle(HMENU handle) {
    Menu* m = MenuFrom(handle);
    if (m == nullptr) {
        return nullptr;
    }
    if (!m->wrapper) {
        m->wrapper = std::make_unique<CMenu>();
        m->wrapper->m_hMenu = handle;
        m->wrapper->m_wrapper = true;
    }
    return m->wrapper.get();
}

BOOL CMenu::LoadMenu(UINT id) {
    return Attach(::LoadMenu(nullptr, reinterpret_cast<LPCWSTR>(std::uintptr_t(id))));
}

BOOL CMenu::CreatePopupMenu() {
    return Attach(::CreatePopupMenu());
}

BOOL CMenu::DestroyMenu() {
    if (m_hMenu == nullptr) {
        return FALSE;
    }
    BOOL ok = ::DestroyMenu(m_hMenu);
    m_hMenu = nullptr;
    return ok;
}

BOOL CMenu::Attach(HMENU menu) {
    if (m_hMenu != nullptr || menu == nullptr) {
        return FALSE;
    }
    m_hMenu = menu;
    return TRUE;
}

HMENU CMenu::Detach() {
    return std::exchange(m_hMenu, nullptr);
}

CMenu* CMenu::GetSubMenu(int position) const {
    return FromHandle(::GetSubMenu(m_hMenu, position));
}

UINT CMenu::GetMenuItemCount() const {
    return UINT(::GetMenuItemCount(m_hMenu));
}

UINT CMenu::GetMenuItemID(int position) const {
    return ::GetMenuItemID(m_hMenu, position);
}

BOOL CMenu::DeleteMenu(UINT item, UINT flags) {
    return ::DeleteMenu(m_hMenu, item, flags);
}

BOOL CMenu::RemoveMenu(UINT item, UINT flags) {
    return ::RemoveMenu(m_hMenu, item, flags);
}

BOOL CMenu::InsertMenu(UINT position, UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
    return ::InsertMenu(m_hMenu, position, flags, idOrPopup, text);
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idOrPopup, LPCWSTR text) {
    return ::AppendMenu(m_hMenu, flags, idOrPopup, text);
}

int CMenu::GetMenuString(UINT item, std::u16string& text, UINT flags) const {
    int n = ::GetMenuString(m_hMenu, item, nullptr, 0, flags);
    text.assign(std::size_t(n) + 1, u'\0');
    n = ::GetMenuString(m_hMenu, item, text.data(), n + 1, flags);
    text.resize(std::size_t(n));
    return n;
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner, LPCRECT rect) {
    return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner ? owner->m_hWnd : nullptr, rect);
}
