// The Pelm reader against a plain one: generated tables, tidy and ugly, must
// give bit-identical records.
#include "LegacyBuilders.h"
#include "LegacyRecords.h"
#include "TestKit.h"
#include "jsUtils.h"
#include "untFiles.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// The tables read as plainly as possible from the bytes in memory: one byte
// at a time, every stroke number resizing the arrays as the rules say.
class TPlainPelm {
public:
    explicit TPlainPelm(const std::string& bytes) : Bytes(bytes) {}

    // Fills training as ReadPelmFile does; false when the file fails.
    bool Read(const std::string& path, TTraining& training)
    {
        try {
            Skip(2);
            const std::string third = Line();
            At = 0;
            const uint8_t kind = third.rfind("Number         \tPower", 0) == 0 ? fkStrokeData
                                 : third.rfind("Number ", 0) == 0              ? fkForceCurves
                                 : third.rfind("Power   Rate", 0) == 0         ? fkIntervals
                                                                               : fkNone;
            if (kind == fkNone) return false;
            ApplyLegacyHeader(training, path, ffPEL, kind);
            training.Header.Name = training.Header.Title;
            Skip(kind == fkForceCurves ? 2 : 3);
            NewSettings(training.Settings);
            while (At < Bytes.size()) {
                if (kind == fkStrokeData) StrokeLine(training);
                if (kind == fkForceCurves) CurveLine(training);
                if (kind == fkIntervals) IntervalLine(training);
                Skip(1);
            }
        } catch (const EConvertError&) {
            return false;
        }
        CompletePelmTraining(training);
        return true;
    }

private:
    std::string Line()
    {
        std::string line;
        while (At < Bytes.size()) {
            const char c = Bytes[At++];
            if (c == '\n') break;
            if (c != '\r') line += c;
        }
        return line;
    }
    void Skip(int lines)
    {
        for (int i = 0; i < lines; ++i) Line();
    }
    std::string Token()
    {
        std::string token;
        bool afterSpace = false;
        while (At < Bytes.size()) {
            const char c = Bytes[At++];
            if (c == '\t' || c == '\n') break;
            if (c == '\r') continue;
            if (c == ' ') {
                afterSpace = true;
            } else if (afterSpace) {
                --At;
                break;
            } else {
                token += c;
            }
        }
        return token;
    }
    int Integer()
    {
        const std::string token = Token();
        if (token.size() > 64) throw EConvertError("too long"); // no number needs more
        return StrToInt(token);
    }
    int Padded()
    {
        Token();
        return Integer();
    }
    static uint16_t Word(int value) { return static_cast<uint16_t>(std::min(std::max(value, 0), 65535)); }
    static int Number(int n)
    {
        if (n < 0 || n > 65535) throw EConvertError("out of range");
        return n;
    }

    void StrokeLine(TTraining& training)
    {
        const int n = Number(Padded());
        SetStrokeCount(training, n);
        TStroke& stroke = training.Strokes[n];
        stroke.Number = static_cast<uint16_t>(n);
        float* const values[] = {&stroke.Power,    &stroke.AveragePower, &stroke.StrokeRate, &stroke.TargetPower,
                                 &stroke.Time,     &stroke.StrokeLength, &stroke.Distance,   &stroke.Split500,
                                 &stroke.EnergyPerStroke, &stroke.EnergySum, &stroke.Pulse, &stroke.WorkPerPulse};
        for (float* value : values) {
            const float v = static_cast<float>(Padded());
            std::memcpy(value, &v, sizeof v); // the fields are packed
        }
        stroke.IntervalNumber = Word(Padded());
        stroke.IntervalCountdown = Word(Padded());
        stroke.IntervalPower = Word(Padded());
    }
    void CurveLine(TTraining& training)
    {
        const int n = Number(Padded());
        Token();
        SetStrokeCount(training, n);
        TForceCurve& curve = training.Curves[n];
        curve.Number = static_cast<uint16_t>(n);
        curve.Valid = 0;
        for (int k = 0; k < CurveSamples; ++k) {
            const int value = Integer();
            curve.Samples[k] = value == 4 ? 0 : Word(value);
            if (curve.Samples[k] > 0) curve.Valid = 1;
        }
        training.Strokes[n].Number = static_cast<uint16_t>(n);
    }
    void IntervalLine(TTraining& training)
    {
        if (training.Intervals.size() >= 65535) throw EConvertError("too many intervals");
        SetIntervalCount(training, static_cast<int>(training.Intervals.size()) + 1);
        TInterval& interval = training.Intervals.back();
        interval.AveragePower = Word(Padded());
        interval.AverageStrokeRate = Word(Padded());
        interval.TotalTime = Word(Padded());
        interval.TotalDistance = Word(Padded());
        interval.AveragePulse = Word(Padded());
    }

    const std::string& Bytes;
    size_t At = 0;
};

// Tables with every kind of untidiness the token reader has rules for.
class TUglyTables {
public:
    explicit TUglyTables(unsigned seed) : Random(seed) {}

    // Ugliness in thousandths raises the odds of each untidiness; a benign
    // table has only those that leave every token an integer.
    std::string Table(int rows, int ugliness, bool benign = false)
    {
        Ugliness = ugliness;
        Benign = benign;
        const int kind = Pick(3);
        std::string text = kind == 0   ? "Stroke data\nrower\nNumber         \tPower         \tAverage\n"
                           : kind == 1 ? "Force curves\nrower\n"
                                       : "Intervals\nrower\nPower   Rate    Time\n";
        int number = 0;
        for (int r = 0; r < rows; ++r) {
            number = Chance(20) ? Pick(number + 2) : number + 1; // now and then a smaller one
            // A benign table keeps its stroke numbers plain.
            const std::string numberField = Benign ? Padded(number) : Field(number, true);
            if (kind == 0) text += Row(numberField, 15, true);
            if (kind == 1) text += Row("Number" + numberField + "\t", 80, false);
            if (kind == 2) text += Row(Field(Pick(300), true), 4, true);
            if (!Benign && Chance(100)) text += Chance(2) ? "\n" : "\r\n"; // a blank line
        }
        if (Chance(3) && !text.empty()) text.pop_back(); // no LF at the end
        return text;
    }

private:
    int Pick(int below) { return static_cast<int>(Random() % static_cast<unsigned>(below)); }
    // One in n, made likelier by the ugliness.
    bool Chance(int n) { return Pick(n * 1000) < Ugliness; }

    std::string Field(long value, bool padded)
    {
        std::string text = padded ? Padded(value, 3 + Pick(5)) : std::to_string(value);
        if (Chance(10)) text += " "; // ends the token as a TAB would
        if (Chance(10)) text.insert(Pick(static_cast<int>(text.size()) + 1), "\r");
        if (Chance(30) && value >= 0) text = std::string(padded ? Pick(3) : 0, ' ') + "+" + std::to_string(value);
        if (Chance(30) && value >= 0) text = "00000000" + std::to_string(value); // more digits than usual
        if (Chance(20)) text = (padded ? " " : "") + std::to_string(10000 + Pick(99990000)); // five to eight digits
        if (Chance(40)) text = std::string(Benign ? 40 : 60 + Pick(10), '0') + "7"; // near the longest kept token
        if (Chance(40)) text = Pick(2) ? "2147483647" : "-2147483648";
        if (Benign) return padded && text[0] != ' ' ? " " + text : text;
        if (Chance(10)) text.insert(Pick(static_cast<int>(text.size()) + 1), " "); // one token becomes two
        if (Chance(40)) text = Pick(2) ? "12.5" : Pick(2) ? "-" : "x";
        if (Chance(40)) text = Pick(2) ? "99999999999" : "+-5";
        if (Chance(60)) text = "";
        return text;
    }
    // The first field, values more fields and a last one the reader skips.
    std::string Row(const std::string& first, int values, bool padded)
    {
        std::string row = first;
        for (int i = 0; i <= values; ++i) {
            if (!Benign && Chance(60)) continue; // a missing field
            const long value = Chance(10) ? -Pick(100) : Chance(20) ? 4 : Pick(2000);
            row += "\t" + Field(value, padded);
        }
        if (Chance(20)) row += "\t" + std::string(Pick(300), Pick(2) ? ' ' : 'x'); // a long rest of the line
        return row + (Chance(10) ? "\r\n" : "\n");
    }

    std::mt19937 Random;
    int Ugliness = 0;
    bool Benign = false;
};

// Whether two arrays hold the same bytes; an empty array may have no data at all.
template <typename T>
bool SameBytes(const std::vector<T>& a, const std::vector<T>& b)
{
    return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0);
}

void ExpectSameRecords(const TTraining& fast, const TTraining& plain, const std::string& what)
{
    // Times, colour and identity are new for every header.
    THeader a = fast.Header, b = plain.Header;
    a.DateTime = b.DateTime = 0;
    a.OrigFileDateTime = b.OrigFileDateTime = 0;
    a.Color = b.Color = TColor{};
    a.TrainingID = b.TrainingID = TGuid{};
    EXPECT_EQ(std::memcmp(&a, &b, sizeof a), 0) << what;
    EXPECT_EQ(std::memcmp(&fast.Settings, &plain.Settings, sizeof fast.Settings), 0) << what;
    ASSERT_EQ(fast.Strokes.size(), plain.Strokes.size()) << what;
    ASSERT_EQ(fast.Curves.size(), plain.Curves.size()) << what;
    ASSERT_EQ(fast.Intervals.size(), plain.Intervals.size()) << what;
    EXPECT_TRUE(SameBytes(fast.Strokes, plain.Strokes)) << what;
    EXPECT_TRUE(SameBytes(fast.Curves, plain.Curves)) << what;
    EXPECT_TRUE(SameBytes(fast.Intervals, plain.Intervals)) << what;
}

// Reads text with the reader and the plain one; answers whether it was read.
bool ExpectSameReading(const std::string& text, const std::string& what)
{
    TMessageRecorder messages;
    TTempFolder folder;
    const std::string path = folder.File("table.pel");
    WriteBytes(path, text);
    TTraining fast, plain;
    SetStrokeCount(fast, 0);
    SetStrokeCount(plain, 0);
    const bool read = ReadPelmFile(path, fast);
    EXPECT_EQ(read, TPlainPelm(text).Read(path, plain)) << what;
    if (read) ExpectSameRecords(fast, plain, what);
    return read;
}

} // namespace

TEST(PelmAgreement, SmallUglyTablesReadAsThePlainReaderReadsThem)
{
    TUglyTables tables(2024);
    int read = 0;
    const int files = 600;
    for (int n = 0; n < files; ++n) {
        const std::string text = tables.Table(1 + n % 12, n % 4 == 0 ? 0 : 300 * (n % 7));
        if (ExpectSameReading(text, "file " + std::to_string(n) + ":\n" + text)) ++read;
    }
    // Both outcomes are well represented, or the comparison proves little.
    EXPECT_GT(read, files / 4) << read;
    EXPECT_LT(read, files * 3 / 4);
}

TEST(PelmAgreement, LargeTablesAgreeAcrossTheReadersChunks)
{
    // Tables of several chunks, so that tokens, CRs and line ends fall on the
    // readers' chunk boundaries.
    TUglyTables tables(7);
    int read = 0;
    for (int n = 0; n < 12; ++n) {
        const std::string text = tables.Table(3000, n < 4 ? 0 : 200 * n, n < 8);
        if (ExpectSameReading(text, "large file " + std::to_string(n))) ++read;
    }
    EXPECT_GE(read, 8) << read; // every benign one
}

TEST(PelmAgreement, TablesOfFurtherSeedsReadAsThePlainReaderReadsThem)
{
    // Medium tables, some of them over a chunk, each seed with its own mix of
    // kinds, sizes and untidiness.
    int read = 0, files = 0;
    for (unsigned seed = 100; seed < 140; ++seed) {
        TUglyTables tables(seed);
        for (int n = 0; n < 10; ++n, ++files) {
            const int rows = 1 + static_cast<int>((seed * 37 + n * 101) % 400);
            const std::string text = tables.Table(rows, 50 * (n % 5), n % 2 == 0);
            if (ExpectSameReading(text, "seed " + std::to_string(seed) + ", file " + std::to_string(n))) ++read;
        }
    }
    EXPECT_GT(read, files / 4) << read;
    EXPECT_LT(read, files * 9 / 10) << read;
}

TEST(PelmAgreement, NumbersOfEveryLengthAgreeWhereAChunkEndsInsideThem)
{
    // The reader takes its file in chunks of 64 KiB and reads a number's
    // first three bytes at once. A long rest of the first row, which is
    // skipped, moves the end of the first chunk to each byte of the first
    // sample of the next curve, for numbers of one to four digits, plain or
    // negative.
    const size_t chunk = 64 * 1024;
    const std::string head = "Force curves\nrower\n";
    for (const std::string number : {"7", "78", "780", "7801", "-78"}) {
        std::string row = "Number 1\t";
        const size_t firstSample = row.size() + 1;
        for (int k = 0; k < 80; ++k) row += "\t" + number;
        row += "\t0\n";
        for (size_t cut = 0; cut <= number.size() + 1; ++cut) {
            std::string first = row;
            first.insert(first.size() - 1, chunk - cut - head.size() - firstSample - row.size(), 'x');
            const std::string text = head + first + row;
            ASSERT_EQ(text.compare(chunk - cut, number.size(), number), 0);
            EXPECT_TRUE(ExpectSameReading(text, number + " cut after " + std::to_string(cut) + " bytes"));
        }
    }
}
