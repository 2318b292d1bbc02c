// Network names of every kind, read from the adapter as raw bytes: as the list shows them
// and as the zoomed meter draws them (a run of the program checks what Save writes of
// them). A name is its SSID length's bytes (all 32 for a length of 0 or above 31) up to
// the first zero byte, read as UTF-8 with any other byte taken as the Latin-1 character
// of its value; nothing else may change it.
#include "ZoomFixture.h"

#include "platform/devices/DeviceIo.h"
#include "support/FakeWifiDriver.h"
#include "wifi/DAvirIzev.h"

#include <cstdio>

using namespace korvyn::test;

namespace {

struct Name {
    std::string bytes;
    std::u16string shown;
    ULONG length;
};

Name N(std::string bytes, std::u16string shown, long length = -1) {
    const auto size = static_cast<ULONG>(length < 0 ? bytes.size() : length);
    return {std::move(bytes), std::move(shown), size};
}

std::string Repeat(const std::string& s, int n) {
    std::string out;
    while (n--)
        out += s;
    return out;
}

const std::vector<Name>& Names() {
    static const std::vector<Name> names = {
        N("Ritz", u"Ritz"),
        N(std::string("ab\0cd", 5), u"ab"),
        N(std::string("\0abc", 4), u""),
        N(std::string(32, 'L'), std::u16string(32, u'L'), 0),
        N(std::string(32, 'M'), std::u16string(32, u'M'), 40),
        N("short and long", u"sho", 3),
        N("\xc3\x28", u"\u00c3("),
        N("\xed\xa0\x80", u"\u00ed\u00a0\u0080"),
        N("\xc0\xaf", u"\u00c0\u00af"),
        N("\xff\xfe", u"\u00ff\u00fe"),
        N("\x01\x1f\x7f\x85\xa0", u"\u0001\u001f\u007f\u0085\u00a0"),
        N("\xf0\x9f\x98\x80", u"\U0001F600"),
        N(Repeat("\xc3\xa9", 16), std::u16string(16, u'\u00e9')),
        N(Repeat("\xc3\xa9", 16), std::u16string(15, u'\u00e9') + u"\u00c3", 31),
        N(Repeat("\xf0\x9f\x98\x80", 8),
          [] {
              std::u16string s;
              for (int i = 0; i < 8; ++i)
                  s += u"\U0001F600";
              return s;
          }()),
        N("say \"hi\", ok", u"say \"hi\", ok"),
        N("line1\nline2", u"line1\nline2"),
        N("cr\rlf\r\n", u"cr\rlf\r\n"),
        N("=1+1", u"=1+1"),
        N("+SUM(A1)", u"+SUM(A1)"),
        N("-2+3", u"-2+3"),
        N("@cmd", u"@cmd"),
        N("=cmd|' /C calc'!A0", u"=cmd|' /C calc'!A0"),
    };
    return names;
}

std::u16string MacText(std::size_t k) {
    char text[18];
    std::snprintf(text, sizeof text, "02-4E-00-00-00-%02X", static_cast<unsigned>(k));
    return std::u16string(text, text + 17);
}

class NetworkNames : public ZoomFixture {
protected:
    void SetUp() override {
        ZoomFixture::SetUp();
        OpenPage();
        std::vector<std::string> entries;
        for (std::size_t k = 0; k < Names().size(); ++k)
            entries.push_back(EntryBytes()
                                  .Mac({0x02, 0x4e, 0, 0, 0, static_cast<BYTE>(k)})
                                  .Ssid(Names()[k].length, Names()[k].bytes)
                                  .Rssi(static_cast<DWORD>(-40 - static_cast<int>(k)))
                                  .Bytes());
        driver->list = ListBytes(static_cast<ULONG>(entries.size()), entries);
        korvyn::platform::SetWifiDriver(driver);
        DAvirIzev adapter;
        ScanObservation observations[128];
        DWORD count = 0;
        ASSERT_TRUE(adapter.GetBSSIDs(u"wlan0", observations, sizeof observations, count));
        ASSERT_EQ(count, Names().size());
        Merge(std::vector<ScanObservation>(observations, observations + count));
        page->RefreshList();
        Shot(*page); // the list takes its font
    }
    void TearDown() override {
        korvyn::platform::SetWifiDriver(nullptr);
        ZoomFixture::TearDown();
    }
    int RowOfStation(std::size_t k) {
        for (int r = 0; r < List().GetItemCount(); ++r)
            if (Cell(r, 5) == MacText(k))
                return r;
        return -1;
    }
    std::shared_ptr<FakeWifiDriver> driver = std::make_shared<FakeWifiDriver>();
};

TEST_F(NetworkNames, TheListShowsEachNameAsRead) {
    ASSERT_EQ(List().GetItemCount(), static_cast<int>(Names().size()));
    for (std::size_t k = 0; k < Names().size(); ++k) {
        const int row = RowOfStation(k);
        ASSERT_GE(row, 0) << k;
        EXPECT_EQ(Cell(row, 0), Names()[k].shown) << "name " << k;
    }
}

TEST_F(NetworkNames, TheMeterDrawsEachNameAsShown) {
    for (std::size_t k = 0; k < Names().size(); ++k) {
        const std::u16string& name = Names()[k].shown;
        if (name.empty())
            continue;
        page->RestoreList();
        page->RefreshList();
        const int row = RowOf(name);
        List().EnsureVisible(row, FALSE); // a tap reaches only the rows on the page
        menus.Choose(ID_ZOOM);
        TapRow(row);
        ASSERT_TRUE(page->IsZoomed()) << "name " << k;
        const std::string magnitude = std::to_string(40 + k);
        EXPECT_EQ(DiffersFromMeter(std::u16string(magnitude.begin(), magnitude.end()), name), 0)
            << "name " << k;
    }
}

} // namespace
