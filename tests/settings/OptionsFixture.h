#pragma once
// The options page inside a stand-in main window, beside a real network list page, with
// its own registry file, settings and English texts, and message boxes and menus
// answered by script.
#include "controls/CColoredDlg.h"
#include "core/StationTable.h"
#include "platform/registry/Registry.h"
#include "platform/ui/DeviceScreen.h"
#include "platform/ui/detail/Window.h"
#include "resource.h"
#include "settings/CLanguageTable.h"
#include "settings/COptionsDlg.h"
#include "settings/CSettings.h"
#include "support/TempDir.h"
#include "support/gui/HostDialog.h"
#include "support/gui/ScriptedMessageBoxes.h"
#include "support/gui/ScriptedPopupMenus.h"
#include "support/gui/WindowPixels.h"
#include "views/CScannerDlg.h"

#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace korvyn::test {

class OptionsFixture : public ::testing::Test {
protected:
    void SetUp() override {
        platform::SetRegistryFile(dir / "registry.reg");
        platform::SetProfileKey(kProfileMaker, kProfileProgram);
        platform::SetDeviceScreenSize(240, 320);
        settings.SetValue(CSettings::kLanguage, 0);
        languages.Load(0);
    }
    void TearDown() override {
        Close();
        platform::SetProfileKey(u"", u"");
        platform::SetRegistryFile({});
    }

    void Close() {
        page.reset();
        listPage.reset();
        mainWindow.reset();
    }
    // Makes the pages afresh from the settings as they stand.
    void Open() {
        Close();
        mainWindow = std::make_unique<HostDialog>(IDD_MAIN_PORTRAIT); // the main window's stand-in
        ASSERT_TRUE(mainWindow->Open());
        listPage = std::make_unique<CScannerDlg>(stations, settings, languages, mainWindow.get());
        ASSERT_TRUE(listPage->Create(listPage->GetTemplateId(), mainWindow.get()));
        page = std::make_unique<COptionsDlg>(settings, languages, mainWindow.get());
        page->SetListPage(listPage.get());
        ASSERT_TRUE(page->Create(page->GetTemplateId(), mainWindow.get()));
        page->ShowWindow(SW_SHOW);
    }

    CWnd& Item(int id) { return *page->GetDlgItem(id); }
    // The page's own object for a control.
    template <class T> T& ItemAs(int id) {
        auto* item = dynamic_cast<T*>(page->GetDlgItem(id));
        EXPECT_NE(item, nullptr) << id;
        return *item;
    }
    std::u16string Text(int id) { return Item(id).GetWindowText(); }
    DWORD Value(int index) {
        DWORD value = 0xDEAD;
        EXPECT_TRUE(settings.GetValue(index, value));
        return value;
    }
    void Tap(int id, QPoint at = {3, 3}) {
        QTest::mouseClick(WidgetOf(Item(id)), Qt::LeftButton, {}, at);
        QCoreApplication::processEvents(); // a menu's command arrives after the menu
    }

    TempDir dir;
    CSettings settings;
    CLanguageTable languages;
    StationTable stations{settings};
    ScriptedMessageBoxes boxes;
    ScriptedPopupMenus menus;
    std::unique_ptr<HostDialog> mainWindow;
    std::unique_ptr<CScannerDlg> listPage;
    std::unique_ptr<COptionsDlg> page;
};

} // namespace korvyn::test
