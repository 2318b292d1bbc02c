#include "platform/ui/CDataExchange.h"

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
    if (control.m_hWnd == nullptr && pDX != nullptr && pDX->m_pDlgWnd != nullptr) {
        control.SubclassDlgItem(static_cast<UINT>(id), pDX->m_pDlgWnd);
    }
}

void DDX_Text(CDataExchange* pDX, int id, std::u16string& value) {
    if (pDX == nullptr || pDX->m_pDlgWnd == nullptr) {
        return;
    }
    CWnd* item = pDX->m_pDlgWnd->GetDlgItem(id);
    if (item == nullptr) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        item->GetWindowText(value);
        return;
    }
    // A text that is already shown is left alone, so the control is not repainted.
    std::u16string shown;
    item->GetWindowText(shown);
    if (shown != value) {
        item->SetWindowText(value.c_str());
    }
}

void DDX_Radio(CDataExchange* pDX, int id, int& index) {
    if (pDX == nullptr || pDX->m_pDlgWnd == nullptr) {
        return;
    }
    CWnd* dlg = pDX->m_pDlgWnd;
    CWnd* first = dlg->GetDlgItem(id);
    if (first == nullptr) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        index = -1;
    }
    int i = 0;
    CWnd* button = first;
    do {
        if (pDX->m_bSaveAndValidate) {
            if (button->SendMessage(BM_GETCHECK) == BST_CHECKED) {
                index = i;
            }
        } else {
            button->SendMessage(BM_SETCHECK, i == index ? BST_CHECKED : BST_UNCHECKED);
        }
        ++i;
        button = button->GetWindow(GW_HWNDNEXT);
    } while (button != nullptr && !(button->GetStyle() & WS_GROUP));
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    if (pDX == nullptr || pDX->m_pDlgWnd == nullptr) {
        return;
    }
    CWnd* item = pDX->m_pDlgWnd->GetDlgItem(id);
    if (item == nullptr) {
        return;
    }
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(item->SendMessage(BM_GETCHECK));
    } else {
        item->SendMessage(BM_SETCHECK, static_cast<WPARAM>(value));
    }
}
