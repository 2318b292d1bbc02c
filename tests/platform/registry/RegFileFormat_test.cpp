#include "platform/registry/RegFileFormat.h"

#include "platform/registry/Registry.h"
#include "support/ResBuilder.h"

#include <gtest/gtest.h>

using namespace korvyn::platform;
using korvyn::test::TextBytes;

namespace {

const RegValue* Value(RegTree& tree, std::u16string_view key, std::u16string_view name) {
    RegKey* k = FindKey(tree, key);
    return k ? k->Find(name) : nullptr;
}

TEST(RegFileFormat, ReadsWhatTheEditorWrites) {
    const std::string text = "\xEF\xBB\xBFREGEDIT4\r\n"
                             "\r\n"
                             "; comment\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Brindlemoor\\Korvyn]\r\n"
                             "\"Font\"=dword:0000000C\r\n"
                             "\"Adapter\"=\"Intel \\\"Centrino\\\" C:\\\\x\"\r\n"
                             "@=\"default\"\r\n"
                             "\"Blob\"=hex:01,02,\\\r\n"
                             "  03,ff\r\n"
                             "\"Multi\"=hex(7):41,00,00,00,00,00\r\n"
                             "\"Empty\"=hex:\r\n"
                             "\"font\"=dword:7\r\n"
                             "\r\n"
                             "[hkey_current_user\\SOFTWARE\\brindlemoor\\korvyn\\Initialize]\r\n"
                             "\"saveas\"=dword:00000000\r\n"
                             "\"Név\"=\"Kрупно\"\r\n";
    RegParseError error;
    auto tree = ParseRegFile(text, error);
    ASSERT_TRUE(tree) << error.line << ": " << error.reason;
    const std::u16string key = u"Software\\Brindlemoor\\Korvyn";
    EXPECT_TRUE(FindKey(*tree, u"Software\\brindlemoor")) << "keys above a section exist too";

    const auto* font = Value(*tree, key, u"FONT");
    ASSERT_TRUE(font);
    EXPECT_EQ(font->type, REG_DWORD);
    EXPECT_EQ(font->data, (std::vector<BYTE>{7, 0, 0, 0})); // the later line wins
    EXPECT_EQ(font->name, u"Font");
    EXPECT_EQ(Value(*tree, key, u"Adapter")->data, TextBytes(u"Intel \"Centrino\" C:\\x"));
    EXPECT_EQ(Value(*tree, key, u"")->data, TextBytes(u"default"));
    EXPECT_EQ(Value(*tree, key, u"Blob")->type, REG_BINARY);
    EXPECT_EQ(Value(*tree, key, u"Blob")->data, (std::vector<BYTE>{1, 2, 3, 0xFF}));
    EXPECT_EQ(Value(*tree, key, u"Multi")->data.size(), 6u);
    EXPECT_TRUE(Value(*tree, key, u"Empty")->data.empty());
    const std::u16string section = key + u"\\Initialize";
    EXPECT_EQ(Value(*tree, section, u"saveas")->data, (std::vector<BYTE>{0, 0, 0, 0}));
    EXPECT_EQ(Value(*tree, section, u"Név")->data, TextBytes(u"Kрупно"));
}

TEST(RegFileFormat, ReportsTheLineAndColumnOfTheFirstBadByte) {
    struct Case {
        std::string text;
        int line;
        int column;
        const char* reason = nullptr; // checked where given
    };
    const std::string key = "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n";
    const Case cases[] = {
        {"[HKEY_CURRENT_USER\\A]\n", 1, 1, "the file does not begin with REGEDIT4"},
        {"", 1, 1},
        {"REGEDIT4\n\n\"x\"=dword:1\n", 3, 1, "value before the first key"},
        {key + "\"x\"=dword:123456789\n", 3, 19, "malformed dword value"},
        {key + "\"x\"=\"unterminated\n", 3, 18},
        {key + "\"x\"=\"bad \\n escape\"\n", 3, 10},
        {key + "\"x\"=hex:1,2\n", 3, 10},
        {key + "\"x\"=\"a\" trailing\n", 3, 8},
        {key + "\"x\"=sz:abc\n", 3, 5, "unknown kind of value"},
        {key + "garbage\n", 3, 1, "neither a key nor a value"},
        {"REGEDIT4\r\n[HKEY_LOCAL_MACHINE\\A]\r\n", 2, 2},
        {"REGEDIT4\n[HKEY_CURRENT_USER\\A\n", 2, 21},
        {key + "\"x\"=hex:01,\\\n  zz\n\"y\"=dword:1\n", 4, 3},           // on the continued line
        {"REGEDIT4\n[HKEY_CURRENT_USER\\Ő]\n\"Név\"=dword:xyz\n", 3, 13}, // in characters
        {key + "\"x\"=\"\xC3\x28\"\n", 3, 6, "the file is not UTF-8 text at byte 37"},
        {"\xEF\xBB\xBFREGEDIT4\xFF\n", 1, 9, "the file is not UTF-8 text at byte 12"},
    };
    for (const Case& k : cases) {
        RegParseError error;
        EXPECT_FALSE(ParseRegFile(k.text, error)) << k.text;
        EXPECT_EQ(error.line, k.line) << k.text;
        EXPECT_EQ(error.column, k.column) << k.text;
        EXPECT_FALSE(error.reason.empty());
        if (k.reason != nullptr) {
            EXPECT_EQ(error.reason, k.reason) << k.text;
        }
    }
}

// What is written reads back the same: fuzz/RegFile_fuzz.cpp.
TEST(RegFileFormat, WritesKeysInTreeOrderAndEveryTypeReadably) {
    RegTree tree;
    AddKey(tree, u"");
    AddKey(tree, u"Software\\B");
    RegKey& key = AddKey(tree, u"Software\\A");
    AddKey(tree, u"Software\\A B");
    AddKey(tree, u"Software\\A\\Sub");
    key.Set(u"Font", REG_DWORD, {0x0c, 0, 0, 0});
    key.Set(u"Name \"q\"", REG_SZ, TextBytes(u"C:\\ő"));
    key.Set(u"", REG_SZ, TextBytes(u"line\nbreak")); // a line cannot hold it
    key.Set(u"Odd", REG_SZ, {0x41});
    key.Set(u"Short", REG_DWORD, {1, 2});
    key.Set(u"Bin", REG_BINARY, std::vector<BYTE>(26, 0xAB));
    key.Set(u"Multi", REG_MULTI_SZ, {0x41, 0, 0, 0});
    const std::string expected =
        "REGEDIT4\n\n"
        "[HKEY_CURRENT_USER\\Software]\n\n"
        "[HKEY_CURRENT_USER\\Software\\A]\n"
        "\"Font\"=dword:0000000c\n"
        "\"Name \\\"q\\\"\"=\"C:\\\\ő\"\n"
        "@=hex(1):6c,00,69,00,6e,00,65,00,0a,00,62,00,72,00,65,00,61,00,6b,00,00,00\n"
        "\"Odd\"=hex(1):41\n"
        "\"Short\"=hex(4):01,02\n"
        "\"Bin\"=hex:ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,ab,"
        "ab,ab,ab,ab,ab,ab,\\\n  ab\n"
        "\"Multi\"=hex(7):41,00,00,00\n\n"
        "[HKEY_CURRENT_USER\\Software\\A\\Sub]\n\n"
        "[HKEY_CURRENT_USER\\Software\\A B]\n\n"
        "[HKEY_CURRENT_USER\\Software\\B]\n\n";
    EXPECT_EQ(FormatRegFile(tree), expected);
}

// A file within the limits reads; one beyond them is refused whole (and then kept aside
// as damaged by the registry).
TEST(RegFileFormat, KeyDepthAndFileSizeLimits) {
    auto deep = [](std::size_t levels) {
        std::string path;
        for (std::size_t i = 0; i < levels; ++i)
            path += "\\k";
        return "REGEDIT4\n[HKEY_CURRENT_USER" + path + "]\n\"v\"=dword:1\n";
    };
    auto sized = [](std::size_t bytes) {
        std::string text = "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n";
        while (text.size() + 81 <= bytes)
            text += ";" + std::string(79, 'x') + "\n";
        return text + std::string(bytes - text.size(), '\n');
    };
    const std::tuple<std::string, std::string, int, std::string> cases[] = {
        {"64 levels", deep(kMaxKeyDepth), -1, ""},
        {"65 levels", deep(kMaxKeyDepth + 1), 2, "key nested deeper than 64 levels"},
        {"1 MiB", sized(kMaxRegFileSize), -1, ""},
        {"1 MiB and a byte", sized(kMaxRegFileSize + 1), 0, "larger than 1 MiB"},
    };
    for (const auto& [what, text, line, reason] : cases) {
        RegParseError error;
        EXPECT_EQ(ParseRegFile(text, error).has_value(), line < 0) << what << ": " << error.reason;
        if (line >= 0) {
            EXPECT_EQ(error.line, line) << what;
            EXPECT_EQ(error.reason, reason) << what;
        }
    }
}

} // namespace
