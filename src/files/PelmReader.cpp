// Pelm files: tab-separated text tables of strokes, force curves or
// intervals, told apart by their third line.
#include "LegacyRecords.h"
#include "untMessages.h"

#include <algorithm>
#include <cstring>

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

uint16_t ClampToWord(int value) { return static_cast<uint16_t>(std::min(std::max(value, 0), MaxNumber)); }

// Lines and tokens of a Pelm file, read from chunks of the file.
class TPelmText {
public:
    explicit TPelmText(TBinaryFile& file) : File(file), Chunk(ChunkSize + 1, '\n') {}

    // Starts again at the beginning of the file.
    void Rewind()
    {
        File.Seek(0);
        Next = End = Chunk.data();
        Chunk[0] = '\n'; // the stop mark, see EndsToken
    }

    // The next line without its LF, CRs dropped, "" at the end of the file.
    std::string ReadLine()
    {
        std::string line;
        unsigned char c;
        while (ReadByte(c) && c != '\n')
            if (c != '\r' && line.size() < MaxKeptLine) line += static_cast<char>(c);
        return line;
    }
    void SkipLines(int count)
    {
        for (int i = 0; i < count; ++i) {
            for (;;) {
                if (Next == End && !Refill()) return;
                const void* lf = std::memchr(Next, '\n', static_cast<size_t>(End - Next));
                if (lf) {
                    Next = static_cast<const unsigned char*>(lf) + 1;
                    break;
                }
                Next = End;
            }
        }
    }

    // Reads the next token: a TAB or LF ends it and is consumed, a CR is
    // ignored, and after one or more spaces the next other byte is left for the
    // next token. So a field padded with leading spaces yields an empty token,
    // then its value.
    void ReadToken()
    {
        TokenLength = 0;
        Overlong = false;
        bool afterSpace = false;
        unsigned char c;
        while (ReadByte(c)) {
            if (c == '\t' || c == '\n') break;
            if (c == '\r') continue;
            if (c == ' ') {
                afterSpace = true;
            } else if (afterSpace) {
                --Next; // the byte just read is still in the chunk
                break;
            } else if (TokenLength < MaxTokenLength) {
                Token[TokenLength++] = static_cast<char>(c);
            } else {
                Overlong = true;
            }
        }
    }
    void SkipTokens(int count)
    {
        for (int i = 0; i < count; ++i)
            if (!SkipTokenInChunk()) ReadToken();
    }
    // Throws EConvertError when the token is not an integer.
    int ReadInteger()
    {
        int value;
        return ReadPlainIntegerInChunk(value) ? value : ReadAnyInteger();
    }

    bool AtEnd() const { return Next == End && File.Eof(); }
    double Fraction() const
    {
        const int64_t position = File.Position() - (End - Next);
        return static_cast<double>(position) / static_cast<double>(File.Size());
    }

private:
    static const size_t ChunkSize = 64 * 1024;

    int ReadAnyInteger()
    {
        ReadToken();
        int value;
        if (!Overlong && PlainInteger(value)) return value;
        const std::string token(Token, TokenLength);
        if (Overlong) throw EConvertError("'" + token + "...' is not a valid integer value");
        return StrToInt(token);
    }

    bool ReadByte(unsigned char& c)
    {
        if (Next == End && !Refill()) return false;
        c = *Next++;
        return true;
    }
    bool Refill()
    {
        Next = Chunk.data();
        End = Next + File.Read(Chunk.data(), ChunkSize);
        Chunk[static_cast<size_t>(End - Next)] = '\n'; // the stop mark, see EndsToken
        return Next != End;
    }

    // A table has millions of tokens, so the usual ones are taken straight
    // from the chunk: the functions below scan a token that ends within the
    // chunk and holds no CR. Anything else answers false with nothing
    // consumed, and ReadToken, the one definition of a token, takes it a byte
    // at a time. Both ways end a token alike (EndTokenAt).

    // Space, TAB, LF or CR. The chunk holds an LF after its bytes, so every
    // scan for one of these stops at the end of the chunk without testing
    // for it; the scans then check for End before consuming anything.
    static bool EndsToken(unsigned char c)
    {
        const uint64_t ends = 1ull << ' ' | 1ull << '\t' | 1ull << '\n' | 1ull << '\r';
        return c <= ' ' && (ends >> c & 1);
    }

    // p is just past a token's own bytes. Consumes what ends the token: a TAB
    // or LF, or spaces that are themselves ended by a TAB or LF (consumed too)
    // or by the first byte of the next token (left unread).
    bool EndTokenAt(const unsigned char* p)
    {
        if (p == End) return false;
        if (*p == ' ') {
            do ++p;
            while (*p == ' ');
            if (p == End || *p == '\r') return false;
            if (*p != '\t' && *p != '\n') {
                Next = p;
                return true;
            }
        } else if (*p == '\r') {
            return false;
        }
        Next = p + 1;
        return true;
    }
    bool SkipTokenInChunk()
    {
        const unsigned char* p = Next;
        while (!EndsToken(*p)) ++p;
        return EndTokenAt(p);
    }
    // A token in the usual form of a number (see PlainInteger).
    bool ReadPlainIntegerInChunk(int& value)
    {
        const unsigned char* p = Next;
        const bool negative = *p == '-';
        if (negative) ++p;
        const unsigned char* const digits = p;
        unsigned magnitude = 0; // wraps harmlessly on a long run of digits, which is refused
        for (unsigned digit; (digit = *p - unsigned{'0'}) <= 9; ++p) magnitude = magnitude * 10 + digit;
        // Ten or more digits, or any other byte in the token, are left to ReadToken.
        if (p == digits || p - digits > 9 || !EndsToken(*p) || !EndTokenAt(p)) return false;
        value = negative ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
        return true;
    }

    // The usual form of a number, an optional minus and up to nine digits,
    // converted without the general conversion.
    bool PlainInteger(int& value) const
    {
        const bool negative = TokenLength > 0 && Token[0] == '-';
        const size_t first = negative ? 1 : 0;
        if (TokenLength == first || TokenLength - first > 9) return false;
        int magnitude = 0;
        for (size_t i = first; i < TokenLength; ++i) {
            if (Token[i] < '0' || Token[i] > '9') return false;
            magnitude = magnitude * 10 + (Token[i] - '0');
        }
        value = negative ? -magnitude : magnitude;
        return true;
    }

    TBinaryFile& File;
    std::vector<unsigned char> Chunk;
    const unsigned char* Next = Chunk.data(); // the unread bytes of Chunk
    const unsigned char* End = Chunk.data();
    char Token[MaxTokenLength];
    size_t TokenLength = 0;
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
// redoing that work for every line: the arrays only grow while reading (by
// doubling, up to the most a training holds), a stroke that a smaller number
// cuts off is cleared once, and the final length is set at the end. Strokes
// beyond the last number are zeroed and numbered, as growing them would make
// them. A file alternating between large and small numbers thus costs no more
// than an ordinary one.
class TStrokeSlots {
public:
    explicit TStrokeSlots(TTraining& training) : Training(training) {}

    // Makes stroke n the last one; answers its index.
    size_t Enter(int n)
    {
        ClearAbove(n);
        const size_t length = Training.Strokes.size();
        if (static_cast<size_t>(n) >= length)
            SetStrokeCount(Training, std::max(n, std::min(MaxNumber, static_cast<int>(2 * length))));
        if (!Filled[n]) {
            Filled[n] = true;
            FilledNumbers.push_back(n);
        }
        Last = n;
        return static_cast<size_t>(n);
    }
    void Finish() { SetStrokeCount(Training, Last); }

private:
    void ClearAbove(int n)
    {
        while (!FilledNumbers.empty() && FilledNumbers.back() > n) {
            const int i = FilledNumbers.back();
            FilledNumbers.pop_back();
            Filled[i] = false;
            Training.Strokes[i] = TStroke{};
            Training.Strokes[i].Number = static_cast<uint16_t>(i);
            Training.Curves[i] = TForceCurve{};
            Training.Curves[i].Number = static_cast<uint16_t>(i);
        }
    }

    TTraining& Training;
    std::vector<bool> Filled = std::vector<bool>(MaxNumber + 1);
    // The filled strokes in increasing order: every number entered is the
    // highest once those above it are cleared.
    std::vector<int> FilledNumbers;
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
    }

    // Each line: a field, the stroke number, a field and 80 samples.
    void ReadCurveTable()
    {
        Text.SkipLines(2);
        NewSettings(Training.Settings);
        TStrokeSlots slots(Training);
        while (!Text.AtEnd()) {
            ReportProgress(Progress, Text.Fraction());
            const int n = NextStrokeNumber();
            Text.SkipTokens(1);
            const size_t index = slots.Enter(n);
            TForceCurve& curve = Training.Curves[index];
            curve.Number = static_cast<uint16_t>(n);
            curve.Valid = 0;
            // Valid is set once after the samples: a byte stored in the loop
            // could be any byte to the compiler, which would then reload the
            // text reader's position after every sample.
            bool valid = false;
            for (int k = 0; k < CurveSamples; ++k) {
                const int value = Text.ReadInteger();
                // Exactly 4 stands for no force.
                const uint16_t sample = value == 4 ? 0 : ClampToWord(value);
                curve.Samples[k] = sample;
                valid = valid || sample > 0;
            }
            curve.Valid = valid ? 1 : 0;
            Training.Strokes[index].Number = static_cast<uint16_t>(n);
            Text.SkipLines(1);
        }
        slots.Finish();
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

bool DecodePelmFile(const std::string& path, TTraining& training, const TProgress& progress)
{
    try {
        TBinaryFile file(path);
        TPelmText text(file);
        const uint8_t kind = RecogniseKind(text);
        text.Rewind();
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

// The stroke lengths and peak forces of a force-curve table, the average
// stroke, and the distances per stroke of a stroke table. A stroke without
// force keeps length and peak force 0, as it had them before.
void CompletePelmTraining(TTraining& training)
{
    const int sprocket = training.Settings.Sprocket;
    if (training.Header.OrigFileKind == fkForceCurves) {
        for (size_t i = 1; i < training.Strokes.size(); ++i) {
            TStroke& stroke = training.Strokes[i];
            stroke.StrokeLength = static_cast<float>(EstimateStrokeLength(training.Curves[i], sprocket));
            ComputePeakForce(stroke, training.Curves[i], sprocket);
        }
    }
    ComputeAverageStroke(training); // all zero for an interval table, which has no strokes
    if (training.Header.OrigFileKind == fkStrokeData)
        ComputeDistancePerStroke(training.Strokes, static_cast<int>(training.Strokes.size()) - 1);
}

bool ReadPelmFile(const std::string& path, TTraining& training, const TProgress& progress)
{
    if (!DecodePelmFile(path, training, progress)) return false;
    CompletePelmTraining(training);
    return true;
}
