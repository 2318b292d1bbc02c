#pragma once
// CGdiObject: the C++ object of a pen, brush, font or bitmap handle. The object deletes
// the handle it holds when it goes away, unless the handle was detached or is a stock
// object.
#include "platform/ui/CObject.h"
#include "platform/ui/WinGdi.h"

class CGdiObject : public CObject {
    DECLARE_DYNAMIC(CGdiObject)
public:
    CGdiObject() = default;
    ~CGdiObject() override;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    HGDIOBJ m_hObject = nullptr;
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }

    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();
    BOOL DeleteObject();
    BOOL CreateStockObject(int index);
    int GetObject(int size, LPVOID out) const;

    // A wrapper that lives as long as the handle (not owning it); nullptr for no handle.
    static CGdiObject* FromHandle(HGDIOBJ object);

protected:
    // Wrappers made by FromHandle never delete their handle.
    bool m_wrapperOnly = false;
};
