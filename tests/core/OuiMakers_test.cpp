// The maker of a MAC address from a small table in the IEEE's CSV form: quoted names and
// addresses with commas, quotes and line breaks, lines that are not entries, an address
// the device made up, and no file at all.
#include "core/OuiMakers.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using korvyn::OuiMakers;
using korvyn::test::TempDir;

namespace {

const char kTable[] =
    "Registry,Assignment,Organization Name,Organization Address\r\n"
    "MA-L,F4BD9E,\"Cisco Systems, Inc\",80 West Tasman Drive San Jose CA US 94568 \r\n"
    "MA-L,5885E9,Realme Corp Ltd,\"No.24 Nichang Boulevard, Yubei\n Chongqing CN 401120 \"\r\n"
    "MA-L,00A0C6,\"Quote \"\"Q\"\" Works\",Somewhere\r\n"
    "MA-L,0011AA,Broken\"Quote Ltd,Nowhere\r\n" // a quote inside a plain field
    "MA-L,0022BB,\"Trailing\" junk,Nowhere\r\n" // text after a closing quote
    "MA-L,0033C,Short Assignment,Nowhere\r\n"   // five digits
    "MA-L,00GG00,Not Hex,Nowhere\r\n"
    "MA-L,0044DD\r\n" // no name
    "MA-L,0066FF,Name Ends The Line\r\n"
    "\r\n"
    "MA-L,f4bd9e,Second Of The Same,Nowhere\n" // the first one counts
    "MA-L,0055ee,  Lower Case Inc  ,Nowhere";  // no line end at the end

} // namespace

TEST(OuiMakers, MakersFromTheTableAndNoneForWhatIsNotAnEntry) {
    TempDir dir;
    korvyn::test::WriteFileBytes(dir / "oui.csv", kTable);
    OuiMakers makers((dir / "oui.csv").string());
    EXPECT_EQ(makers.Size(), 0u) << "read at the first question";
    const struct {
        BYTE mac[6];
        const char16_t* maker;
    } cases[] = {
        {{0xF4, 0xBD, 0x9E, 1, 2, 3}, u"Cisco Systems, Inc"},
        {{0x58, 0x85, 0xE9, 0, 0, 0}, u"Realme Corp Ltd"},
        {{0x00, 0xA0, 0xC6, 9, 9, 9}, u"Quote \"Q\" Works"},
        {{0x00, 0x55, 0xEE, 0, 0, 1}, u"Lower Case Inc"},
        {{0x00, 0x66, 0xFF, 0, 0, 1}, u"Name Ends The Line"},
        {{0x00, 0x11, 0xAA, 0, 0, 1}, u""},
        {{0x00, 0x22, 0xBB, 0, 0, 1}, u""},
        {{0x00, 0x03, 0x3C, 0, 0, 1}, u""},
        {{0x00, 0x44, 0xDD, 0, 0, 1}, u""},
        {{0x00, 0x00, 0x00, 0, 0, 0}, u""},
        {{0xF6, 0xBD, 0x9E, 1, 2, 3}, u"random MAC"}, // locally administered
        {{0x02, 0x00, 0x00, 0, 0, 1}, u"random MAC"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(makers.MakerOf(c.mac), c.maker) << int(c.mac[0]) << "-" << int(c.mac[1]);
    EXPECT_EQ(makers.Size(), 6u) << "the second F4BD9E too";
}

TEST(OuiMakers, WithoutTheFileNoMakerButStillRandomMacs) {
    TempDir dir;
    const BYTE cisco[6] = {0xF4, 0xBD, 0x9E, 1, 2, 3}, random[6] = {0x0A, 0, 0, 0, 0, 1};
    EXPECT_EQ(OuiMakers(dir.path().string()).MakerOf(cisco), u"") << "a folder";
    EXPECT_EQ(OuiMakers((dir / "missing.csv").string()).MakerOf(random), u"random MAC");
    // The program's table follows the file it is pointed at.
    korvyn::test::WriteFileBytes(dir / "oui.csv", kTable);
    korvyn::SetOuiFile((dir / "oui.csv").string());
    EXPECT_EQ(korvyn::ProgramOuiMakers().MakerOf(cisco), u"Cisco Systems, Inc");
    korvyn::SetOuiFile((dir / "missing.csv").string());
    EXPECT_EQ(korvyn::ProgramOuiMakers().MakerOf(cisco), u"");
}
