#include "wifi/TraceMessage.h"

#include "platform/system/DocumentsFolder.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace {

TEST(TraceFormat, WideAdapterNamesAndErrorCodes) {
    EXPECT_EQ(
        korvyn::FormatTraceArgs("%s: adapter %S is wireless.", "DAvirIzev::IsWireless", u"wlan0"),
        "DAvirIzev::IsWireless: adapter wlan0 is wireless.");
    EXPECT_EQ(korvyn::FormatTraceArgs("%s: cannot query adapter %S phys medium. Err: %d",
                                      "DAvirIzev::IsWireless", u"Сеть", -5),
              "DAvirIzev::IsWireless: cannot query adapter Сеть phys medium. Err: -5");
    EXPECT_EQ(korvyn::FormatTraceArgs("%s: [%5S] %-3d|%x %% %u", "op", u"ab", 7, 255, 4000000000u),
              "op: [   ab] 7  |ff % 4000000000");
    EXPECT_EQ(korvyn::FormatTraceArgs("%s %S", "op", static_cast<const char16_t*>(nullptr)),
              "op (null)");
    EXPECT_EQ(korvyn::FormatTraceArgs("%ld %lx %p", -5000000000L, 0x1ffffffffUL,
                                      reinterpret_cast<void*>(0x10)),
              "-5000000000 1ffffffff 0x10");
}

TEST(TraceMessage, WritesOnlyInTheDiagnosticBuild) {
    korvyn::test::TempDir docs;
    korvyn::platform::SetDocumentsFolderOverride(docs.path());
    TraceMessage("%s: received %d entries.", "DAvirIzev::GetBSSIDs", 3);
    const auto file = docs / "dizov.txt";
#if defined(KORVYN_TRACE) && KORVYN_TRACE
    const std::string text = korvyn::test::ReadFileBytes(file);
    EXPECT_NE(text.find("DAvirIzev::GetBSSIDs: received 3 entries.\n"), std::string::npos);
#else
    EXPECT_FALSE(std::filesystem::exists(file));
#endif
    korvyn::platform::SetDocumentsFolderOverride(file / "sub"); // cannot be written: harmless
    TraceMessage("%s: closing driver.", "DAvirIzev::CloseDriver");
    korvyn::platform::SetDocumentsFolderOverride({});
}

} // namespace
