// Device user, stroke and session files.
#include "LegacyBuilders.h"
#include "TestKit.h"
#include "untFiles.h"

#include <gtest/gtest.h>
#include <random>

namespace {

class DeviceFiles : public ::testing::Test {
protected:
    bool Open(const std::string& name, const std::string& bytes)
    {
        WriteBytes(Folder.File(name), bytes);
        return OpenTrainingFile(Folder.File(name), Training, true);
    }
    void ExpectRejected(const std::string& name, const std::string& bytes)
    {
        EXPECT_FALSE(Open(name, bytes)) << bytes.size() << " bytes";
        EXPECT_TRUE(IsEmptyTraining(Training));
        EXPECT_EQ(Messages.Texts().back(), "Error reading file \"" + Folder.File(name) + "\"");
    }

    TMessageRecorder Messages;
    TTempFolder Folder;
    TTraining Training;
};

std::string SessionBytes(uint16_t curves, uint16_t strokes, uint16_t intervals)
{
    std::string bytes = DeviceStartBytes({2, curves, strokes, intervals}, DeviceSettingsBytes(18), 10);
    for (uint16_t i = 1; i <= curves; ++i) bytes += DeviceStrokeBytes({i, 9500u * i}) + DeviceCurveBytes();
    for (uint16_t i = 1; i <= strokes; ++i) bytes += DeviceStrokeBytes({i, 9500u * i});
    for (uint16_t k = 1; k < intervals; ++k) bytes += DeviceIntervalBytes(1234, 2105, 1000);
    return bytes + DeviceTotalsBytes();
}

} // namespace

TEST_F(DeviceFiles, UserFileSettingsFollowTheSessionMode)
{
    struct TCase {
        uint8_t Mode;
        size_t Field; // offset in TUserSettings
        int32_t Value;
        int32_t SessionLimit, IntervalBy;
    };
    const TCase cases[] = {
        {0, offsetof(TUserSettings, LimitStrokes), 0, 0, 0},     {1, offsetof(TUserSettings, LimitStrokes), 250, 0, 0},
        {2, offsetof(TUserSettings, LimitEnergy), 300, 1, 0},    {3, offsetof(TUserSettings, LimitDistance), 5000, 2, 0},
        {4, offsetof(TUserSettings, LimitTime), 150, 3, 0},      {17, offsetof(TUserSettings, RestStrokes), 15, 4, 0},
        {18, offsetof(TUserSettings, WorkEnergy), 40, 4, 1},     {19, offsetof(TUserSettings, RestDistance), 500, 4, 2},
        {20, offsetof(TUserSettings, WorkTime), 150, 4, 3},      {20, offsetof(TUserSettings, RestTime), 65, 4, 3},
        {5, offsetof(TUserSettings, LimitDistance), 0, 0, 0},
    };
    for (const TCase& c : cases) {
        ASSERT_TRUE(Open("u.rvi", DeviceStartBytes({0}, DeviceSettingsBytes(c.Mode), 7))) << int(c.Mode);
        const TUserSettings& settings = Training.Settings;
        int32_t value;
        std::memcpy(&value, reinterpret_cast<const char*>(&settings) + c.Field, sizeof value);
        EXPECT_EQ(value, c.Value) << int(c.Mode);
        EXPECT_EQ(+settings.SessionLimit, c.SessionLimit) << int(c.Mode);
        EXPECT_EQ(+settings.IntervalBy, c.IntervalBy) << int(c.Mode);
        EXPECT_EQ(+settings.LimitIntervals, c.Mode >= 17 ? 6 : 0) << int(c.Mode);
    }
    EXPECT_EQ(+Training.Settings.Sprocket, 1); // any byte but 10
    EXPECT_EQ(+Training.Settings.Weight, 85);
    EXPECT_EQ(+Training.Settings.Boat, 3);
    EXPECT_EQ(Training.Header.Note.Text(), "Ravo file. SW=11, HW=12, MR=13, BL=14");
    EXPECT_TRUE(IsUserTraining(Training));
    EXPECT_EQ(+Training.Header.OrigFileFormat, ffRVI);
}

TEST_F(DeviceFiles, StrokeFileScalesItsValuesAndCurve)
{
    const std::string bytes = DeviceStartBytes({1, 1, 1, 0}, DeviceSettingsBytes(18), 10)
                              + DeviceStrokeBytes({1}) + DeviceCurveBytes({0, 100, 255});
    ASSERT_TRUE(Open("s.rvr", bytes));
    const TStroke& stroke = Training.Strokes.at(1);
    EXPECT_FLOAT_EQ(+stroke.KValue, 2.5f);
    EXPECT_FLOAT_EQ(+stroke.DriveTime, 0.95f);
    EXPECT_FLOAT_EQ(+stroke.EnergyPerStroke, 432.1f);
    EXPECT_FLOAT_EQ(+stroke.Power, 250.5f);
    EXPECT_FLOAT_EQ(+stroke.DriveRecoverRatio, 1.5f);
    EXPECT_FLOAT_EQ(+stroke.EnergySum, 12.3456f);
    EXPECT_FLOAT_EQ(+stroke.Time, 61.5f);
    EXPECT_FLOAT_EQ(+stroke.DistancePerStroke, 950);
    EXPECT_EQ(+stroke.StrokeLength, 140);
    EXPECT_EQ(+stroke.IntervalPower, 20);
    EXPECT_EQ(+stroke.IntervalCountdown, 246); // by energy: B x A / 10
    const TForceCurve& curve = Training.Curves[1];
    EXPECT_EQ(+curve.Valid, 1);
    EXPECT_EQ(+curve.Samples[1], 575);
    EXPECT_EQ(+curve.Samples[2], 1466);
    EXPECT_EQ(+curve.Samples[74], 368);
    EXPECT_EQ(+curve.Samples[75], 0); // the 76th byte is not a sample
    EXPECT_EQ(+Training.Header.CurveIndex, 1);
    EXPECT_EQ(+Training.Header.OrigFileKind, fkStroke);

    ExpectRejected("s.rvr", bytes.substr(0, 199));
    ExpectRejected("s.rvr", DeviceStartBytes({1, 0, 0, 0}, DeviceSettingsBytes(18)) + bytes.substr(76));
}

TEST_F(DeviceFiles, IntervalCountdownFollowsTheIntervalKind)
{
    const std::pair<uint8_t, int> cases[] = {{17, 0}, {18, 246}, {19, 7}, {20, 12}};
    for (const auto& [mode, countdown] : cases) {
        ASSERT_TRUE(Open("s.rvr", DeviceStartBytes({1, 1, 1, 0}, DeviceSettingsBytes(mode))
                                      + DeviceStrokeBytes({1}) + DeviceCurveBytes()));
        EXPECT_EQ(+Training.Strokes[1].IntervalCountdown, countdown) << int(mode);
    }
}

TEST_F(DeviceFiles, SessionFileReadsPairsStrokesIntervalsAndTotals)
{
    ASSERT_TRUE(Open("a.rvs", SessionBytes(2, 2, 3)));
    ASSERT_EQ(Training.Strokes.size(), 3u);
    EXPECT_FLOAT_EQ(+Training.Strokes[2].DistancePerStroke, 950);
    EXPECT_EQ(+Training.Strokes[2].PeakForce, 1466);
    EXPECT_FLOAT_EQ(+Training.Strokes[2].PeakForcePosition, 6); // sample 3, 2 cm apart (byte 10)
    EXPECT_EQ(+Training.Curves[2].Samples[2], 1466);
    EXPECT_EQ(+Training.Strokes[0].PeakForce, 0); // no average for device files
    EXPECT_EQ(+Training.Header.CurveIndex, 0);
    ASSERT_EQ(Training.Intervals.size(), 3u);
    EXPECT_EQ(+Training.Intervals[0].TotalTime, 0);
    EXPECT_EQ(+Training.Intervals[2].Number, 2);
    EXPECT_EQ(+Training.Intervals[2].TotalTime, 123);
    EXPECT_EQ(+Training.Intervals[2].AveragePower, 210);
    EXPECT_EQ(+Training.Intervals[2].TotalDistance, 1000);
    EXPECT_FLOAT_EQ(+Training.Totals.TotalDistance, 2000.5f);
    EXPECT_FLOAT_EQ(+Training.Totals.TotalTime, 480.25f);
    EXPECT_FLOAT_EQ(+Training.Totals.TotalEnergy, 123.4567f);
    EXPECT_FLOAT_EQ(+Training.Totals.AveragePower, 198.7f);
}

TEST_F(DeviceFiles, MoreCurvesThanStrokesFailAtTheFirstExtraPair)
{
    std::string bytes = SessionBytes(2, 2, 0);
    bytes.insert(76 + 2 * 124, DeviceStrokeBytes({3}) + DeviceCurveBytes());
    bytes[10] = 3; // three curves announced
    ExpectRejected("a.rvs", bytes);
    EXPECT_EQ(+Messages.MessageBeeps, 1);
}

TEST_F(DeviceFiles, WrongSignatureKindOrSizeIsRefused)
{
    std::string bytes = SessionBytes(1, 1, 1);
    ExpectRejected("a.rvs", "ravo" + bytes.substr(4));
    ExpectRejected("a.rvs", bytes.substr(0, 5) + '\1' + bytes.substr(6));
    ExpectRejected("a.rvs", bytes.substr(0, 291));
    ExpectRejected("u.rvi", DeviceStartBytes({0}, DeviceSettingsBytes(0)) + "x");
    EXPECT_EQ(+Messages.MessageBeeps, 0);
}

TEST_F(DeviceFiles, TruncatedOrHostileSessionsFailCleanly)
{
    const std::string bytes = SessionBytes(2, 2, 3);
    for (size_t size = 0; size < bytes.size(); ++size) ExpectRejected("t.rvs", bytes.substr(0, size));
    std::string hostile = SessionBytes(0, 0, 0);
    hostile.replace(10, 6, std::string(6, '\xFF')); // 65535 curves, strokes and intervals
    ExpectRejected("h.rvs", hostile);
}

TEST_F(DeviceFiles, LongSessionsCutAnywhereKeepTheRecordsBeforeTheCut)
{
    // 1,200 pairs fill more than one of the blocks the reader takes at a
    // time; cut on, next to and across a block's end, the records wholly
    // before the cut are read and the one the cut falls in fails with a beep.
    // The strokes come from the stroke table after the pairs, and the record
    // keeps the announced strokes, those not read zeroed and numbered.
    const size_t count = 1200;
    const std::string bytes = SessionBytes(count, count, 2);
    const size_t start = 16 + 28 + 4 + 28, pair = 48 + 76, block = 128 * 1024, table = start + count * pair;
    for (const size_t cut : {block - 1, block, block + 1, start + block, start + block + 47, start + block + 48,
                             start + 500 * pair, table + 300 * 48 + 47, bytes.size() - 1}) {
        const std::string path = Folder.File("cut.rvs");
        WriteBytes(path, bytes.substr(0, cut));
        const int beeps = Messages.MessageBeeps;
        TTraining training;
        SetStrokeCount(training, 0);
        EXPECT_FALSE(DecodeRavoSessionFile(path, training)) << cut;
        EXPECT_EQ(Messages.MessageBeeps, beeps + 1) << cut;
        ASSERT_EQ(training.Strokes.size(), count + 1) << cut;
        ASSERT_EQ(training.Curves.size(), count + 1) << cut;
        const size_t pairs = std::min(count, (cut - start) / pair);
        for (size_t i = 1; i <= count; ++i) {
            const bool strokeRead = cut >= table + i * 48;
            EXPECT_EQ(+training.Strokes[i].KValue, strokeRead ? 2.5f : 0.0f) << cut << " stroke " << i;
            EXPECT_EQ(+training.Curves[i].Valid, i <= pairs ? 1 : 0) << cut << " curve " << i;
            ASSERT_EQ(+training.Curves[i].Number, i) << cut;
            ASSERT_EQ(+training.Strokes[i].Number, i) << cut;
        }
    }
    ASSERT_TRUE(Open("whole.rvs", bytes));
    EXPECT_EQ(Training.Strokes.size(), count + 1);
    EXPECT_EQ(+Training.Curves[count].Samples[1], 575); // byte 100 of 5.75 N
}

// Strokes after the last curve keep empty, numbered curves.
TEST_F(DeviceFiles, StrokesBeyondTheCurvesHaveEmptyNumberedCurves)
{
    ASSERT_TRUE(Open("few.rvs", SessionBytes(1, 3, 1)));
    ASSERT_EQ(Training.Curves.size(), 4u);
    EXPECT_EQ(+Training.Curves[1].Valid, 1);
    for (uint16_t i = 2; i <= 3; ++i) {
        EXPECT_EQ(+Training.Curves[i].Number, i);
        EXPECT_EQ(+Training.Curves[i].Valid, 0);
        EXPECT_EQ(+Training.Curves[i].Samples[2], 0);
        EXPECT_EQ(+Training.Strokes[i].Number, i);
    }
}

// Every scaled value is the double quotient rounded to single precision, for
// every 16-bit value, for 32-bit values at the edges and halfway between two
// singles (2097152.125 and .375 round to even), and for a spread of others.
// Every curve byte gives its sample truncated from byte x 5.75.
TEST_F(DeviceFiles, SessionValuesAreTheirQuotientsAndCurveBytesTheirSamples)
{
    std::vector<uint32_t> longs = {0, 1, 999, 1000, 1001, 2097152125u, 2097152375u, 4194304250u, 0x80000000u,
                                   UINT32_MAX};
    std::mt19937 random(5);
    while (longs.size() < 65535) longs.push_back(static_cast<uint32_t>(random()));
    const uint16_t strokes = 65535;
    std::string bytes = DeviceStartBytes({2, 256, strokes, 1}, DeviceSettingsBytes(18), 10);
    std::vector<uint8_t> curveBytes(75);
    for (int i = 0; i < 256; ++i) {
        for (int k = 0; k < 75; ++k) curveBytes[k] = static_cast<uint8_t>(i + k);
        bytes += DeviceStrokeBytes({static_cast<uint16_t>(i + 1)}) + DeviceCurveBytes(curveBytes);
    }
    for (int i = 1; i <= strokes; ++i) {
        std::string stroke = DeviceStrokeBytes({static_cast<uint16_t>(i)});
        const uint32_t value = longs[i - 1];
        for (size_t offset : {0, 4, 28, 32, 36}) stroke.replace(offset, 4, TBytes().Long(value).Data);
        for (size_t offset : {10, 12, 14, 16, 18, 40})
            stroke.replace(offset, 2, TBytes().Word(static_cast<uint16_t>(i)).Data);
        bytes += stroke;
    }
    ASSERT_TRUE(Open("values.rvs", bytes + DeviceTotalsBytes()));
    ASSERT_EQ(Training.Strokes.size(), strokes + 1u);
    for (int i = 1; i <= strokes; ++i) {
        const TStroke& stroke = Training.Strokes[i];
        const uint32_t value = longs[i - 1];
        ASSERT_EQ(+stroke.KValue, static_cast<float>(value / 1e9)) << value;
        ASSERT_EQ(+stroke.DriveTime, static_cast<float>(value / 100000.0)) << value;
        ASSERT_EQ(+stroke.Distance, static_cast<float>(value / 1000.0)) << value;
        ASSERT_EQ(+stroke.EnergySum, static_cast<float>(value / 10000.0)) << value;
        ASSERT_EQ(+stroke.Time, static_cast<float>(value / 1000.0)) << value;
        ASSERT_EQ(+stroke.EnergyPerStroke, static_cast<float>(i / 10.0)) << i;
        ASSERT_EQ(+stroke.Power, static_cast<float>(i / 10.0)) << i;
        ASSERT_EQ(+stroke.DriveRecoverRatio, static_cast<float>(i / 100.0)) << i;
        ASSERT_EQ(+stroke.Split500, static_cast<float>(i / 10.0)) << i;
        ASSERT_EQ(+stroke.WorkPerPulse, static_cast<float>(i / 10.0)) << i;
        ASSERT_EQ(+stroke.AveragePower, static_cast<float>(i / 10.0)) << i;
    }
    EXPECT_EQ(+Training.Strokes[6].Distance, 2097152.0f);
    EXPECT_EQ(+Training.Strokes[7].Distance, 2097152.5f);
    for (int i = 0; i < 256; ++i)
        for (int k = 0; k < 75; ++k) {
            const int byte = (i + k) % 256;
            ASSERT_EQ(+Training.Curves[i + 1].Samples[k], static_cast<uint16_t>(byte * 5.75)) << byte;
        }
}
