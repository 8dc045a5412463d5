// Pelm files: tab-separated text tables of strokes, force curves or
// intervals, told apart by their third line.
#include "LegacyRecords.h"
#include "untMessages.h"

#include <algorithm>
#include <cstring>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// The bulk of a table is scanned by a function that is also built for
// processors of the last decade (with AVX2 and their bit instructions); the
// build that suits the processor is chosen when the program starts.
#if defined(__x86_64__) && defined(__GNUC__) && defined(__linux__)
#define PROCESSOR_CLONES __attribute__((target_clones("arch=x86-64-v3", "default")))
#else
#define PROCESSOR_CLONES
#endif

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

// For each count of bytes up to a block's, the bits of a word that hold its
// last count bytes (all of them from eight on), and of those the low four: a
// digit's value, and 0 for a space.
struct TLastBytes {
    uint64_t Digits[65] = {};
    constexpr TLastBytes()
    {
        for (int count = 1; count <= 64; ++count)
            Digits[count] = (count >= 8 ? ~0ull : ~0ull << (64 - 8 * count)) & 0x0F0F0F0F0F0F0F0Fu;
    }
};
constexpr TLastBytes LastBytes;

// Lines and tokens of a Pelm file, read from chunks of the file.
class TPelmText {
public:
    explicit TPelmText(TBinaryFile& file) : File(file), Chunk(WordSize + ChunkSize + 1 + BlockSize, '\n') {}

    // Starts again at the beginning of the file.
    void Rewind()
    {
        File.Seek(0);
        Next = End = Bytes();
        *Bytes() = '\n'; // the stop mark, see EndsToken
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
        const unsigned char* after = PlainIntegerAt(Next, value);
        if (!after) return ReadAnyInteger();
        Next = after;
        return value;
    }
    // Reads the integers of fields first..last-1 into values for as long as
    // they are in the usual form, each after the empty token of its padding
    // when padded; answers the first field not read, which is left for
    // SkipTokens and ReadInteger. A table has millions of fields, so they are
    // taken a block of bytes at a time: the kinds of its bytes are found for
    // the whole block at once, the digits of each field picked out, and four
    // fields at a time converted.
    PROCESSOR_CLONES int ReadPlainIntegers(int first, int last, bool padded, int* values)
    {
        int* to = values + first;
        int* const stop = values + last;
        while (to < stop) {
            const unsigned char* const p = Next;
            uint64_t ends = UsualFieldEnds(KindsOfBlock(p), padded, End - p);
            int* const end = to + std::min<ptrdiff_t>(BitCount(ends), stop - to);
            unsigned start = 0; // of the next field within the block
            for (; end - to >= 4; to += 4) {
                const uint64_t a = NextFieldDigits(p, ends, start), b = NextFieldDigits(p, ends, start);
                const uint64_t c = NextFieldDigits(p, ends, start), d = NextFieldDigits(p, ends, start);
                ValuesOfDigits(a, b, c, d, to);
            }
            for (; to < end; ++to) *to = static_cast<int>(ValueOfDigits(NextFieldDigits(p, ends, start)));
            if (start == 0) break; // the block starts with a field of another form
            Next = p + start;
        }
        return static_cast<int>(to - values);
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
    // The scans below look at eight bytes, or a block, at once: the chunk's
    // bytes start a word into it, and it has room for a whole block after
    // their stop mark, so such a look never leaves it.
    static const size_t WordSize = 8;
    unsigned char* Bytes() { return Chunk.data() + WordSize; }

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
        Next = Bytes();
        End = Next + File.Read(Bytes(), ChunkSize);
        Bytes()[End - Next] = '\n'; // the stop mark, see EndsToken
        return Next != End;
    }

    // A table has millions of tokens, so the usual ones are taken straight
    // from the chunk: the functions below scan a token that ends within the
    // chunk and holds no CR. Anything else answers false (or nullptr) with
    // nothing consumed, and ReadToken, the one definition of a token, takes it
    // a byte at a time. Both ways end a token alike (AfterTokenEnd).

    // Space, TAB, LF or CR. The chunk holds an LF after its bytes, so every
    // scan for one of these stops at the end of the chunk without testing
    // for it; the scans then check for End before consuming anything.
    static bool EndsToken(unsigned char c)
    {
        const uint64_t ends = 1ull << ' ' | 1ull << '\t' | 1ull << '\n' | 1ull << '\r';
        return c <= ' ' && (ends >> c & 1);
    }

    // p is just past a token's own bytes. Answers the position after what
    // ends the token: a TAB or LF, or spaces that are themselves ended by a
    // TAB or LF (taken too) or by the first byte of the next token (left
    // unread). nullptr when the token is not ended that way within the chunk.
    const unsigned char* AfterTokenEnd(const unsigned char* p) const
    {
        if (p == End) return nullptr;
        if (*p == '\t' || *p == '\n') return p + 1;
        if (*p != ' ') return nullptr;
        p = PastSpaces(p);
        if (p == End || *p == '\r') return nullptr;
        return *p == '\t' || *p == '\n' ? p + 1 : p;
    }
    bool SkipTokenInChunk()
    {
        const unsigned char* p = Next;
        while (!EndsToken(*p)) ++p;
        p = AfterTokenEnd(p);
        if (p) Next = p;
        return p != nullptr;
    }

    // A token at p in the usual form of a number (see PlainInteger) of up to
    // seven digits, which covers every number of a table: answers the
    // position after the token and its end, or nullptr for a longer number or
    // any other token.
    const unsigned char* PlainIntegerAt(const unsigned char* p, int& value) const
    {
        const bool negative = *p == '-';
        if (negative) ++p;
        const uint64_t count = LeadingDigits(LoadWord(p) ^ 0x3030303030303030u); // '0'..'9' become 0..9
        if (count == 0 || count == WordSize) return nullptr;
        const int magnitude = static_cast<int>(DigitsBefore(p + count, count));
        p = AfterTokenEnd(p + count);
        value = negative ? -magnitude : magnitude;
        return p;
    }

    static const int BlockSize = 64;
    struct TBlockKinds {
        uint64_t Ends = 0; // TAB or LF; bit i stands for byte i of the block
        uint64_t Spaces = 0;
        uint64_t Digits = 0;
    };
    static TBlockKinds KindsOfBlock(const unsigned char* p)
    {
        TBlockKinds kinds;
#if defined(__SSE2__)
#pragma GCC unroll 4
        for (int part = 0; part < BlockSize / 16; ++part) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * part));
            const __m128i ends = _mm_or_si128(_mm_cmpeq_epi8(bytes, _mm_set1_epi8('\t')),
                                              _mm_cmpeq_epi8(bytes, _mm_set1_epi8('\n')));
            const __m128i spaces = _mm_cmpeq_epi8(bytes, _mm_set1_epi8(' '));
            const __m128i fromZero = _mm_sub_epi8(bytes, _mm_set1_epi8('0'));
            const __m128i digits = _mm_cmpeq_epi8(_mm_min_epu8(fromZero, _mm_set1_epi8(9)), fromZero);
            const auto bits = [part](__m128i mask) {
                return static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(mask))) << (16 * part);
            };
            kinds.Ends |= bits(ends);
            kinds.Spaces |= bits(spaces);
            kinds.Digits |= bits(digits);
        }
#else
        for (int i = 0; i < BlockSize; ++i) {
            const uint64_t bit = 1ull << i;
            if (p[i] == '\t' || p[i] == '\n') kinds.Ends |= bit;
            if (p[i] == ' ') kinds.Spaces |= bit;
            if (p[i] - unsigned{'0'} <= 9) kinds.Digits |= bit;
        }
#endif
        return kinds;
    }
    // The digits of the field that ends at the first of ends, as the word
    // that ends there with every byte before the field dropped and the digits
    // as 0..9; a padding space becomes 0 too. Moves start and ends on to the
    // next field.
    static uint64_t NextFieldDigits(const unsigned char* p, uint64_t& ends, unsigned& start)
    {
        const unsigned end = static_cast<unsigned>(__builtin_ctzll(ends));
        ends &= ends - 1;
        const uint64_t digits = LoadWord(p + end - WordSize) & LastBytes.Digits[end - start];
        start = end + 1;
        return digits;
    }
    // The ends of the fields of a block, from its start on, that are in the
    // usual form: up to seven digits, after spaces when padded, ended by a
    // TAB or LF within the chunk (left bytes of the block are in it). The
    // first field of another form, and all after it, are left out.
    static uint64_t UsualFieldEnds(const TBlockKinds& kinds, bool padded, ptrdiff_t left)
    {
        const uint64_t starts = kinds.Ends << 1 | 1;
        uint64_t unusual = ~(kinds.Digits | kinds.Ends | (padded ? kinds.Spaces : 0));
        if (padded) {
            unusual |= starts & ~kinds.Spaces;                          // no padding
            unusual |= kinds.Spaces << 1 & kinds.Ends;                  // padding alone
            unusual |= kinds.Digits << 1 & ~kinds.Digits & ~kinds.Ends; // a space after the number
        } else {
            unusual |= starts & kinds.Ends; // an empty field
        }
        uint64_t run = kinds.Digits & kinds.Digits >> 1; // eight digits in a row
        run &= run >> 2;
        unusual |= run & run >> 4;
        if (left < BlockSize) unusual |= ~0ull << left;
        const uint64_t usual = unusual == 0 ? ~0ull : (1ull << __builtin_ctzll(unusual)) - 1;
        return kinds.Ends & usual;
    }

    static uint64_t LoadWord(const unsigned char* p)
    {
        uint64_t word;
        std::memcpy(&word, p, sizeof word); // the first byte is the lowest
        return word;
    }
    // The number of bytes below 10 at the start of a word, 8 when all are.
    static uint64_t LeadingDigits(uint64_t word)
    {
        // The high bit of each byte is set when the byte is 10 or more; the
        // low seven bits are added without a carry into the next byte.
        const uint64_t high = 0x8080808080808080u;
        const uint64_t tenOrMore = (((word & ~high) + 0x7676767676767676u) | word) & high;
        return tenOrMore == 0 ? WordSize : static_cast<uint64_t>(__builtin_ctzll(tenOrMore)) / 8;
    }
    // The value of the count digits (1..7) just before end.
    static uint64_t DigitsBefore(const unsigned char* end, uint64_t count)
    {
        return ValueOfDigits(LoadWord(end - WordSize) & LastBytes.Digits[count]);
    }
    // The value of a word of up to eight digits 0..9, the first byte the
    // highest: digits are combined pairwise to two-digit numbers, those to
    // four-digit ones, those to the whole.
    static uint64_t ValueOfDigits(uint64_t v)
    {
        v = (v * (10 << 8 | 1)) >> 8 & 0x00FF00FF00FF00FFu;
        v = (v * (100 << 16 | 1)) >> 16 & 0x0000FFFF0000FFFFu;
        return (v * (10000ull << 32 | 1)) >> 32;
    }
    // The values of four such words, in the same steps in whole vectors.
    static void ValuesOfDigits(uint64_t first, uint64_t second, uint64_t third, uint64_t fourth, int* values)
    {
#if defined(__SSE2__)
        const auto quads = [](uint64_t low, uint64_t high) { // each word's two four-digit numbers
            const __m128i v = _mm_set_epi64x(static_cast<long long>(high), static_cast<long long>(low));
            const __m128i pairs = _mm_srli_epi16(_mm_mullo_epi16(v, _mm_set1_epi16(10 << 8 | 1)), 8);
            return _mm_madd_epi16(pairs, _mm_set1_epi32(1 << 16 | 100));
        };
        const __m128i quadPairs = _mm_packs_epi32(quads(first, second), quads(third, fourth));
        const __m128i numbers = _mm_madd_epi16(quadPairs, _mm_set1_epi32(1 << 16 | 10000));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(values), numbers);
#else
        const uint64_t words[4] = {first, second, third, fourth};
        for (int i = 0; i < 4; ++i) values[i] = static_cast<int>(ValueOfDigits(words[i]));
#endif
    }
    // The number of bits set, without the instruction that not every
    // processor has.
    static int BitCount(uint64_t x)
    {
        x -= x >> 1 & 0x5555555555555555u;
        x = (x & 0x3333333333333333u) + (x >> 2 & 0x3333333333333333u);
        x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
        return static_cast<int>((x * 0x0101010101010101u) >> 56);
    }
    // The first byte at or after p that is not a space; the stop mark after
    // the chunk ends every run.
    static const unsigned char* PastSpaces(const unsigned char* p)
    {
        for (;; p += WordSize) {
            const uint64_t other = LoadWord(p) ^ 0x2020202020202020u; // spaces become 0
            if (other != 0) return p + __builtin_ctzll(other) / 8;
        }
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
    const unsigned char* Next = Bytes(); // the unread bytes of Chunk
    const unsigned char* End = Bytes();
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

// The samples of a curve from values of 0 and more: those above 65,535 are
// taken as 65,535, and exactly 4, which stands for no force, as 0. A curve
// with any force is valid.
void StoreSamples(const int* values, TForceCurve& curve)
{
    static_assert(CurveSamples % 8 == 0, "the samples are stored eight at a time");
#if defined(__SSE2__)
    // Offset into signed 16-bit with saturation and back, which also caps them.
    const auto offset = [values](int k) {
        return _mm_sub_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(values + k)), _mm_set1_epi32(32768));
    };
    __m128i any = _mm_setzero_si128();
    for (int k = 0; k < CurveSamples; k += 8) {
        __m128i samples = _mm_xor_si128(_mm_packs_epi32(offset(k), offset(k + 4)), _mm_set1_epi16(-32768));
        samples = _mm_andnot_si128(_mm_cmpeq_epi16(samples, _mm_set1_epi16(4)), samples);
        any = _mm_or_si128(any, samples);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(curve.Samples + k), samples);
    }
    curve.Valid = _mm_movemask_epi8(_mm_cmpeq_epi8(any, _mm_setzero_si128())) != 0xFFFF ? 1 : 0;
#else
    uint16_t any = 0;
    for (int k = 0; k < CurveSamples; ++k) {
        const uint16_t sample = ClampToWord(values[k]);
        curve.Samples[k] = sample == 4 ? 0 : sample;
        any |= curve.Samples[k];
    }
    curve.Valid = any != 0 ? 1 : 0;
#endif
}

class TPelmReader {
public:
    TPelmReader(TPelmText& text, TTraining& training, const TProgress& progress)
        : Text(text), Training(training), Progress(progress)
    {
    }

    // Each line: a stroke number and 15 values, every field padded.
    void ReadStrokeTable()
    {
        TStrokeSlots slots(Training, Text.FileSize());
        ReadRows(3, [this, &slots] {
            int values[16];
            ReadPaddedIntegers(values, 16);
            const int n = CheckedStrokeNumber(values[0]);
            TStroke& stroke = Training.Strokes[slots.Enter(n)];
            stroke.Number = static_cast<uint16_t>(n);
            stroke.Power = static_cast<float>(values[1]);
            stroke.AveragePower = static_cast<float>(values[2]);
            stroke.StrokeRate = static_cast<float>(values[3]);
            stroke.TargetPower = static_cast<float>(values[4]);
            stroke.Time = static_cast<float>(values[5]);
            stroke.StrokeLength = static_cast<float>(values[6]);
            stroke.Distance = static_cast<float>(values[7]);
            stroke.Split500 = static_cast<float>(values[8]);
            stroke.EnergyPerStroke = static_cast<float>(values[9]);
            stroke.EnergySum = static_cast<float>(values[10]);
            stroke.Pulse = static_cast<float>(values[11]);
            stroke.WorkPerPulse = static_cast<float>(values[12]);
            stroke.IntervalNumber = ClampToWord(values[13]);
            stroke.IntervalCountdown = ClampToWord(values[14]);
            stroke.IntervalPower = ClampToWord(values[15]);
        });
        slots.Finish();
    }

    // Each line: a field, the stroke number, a field and 80 samples.
    void ReadCurveTable()
    {
        TStrokeSlots slots(Training, Text.FileSize());
        ReadRows(2, [this, &slots] {
            const int n = NextStrokeNumber();
            Text.SkipTokens(1);
            const size_t index = slots.Enter(n);
            TForceCurve& curve = Training.Curves[index];
            curve.Number = static_cast<uint16_t>(n);
            int values[CurveSamples];
            for (int k = 0; k < CurveSamples;) {
                k = Text.ReadPlainIntegers(k, CurveSamples, false, values);
                if (k < CurveSamples) values[k++] = ClampToWord(Text.ReadInteger());
            }
            StoreSamples(values, curve);
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
        for (int field = 0; field < count;) {
            field = Text.ReadPlainIntegers(field, count, true, values);
            if (field < count) {
                Text.SkipTokens(1);
                values[field++] = Text.ReadInteger();
            }
        }
    }
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
