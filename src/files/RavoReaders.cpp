// The device files: user (.rvi), stroke (.rvr) and session (.rvs) files. All
// start with the same header, an uninterpreted block, the rower's details
// and the session settings; the values are scaled integers.
#include "LegacyRecords.h"
#include "untMessages.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <limits>
#include <vector>

namespace {

const size_t DeviceHeaderSize = 16;
const size_t UnusedBlockSize = 28;
const size_t UserDetailsSize = 4;
const size_t SessionSettingsSize = 28;
const size_t DeviceStrokeSize = 48;
const size_t DeviceCurveSize = 76;
const size_t DeviceIntervalSize = 8;
const size_t DeviceTotalsSize = 216;
const int DeviceCurveSamples = 75;
constexpr double DeviceCurveStep = 5.75; // N per curve byte
// b x 5.75 is exactly b x 23 / 4 in double, and truncating it is dividing by 4.
static_assert(DeviceCurveStep * 4 == 23, "curve bytes are converted with integers");
const char DeviceSignature[4] = {'R', 'a', 'v', 'o'};

struct TDeviceFormat {
    uint8_t FileFormat;
    uint8_t FileKind;
    uint8_t DeviceKind; // the kind byte of the device header
    int64_t MinimumSize;
    int64_t MaximumSize;
};

const TDeviceFormat UserFormat = {ffRVI, fkUser, 0, 76, 76};
const TDeviceFormat StrokeFormat = {ffRVR, fkStroke, 1, 200, 200};
const TDeviceFormat SessionFormat = {ffRVS, fkTraining, 2, 292, std::numeric_limits<int64_t>::max()};

struct TDeviceCounts {
    int Curves = 0;
    int Strokes = 0;
    int Intervals = 0;
};

// The records after the common start, taken straight from blocks of the file:
// a session holds tens of thousands of small records, and one read call for
// each would cost several times their conversion. A record the file ends
// inside, or one that cannot be read, is answered with a message beep and
// fails, as reading it alone would.
class TDeviceRecords {
public:
    explicit TDeviceRecords(TBinaryFile& file) : File(file) {}

    // The next size bytes (at most BlockSize), or nullptr when they are not all there.
    const unsigned char* Take(size_t size)
    {
        if (static_cast<size_t>(End - Next) < size && !Refill(size)) {
            MessageBeep();
            return nullptr;
        }
        const unsigned char* record = Next;
        Next += size;
        return record;
    }

private:
    // Reads of at least the file's own buffer go straight into the block, so
    // a block well over it takes the bytes from the file once, not twice.
    static const size_t BlockSize = 128 * 1024;

    // Moves the unread bytes to the front and reads more after them.
    bool Refill(size_t size)
    {
        const size_t kept = static_cast<size_t>(End - Next);
        std::memmove(Block.data(), Next, kept);
        Next = Block.data();
        End = Next + kept;
        try {
            End += File.Read(Block.data() + kept, BlockSize - kept);
        } catch (const EInOutError&) {
            return false;
        }
        return static_cast<size_t>(End - Next) >= size;
    }

    TBinaryFile& File;
    std::vector<unsigned char> Block = std::vector<unsigned char>(BlockSize);
    const unsigned char* Next = Block.data(); // the unread bytes of Block
    const unsigned char* End = Block.data();
};

// A device value x / divisor, worked out in double and stored in single
// precision. A session holds tens of thousands of records with a dozen such
// values each, and a division takes as long as several multiplications, so
// this multiplies by the reciprocal instead. The product lies within a few
// units in the last place of the double quotient, which changes the single
// only when the quotient is that close to halfway between two singles; such
// rare values are divided, so every result is the quotient's.
class TScale {
public:
    explicit TScale(double divisor) : Divisor(divisor), Reciprocal(1 / divisor) {}

    float operator()(uint32_t x) const
    {
        const double product = x * Reciprocal;
        return NearHalfwayBetweenSingles(product) ? static_cast<float>(x / Divisor) : static_cast<float>(product);
    }
    // No 16-bit value scaled by a device file lies near halfway (the tests
    // go through all of them), so these need no check.
    float operator()(uint16_t x) const { return static_cast<float>(x * Reciprocal); }

private:
    static bool NearHalfwayBetweenSingles(double value)
    {
        uint64_t bits;
        std::memcpy(&bits, &value, sizeof bits);
        // A single keeps 29 fewer fraction bits than a double; halfway is
        // where the dropped bits are 1 followed by 28 zeros.
        const uint64_t dropped = bits & ((1ull << 29) - 1);
        const uint64_t margin = 8;
        return dropped - ((1ull << 28) - margin) <= 2 * margin;
    }

    double Divisor;
    double Reciprocal;
};

const TScale Tenths(10), Hundredths(100), Thousandths(1000), TenThousandths(10000), HundredThousandths(100000),
    Billionths(1e9);

// A record for a stroke or interval the header did not announce fails too.
bool NumberWithin(int number, size_t length)
{
    if (number >= 1 && static_cast<size_t>(number) < length) return true;
    MessageBeep();
    return false;
}

std::string DeviceNote(const unsigned char* header)
{
    char note[64];
    std::snprintf(note, sizeof note, "Ravo file. SW=%d, HW=%d, MR=%d, BL=%d", header[6], header[7], header[8],
                  header[9]);
    return note;
}

void ApplyUserDetails(const unsigned char* details, TUserSettings& settings)
{
    settings.Boat = details[0];
    settings.Sprocket = details[1] == 10 ? 0 : 1;
    settings.Weight = details[2];
}

int MinutesAndSeconds(unsigned char minutes, unsigned char seconds) { return minutes * 60 + seconds; }

void LimitByIntervals(TUserSettings& settings, int intervalBy, int intervals)
{
    settings.SessionLimit = 4;
    settings.IntervalBy = intervalBy;
    settings.LimitIntervals = intervals;
}

// The session limit and interval periods of the session's mode. Modes 1 to 4
// limit the whole session, and modes 17 to 20 each interval, by strokes,
// energy, distance or time in that order, the order of the session limits and
// of IntervalBy.
void ApplySessionSettings(const unsigned char* record, TUserSettings& settings)
{
    const int mode = record[0];
    if (mode >= 1 && mode <= 4) settings.SessionLimit = mode - 1;
    if (mode >= 17 && mode <= 20) LimitByIntervals(settings, mode - 17, record[1]);
    switch (mode) {
    case 0:
        settings.SessionLimit = 0;
        settings.LimitStrokes = 0;
        break;
    case 1: settings.LimitStrokes = WordAt(record, 8); break;
    case 2: settings.LimitEnergy = WordAt(record, 6); break;
    case 3: settings.LimitDistance = WordAt(record, 4); break;
    case 4: settings.LimitTime = MinutesAndSeconds(record[2], record[3]); break;
    case 17:
        settings.WorkStrokes = WordAt(record, 20);
        settings.RestStrokes = WordAt(record, 22);
        break;
    case 18:
        settings.WorkEnergy = WordAt(record, 16);
        settings.RestEnergy = WordAt(record, 18);
        break;
    case 19:
        settings.WorkDistance = WordAt(record, 12);
        settings.RestDistance = WordAt(record, 14);
        break;
    case 20:
        settings.WorkTime = MinutesAndSeconds(record[24], record[26]);
        settings.RestTime = MinutesAndSeconds(record[25], record[27]);
        break;
    default: break;
    }
}

// The countdown of the stroke's interval, from the interval values A, B and C
// by the kind of interval; an unknown kind keeps the stored countdown.
uint16_t IntervalCountdown(int intervalBy, uint32_t a, uint32_t b, uint32_t c, uint16_t stored)
{
    switch (intervalBy) {
    case 0: return 0;
    case 1: return static_cast<uint16_t>(std::min<uint32_t>(b * a / 10, UINT16_MAX));
    case 2: return static_cast<uint16_t>(c);
    case 3: return static_cast<uint16_t>(a / 10);
    default: return stored;
    }
}

void ApplyDeviceStroke(const unsigned char* record, int intervalBy, float previousDistance, TStroke& stroke)
{
    stroke.KValue = Billionths(LongWordAt(record, 0));
    stroke.DriveTime = HundredThousandths(LongWordAt(record, 4));
    stroke.EnergyPerStroke = Tenths(WordAt(record, 10));
    stroke.Power = Tenths(WordAt(record, 12));
    stroke.DriveRecoverRatio = Hundredths(WordAt(record, 14));
    stroke.Split500 = Tenths(WordAt(record, 16));
    stroke.WorkPerPulse = Tenths(WordAt(record, 18));
    stroke.StrokeLength = record[20];
    stroke.StrokeRate = record[21];
    stroke.Pulse = record[22];
    stroke.IntervalNumber = record[23];
    stroke.Number = WordAt(record, 26);
    stroke.Distance = Thousandths(LongWordAt(record, 28));
    stroke.EnergySum = TenThousandths(LongWordAt(record, 32));
    stroke.Time = Thousandths(LongWordAt(record, 36));
    stroke.AveragePower = Tenths(WordAt(record, 40));
    stroke.IntervalPower = WordAt(record, 44);
    stroke.TargetPower = 0;
    stroke.PeakForce = 0;
    stroke.PeakForcePosition = 0;
    stroke.RelPeakForcePosition = 0;
    stroke.IntervalCountdown = IntervalCountdown(intervalBy, WordAt(record, 42), WordAt(record, 44),
                                                 WordAt(record, 46), stroke.IntervalCountdown);
    stroke.DistancePerStroke = static_cast<float>((stroke.Distance - static_cast<double>(previousDistance)) * 100);
}

// Reads stroke n into the stroke record of its number.
bool ReadDeviceStroke(TDeviceRecords& records, TTraining& training, int n)
{
    if (!NumberWithin(n, training.Strokes.size())) return false;
    const unsigned char* record = records.Take(DeviceStrokeSize);
    if (!record) return false;
    const auto i = static_cast<size_t>(n);
    ApplyDeviceStroke(record, training.Settings.IntervalBy, training.Strokes[i - 1].Distance, training.Strokes[i]);
    return true;
}

// Samples 1..75 from the bytes, each byte times 5.75 truncated; samples
// 76..80 keep their values.
void ApplyDeviceCurve(const unsigned char* record, TForceCurve& curve)
{
    curve.Valid = 1;
    for (int k = 0; k < DeviceCurveSamples; ++k) curve.Samples[k] = static_cast<uint16_t>(record[k] * 23 / 4);
}

bool ReadDeviceCurve(TDeviceRecords& records, TTraining& training, int n)
{
    if (!NumberWithin(n, training.Curves.size())) return false;
    const unsigned char* record = records.Take(DeviceCurveSize);
    if (!record) return false;
    ApplyDeviceCurve(record, training.Curves[static_cast<size_t>(n)]);
    return true;
}

bool ReadDeviceInterval(TDeviceRecords& records, TTraining& training, int k)
{
    if (!NumberWithin(k, training.Intervals.size())) return false;
    const unsigned char* record = records.Take(DeviceIntervalSize);
    if (!record) return false;
    TInterval& interval = training.Intervals[static_cast<size_t>(k)];
    interval.Number = static_cast<uint16_t>(k);
    interval.AveragePower = static_cast<uint16_t>(WordAt(record, 2) / 10);
    interval.AverageStrokeRate = 0;
    interval.TotalTime = static_cast<uint16_t>(WordAt(record, 0) / 10);
    interval.TotalDistance = WordAt(record, 4);
    interval.AveragePulse = 0;
    return true;
}

bool ReadDeviceTotals(TDeviceRecords& records, TTraining& training)
{
    const unsigned char* record = records.Take(DeviceTotalsSize);
    if (!record) return false;
    TTotals& totals = training.Totals;
    totals.TotalDistance = Thousandths(LongWordAt(record, 0));
    totals.TotalTime = Thousandths(LongWordAt(record, 8));
    totals.TotalEnergy = TenThousandths(LongWordAt(record, 4));
    totals.AveragePower = Tenths(WordAt(record, 14));
    return true;
}

// The device header's counts, with the intervals they size; then the block,
// the user details and the session settings.
bool ReadCommonStart(TBinaryFile& file, TTraining& training, uint8_t deviceKind, TDeviceCounts& counts)
{
    unsigned char header[DeviceHeaderSize] = {};
    const bool accepted = file.ReadExactly(header, sizeof header)
                          && std::memcmp(header, DeviceSignature, sizeof DeviceSignature) == 0
                          && header[5] == deviceKind;
    counts.Curves = WordAt(header, 10);
    counts.Strokes = WordAt(header, 12);
    counts.Intervals = WordAt(header, 14);
    SetIntervalCount(training, counts.Intervals);
    training.Header.CurveIndex = counts.Curves;
    training.Header.Note.Assign(DeviceNote(header));
    if (!accepted) return false;

    unsigned char block[UnusedBlockSize];
    unsigned char details[UserDetailsSize];
    unsigned char settings[SessionSettingsSize];
    if (!file.ReadExactly(block, sizeof block) || !file.ReadExactly(details, sizeof details)) return false;
    ApplyUserDetails(details, training.Settings);
    if (!file.ReadExactly(settings, sizeof settings)) return false;
    ApplySessionSettings(settings, training.Settings);
    return true;
}

bool ReadNothingMore(TBinaryFile&, TTraining&, const TDeviceCounts&) { return true; }

bool ReadOneStroke(TBinaryFile& file, TTraining& training, const TDeviceCounts& counts)
{
    SetStrokeCount(training, counts.Strokes);
    TDeviceRecords records(file);
    return ReadDeviceStroke(records, training, 1) && ReadDeviceCurve(records, training, 1);
}

// Stroke and curve pairs, the stroke table, the intervals after the first,
// and the totals. A session can hold tens of thousands of strokes, so the
// curves and strokes are added as they are read, rather than zeroed first and
// then written over; what a failed read leaves out, ReadDeviceFile adds as
// zeroed records.
bool ReadSession(TBinaryFile& file, TTraining& training, const TDeviceCounts& counts)
{
    // Each record starts as a copy of a blank one, which is several times
    // quicker than zeroing it in place.
    static const TStroke BlankStroke{};
    static const TForceCurve BlankCurve{};
    std::vector<TStroke>& strokes = training.Strokes;
    std::vector<TForceCurve>& curves = training.Curves;
    SetStrokeCount(training, 0);
    strokes.reserve(static_cast<size_t>(counts.Strokes) + 1);
    curves.reserve(static_cast<size_t>(counts.Strokes) + 1);
    TDeviceRecords records(file);
    // The stroke of a pair is passed over: the stroke table after the pairs
    // holds every stroke again, and the training keeps those. A pair beyond
    // the table fails.
    const int pairs = std::min(counts.Curves, counts.Strokes);
    for (int i = 1; i <= pairs; ++i) {
        const unsigned char* pair = records.Take(DeviceStrokeSize + DeviceCurveSize);
        if (!pair) return false;
        curves.push_back(BlankCurve);
        curves.back().Number = static_cast<uint16_t>(i);
        ApplyDeviceCurve(pair + DeviceStrokeSize, curves.back());
    }
    if (counts.Curves > counts.Strokes) {
        MessageBeep();
        return false;
    }
    training.Header.CurveIndex = 0;
    for (int j = 1; j <= counts.Strokes; ++j) {
        const unsigned char* record = records.Take(DeviceStrokeSize);
        if (!record) return false;
        const float previousDistance = strokes.back().Distance;
        strokes.push_back(BlankStroke);
        ApplyDeviceStroke(record, training.Settings.IntervalBy, previousDistance, strokes.back());
    }
    for (int k = 1; k < counts.Intervals; ++k)
        if (!ReadDeviceInterval(records, training, k)) return false;
    return ReadDeviceTotals(records, training);
}

using TDeviceBody = bool (*)(TBinaryFile& file, TTraining& training, const TDeviceCounts& counts);

bool ReadDeviceFile(const std::string& path, TTraining& training, const TDeviceFormat& format,
                    TDeviceBody readBody)
{
    try {
        TBinaryFile file(path);
        ApplyLegacyHeader(training, path, format.FileFormat, format.FileKind);
        if (file.Size() < format.MinimumSize || file.Size() > format.MaximumSize) return false;
        TDeviceCounts counts;
        const bool read =
            ReadCommonStart(file, training, format.DeviceKind, counts) && readBody(file, training, counts);
        // The header's stroke count sizes the training even when the header is
        // refused or a record fails; strokes and curves not read are zeroed.
        SetStrokeCount(training, counts.Strokes);
        return read;
    } catch (const EInOutError& error) {
        ShowIOError(path, error.what(), error.Code);
        return false;
    }
}

} // namespace

bool ReadRavoUserFile(const std::string& path, TTraining& training)
{
    return ReadDeviceFile(path, training, UserFormat, ReadNothingMore);
}

bool ReadRavoStrokeFile(const std::string& path, TTraining& training)
{
    return ReadDeviceFile(path, training, StrokeFormat, ReadOneStroke);
}

bool DecodeRavoSessionFile(const std::string& path, TTraining& training)
{
    return ReadDeviceFile(path, training, SessionFormat, ReadSession);
}

// The peak forces of every stroke; the average stroke and curve are left zero.
bool ReadRavoSessionFile(const std::string& path, TTraining& training)
{
    if (!DecodeRavoSessionFile(path, training)) return false;
    for (size_t j = 1; j < training.Strokes.size(); ++j)
        ComputePeakForce(training.Strokes[j], training.Curves[j], training.Settings.Sprocket);
    return true;
}
