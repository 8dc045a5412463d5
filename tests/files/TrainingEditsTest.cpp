// What the training window's edits store in the record.
#include "TestKit.h"
#include "untFiles.h"

#include <gtest/gtest.h>

TEST(TrainingEdits, TimesOfDayAreReadWithTheLocaleSeparators)
{
    TFormatScope dots(DotFormat());
    EXPECT_EQ(SecondsFromTimeText("1:30:00"), 5400);
    EXPECT_EQ(SecondsFromTimeText("0:45"), 2700);
    EXPECT_EQ(SecondsFromTimeText(" 23:59:59 "), 86399);
    EXPECT_EQ(SecondsFromTimeText("0:00:01.6"), 2) << "rounded to the nearest second";
    for (const char* invalid : {"", "90", "24:00:00", "1:60", "1:30:61", "1:30:00x", "a:b", "1::00", "-1:00"})
        EXPECT_EQ(SecondsFromTimeText(invalid), 0) << invalid;
    EXPECT_EQ(TimeTextOfSeconds(5400), "1:30:00");
    EXPECT_EQ(TimeTextOfSeconds(0), "0:00:00");

    TFormatSettings dotted = DotFormat();
    dotted.TimeSeparator = '.';
    TFormatScope scope(dotted);
    EXPECT_EQ(SecondsFromTimeText("1.30.00"), 5400);
    EXPECT_EQ(TimeTextOfSeconds(2700), "0.45.00");
}

TEST(TrainingEdits, EditsStoreTheFieldOfTheirKindClampedAndOnlyWhenItChanges)
{
    TFormatScope dots(DotFormat());
    TUserSettings settings{};
    settings.SessionLimit = 3;
    settings.LimitTime = 5400;
    EXPECT_EQ(UserEditText(settings, ueLimitValue), "1:30:00");
    EXPECT_FALSE(StoreUserEditText(settings, ueLimitValue, "1:30:00"));
    EXPECT_TRUE(StoreUserEditText(settings, ueLimitValue, "0:45:00"));
    EXPECT_EQ(settings.LimitTime, 2700);

    settings.SessionLimit = 4;
    EXPECT_TRUE(StoreUserEditText(settings, ueLimitValue, "70000"));
    EXPECT_EQ(settings.LimitIntervals, 65535);
    settings.SessionLimit = 9;
    EXPECT_EQ(UserEditText(settings, ueLimitValue), std::nullopt) << "no value for an unknown limit kind";
    EXPECT_FALSE(StoreUserEditText(settings, ueLimitValue, "12"));

    settings.IntervalBy = 2;
    EXPECT_TRUE(StoreUserEditText(settings, ueWorkPeriod, "500"));
    EXPECT_EQ(settings.WorkDistance, 500);
    EXPECT_EQ(settings.WorkPeriod, 500);
    settings.RestDistance = settings.RestPeriod = 9;
    EXPECT_TRUE(StoreUserEditText(settings, ueRestPeriod, "-4"));
    EXPECT_EQ(settings.RestDistance, 0);
    EXPECT_EQ(settings.RestPeriod, 0);

    settings.Weight = 72;
    EXPECT_THROW(StoreUserEditText(settings, ueWeight, "7x"), EConvertError);
    EXPECT_THROW(StoreUserEditText(settings, ueWeight, ""), EConvertError);
    EXPECT_THROW(StoreUserEditText(settings, ueStepValue, "99999999999"), EConvertError);
    EXPECT_EQ(settings.Weight, 72);
    EXPECT_TRUE(StoreUserEditText(settings, ueStartValue, "66000"));
    EXPECT_EQ(settings.StartValue, 65535);
}

TEST(TrainingEdits, ListsStoreTheirIndexAndTextsCompareWithCase)
{
    TUserSettings settings{};
    EXPECT_TRUE(StoreUserComboIndex(settings, ucSessionLimit, 4));
    EXPECT_FALSE(StoreUserComboIndex(settings, ucSessionLimit, 4));
    EXPECT_FALSE(StoreUserComboIndex(settings, ucBoat, -1)) << "no item chosen";
    EXPECT_EQ(UserComboIndex(settings, ucSessionLimit), 4);
    EXPECT_EQ(UserComboIndex(settings, 99), -1);

    TText255 title{};
    EXPECT_TRUE(AssignText(title, "Monday"));
    EXPECT_FALSE(AssignText(title, "Monday"));
    EXPECT_TRUE(AssignText(title, "monday"));
    EXPECT_TRUE(AssignText(title, std::string(300, 'x')));
    EXPECT_EQ(title.Text().size(), 255u);
    EXPECT_TRUE(AssignText(title, "Caf\xc3\xa9"));
    EXPECT_EQ(title.Text(), "Caf\xe9") << "stored in the files' code page";
}
