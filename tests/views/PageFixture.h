#pragma once
// The list page inside the main window's portrait layout, fed by its own station table,
// settings and English texts, with the clock under control.
#include "core/StationTable.h"
#include "platform/system/SystemTime.h"
#include "platform/system/TextCodec.h"
#include "platform/ui/AfxWin.h"
#include "resource.h"
#include "settings/CLanguageTable.h"
#include "settings/CSettings.h"
#include "support/Observations.h"
#include "support/gui/ScriptedMessageBoxes.h"
#include "support/gui/ScriptedPopupMenus.h"
#include "support/gui/WindowPixels.h"
#include "views/CScannerDlg.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace korvyn::test {

inline SYSTEMTIME Time(int y, int mo, int d, int h, int mi, int s) {
    return SYSTEMTIME{WORD(y), WORD(mo), 0, WORD(d), WORD(h), WORD(mi), WORD(s), 0};
}

class PageFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetDeviceScreenSize(240, 320);
        platform::SetLocalTimeSource([this] { return now; });
        languages.Load(0);
    }
    void TearDown() override {
        page.reset();
        mainWindow.reset();
        platform::SetLocalTimeSource({});
    }

    void OpenPage() {
        mainWindow = std::make_unique<CDialog>(IDD_MAIN_PORTRAIT);
        ASSERT_TRUE(mainWindow->Create(IDD_MAIN_PORTRAIT));
        mainWindow->ShowWindow(SW_SHOW);
        page = std::make_unique<CScannerDlg>(stations, settings, languages, mainWindow.get());
        ASSERT_TRUE(page->Create(page->GetTemplateId(), mainWindow.get()));
        page->ShowWindow(SW_SHOW);
    }
    void Merge(std::vector<ScanObservation> scan) {
        stations.Merge(scan.data(), static_cast<DWORD>(scan.size()));
    }
    CListCtrl& List() { return *static_cast<CListCtrl*>(page->GetDlgItem(IDC_LIST)); }

    // A cell's text, asked for the way the list asks, into a buffer of `size` units.
    std::u16string Cell(int row, int column, int size = 260) {
        std::vector<WCHAR> buffer(static_cast<std::size_t>(size) + 1, u'#');
        NMLVDISPINFO info{{List().m_hWnd, IDC_LIST, static_cast<UINT>(LVN_GETDISPINFOW)},
                          {LVIF_TEXT, row, column, 0, 0, buffer.data(), size, 0, 0}};
        EXPECT_EQ(page->SendMessage(WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&info)), 0);
        EXPECT_EQ(buffer.back(), u'#') << "written past the buffer";
        return buffer.data();
    }
    std::vector<std::u16string> Row(int row) {
        std::vector<std::u16string> texts;
        for (int column = 0; column < 10; ++column) {
            texts.push_back(Cell(row, column));
        }
        return texts;
    }
    int RowOf(const std::u16string& name) {
        for (int r = 0; r < List().GetItemCount(); ++r) {
            if (Cell(r, 0) == name) {
                return r;
            }
        }
        return -1;
    }
    std::u16string Text(int id) { return page->GetDlgItem(id)->GetWindowText(); }

    SYSTEMTIME now = Time(2008, 4, 20, 4, 20, 27);
    CSettings settings;
    CLanguageTable languages;
    StationTable stations{settings};
    std::unique_ptr<CDialog> mainWindow;
    std::unique_ptr<CScannerDlg> page;
};

} // namespace korvyn::test
