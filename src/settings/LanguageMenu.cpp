#include "settings/LanguageMenu.h"

#include "platform/ui/CMenu.h"
#include "platform/ui/CWinApp.h"
#include "resource.h"
#include "settings/CSettings.h"
#include "settings/Languages.h"

#include <string>

namespace korvyn {

bool ShowLanguageMenu(const CSettings& settings, CWnd* owner, CPoint corner) {
    CMenu menu;
    if (!menu.LoadMenu(IDR_LANGUAGE_MENU)) {
        return false;
    }
    CMenu* popup = menu.GetSubMenu(0);
    if (popup == nullptr) {
        return false;
    }
    DWORD language = 0;
    settings.GetValue(CSettings::kLanguage, language);
    // A number out of range stands for English, whose item goes then.
    popup->DeleteMenu(LanguageByNumber(static_cast<int>(language)).menuId, MF_BYCOMMAND);
    return popup->TrackPopupMenu(TPM_LEFTALIGN | TPM_BOTTOMALIGN, corner.x, corner.y, owner);
}

bool ChooseLanguage(CSettings& settings, UINT command) {
    const LanguageInfo* language = LanguageByMenuId(command);
    if (language == nullptr) {
        return false;
    }
    const std::u16string question = u"Are you sure you want to change program language to " +
                                    std::u16string(language->name) + u"?";
    if (AfxMessageBox(question.c_str(), MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return false;
    }
    settings.SetValue(CSettings::kLanguage, static_cast<DWORD>(language->number));
    AfxMessageBox(u"Program language changed. Restart the application for the change to take "
                  u"effect.",
                  MB_OK | MB_ICONINFORMATION);
    return true;
}

} // namespace korvyn
