// The FIT activity reader: the file's frame and CRCs checked, its records
// decoded by their definitions (compressed timestamps and developer fields
// too), and the activity's messages turned into a training: records into
// strokes, laps into intervals, the session into the start and the totals,
// and the rowing developer fields (the force curve among them) into the
// values they name. Messages and fields it does not use are skipped, as the
// format allows; anything it cannot trust makes the file unreadable.
#include "untFiles.h"

#include "untBinaryFile.h"
#include "untFit.h"
#include "untImport.h"
#include "jsUtils.h"

#include <algorithm>
#include <cfloat>
#include <array>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <stdexcept>
#include <tuple>

namespace {

using namespace Fit;

class EFitError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// --- Base types ---

struct TBaseTypeInfo {
    uint8_t Size;
    bool Signed;
    bool Float;
    uint64_t Invalid;
};
// Indexed by the low five bits of a base type.
const TBaseTypeInfo BaseTypes[] = {
    {1, false, false, 0xFF},               // enum
    {1, true, false, 0x7F},                // sint8
    {1, false, false, 0xFF},               // uint8
    {2, true, false, 0x7FFF},              // sint16
    {2, false, false, 0xFFFF},             // uint16
    {4, true, false, 0x7FFFFFFF},          // sint32
    {4, false, false, 0xFFFFFFFF},         // uint32
    {1, false, false, 0x00},               // string
    {4, false, true, 0xFFFFFFFF},          // float32
    {8, false, true, ~0ULL},               // float64
    {1, false, false, 0x00},               // uint8z
    {2, false, false, 0x0000},             // uint16z
    {4, false, false, 0x00000000},         // uint32z
    {1, false, false, 0xFF},               // byte
    {8, true, false, 0x7FFFFFFFFFFFFFFFULL}, // sint64
    {8, false, false, ~0ULL},              // uint64
    {8, false, false, 0},                  // uint64z
};

const TBaseTypeInfo& BaseTypeOf(uint8_t type)
{
    const size_t index = type & 0x1F;
    if (index >= std::size(BaseTypes)) throw EFitError("unknown base type");
    return BaseTypes[index];
}

// --- Definitions and the fields of a message ---

// What a field of a record gives a stroke.
enum class TRole : uint8_t {
    None, Timestamp, Distance, Speed, EnhancedSpeed, Power, Cadence, FractionalCadence, HeartRate, CycleLength,
    DriveLength, DriveTime, RecoveryTime, PeakForce, Work, StrokeRate, Curve, Abscissa, SampleInterval,
};

struct TFieldSpec {
    uint8_t Number;
    uint8_t Size;
    uint8_t Type; // the base type; for a developer field, its description's
    bool Developer;
    uint8_t DeveloperIndex;
    // In a record: what the field gives the stroke, and the factor from its
    // stored value to the stroke's unit.
    TRole Role = TRole::None;
    double Factor = 1;
};

struct TDefinition {
    bool Defined = false;
    bool BigEndian = false;
    uint16_t Global = 0;
    std::vector<TFieldSpec> Fields;
    size_t Size = 0; // bytes of a data message
};

// A developer field as its description gives it.
struct TDeveloperField {
    uint8_t Type = Fit::Uint8;
    double Scale = 1;
    std::string Name;
    std::string Units;
};

// The decoded values of one data message, by field number (developer fields
// by name): every element of an array; nothing for "no value".
class TMessageValues {
public:
    std::optional<double> Number(uint8_t field) const { return First(Values.find(field), Values); }
    std::optional<double> Developer(const std::string& name) const
    {
        return First(DeveloperValues.find(name), DeveloperValues);
    }
    const std::vector<double>* DeveloperArray(const std::string& name) const
    {
        const auto found = DeveloperValues.find(name);
        return found == DeveloperValues.end() ? nullptr : &found->second;
    }
    std::string Text(uint8_t field) const
    {
        const auto found = Texts.find(field);
        return found == Texts.end() ? "" : found->second;
    }

    std::map<uint8_t, std::vector<double>> Values;
    std::map<std::string, std::vector<double>> DeveloperValues;
    std::map<uint8_t, std::string> Texts;

private:
    template <typename TMap>
    static std::optional<double> First(typename TMap::const_iterator found, const TMap& map)
    {
        if (found == map.end() || found->second.empty()) return std::nullopt;
        return found->second.front();
    }
};

// A value for the record's float fields; 0, as for a value the file does not
// hold, where scaling took it beyond a float's range.
float AsFloat(double value) { return std::fabs(value) <= FLT_MAX ? static_cast<float>(value) : 0; }

// A FIT time (seconds since 1989) where the value can be one: a field may be
// declared signed or as a float and hold anything.
std::optional<uint32_t> FitTime(std::optional<double> value)
{
    if (!value || !(*value >= 0 && *value <= UINT32_MAX)) return std::nullopt;
    return static_cast<uint32_t>(*value);
}

// The elements of a field as numbers into values; "no value" elements are
// left out.
void ElementsInto(const uint8_t* bytes, const TFieldSpec& field, bool bigEndian, std::vector<double>& values)
{
    const TBaseTypeInfo& type = BaseTypeOf(field.Type);
    values.clear();
    for (size_t at = 0; at + type.Size <= field.Size; at += type.Size) {
        uint64_t raw = 0;
        for (size_t i = 0; i < type.Size; ++i) {
            const size_t byte = bigEndian ? i : type.Size - 1 - i;
            raw = raw << 8 | bytes[at + byte];
        }
        if (raw == type.Invalid) continue;
        if (type.Float) {
            double value = 0;
            if (type.Size == 4) {
                float single = 0;
                const auto bits = static_cast<uint32_t>(raw);
                std::memcpy(&single, &bits, 4);
                value = single;
            } else {
                std::memcpy(&value, &raw, 8);
            }
            // Beyond a float's range is no measurement the record can keep.
            if (std::isfinite(value) && std::fabs(value) <= FLT_MAX) values.push_back(value);
        } else if (type.Signed) {
            const int shift = 64 - 8 * type.Size;
            values.push_back(static_cast<double>(static_cast<int64_t>(raw << shift) >> shift));
        } else {
            values.push_back(static_cast<double>(raw));
        }
    }
}

std::vector<double> Elements(const uint8_t* bytes, const TFieldSpec& field, bool bigEndian)
{
    std::vector<double> values;
    ElementsInto(bytes, field, bigEndian, values);
    return values;
}

// --- The file ---

// The bytes of the file's data, each counted against the size its header
// gives and taken into the CRC.
class TFitData {
public:
    TFitData(TBinaryFile& file, uint64_t size, uint16_t crc) : File(file), Remaining(size), Crc(crc) {}

    bool AtEnd() const { return Remaining == 0; }
    void Read(uint8_t* bytes, size_t size)
    {
        if (size > Remaining || !File.ReadExactly(bytes, size)) throw EFitError("a message beyond the data");
        Remaining -= size;
        Crc = Fit::Crc(Crc, bytes, size);
    }
    uint8_t Byte()
    {
        uint8_t byte = 0;
        Read(&byte, 1);
        return byte;
    }
private:
    TBinaryFile& File;
    uint64_t Remaining;

public:
    uint16_t Crc;
};

// What the activity's messages say beyond its strokes, which go into the
// training as they come: the strokes' timestamps, the laps, the start and
// the totals.
struct TFitActivity {
    struct TLap {
        double Start, End;
        bool Rest;
    };
    std::vector<uint32_t> Timestamps; // one per stroke taken
    std::vector<TLap> Laps;
    std::optional<double> SessionStart, TimerStart;
    double Distance = 0, Seconds = 0, Work = 0;
    std::string Title;
};
// No more laps than intervals can be numbered.
const size_t MaxLaps = 65535;

const double FitToUnix = EpochOffset;

class TFitReader {
public:
    TFitReader(TBinaryFile& file, TTraining& training, const TProgress& progress)
        : File(file), Progress(progress), Strokes(training)
    {
    }

    TFitActivity Read()
    {
        const uint64_t dataSize = ReadHeader();
        TFitData data(File, dataSize, HeaderCrc);
        while (!data.AtEnd()) {
            ReadRecord(data);
            if (++Count % 4096 == 0) ReportProgress(Progress, static_cast<double>(File.Position()) / File.Size());
        }
        uint8_t crc[2];
        if (!File.ReadExactly(crc, 2) || (crc[0] | crc[1] << 8) != data.Crc) throw EFitError("wrong file CRC");
        return std::move(Activity);
    }

private:
    // Checks the header and its CRC; the size of the data.
    uint64_t ReadHeader()
    {
        uint8_t header[255];
        if (!File.ReadExactly(header, 12)) throw EFitError("no FIT header");
        const uint8_t size = header[0];
        if (size < 12 || std::memcmp(header + 8, ".FIT", 4) != 0) throw EFitError("no FIT header");
        if (!File.ReadExactly(header + 12, size - 12u)) throw EFitError("a short header");
        const uint64_t dataSize = header[4] | header[5] << 8 | header[6] << 16 | uint64_t(header[7]) << 24;
        if (size >= 14) {
            const uint16_t stored = static_cast<uint16_t>(header[12] | header[13] << 8);
            // A header CRC of 0 is one the writer left out.
            if (stored != 0 && stored != Crc(0, header, 12)) throw EFitError("wrong header CRC");
        }
        if (File.Size() - File.Position() < static_cast<int64_t>(dataSize + 2)) throw EFitError("data beyond the file");
        HeaderCrc = Crc(0, header, size);
        return dataSize;
    }

    void ReadRecord(TFitData& data)
    {
        const uint8_t header = data.Byte();
        if (header & 0x80) {
            // A compressed timestamp: the low five bits of the time since the last.
            const uint32_t offset = header & 0x1F;
            uint32_t time = (LastTimestamp & ~0x1Fu) + offset;
            if (offset < (LastTimestamp & 0x1Fu)) time += 0x20;
            LastTimestamp = time;
            ReadData(data, (header >> 5) & 0x03, time);
        } else if (header & DefinitionHeader) {
            ReadDefinition(data, header & LocalTypeMask, (header & DeveloperDataFlag) != 0);
        } else {
            ReadData(data, header & LocalTypeMask, std::nullopt);
        }
    }

    void ReadDefinition(TFitData& data, uint8_t local, bool developer)
    {
        uint8_t fixed[5];
        data.Read(fixed, sizeof fixed);
        if (fixed[1] > 1) throw EFitError("unknown architecture");
        TDefinition definition;
        definition.Defined = true;
        definition.BigEndian = fixed[1] == 1;
        definition.Global = definition.BigEndian ? static_cast<uint16_t>(fixed[2] << 8 | fixed[3])
                                                 : static_cast<uint16_t>(fixed[3] << 8 | fixed[2]);
        // Each field is three bytes: its number, its size and its base type
        // (for a developer field, the index of its description instead).
        const auto checkedSize = [](uint8_t size, uint8_t baseType) {
            if (size == 0 || size % BaseTypeOf(baseType).Size != 0) throw EFitError("a field that does not fit its type");
            return size;
        };
        for (int i = 0; i < fixed[4]; ++i) {
            uint8_t entry[3];
            data.Read(entry, 3);
            definition.Fields.push_back({entry[0], checkedSize(entry[1], entry[2]), entry[2], false, 0});
        }
        if (developer) {
            const uint8_t count = data.Byte();
            for (int i = 0; i < count; ++i) {
                uint8_t entry[3];
                data.Read(entry, 3);
                const auto described = DeveloperFields.find({entry[2], entry[0]});
                if (described == DeveloperFields.end()) throw EFitError("a developer field without its description");
                const uint8_t type = described->second.Type;
                definition.Fields.push_back({entry[0], checkedSize(entry[1], type), type, true, entry[2]});
            }
        }
        for (TFieldSpec& field : definition.Fields) {
            definition.Size += field.Size;
            if (definition.Global == RecordMessage) Resolve(field);
        }
        Definitions[local] = std::move(definition);
    }

    void ReadData(TFitData& data, uint8_t local, std::optional<uint32_t> compressedTime)
    {
        const TDefinition& definition = Definitions[local];
        if (!definition.Defined) throw EFitError("a message without its definition");
        Buffer.resize(definition.Size);
        data.Read(Buffer.data(), Buffer.size());
        if (definition.Global == RecordMessage) return TakeRecord(definition, compressedTime);
        TMessageValues values;
        size_t at = 0;
        for (const TFieldSpec& field : definition.Fields) {
            const uint8_t* bytes = Buffer.data() + at;
            at += field.Size;
            if (field.Developer) {
                const TDeveloperField& described = DeveloperFields.at({field.DeveloperIndex, field.Number});
                std::vector<double> elements = Elements(bytes, field, definition.BigEndian);
                for (double& element : elements) element /= described.Scale;
                values.DeveloperValues[described.Name] = std::move(elements);
            } else if ((field.Type & 0x1F) == (Fit::String & 0x1F)) {
                values.Texts[field.Number] = std::string(reinterpret_cast<const char*>(bytes),
                                                         strnlen(reinterpret_cast<const char*>(bytes), field.Size));
            } else {
                values.Values[field.Number] = Elements(bytes, field, definition.BigEndian);
            }
        }
        if (const auto time = FitTime(values.Number(Timestamp))) LastTimestamp = *time;
        if (compressedTime) values.Values[Timestamp] = {static_cast<double>(*compressedTime)};
        Take(definition.Global, values);
    }

    void Take(uint16_t global, const TMessageValues& m)
    {
        switch (global) {
        case FileIdMessage:
            if (const auto type = m.Number(FileId::Type); type && *type != FileTypeActivity)
                throw EFitError("not an activity file");
            break;
        case FieldDescriptionMessage: Describe(m); break;
        case LapMessage: TakeLap(m); break;
        case SessionMessage: TakeSession(m); break;
        case EventMessage:
            if (m.Number(Event::EventField) == EventTimer && m.Number(Event::EventType) == EventTypeStart
                && !Activity.TimerStart)
                Activity.TimerStart = FitTime(m.Number(Timestamp));
            break;
        default: break;
        }
    }

    // A description's numbers are bytes; a file that declares them of another type may hold anything.
    static bool IsByte(std::optional<double> value) { return value && *value >= 0 && *value <= 255; }

    void Describe(const TMessageValues& m)
    {
        const auto index = m.Number(FieldDescription::DeveloperDataIndex);
        const auto number = m.Number(FieldDescription::FieldDefinitionNumber);
        const auto type = m.Number(FieldDescription::BaseTypeId);
        if (!IsByte(index) || !IsByte(number) || !IsByte(type))
            throw EFitError("a field description without its field");
        TDeveloperField field;
        field.Type = static_cast<uint8_t>(*type);
        BaseTypeOf(field.Type);
        const double scale = m.Number(FieldDescription::Scale).value_or(1);
        field.Scale = scale > 0 ? scale : 1;
        field.Name = m.Text(FieldDescription::FieldName);
        field.Units = m.Text(FieldDescription::Units);
        DeveloperFields[{static_cast<uint8_t>(*index), static_cast<uint8_t>(*number)}] = field;
    }

    // Where a record's field goes in a stroke.
    void Resolve(TFieldSpec& field) const
    {
        if (!field.Developer) {
            static const std::pair<uint8_t, std::pair<TRole, double>> Native[] = {
                {Timestamp, {TRole::Timestamp, 1}},
                {Record::Distance, {TRole::Distance, 0.01}},
                {Record::Speed, {TRole::Speed, 0.001}},
                {Record::EnhancedSpeed, {TRole::EnhancedSpeed, 0.001}},
                {Record::Power, {TRole::Power, 1}},
                {Record::Cadence, {TRole::Cadence, 1}},
                {Record::FractionalCadence, {TRole::FractionalCadence, 1.0 / 128}},
                {Record::HeartRate, {TRole::HeartRate, 1}},
                {Record::CycleLength16, {TRole::CycleLength, 1}}, // in m/100: cm
            };
            for (const auto& [number, role] : Native)
                if (field.Number == number) std::tie(field.Role, field.Factor) = role;
            return;
        }
        const TDeveloperField& described = DeveloperFields.at({field.DeveloperIndex, field.Number});
        static const std::pair<const char*, std::pair<TRole, double>> Rowing[] = {
            {"DriveLength", {TRole::DriveLength, 0.1}}, // mm to cm
            {"StrokeDriveTime", {TRole::DriveTime, 0.001}},
            {"StrokeRecoveryTime", {TRole::RecoveryTime, 0.001}},
            {"PeakDriveForceN", {TRole::PeakForce, 1}},
            {"PeakDriveForce", {TRole::PeakForce, 1}},
            {"StrokeWork", {TRole::Work, 1}},
            {"WorkPerStroke", {TRole::Work, 1}},
            {"StrokeRate", {TRole::StrokeRate, 1}},
            {"HandleForceCurve", {TRole::Curve, 1}},
            {"InstrokeAbscissaType", {TRole::Abscissa, 1}},
            {"InstrokeSampleInterval", {TRole::SampleInterval, 0.1}}, // mm to cm
        };
        for (const auto& [name, role] : Rowing)
            if (described.Name == name) std::tie(field.Role, field.Factor) = role;
        // An older writer gave the drive length in metres.
        if (field.Role == TRole::DriveLength && described.Units == "m") field.Factor = 100;
        field.Factor /= described.Scale;
    }

    void TakeRecord(const TDefinition& definition, std::optional<uint32_t> compressedTime)
    {
        std::optional<double> values[static_cast<size_t>(TRole::SampleInterval) + 1];
        bool curve = false;
        size_t at = 0;
        for (const TFieldSpec& field : definition.Fields) {
            const uint8_t* bytes = Buffer.data() + at;
            at += field.Size;
            if (field.Role == TRole::None) continue;
            ElementsInto(bytes, field, definition.BigEndian, RecordValues);
            if (field.Role == TRole::Curve) {
                Curve.Forces = RecordValues;
                for (double& force : Curve.Forces) force *= field.Factor;
                curve = true;
            } else if (!RecordValues.empty()) {
                values[static_cast<size_t>(field.Role)] = RecordValues.front() * field.Factor;
            }
        }
        const auto value = [&values](TRole role) { return values[static_cast<size_t>(role)]; };
        const std::optional<uint32_t> stamp = FitTime(value(TRole::Timestamp));
        if (stamp) LastTimestamp = *stamp;
        const std::optional<uint32_t> time = compressedTime ? compressedTime : stamp;
        if (!time) return; // a record without a time is no stroke

        TStroke s{};
        s.Distance = AsFloat(value(TRole::Distance).value_or(0));
        const double speed = value(TRole::EnhancedSpeed).value_or(value(TRole::Speed).value_or(0));
        s.Split500 = speed > 0 ? AsFloat(500 / speed) : 0;
        s.Power = AsFloat(value(TRole::Power).value_or(0));
        s.StrokeRate = AsFloat(value(TRole::StrokeRate).value_or(
            value(TRole::Cadence).value_or(0) + value(TRole::FractionalCadence).value_or(0)));
        s.Pulse = AsFloat(value(TRole::HeartRate).value_or(0));
        s.DistancePerStroke = AsFloat(value(TRole::CycleLength).value_or(0));
        s.StrokeLength = AsFloat(value(TRole::DriveLength).value_or(0));
        const double drive = value(TRole::DriveTime).value_or(0);
        s.DriveTime = AsFloat(drive);
        s.DriveRecoverRatio = drive > 0 ? AsFloat(value(TRole::RecoveryTime).value_or(0) / drive) : 0;
        s.PeakForce = AsFloat(value(TRole::PeakForce).value_or(0));
        s.EnergyPerStroke = AsFloat(value(TRole::Work).value_or(0));
        if (!curve) Curve.Forces.clear();
        // Uniform along the handle's travel, so many centimetres apart; on
        // another abscissa the curve spans the drive.
        Curve.Step = value(TRole::Abscissa) == AbscissaHandleDistance ? value(TRole::SampleInterval).value_or(0) : 0;
        // The time comes when the start is known; until then the stroke
        // keeps its timestamp aside.
        const size_t before = Strokes.Count();
        Strokes.Add(s, Curve);
        if (Strokes.Count() > before) Activity.Timestamps.push_back(*time);
    }

    void TakeLap(const TMessageValues& m)
    {
        const auto start = m.Number(Lap::StartTime);
        const auto end = m.Number(Timestamp);
        if (!start || !end || Activity.Laps.size() >= MaxLaps) return;
        Activity.Laps.push_back({*start, *end, m.Number(Lap::Intensity) == IntensityRest});
    }

    void TakeSession(const TMessageValues& m)
    {
        if (const auto start = FitTime(m.Number(Session::StartTime)))
            Activity.SessionStart = std::min<double>(*start, Activity.SessionStart.value_or(*start));
        Activity.Distance += m.Number(Session::TotalDistance).value_or(0) / 100;
        Activity.Seconds += m.Number(Session::TotalElapsedTime).value_or(0) / 1000;
        Activity.Work += m.Number(Session::TotalWork).value_or(0);
        if (Activity.Title.empty()) Activity.Title = m.Text(Session::SportProfileName);
    }

    TBinaryFile& File;
    const TProgress& Progress;
    uint16_t HeaderCrc = 0;
    std::array<TDefinition, 16> Definitions{};
    std::map<std::pair<uint8_t, uint8_t>, TDeveloperField> DeveloperFields;
    std::vector<uint8_t> Buffer;
    std::vector<double> RecordValues;
    TSourceCurve Curve;
    uint32_t LastTimestamp = 0;
    size_t Count = 0;
    TImportedStrokes Strokes;
    TFitActivity Activity;
};

// The rest of the training: the strokes' times from the activity's start
// (its first session's, else the timer's, else the first stroke's), each
// stroke in the lap whose span holds its time, the totals of the sessions.
void FinishTraining(TTraining& training, const TFitActivity& activity)
{
    const std::vector<uint32_t>& stamps = activity.Timestamps;
    const double start = activity.SessionStart.value_or(activity.TimerStart.value_or(stamps.empty() ? 0 : stamps[0]));
    training.Header.DateTime = DateTimeFromUnixTime(start + FitToUnix, true);
    if (!activity.Title.empty()) training.Header.Title.Assign(Utf8ToAnsi(activity.Title));
    for (size_t i = 0; i < stamps.size(); ++i) training.Strokes[i + 1].Time = AsFloat(stamps[i] - start);
    std::vector<TImportedLap> laps;
    size_t next = 1;
    for (const TFitActivity::TLap& lap : activity.Laps) {
        TImportedLap imported{next, next - 1, lap.Rest};
        while (next <= stamps.size() && stamps[next - 1] <= lap.End) imported.Last = next++;
        laps.push_back(imported);
    }
    training.Totals.TotalDistance = AsFloat(activity.Distance);
    training.Totals.TotalTime = AsFloat(activity.Seconds);
    training.Totals.TotalEnergy = AsFloat(activity.Work / 1000);
    FinishImport(training, laps);
    if (training.Totals.AveragePower == 0 && training.Strokes.size() > 1)
        training.Totals.AveragePower = training.Strokes.back().AveragePower;
}

} // namespace

bool ReadFitFile(const std::string& path, TTraining& training, const TProgress& progress)
{
    return ImportFile(path, [&] {
        TBinaryFile file(path);
        BeginImport(training, path, fkFitActivity, ffFIT);
        const TFitActivity activity = TFitReader(file, training, progress).Read();
        FinishTraining(training, activity);
    });
}
