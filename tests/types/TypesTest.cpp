#include "untTypes.h"

#include <gtest/gtest.h>

TEST(CountedText, AssignCutsToTheSlotAndZeroesTheRest)
{
    TCountedText<6> text{};
    std::memset(text.Chars, 'x', sizeof text.Chars);
    text.Assign("abc");
    EXPECT_EQ(text.Length, 3);
    EXPECT_EQ(text.Text(), "abc");
    EXPECT_EQ(text.Chars[3], '\0');
    text.Assign("abcdefgh");
    EXPECT_EQ(text.Text(), "abcdef");
}

TEST(CountedText, ALengthBeyondTheSlotReadsOnlyTheSlot)
{
    TCountedText<4> text{};
    text.Length = 200; // as a damaged file may hold
    std::memcpy(text.Chars, "abcd", 4);
    EXPECT_EQ(text.Text(), "abcd");
}

TEST(CountedText, StoredBytesAreShownAsCodePage1252)
{
    TText255 text{};
    text.Assign("Z\xfcrich \x80 \x93q\x94");
    EXPECT_EQ(text.Utf8(), "Z\xc3\xbcrich \xe2\x82\xac \xe2\x80\x9cq\xe2\x80\x9d");
}

TEST(NameTables, KnownEntriesAndIndicesBeyondTheTables)
{
    EXPECT_EQ(FileKindName(5), "Stroke");
    EXPECT_EQ(FileKindName(10), "Full stroke data");
    EXPECT_EQ(FileFormatName(12), "FITLOG");
    EXPECT_EQ(StatusName(5), "Disconnected");
    EXPECT_EQ(RecorderName(7), "Marlo");
    EXPECT_EQ(InterfaceName(4), "Ravo");
    EXPECT_EQ(ErgometerName(2), "Concept II A-E");
    EXPECT_EQ(SessionLimitName(4), "Intervals");
    EXPECT_EQ(FileKindName(11), "FIT activity");
    EXPECT_EQ(FileKindName(13), "Rowing data CSV");
    EXPECT_EQ(FileFormatName(15), "CSV");
    EXPECT_EQ(FileKindName(14), "?");
    EXPECT_EQ(RecorderName(16), "?");
    EXPECT_EQ(BoatName(-1), "?");
}

TEST(NameTables, TextsFitTheirCountedSlots)
{
    for (int i = 0; i < 16; ++i) EXPECT_LE(RecorderName(i).size(), 10u) << i;
    for (int i = 0; i < 6; ++i) EXPECT_LE(InterfaceName(i).size(), 20u) << i;
    for (int i = 0; i < FileKindCount; ++i) EXPECT_LE(FileKindName(i).size(), 16u) << i;
    for (int i = 0; i < 6; ++i) EXPECT_LE(StatusName(i).size(), 12u) << i;
}

TEST(Colors, FifteenEntriesWithTheirValues)
{
    EXPECT_STREQ(Colors[0].Name, "Red");
    EXPECT_EQ(+Colors[0].Color, 0x0000FFu);
    EXPECT_EQ(+Colors[3].Color, 0xFF0000u);
    EXPECT_STREQ(Colors[14].Name, "DarkGray");
    EXPECT_EQ(+Colors[14].Color, 0x808080u);
}

TEST(Training, ACopyIsDeep)
{
    TTraining a;
    a.Strokes.resize(3);
    a.Client.Address = "host";
    TTraining b = a;
    b.Strokes[1].Power = 5;
    b.Client.Address[0] = 'H';
    EXPECT_EQ(+a.Strokes[1].Power, 0);
    EXPECT_EQ(a.Client.Address, "host");
}
