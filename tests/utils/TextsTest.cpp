#include "TestKit.h"
#include "jsUtils.h"

#include <gtest/gtest.h>
#include <set>

TEST(Trim, CutsBlanksAtBothEndsOnly)
{
    EXPECT_EQ(Trim("  a b  "), "a b");
    EXPECT_EQ(Trim("\t\r\n x\n"), "x");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim(""), "");
    EXPECT_EQ(Trim("none"), "none");
    EXPECT_EQ(Trim(" \xC2\xA0 "), "\xC2\xA0") << "bytes above the space are text";
}

TEST(FlattenCellText, TrimsAndJoinsLines)
{
    EXPECT_EQ(FlattenCellText("  a\r\nb\n\rc\rd\ne  "), "a; b; c; d; e");
    EXPECT_EQ(FlattenCellText("\r\n"), "");
    EXPECT_EQ(FlattenCellText("one"), "one");
}

TEST(InverseColor, InvertsEachByte)
{
    EXPECT_EQ(InverseColor(0x0000FF), 0xFFFF00u);
    EXPECT_EQ(InverseColor(0x808080), 0x7F7F7Fu);
    EXPECT_EQ(InverseColor(0x12FFFFFF), 0x000000u);
}

TEST(HasSwitch, EitherPrefixAnyCase)
{
    const char* const arguments[] = {"marlo", "file.stg", "/xd", "-Verbose"};
    SetCommandLine(4, arguments);
    EXPECT_TRUE(HasSwitch("XD"));
    EXPECT_TRUE(HasSwitch("verbose"));
    EXPECT_FALSE(HasSwitch("file.stg"));
    EXPECT_FALSE(HasSwitch("marlo"));
    SetCommandLine(0, nullptr);
    EXPECT_FALSE(HasSwitch("XD"));
}

TEST(Clock, NowTextsFollowTheLocaleFormats)
{
    TFormatSettings settings = DotFormat();
    settings.LongTimeFormat = "hh\"h\"nn";
    TFormatScope scope(settings);
    const std::string time = NowTimeText();
    ASSERT_EQ(time.size(), 5u);
    EXPECT_EQ(time[2], 'h');
    const std::string both = NowDateTimeText();
    EXPECT_EQ(both.size(), 16u);
    EXPECT_EQ(both[2], '/');
    EXPECT_EQ(both[10], ' ');
}

TEST(NewGuid, RandomVersion4Guids)
{
    std::set<std::string> seen;
    for (int i = 0; i < 50; ++i) {
        const TGuid guid = NewGuid();
        EXPECT_FALSE(guid.IsNull());
        EXPECT_EQ(guid.D3 >> 12, 4);
        seen.insert(guid.ToString());
    }
    EXPECT_EQ(seen.size(), 50u);
    EXPECT_EQ(TGuid{}.ToString(), "{00000000-0000-0000-0000-000000000000}");
}

TEST(CodePage1252, RoundTripsItsCharactersAndReplacesOthers)
{
    std::string all;
    for (int b = 1; b < 256; ++b) all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToAnsi(AnsiToUtf8(all)), all);
    EXPECT_EQ(Utf8ToAnsi("\xe2\x82\xac 5"), "\x80 5");
    EXPECT_EQ(Utf8ToAnsi("\xd0\x96"), "?");       // Cyrillic
    EXPECT_EQ(Utf8ToAnsi("a\xff" "b"), "a?b");     // not UTF-8
    EXPECT_EQ(Utf8ToAnsi("\xe2\x82"), "??");       // cut short
}
