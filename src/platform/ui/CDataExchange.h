#pragma once
// Data exchange between a dialog's controls and its members, run by UpdateData:
// DDX_Control attaches a C++ control object to the control window of an identifier
// (once); DDX_Text and DDX_Radio copy values one way or the other.
#include "platform/ui/CWnd.h"

#include <string>

class CDataExchange {
public:
    CDataExchange(CWnd* dlg, BOOL saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dlg) {}

    BOOL m_bSaveAndValidate; // TRUE: controls to members
    CWnd* m_pDlgWnd;
};

void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_Text(CDataExchange* pDX, int id, std::u16string& value);
// The index of the checked button in the group that starts with id, -1 for none.
void DDX_Radio(CDataExchange* pDX, int id, int& index);
void DDX_Check(CDataExchange* pDX, int id, int& value);
