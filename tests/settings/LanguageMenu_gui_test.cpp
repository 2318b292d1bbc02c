// The language menu of the options page: which languages it offers, where it opens, and
// choosing one, confirmed or not, up to the texts of the next start.
#include "OptionsFixture.h"

#include "platform/ui/CMenu.h"
#include "settings/LanguageMenu.h"
#include "settings/Languages.h"

#include <algorithm>

using namespace korvyn::test;

namespace {

class LanguageMenu : public OptionsFixture {
protected:
    std::vector<std::u16string> Offered(const korvyn::platform::PopupMenuRequest& menu) {
        std::vector<std::u16string> texts;
        for (const auto& item : menu.items) {
            texts.push_back(item.text);
        }
        return texts;
    }
    static bool Has(const std::vector<std::u16string>& texts, const std::u16string& text) {
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }
};

TEST_F(LanguageMenu, OffersEveryLanguageButTheStoredOne) {
    struct Case {
        DWORD stored;
        std::u16string missing;
    };
    std::size_t opened = 0;
    for (const Case& c :
         {Case{1, u"E&nglish Australia"}, Case{12, u"Italiano"}, Case{0, u"&English"},
          Case{13, u"&English"}, Case{0xFFFFFFFF, u"&English"}, Case{10, u"P&усский"}}) {
        settings.SetValue(CSettings::kLanguage, c.stored);
        Open();
        Tap(IDC_LANGUAGE);
        ASSERT_EQ(menus.shown().size(), ++opened) << c.stored;
        const auto texts = Offered(menus.shown().back());
        EXPECT_EQ(texts.size(), 12u) << c.stored;
        EXPECT_FALSE(Has(texts, c.missing)) << c.stored;
        for (const auto& language : korvyn::kLanguages) {
            if (language.menuText != c.missing) {
                EXPECT_TRUE(Has(texts, language.menuText)) << c.stored;
            }
        }
        EXPECT_TRUE(boxes.shown().empty()) << "dismissed: nothing asked";
    }
}

TEST_F(LanguageMenu, OpensAboveTheLanguageButton) {
    Open();
    Tap(IDC_LANGUAGE);
    ASSERT_EQ(menus.shown().size(), 1u);
    const auto& menu = menus.shown().back();
    CRect button;
    Item(IDC_LANGUAGE).GetWindowRect(&button);
    // Its bottom-left corner at the button's top-left corner.
    EXPECT_EQ(menu.x, button.left);
    EXPECT_EQ(menu.y, button.top);
    EXPECT_EQ(menu.flags & (TPM_BOTTOMALIGN | TPM_VCENTERALIGN | TPM_RIGHTALIGN | TPM_CENTERALIGN |
                            TPM_RETURNCMD),
              TPM_BOTTOMALIGN);
    EXPECT_EQ(menu.owner, page->m_hWnd);
}

TEST_F(LanguageMenu, NoLeavesTheLanguageAsItWas) {
    settings.SetValue(CSettings::kLanguage, 3);
    Open();
    menus.Choose(ID_LANGUAGE_FRENCH_CANADA);
    boxes.Answer(IDNO);
    Tap(IDC_LANGUAGE);
    ASSERT_EQ(boxes.shown().size(), 1u) << "no second message";
    const auto& question = boxes.shown()[0];
    EXPECT_EQ(question.text, u"Are you sure you want to change program language to French Canada?");
    EXPECT_EQ(question.caption, u"Korvyn");
    EXPECT_EQ(question.type & MB_TYPEMASK, UINT(MB_YESNO));
    EXPECT_EQ(question.type & MB_ICONMASK, UINT(MB_ICONQUESTION));
    EXPECT_EQ(Value(CSettings::kLanguage), 3u);
}

TEST_F(LanguageMenu, YesStoresTheLanguageForTheNextStart) {
    settings.SetValue(CSettings::kLanguage, 4);
    Open();
    menus.Choose(ID_LANGUAGE_FRENCH_CANADA);
    boxes.Answer(IDYES);
    Tap(IDC_LANGUAGE);
    ASSERT_EQ(boxes.shown().size(), 2u);
    EXPECT_EQ(boxes.shown()[0].text,
              u"Are you sure you want to change program language to French Canada?");
    const auto& notice = boxes.shown()[1];
    EXPECT_EQ(notice.text,
              u"Program language changed. Restart the application for the change to take effect.");
    EXPECT_EQ(notice.caption, u"Korvyn");
    EXPECT_EQ(notice.type & MB_TYPEMASK, UINT(MB_OK));
    EXPECT_EQ(notice.type & MB_ICONMASK, UINT(MB_ICONINFORMATION));
    EXPECT_EQ(Value(CSettings::kLanguage), 8u);

    // The running page keeps its texts; the menu now leaves out French Canada. The USA
    // spelling of the question is the program's own.
    EXPECT_EQ(Text(IDC_SPEED_LABEL), u"Refresh:");
    menus.Choose(ID_LANGUAGE_ENGLISH_USA);
    boxes.Answer(IDNO);
    Tap(IDC_LANGUAGE);
    ASSERT_EQ(menus.shown().size(), 2u);
    const auto texts = Offered(menus.shown().back());
    EXPECT_FALSE(std::find(texts.begin(), texts.end(), u"Français &Québec") != texts.end());
    EXPECT_TRUE(std::find(texts.begin(), texts.end(), u"English &USA") != texts.end());
    ASSERT_EQ(boxes.shown().size(), 3u);
    EXPECT_EQ(boxes.shown()[2].text,
              u"Are you sure you want to change program language to Englis USA?");
    EXPECT_EQ(Value(CSettings::kLanguage), 8u);

    // At the next start the texts are French.
    ASSERT_TRUE(settings.Save());
    CSettings restarted;
    ASSERT_TRUE(restarted.Load());
    DWORD language = 0;
    restarted.GetValue(CSettings::kLanguage, language);
    languages.Load(static_cast<int>(language));
    settings = restarted;
    Open();
    EXPECT_EQ(Text(IDC_SPEED_LABEL), u"Vitesse scrut.:");
    EXPECT_EQ(Text(IDC_HIDE_PEERS), u"Montrer pairs");
}

TEST_F(LanguageMenu, CommandsOtherThanLanguagesAskNothing) {
    Open();
    page->SendMessage(WM_COMMAND, MAKEWPARAM(ID_ZOOM, 0), 0);
    page->SendMessage(WM_COMMAND, MAKEWPARAM(32778, 0), 0);
    EXPECT_TRUE(boxes.shown().empty());
    EXPECT_FALSE(korvyn::ChooseLanguage(settings, 32778));
    EXPECT_EQ(Value(CSettings::kLanguage), 0u);
}

} // namespace
