#include "LegacyRecords.h"
#include "untMessages.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// The legacy records hold runs of fields in the same order as the training
// record: 12 stroke values from Power on, and 21 settings from SessionLimit on.
const size_t StrokeValueCount = 12;
const size_t SettingsWordCount = 21;
const size_t UserSettingsOffset = 46;
const size_t NameBytes = 8;
static_assert(offsetof(TStroke, WorkPerPulse) == offsetof(TStroke, Power) + 4 * (StrokeValueCount - 1),
              "the stroke values from Power to WorkPerPulse are consecutive singles");
static_assert(offsetof(TUserSettings, Display)
                  == offsetof(TUserSettings, SessionLimit) + 4 * (SettingsWordCount - 1),
              "the settings from SessionLimit to Display are consecutive integers");

const double CurveStep = 3.85;       // N per curve byte
const double CurveHighForce = 750.0; // a 0 after a force above this is a clipped sample
const double CurveClippedForce = 780.0;

unsigned char* BytesOf(TStroke& stroke) { return reinterpret_cast<unsigned char*>(&stroke); }
const unsigned char* BytesOf(const TStroke& stroke) { return reinterpret_cast<const unsigned char*>(&stroke); }

uint16_t SmallIntBits(int value) { return static_cast<uint16_t>(ClampInt(value, INT16_MIN, INT16_MAX)); }

} // namespace

void ApplyLegacyHeader(TTraining& training, const std::string& path, uint8_t format, uint8_t kind)
{
    THeader& header = training.Header;
    NewHeader(header);
    header.Title.Assign(Utf8ToAnsi(ChangeFileExt(ExtractFileName(path), "")));
    header.OrigFileName.Assign(Utf8ToAnsi(path));
    header.DateTime = FileModificationTime(path);
    header.OrigFileDateTime = header.DateTime;
    header.OrigFileSize = static_cast<int32_t>(std::min<int64_t>(FileSizeOf(path), INT32_MAX));
    header.OrigFileFormat = format;
    header.OrigFileKind = kind;
}

bool ReadLegacyRecord(TBinaryFile& file, unsigned char* record, size_t size)
{
    try {
        return file.ReadExactly(record, size);
    } catch (const std::exception&) {
        MessageBeep();
        return false;
    }
}

void ApplyLegacyUser(const unsigned char* record, TTraining& training)
{
    const size_t length = std::min<size_t>(record[0], NameBytes);
    training.Header.Name.Assign(std::string(reinterpret_cast<const char*>(record) + 1, length));

    TUserSettings& settings = training.Settings;
    settings = TUserSettings{};
    settings.Weight = SmallIntAt(record, 22);
    settings.Gender = SmallIntAt(record, 24);
    settings.Boat = SmallIntAt(record, 26);
    const int ergometer = SmallIntAt(record, 28);
    settings.Ergometer = ergometer > 1 ? 0 : ergometer;
    settings.Sprocket = SmallIntAt(record, 30);
    int32_t words[SettingsWordCount];
    for (size_t i = 0; i < SettingsWordCount; ++i) words[i] = WordAt(record, UserSettingsOffset + 2 * i);
    std::memcpy(reinterpret_cast<unsigned char*>(&settings) + offsetof(TUserSettings, SessionLimit), words,
                sizeof words);
}

TStroke LegacyStroke(const unsigned char* record)
{
    TStroke stroke{};
    stroke.Number = WordAt(record, 0);
    for (size_t i = 0; i < StrokeValueCount; ++i) {
        const float value = WordAt(record, 2 + 2 * i);
        std::memcpy(BytesOf(stroke) + offsetof(TStroke, Power) + 4 * i, &value, sizeof value);
    }
    stroke.IntervalNumber = WordAt(record, 26);
    stroke.IntervalCountdown = WordAt(record, 28);
    stroke.IntervalPower = WordAt(record, 30);
    return stroke;
}

TForceCurve LegacyCurve(const unsigned char* record)
{
    TForceCurve curve{};
    double previous = 0;
    for (int k = 0; k < CurveSamples; ++k) {
        double force = record[k] * CurveStep;
        if (force == 0 && previous > CurveHighForce) force = CurveClippedForce;
        curve.Samples[k] = RoundToWord(force);
        if (force > 0) curve.Valid = 1;
        previous = force;
    }
    return curve;
}

TInterval LegacyInterval(const unsigned char* record)
{
    TInterval interval{};
    interval.Number = WordAt(record, 0);
    interval.AveragePower = WordAt(record, 2);
    interval.AverageStrokeRate = WordAt(record, 4);
    interval.TotalTime = WordAt(record, 6);
    interval.TotalDistance = WordAt(record, 8);
    interval.AveragePulse = WordAt(record, 10);
    return interval;
}

TTotals LegacyTotals(const unsigned char* record)
{
    TTotals totals{};
    totals.TotalDistance = SingleAt(record, 0);
    totals.TotalTime = SingleAt(record, 4);
    totals.TotalEnergy = static_cast<float>(SingleAt(record, 8) / 1000.0);
    totals.AveragePower = SingleAt(record, 12);
    return totals;
}

void PutLegacyUser(unsigned char* record, const TTraining& training)
{
    std::fill(record, record + LegacyUserSize, 0);
    const std::string name = training.Header.Name.Text().substr(0, NameBytes);
    record[0] = static_cast<unsigned char>(name.size());
    std::copy(name.begin(), name.end(), record + 1);
    const TUserSettings& settings = training.Settings;
    PutWord(record, 22, SmallIntBits(settings.Weight));
    PutWord(record, 24, SmallIntBits(settings.Gender));
    PutWord(record, 26, SmallIntBits(settings.Boat));
    PutWord(record, 28, SmallIntBits(settings.Ergometer));
    PutWord(record, 30, SmallIntBits(settings.Sprocket));
    int32_t words[SettingsWordCount];
    std::memcpy(words, reinterpret_cast<const unsigned char*>(&settings) + offsetof(TUserSettings, SessionLimit),
                sizeof words);
    for (size_t i = 0; i < SettingsWordCount; ++i)
        PutWord(record, UserSettingsOffset + 2 * i, static_cast<uint16_t>(ClampInt(words[i], 0, UINT16_MAX)));
}

void PutLegacyStroke(unsigned char* record, const TStroke& stroke)
{
    PutWord(record, 0, stroke.Number);
    for (size_t i = 0; i < StrokeValueCount; ++i) {
        float value;
        std::memcpy(&value, BytesOf(stroke) + offsetof(TStroke, Power) + 4 * i, sizeof value);
        PutWord(record, 2 + 2 * i, RoundToWord(value));
    }
    PutWord(record, 26, stroke.IntervalNumber);
    PutWord(record, 28, stroke.IntervalCountdown);
    PutWord(record, 30, stroke.IntervalPower);
}

void PutLegacyCurve(unsigned char* record, const TForceCurve& curve)
{
    const TSamples samples = SamplesOf(curve);
    double previous = 0;
    for (int k = 0; k < CurveSamples; ++k) {
        long byte = std::min(std::lround(samples[k] / CurveStep), 255L);
        // A 0 after a high force would read back as a clipped 780 N; the
        // smallest step is the nearest force that reads back as itself.
        if (byte == 0 && previous > CurveHighForce) byte = 1;
        record[k] = static_cast<unsigned char>(byte);
        previous = byte * CurveStep;
    }
}

void TotalsFromLastStroke(TTraining& training)
{
    if (training.Totals.TotalDistance != 0 || training.Strokes.size() < 2) return;
    const TStroke& last = training.Strokes.back();
    training.Totals.TotalDistance = last.Distance;
    training.Totals.TotalTime = last.Time;
    training.Totals.TotalEnergy = static_cast<float>(last.EnergySum / 1000.0);
    training.Totals.AveragePower = last.AveragePower;
}
