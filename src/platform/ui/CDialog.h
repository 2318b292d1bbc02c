#pragma once
// CDialog: a window laid out from a dialog template. Modal dialogs run with DoModal
// until EndDialog; modeless ones (the pages) are created with Create as children of
// their parent. Controls are created in template order from the parsed template;
// OnInitDialog then runs the data exchange, which attaches the program's control objects
// to their windows.
//
// Dialog units convert with fixed base units (see DeviceScreen.h); a control's rectangle
// converts as its edges (x, y, x + cx, y + cy), the same conversion RelayoutDialog uses,
// so a relayout lands exactly where creation would.
#include "platform/ui/CWnd.h"

#include <cstddef>
#include <vector>

namespace korvyn::platform {
struct DialogTemplate;

// The font of a dialog made from this template at the screen's resolution now: its face
// and point size (the system's dialog font without DS_SETFONT), one font per face and size
// in pixels, shared by every dialog that asks for it and never deleted.
HFONT DialogTemplateFont(const DialogTemplate& t);
} // namespace korvyn::platform

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);

    // Runs the dialog modally; the value given to EndDialog, or -1 when the template
    // is missing or malformed. The application's main window fills the device screen.
    virtual std::intptr_t DoModal();
    // Creates a modeless dialog; it is shown when its template has WS_VISIBLE.
    BOOL Create(UINT templateId, CWnd* parent = nullptr);
    // Template bytes instead of a resource.
    BOOL CreateIndirect(const void* templateBytes, std::size_t size, CWnd* parent = nullptr);
    BOOL InitModalIndirect(const void* templateBytes, std::size_t size, CWnd* parent = nullptr);
    void EndDialog(int result);
    void MapDialogRect(LPRECT rect) const;

    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();

    UINT GetTemplateId() const { return m_templateId; }

protected:
    BOOL OnWndMsg(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    UINT m_templateId = 0;
    CWnd* m_pParentWnd = nullptr;

private:
    bool LoadTemplate(korvyn::platform::DialogTemplate& out) const;
    BOOL CreateFromTemplate(const korvyn::platform::DialogTemplate& t, CWnd* parent, bool modal);

    std::vector<BYTE> m_templateBytes;
};
