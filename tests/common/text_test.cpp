// GBK-aware searches and the ASCII lower-casing.
#include "text.h"

#include <gtest/gtest.h>

namespace {

// "\x5c" as the second byte of a double-byte character: 表 is 0xB1 0xED, 稞 is 0xF6 0x5C.
const std::string kTrailBackslash = "\xF6\x5C";

TEST(FindLastBackslash, StepsOverDoubleByteCharacters)
{
    struct Case {
        std::string text;
        std::size_t expected;
    } cases[] = {
        {"", std::string::npos},
        {"abc", std::string::npos},
        {"C:\\dir\\Name.lnk", 6},
        {"Korvexa商城\\安装目录", std::string("Korvexa商城").size()},
        {"a" + kTrailBackslash, std::string::npos},
        {"a\\" + kTrailBackslash + "b", 1},
        {"\\", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindLastBackslash(c.text), c.expected) << c.text;
}

TEST(SplitAtLastBackslash, GivesKeyAndValueName)
{
    SplitText item = SplitAtLastBackslash("Korvexa商城\\安装目录");
    EXPECT_EQ(item.before, "Korvexa商城");
    EXPECT_EQ(item.after, "安装目录");

    SplitText noSeparator = SplitAtLastBackslash("Korvexa商城");
    EXPECT_EQ(noSeparator.before, "");
    EXPECT_EQ(noSeparator.after, "Korvexa商城");
}

TEST(FindAsciiNoCase, FindsLinkExtensionOnCharacterBoundaries)
{
    EXPECT_EQ(FindAsciiNoCase("Name.lnk", ".lnk"), 4u);
    EXPECT_EQ(FindAsciiNoCase("Name.LNK", ".lnk"), 4u);
    EXPECT_EQ(FindAsciiNoCase("Name.lnkx", ".lnk"), 4u);
    EXPECT_EQ(FindAsciiNoCase("Name", ".lnk"), std::string::npos);
    EXPECT_EQ(FindAsciiNoCase("商城.Lnk", ".lnk"), 4u);
    // A lead byte followed by '.', 'l', 'n', 'k' bytes: the '.' belongs to the double-byte character.
    EXPECT_EQ(FindAsciiNoCase("\x81.lnk", ".lnk"), std::string::npos);
    EXPECT_EQ(FindAsciiNoCase("\x81.a.lnk", ".lnk"), 3u);
}

TEST(LowerCaseAscii, LowersOnlyAsciiCapitals)
{
    struct Case {
        std::string text;
        std::string expected;
    } cases[] = {
        {"", ""},
        {"Pravolt.EXE", "pravolt.exe"},
        {"VESKOQTRN.exe", "veskoqtrn.exe"},
        {"@[`{", "@[`{"},
        {"商城ABC", "商城abc"},
        // Trail bytes in the A-Z range stay unchanged: 0x81 0x41 is one character.
        {"\x81\x41Z", "\x81\x41z"},
        // A lead byte right before the end: the text ends there.
        {std::string("A\x81", 2), std::string("a\x81", 2)},
        {std::string("A\x81\0B", 4), std::string("a\x81", 2)},
    };
    for (const Case& c : cases)
        EXPECT_EQ(LowerCaseAscii(c.text), c.expected) << c.text;
}

} // namespace
