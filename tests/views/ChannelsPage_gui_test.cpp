// The channels page beside the list page on one station table: the same stations with
// the same hide settings and activity, the band button, and no work while hidden.
#include "PageFixture.h"

#include "views/CChannelsDlg.h"

#include <QCoreApplication>

#include <map>

using namespace korvyn::test;

namespace {

constexpr DWORD kFive = 7, kSix = 8; // the stations on 5 and 6 GHz

class ChannelsPage : public PageFixture {
protected:
    void SetUp() override {
        PageFixture::SetUp();
        OpenPage();
        channels = std::make_unique<CChannelsDlg>(stations, languages, mainWindow.get());
        ASSERT_TRUE(channels->Create(channels->GetTemplateId(), mainWindow.get()));
        channels->ShowWindow(SW_SHOW);
    }
    void TearDown() override {
        channels.reset();
        PageFixture::TearDown();
    }
    // Secured and open access points and peers on 2.4 GHz, one on 5 and one on 6 GHz.
    void Scan(std::vector<DWORD> ids) {
        std::vector<ScanObservation> scan;
        std::vector<korvyn::ChannelUse> uses;
        for (DWORD id : ids) {
            const DWORD channel = 1 + 2 * (id % 6);
            scan.push_back(Obs(id, -40 - 5 * LONG(id),
                               (u"n" + std::u16string(1, u'0' + id)).c_str(), channel,
                               id % 3 == 0 ? 0 : 1, id % 2));
            const DWORD f = id == kFive  ? 5500000
                            : id == kSix ? 6135000
                                         : korvyn::ChannelFrequency(korvyn::Band::Ghz2_4, channel);
            uses.push_back({f, id == kFive ? 80u : 20u, id == kFive ? 5530000 : f});
        }
        stations.Merge(scan.data(), DWORD(scan.size()), uses.data());
        page->RefreshList();
        channels->RefreshChannels();
    }
    // Station numbers the graph shows, with whether each is drawn as heard.
    std::map<DWORD, bool> Graph() {
        Shot(*channels);
        std::map<DWORD, bool> shown;
        for (const auto& s : channels->GetShown())
            shown[s.number] = s.active;
        return shown;
    }
    std::unique_ptr<CChannelsDlg> channels;
};

TEST_F(ChannelsPage, ShowsWhatTheListShowsOnItsBand) {
    Scan({0, 1, 2, 3, 4, 5, 6, kFive, kSix});
    Scan({1, 2, 4, 5, kSix});
    struct Case {
        DWORD hideSecured, hidePeers;
    };
    for (const Case c : {Case{0, 0}, Case{1, 0}, Case{0, 1}, Case{1, 1}}) {
        SCOPED_TRACE("hide secured " + std::to_string(c.hideSecured) + ", peers " +
                     std::to_string(c.hidePeers));
        settings.SetValue(CSettings::kWep, c.hideSecured);
        settings.SetValue(CSettings::kPeer, c.hidePeers);
        page->RefreshList();
        channels->RefreshChannels();
        // The list's rows on 2.4 GHz: the name, and dashes in Sig for stations not heard.
        std::map<DWORD, bool> listed;
        for (int row = 0; row < List().GetItemCount(); ++row) {
            const std::u16string name = Cell(row, 0);
            const DWORD id = DWORD(name[1] - u'0');
            if (id != kFive && id != kSix)
                listed[id] = Cell(row, 1) != u"-----";
        }
        EXPECT_FALSE(listed.empty());
        EXPECT_EQ(Graph(), listed);
    }
    // The other bands show their own stations, the graph follows the band button.
    const std::pair<korvyn::Band, DWORD> bands[] = {{korvyn::Band::Ghz5, kFive},
                                                    {korvyn::Band::Ghz6, kSix}};
    settings.SetValue(CSettings::kWep, 0);
    settings.SetValue(CSettings::kPeer, 0);
    page->RefreshList();
    for (auto [band, id] : bands) {
        channels->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BAND, BN_CLICKED), 0);
        EXPECT_EQ(channels->GetBand(), band);
        EXPECT_EQ(channels->GetDlgItem(IDC_BAND)->GetWindowText(),
                  languages.Text(band == korvyn::Band::Ghz5 ? 39 : 40));
        EXPECT_EQ(Graph(), (std::map<DWORD, bool>{{id, id == kSix}}));
    }
    channels->SendMessage(WM_COMMAND, MAKEWPARAM(IDC_BAND, BN_CLICKED), 0);
    EXPECT_EQ(channels->GetBand(), korvyn::Band::Ghz2_4);
}

TEST_F(ChannelsPage, WorksOnlyWhenShown) {
    channels->ShowWindow(SW_HIDE);
    const unsigned before = channels->GetBuildCount();
    for (int tick = 0; tick < 3; ++tick) {
        Scan({1, 2, 3});
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(channels->GetBuildCount(), before);
    channels->ShowWindow(SW_SHOW);
    EXPECT_EQ(Graph().size(), 3u);
    EXPECT_EQ(channels->GetBuildCount(), before + 1);
    Shot(*channels); // a repaint alone works nothing out again
    EXPECT_EQ(channels->GetBuildCount(), before + 1);
    Scan({1, 2});
    EXPECT_EQ(Graph()[2], false) << "the third station, not heard";
    EXPECT_EQ(channels->GetBuildCount(), before + 2);
}

} // namespace
