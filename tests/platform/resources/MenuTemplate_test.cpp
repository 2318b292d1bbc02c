#include "platform/resources/MenuTemplate.h"

#include "support/ResBuilder.h"
#include "winstyles.h"

#include <gtest/gtest.h>

using namespace korvyn::platform;
using namespace korvyn::test;

namespace {

void Popup(std::vector<BYTE>& out, WORD flags, const std::u16string& text) {
    PutWord(out, static_cast<WORD>(MF_POPUP | flags));
    PutText(out, text);
}

void Item(std::vector<BYTE>& out, WORD flags, WORD id, const std::u16string& text) {
    PutWord(out, flags);
    PutWord(out, id);
    PutText(out, text);
}

std::vector<BYTE> Header() {
    return std::vector<BYTE>(4, 0);
}

TEST(MenuTemplate, ParsesPopupsItemsAndSeparators) {
    auto bytes = Header();
    Popup(bytes, MF_END, u"POPUP");
    Item(bytes, 0, 32774, u"&English");
    Item(bytes, MF_GRAYED | MF_CHECKED, 32780, u"P&усский");
    Item(bytes, 0, 0, u"");
    Popup(bytes, MF_END, u"More");
    Item(bytes, MF_END, 32771, u"ZOOM");

    std::vector<MenuItem> menu;
    ASSERT_TRUE(ParseMenuTemplate(bytes.data(), bytes.size(), menu));
    ASSERT_EQ(menu.size(), 1u);
    const MenuItem& popup = menu[0];
    EXPECT_TRUE(popup.IsPopup());
    EXPECT_EQ(popup.text, u"POPUP");
    EXPECT_EQ(popup.flags, MF_POPUP); // the end flag is not kept
    ASSERT_EQ(popup.children.size(), 4u);
    EXPECT_EQ(popup.children[0].id, 32774);
    EXPECT_EQ(popup.children[0].text, u"&English");
    EXPECT_EQ(popup.children[1].text, u"P&усский");
    EXPECT_EQ(popup.children[1].flags, MF_GRAYED | MF_CHECKED);
    EXPECT_TRUE(popup.children[2].IsSeparator());
    EXPECT_FALSE(popup.children[0].IsSeparator());
    ASSERT_EQ(popup.children[3].children.size(), 1u);
    EXPECT_EQ(popup.children[3].children[0].id, 32771);
    EXPECT_EQ(popup.children[3].children[0].text, u"ZOOM");
}

TEST(MenuTemplate, MalformedTemplatesAreRefused) {
    auto good = Header();
    Popup(good, MF_END, u"POPUP");
    Item(good, MF_END, 32771, u"ZOOM");
    std::vector<MenuItem> menu{MenuItem{}};
    for (std::size_t n = 0; n < good.size(); ++n)
        EXPECT_FALSE(ParseMenuTemplate(good.data(), n, menu)) << n;
    EXPECT_EQ(menu.size(), 1u); // untouched

    auto extended = good;
    extended[0] = 1; // the extended template format
    EXPECT_FALSE(ParseMenuTemplate(extended.data(), extended.size(), menu));

    auto unterminated = Header();
    Item(unterminated, 0, 1, u"no end flag");
    EXPECT_FALSE(ParseMenuTemplate(unterminated.data(), unterminated.size(), menu));

    auto deep = Header();
    for (int i = 0; i < 40; ++i)
        Popup(deep, MF_END, u"x");
    Item(deep, MF_END, 1, u"leaf");
    EXPECT_FALSE(ParseMenuTemplate(deep.data(), deep.size(), menu));
    EXPECT_EQ(menu.size(), 1u);
}

} // namespace
