// Pelm files: tab-separated text tables of strokes, force curves or
// intervals, told apart by their third line.
//
// A title and the rower's name head every table. A stroke or interval table
// then has a line of column names; a force-curve table starts its rows at
// once, each with the word "Number". Every line after the head is a row, its
// fields separated by TABs; a field of a stroke or interval table is padded
// with leading spaces. A row may hold more fields than are read; the rest of
// its line is skipped. A CR is ignored wherever it stands.
#include "LegacyRecords.h"
#include "untMessages.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

const std::string StrokeTableMark = "Number         \tPower";
const std::string CurveTableMark = "Number ";
const std::string IntervalTableMark = "Power   Rate";
const int MaxNumber = 65535; // stroke and interval numbers are 16-bit
// The first two lines, a title and a name, are a few hundred bytes in a real
// file: a file whose first two lines do not end within HeadLength bytes is
// no Pelm file, and is refused without reading on, however large it is.
const size_t HeadLength = 4096;
// Only the start of the third line, which tells the kind, is looked at.
const size_t MaxKeptLine = 256;
// No number needs more characters than this; longer tokens are not kept whole.
const size_t MaxTokenLength = 64;

bool StartsWith(const std::string& text, const std::string& start)
{
    return text.compare(0, start.size(), start) == 0;
}

uint16_t ClampToWord(int value) { return static_cast<uint16_t>(std::min(std::max(value, 0), MaxNumber)); }

// Lines and tokens of a Pelm file, read from chunks of the file. A token is
// read one byte at a time, by the rules of ReadToken; the usual tokens of a
// table, a number or a padding ended within the chunk, take the same rules in
// a plain scan of the chunk without the byte-by-byte bookkeeping.
class TPelmText {
public:
    explicit TPelmText(TBinaryFile& file) : File(file), Chunk(ChunkSize + StopMarks, StopMark) {}

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
        for (int i = 0; i < count; ++i) {
            const unsigned char* after = AfterTokenInChunk();
            if (after) Next = after;
            else ReadToken();
        }
    }
    // Throws EConvertError when the token is not an integer.
    int ReadInteger()
    {
        int value;
        const unsigned char* after = AfterPlainIntegerAt(Next, value);
        if (!after) return ReadAnyInteger();
        Next = after;
        return value;
    }
    // Skips the empty token of a field's padding, then reads the field's
    // integer. The usual padding, spaces ended by the number itself, is
    // passed over here; any other is left to SkipTokens.
    int ReadPaddedInteger()
    {
        const unsigned char* p = Next;
        if (*p == ' ') {
            while (*p == ' ') ++p;
            int value;
            const unsigned char* after = p != End && !EndsToken(*p) ? AfterPlainIntegerAt(p, value) : nullptr;
            if (after) {
                Next = after;
                return value;
            }
        }
        SkipTokens(1);
        return ReadInteger();
    }

    bool AtEnd() const { return Next == End && File.Eof(); }
    int64_t FileSize() const { return File.Size(); }
    double Fraction() const
    {
        const int64_t position = File.Position() - (End - Next);
        return static_cast<double>(position) / static_cast<double>(File.Size());
    }

private:
    static const size_t ChunkSize = 64 * 1024;
    // The chunk holds an LF after its bytes. It ends a token, so every scan of
    // a token stops at the end of the chunk without testing for it; the scans
    // then check for End before consuming anything.
    static constexpr unsigned char StopMark = '\n';
    // The chunk's last bytes stay stop marks, so that a number's scan may
    // look two bytes past the one at End.
    static const size_t StopMarks = 3;
    // The most digits of a number in its usual form; any nine fit an int.
    static const int MaxPlainDigits = 9;

    unsigned char* Bytes() { return Chunk.data(); }

    bool ReadByte(unsigned char& c)
    {
        if (Next == End && !Refill()) return false;
        c = *Next++;
        return true;
    }
    bool Refill()
    {
        Next = Bytes();
        End = Next + File.Read(Bytes(), ChunkSize);
        Bytes()[End - Next] = StopMark;
        return Next != End;
    }

    int ReadAnyInteger()
    {
        ReadToken();
        int value;
        if (!Overlong && PlainInteger(value)) return value;
        const std::string token(Token, TokenLength);
        if (Overlong) throw EConvertError("'" + token + "...' is not a valid integer value");
        return StrToInt(token);
    }
    // The usual form of a number, an optional minus and up to nine digits,
    // converted without the general conversion.
    bool PlainInteger(int& value) const
    {
        const bool negative = TokenLength > 0 && Token[0] == '-';
        const size_t first = negative ? 1 : 0;
        if (TokenLength == first || TokenLength - first > MaxPlainDigits) return false;
        int magnitude = 0;
        for (size_t i = first; i < TokenLength; ++i) {
            if (!IsDigit(static_cast<unsigned char>(Token[i]))) return false;
            magnitude = magnitude * 10 + (Token[i] - '0');
        }
        value = negative ? -magnitude : magnitude;
        return true;
    }

    // The scans below take a token that ends within the chunk and holds no
    // CR. Anything else answers nullptr with nothing consumed, and ReadToken
    // takes it a byte at a time. Both ways end a token alike (AfterTokenEnd).

    static bool IsDigit(unsigned char c) { return c >= '0' && c <= '9'; }
    // Space, TAB, LF or CR.
    static bool EndsToken(unsigned char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

    // p is just past a token's own bytes. Answers the position after what
    // ends the token: a TAB or LF, or spaces that are themselves ended by a
    // TAB or LF (taken too) or by the first byte of the next token (left
    // unread). nullptr when the token is not ended that way within the chunk.
    const unsigned char* AfterTokenEnd(const unsigned char* p) const
    {
        if (*p == '\t') return p + 1; // the usual end; the stop mark is an LF
        if (p == End) return nullptr;
        if (*p == '\n') return p + 1;
        if (*p != ' ') return nullptr;
        while (*p == ' ') ++p;
        if (p == End || *p == '\r') return nullptr;
        return *p == '\t' || *p == '\n' ? p + 1 : p;
    }
    const unsigned char* AfterTokenInChunk() const
    {
        const unsigned char* p = Next;
        while (!EndsToken(*p)) ++p;
        return AfterTokenEnd(p);
    }
    // A token at p in the usual form of a number (see PlainInteger): its
    // value, and the position after it and its end.
    const unsigned char* AfterPlainIntegerAt(const unsigned char* p, int& value) const
    {
        const bool negative = *p == '-';
        if (negative) ++p;
        if (!IsDigit(p[0])) return nullptr;
        // Most numbers of a table have one to three digits: those are read
        // from the three bytes at p, without a loop whose end the processor
        // would mispredict at every change of length. Those bytes are there
        // to be looked at, as the chunk ends in stop marks.
        const unsigned first = p[0] - '0', second = p[1] - '0', third = p[2] - '0';
        const bool two = second <= 9;
        const bool three = two && third <= 9;
        unsigned magnitude = three ? first * 100 + second * 10 + third : two ? first * 10 + second : first;
        const unsigned char* const digits = p;
        p += 1 + two + three;
        if (three) // a longer number; wraps harmlessly for a run too long to keep
            for (; IsDigit(*p); ++p) magnitude = magnitude * 10 + (*p - '0');
        if (p - digits > MaxPlainDigits) return nullptr;
        value = negative ? -static_cast<int>(magnitude) : static_cast<int>(magnitude);
        return AfterTokenEnd(p);
    }

    TBinaryFile& File;
    std::vector<unsigned char> Chunk;
    const unsigned char* Next = Bytes(); // the unread bytes of Chunk
    const unsigned char* End = Bytes();
    char Token[MaxTokenLength];
    size_t TokenLength = 0;
    bool Overlong = false;
};

// The start of the third line, CRs dropped: no more than MaxKeptLine bytes
// of it, taken from the file's first HeadLength + MaxKeptLine bytes; "" when
// the first two lines do not end within HeadLength bytes.
std::string ThirdLine(TBinaryFile& file)
{
    std::string head(HeadLength + MaxKeptLine, '\0');
    head.resize(file.Read(head.data(), head.size()));
    size_t start = 0;
    for (int line = 0; line < 2; ++line) {
        const size_t lf = head.find('\n', start);
        if (lf == std::string::npos || lf >= HeadLength) return "";
        start = lf + 1;
    }
    std::string third;
    for (size_t at = start; at < head.size() && head[at] != '\n' && third.size() < MaxKeptLine; ++at)
        if (head[at] != '\r') third += head[at];
    return third;
}

uint8_t RecogniseKind(TBinaryFile& file)
{
    const std::string third = ThirdLine(file);
    if (StartsWith(third, StrokeTableMark)) return fkStrokeData;
    if (StartsWith(third, CurveTableMark)) return fkForceCurves;
    if (StartsWith(third, IntervalTableMark)) return fkIntervals;
    return third.size() > 4 ? fkUser : fkNone;
}

// Keeps the stroke arrays as long as the number of the line just read, as the
// tables require (a smaller number cuts the strokes above it off), without
// redoing that work for every line: the arrays only grow while reading, a
// stroke that a smaller number cuts off is cleared once, and the final length
// is set at the end. Strokes beyond the last number are zeroed and numbered,
// as growing them would make them. A file alternating between large and small
// numbers thus costs no more than an ordinary one. Room for as many strokes as
// the file has room for rows is taken at once, so that the arrays seldom move
// while growing.
class TStrokeSlots {
public:
    TStrokeSlots(TTraining& training, int64_t fileSize) : Training(training)
    {
        const int64_t shortestRow = 32; // no table has shorter ones
        const auto room = static_cast<size_t>(std::min<int64_t>(MaxNumber + 1, fileSize / shortestRow + 1));
        Training.Strokes.reserve(room);
        Training.Curves.reserve(room);
        FilledNumbers.reserve(room);
    }

    // Makes stroke n the last one; answers its index.
    size_t Enter(int n)
    {
        ClearAbove(n);
        if (static_cast<size_t>(n) >= Training.Strokes.size())
            SetStrokeCount(Training, std::min(MaxNumber, n + GrowthStep));
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

    // Strokes are added a few at a time rather than one per line.
    static const int GrowthStep = 255;

    TTraining& Training;
    std::vector<bool> Filled = std::vector<bool>(MaxNumber + 1);
    // The filled strokes in increasing order: every number entered is the
    // highest once those above it are cleared.
    std::vector<int> FilledNumbers;
    int Last = 0;
};

// A sample of a curve from its value in the table: values above 65,535 are
// taken as 65,535, below 0 as 0, and exactly 4, which stands for no force, as
// 0.
uint16_t SampleOfValue(int value)
{
    const uint16_t sample = ClampToWord(value);
    return sample == 4 ? 0 : sample;
}

class TPelmReader {
public:
    TPelmReader(TPelmText& text, TTraining& training, const TProgress& progress)
        : Text(text), Training(training), Progress(progress)
    {
    }

    // Each line: a stroke number and 15 values, every field padded. The
    // first twelve values are the stroke's measurements from Power to
    // WorkPerPulse, which follow one another in the record in that order; the
    // last three are its interval's number, countdown and power.
    void ReadStrokeTable()
    {
        static_assert(offsetof(TStroke, WorkPerPulse) - offsetof(TStroke, Power) == 11 * sizeof(float),
                      "the measurements are twelve floats in a row");
        TStrokeSlots slots(Training, Text.FileSize());
        ReadRows(3, [this, &slots] {
            int values[16];
            ReadPaddedIntegers(values, 16);
            const int n = CheckedStrokeNumber(values[0]);
            TStroke& stroke = Training.Strokes[slots.Enter(n)];
            stroke.Number = static_cast<uint16_t>(n);
            float measurements[12];
            for (int i = 0; i < 12; ++i) measurements[i] = static_cast<float>(values[1 + i]);
            std::memcpy(reinterpret_cast<unsigned char*>(&stroke) + offsetof(TStroke, Power), measurements,
                        sizeof measurements);
            stroke.IntervalNumber = ClampToWord(values[13]);
            stroke.IntervalCountdown = ClampToWord(values[14]);
            stroke.IntervalPower = ClampToWord(values[15]);
        });
        slots.Finish();
    }

    // Each line: a field, the stroke number, a field and 80 samples. A curve
    // with any force is valid.
    void ReadCurveTable()
    {
        TStrokeSlots slots(Training, Text.FileSize());
        ReadRows(2, [this, &slots] {
            const int n = NextStrokeNumber();
            Text.SkipTokens(1);
            const size_t index = slots.Enter(n);
            TForceCurve& curve = Training.Curves[index];
            curve.Number = static_cast<uint16_t>(n);
            uint16_t force = 0;
            for (int k = 0; k < CurveSamples; ++k) {
                curve.Samples[k] = SampleOfValue(Text.ReadInteger());
                force |= curve.Samples[k];
            }
            curve.Valid = force != 0 ? 1 : 0;
            Training.Strokes[index].Number = static_cast<uint16_t>(n);
        });
        slots.Finish();
    }

    // Each line: five padded values of one interval.
    void ReadIntervalTable()
    {
        ReadRows(3, [this] {
            if (Training.Intervals.size() >= static_cast<size_t>(MaxNumber))
                throw EConvertError("more intervals than a training holds");
            SetIntervalCount(Training, static_cast<int>(Training.Intervals.size()) + 1);
            int values[5];
            ReadPaddedIntegers(values, 5);
            TInterval& interval = Training.Intervals.back();
            interval.AveragePower = ClampToWord(values[0]);
            interval.AverageStrokeRate = ClampToWord(values[1]);
            interval.TotalTime = ClampToWord(values[2]);
            interval.TotalDistance = ClampToWord(values[3]);
            interval.AveragePulse = ClampToWord(values[4]);
        });
    }

private:
    // Skips the lines before the table, then reads a row from each line up
    // to the end of the file; the rest of a line after the row is skipped.
    template <class TReadRow> void ReadRows(int headerLines, TReadRow readRow)
    {
        Text.SkipLines(headerLines);
        NewSettings(Training.Settings);
        while (!Text.AtEnd()) {
            if (Progress) Progress(Text.Fraction()); // worked out only when reported
            readRow();
            Text.SkipLines(1);
        }
    }
    // The values of count padded fields: the empty token before each value
    // is dropped.
    void ReadPaddedIntegers(int* values, int count)
    {
        for (int field = 0; field < count; ++field) values[field] = Text.ReadPaddedInteger();
    }
    // The word "Number", then the stroke number.
    int NextStrokeNumber()
    {
        Text.SkipTokens(1);
        return CheckedStrokeNumber(Text.ReadInteger());
    }
    static int CheckedStrokeNumber(int n)
    {
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
        const uint8_t kind = RecogniseKind(file);
        file.Seek(0);
        TPelmText text(file);
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
// stroke, and the distances per stroke and totals of a stroke table. A stroke without
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
    if (training.Header.OrigFileKind == fkStrokeData) {
        ComputeDistancePerStroke(training.Strokes, static_cast<int>(training.Strokes.size()) - 1);
        TotalsFromLastStroke(training); // a stroke table holds no totals of its own
    }
}

bool ReadPelmFile(const std::string& path, TTraining& training, const TProgress& progress)
{
    if (!DecodePelmFile(path, training, progress)) return false;
    CompletePelmTraining(training);
    return true;
}
