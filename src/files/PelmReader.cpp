// Pelm files: tab-separated text tables of strokes, force curves or
// intervals, told apart by their third line.
#include "LegacyRecords.h"
#include "untMessages.h"

#include <queue>

namespace {

const std::string StrokeTableMark = "Number         \tPower";
const std::string CurveTableMark = "Number ";
const std::string IntervalTableMark = "Power   Rate";
const int MaxNumber = 65535; // stroke and interval numbers are 16-bit
// Only the start of a line is ever looked at, and no number needs more
// characters than this; longer texts are not kept whole.
const size_t MaxKeptLine = 256;
const size_t MaxTokenLength = 64;

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

uint16_t ClampToWord(int value) { return static_cast<uint16_t>(ClampInt(value, 0, MaxNumber)); }

// Lines and tokens of a Pelm file, read a byte at a time.
class TPelmText {
public:
    explicit TPelmText(TBinaryFile& file) : File(file) {}

    // The next line without its LF, CRs dropped, "" at the end of the file.
    std::string ReadLine()
    {
        std::string line;
        unsigned char c;
        while (File.ReadByte(c) && c != '\n')
            if (c != '\r' && line.size() < MaxKeptLine) line += static_cast<char>(c);
        return line;
    }
    void SkipLines(int count)
    {
        for (int i = 0; i < count; ++i) ReadLine();
    }

    // The next token: a TAB or LF ends it and is consumed, a CR is ignored, and
    // after one or more spaces the next other byte is left for the next token.
    // So a field padded with leading spaces yields an empty token, then its value.
    const std::string& ReadToken()
    {
        Token.clear();
        Overlong = false;
        bool afterSpace = false;
        unsigned char c;
        while (File.ReadByte(c)) {
            if (c == '\t' || c == '\n') break;
            if (c == '\r') continue;
            if (c == ' ') {
                afterSpace = true;
            } else if (afterSpace) {
                File.Seek(File.Position() - 1);
                break;
            } else if (Token.size() < MaxTokenLength) {
                Token += static_cast<char>(c);
            } else {
                Overlong = true;
            }
        }
        return Token;
    }
    void SkipTokens(int count)
    {
        for (int i = 0; i < count; ++i) ReadToken();
    }
    // Throws EConvertError when the token is not an integer.
    int ReadInteger()
    {
        const std::string& token = ReadToken();
        if (Overlong) throw EConvertError("'" + token + "...' is not a valid integer value");
        return StrToInt(token);
    }

    bool AtEnd() const { return File.Eof(); }
    double Fraction() const { return static_cast<double>(File.Position()) / static_cast<double>(File.Size()); }

private:
    TBinaryFile& File;
    std::string Token;
    bool Overlong = false;
};

uint8_t RecogniseKind(TPelmText& text)
{
    text.SkipLines(2);
    const std::string third = text.ReadLine();
    if (StartsWith(third, StrokeTableMark)) return fkStrokeData;
    if (StartsWith(third, CurveTableMark)) return fkForceCurves;
    if (StartsWith(third, IntervalTableMark)) return fkIntervals;
    return third.size() > 4 ? fkUser : fkNone;
}

// Keeps the stroke arrays as long as the number of the line just read, as the
// tables require (a smaller number cuts the strokes above it off), without
// redoing that work for every line: the arrays only grow while reading, a
// stroke that a smaller number cuts off is cleared once, and the final length
// is set at the end. A file alternating between large and small numbers thus
// costs no more than an ordinary one.
class TStrokeSlots {
public:
    explicit TStrokeSlots(TTraining& training) : Training(training) {}

    // Makes stroke n the last one; answers its index.
    size_t Enter(int n)
    {
        ClearAbove(n);
        if (static_cast<size_t>(n) >= Training.Strokes.size()) SetStrokeCount(Training, n);
        if (!Filled[n]) {
            Filled[n] = true;
            FilledNumbers.push(n);
        }
        Last = n;
        return static_cast<size_t>(n);
    }
    void Finish() { SetStrokeCount(Training, Last); }

private:
    void ClearAbove(int n)
    {
        while (!FilledNumbers.empty() && FilledNumbers.top() > n) {
            const int i = FilledNumbers.top();
            FilledNumbers.pop();
            Filled[i] = false;
            Training.Strokes[i] = TStroke{};
            Training.Strokes[i].Number = static_cast<uint16_t>(i);
            Training.Curves[i] = TForceCurve{};
            Training.Curves[i].Number = static_cast<uint16_t>(i);
        }
    }

    TTraining& Training;
    std::vector<bool> Filled = std::vector<bool>(MaxNumber + 1);
    std::priority_queue<int> FilledNumbers; // the filled strokes, highest first
    int Last = 0;
};

class TPelmReader {
public:
    TPelmReader(TPelmText& text, TTraining& training, const TProgress& progress)
        : Text(text), Training(training), Progress(progress)
    {
    }

    // Each line: a stroke number and 15 values, every field padded.
    void ReadStrokeTable()
    {
        Text.SkipLines(3);
        NewSettings(Training.Settings);
        TStrokeSlots slots(Training);
        while (!Text.AtEnd()) {
            ReportProgress(Progress, Text.Fraction());
            const int n = NextStrokeNumber();
            TStroke& stroke = Training.Strokes[slots.Enter(n)];
            stroke.Number = static_cast<uint16_t>(n);
            stroke.Power = NextValue();
            stroke.AveragePower = NextValue();
            stroke.StrokeRate = NextValue();
            stroke.TargetPower = NextValue();
            stroke.Time = NextValue();
            stroke.StrokeLength = NextValue();
            stroke.Distance = NextValue();
            stroke.Split500 = NextValue();
            stroke.EnergyPerStroke = NextValue();
            stroke.EnergySum = NextValue();
            stroke.Pulse = NextValue();
            stroke.WorkPerPulse = NextValue();
            stroke.IntervalNumber = ClampToWord(NextPaddedInteger());
            stroke.IntervalCountdown = ClampToWord(NextPaddedInteger());
            stroke.IntervalPower = ClampToWord(NextPaddedInteger());
            Text.SkipLines(1);
        }
        slots.Finish();
        ComputeAverageStroke(Training);
        ComputeDistancePerStroke(Training.Strokes, static_cast<int>(Training.Strokes.size()) - 1);
    }

    // Each line: a field, the stroke number, a field and 80 samples.
    void ReadCurveTable()
    {
        Text.SkipLines(2);
        NewSettings(Training.Settings);
        const int sprocket = Training.Settings.Sprocket;
        TStrokeSlots slots(Training);
        while (!Text.AtEnd()) {
            ReportProgress(Progress, Text.Fraction());
            const int n = NextStrokeNumber();
            Text.SkipTokens(1);
            const size_t index = slots.Enter(n);
            TForceCurve& curve = Training.Curves[index];
            curve.Number = static_cast<uint16_t>(n);
            curve.Valid = 0;
            for (int k = 0; k < CurveSamples; ++k) {
                const int value = Text.ReadInteger();
                // Exactly 4 stands for no force.
                curve.Samples[k] = value == 4 ? 0 : ClampToWord(value);
                if (curve.Samples[k] > 0) curve.Valid = 1;
            }
            TStroke& stroke = Training.Strokes[index];
            stroke.Number = static_cast<uint16_t>(n);
            stroke.StrokeLength = static_cast<float>(EstimateStrokeLength(curve, sprocket));
            ComputePeakForce(stroke, curve, sprocket);
            Text.SkipLines(1);
        }
        slots.Finish();
        ComputeAverageStroke(Training);
    }

    // Each line: five padded values of one interval.
    void ReadIntervalTable()
    {
        Text.SkipLines(3);
        NewSettings(Training.Settings);
        while (!Text.AtEnd()) {
            ReportProgress(Progress, Text.Fraction());
            if (Training.Intervals.size() >= static_cast<size_t>(MaxNumber))
                throw EConvertError("more intervals than a training holds");
            SetIntervalCount(Training, static_cast<int>(Training.Intervals.size()) + 1);
            TInterval& interval = Training.Intervals.back();
            interval.AveragePower = ClampToWord(NextPaddedInteger());
            interval.AverageStrokeRate = ClampToWord(NextPaddedInteger());
            interval.TotalTime = ClampToWord(NextPaddedInteger());
            interval.TotalDistance = ClampToWord(NextPaddedInteger());
            interval.AveragePulse = ClampToWord(NextPaddedInteger());
            Text.SkipLines(1);
        }
    }

private:
    // A padded field: the empty token before its value is dropped.
    int NextPaddedInteger()
    {
        Text.SkipTokens(1);
        return Text.ReadInteger();
    }
    float NextValue() { return static_cast<float>(NextPaddedInteger()); }
    int NextStrokeNumber()
    {
        const int n = NextPaddedInteger();
        if (n < 0 || n > MaxNumber) throw EConvertError("stroke number " + std::to_string(n) + " out of range");
        return n;
    }

    TPelmText& Text;
    TTraining& Training;
    const TProgress& Progress;
};

} // namespace

bool ReadPelmFile(const std::string& path, TTraining& training, const TProgress& progress)
{
    try {
        TBinaryFile file(path);
        TPelmText text(file);
        const uint8_t kind = RecogniseKind(text);
        file.Seek(0);
        ApplyLegacyHeader(training, path, ffPEL, kind);
        training.Header.Name = training.Header.Title;
        TPelmReader reader(text, training, progress);
        switch (kind) {
        case fkStrokeData: reader.ReadStrokeTable(); return true;
        case fkForceCurves: reader.ReadCurveTable(); return true;
        case fkIntervals: reader.ReadIntervalTable(); return true;
        case fkUser: ShowInformationMessage("Reading user settings file not supported (yet)"); return false;
        default: return false;
        }
    } catch (const std::exception&) {
        MessageBeep();
        return false;
    }
}
