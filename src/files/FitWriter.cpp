// The FIT activity writer: a small codec (messages built field by field, a
// definition written whenever a local message type changes its layout, the
// format's CRC) and the activity laid out as the format's conventions have it:
// a file id, the rowing developer fields, a timer start, then per lap its
// records and the lap, a timer stop, the session and the activity.
//
// The file header holds the size of the data, so the activity is encoded
// twice: once to count its bytes, once to write them. Both runs take the same
// path through the same code, and neither holds more than a message.
#include "untExport.h"

#include "ExportKit.h"
#include "jsUtils.h"
#include "untFiles.h"
#include "untFit.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>

namespace {

using namespace Fit;

// --- The codec ---

struct TFieldDefinition {
    uint8_t Number = 0;
    uint8_t Size = 0;
    uint8_t Type = 0; // base type; the developer data index for a developer field
    bool operator==(const TFieldDefinition& other) const
    {
        return Number == other.Number && Size == other.Size && Type == other.Type;
    }
};

// One message as it is built: its fields' definitions and their bytes, little
// endian, in the order they were added.
class TFitMessage {
public:
    explicit TFitMessage(uint16_t global) : Global(global) {}
    // Empties the message for the next of its kind, keeping its memory.
    void Clear()
    {
        Fields.clear();
        DeveloperFields.clear();
        Data.clear();
    }

    void Uint8(uint8_t field, uint8_t value, TBaseType type = Fit::Uint8) { Add(field, type, &value, 1); }
    void Uint16(uint8_t field, uint16_t value) { AddLittleEndian(Fields, field, Fit::Uint16, value, 2); }
    void Uint32(uint8_t field, uint32_t value, TBaseType type = Fit::Uint32)
    {
        AddLittleEndian(Fields, field, type, value, 4);
    }
    void Bytes(uint8_t field, const uint8_t* bytes, uint8_t size) { Add(field, Fit::Byte, bytes, size); }
    // UTF-8, cut at a whole character to fit the field's 254 bytes, ended by a 0.
    void Text(uint8_t field, const std::string& utf8)
    {
        std::string text = utf8.substr(0, 254);
        if (text.size() < utf8.size())
            while (!text.empty() && (static_cast<uint8_t>(utf8[text.size()]) & 0xC0) == 0x80) text.pop_back();
        text.push_back('\0');
        Add(field, Fit::String, reinterpret_cast<const uint8_t*>(text.data()), static_cast<uint8_t>(text.size()));
    }
    // Developer fields, all of the rowing registry's index 0.
    void DeveloperUint8(uint8_t field, uint8_t value) { AddLittleEndian(DeveloperFields, field, 0, value, 1); }
    void DeveloperUint16(uint8_t field, uint16_t value) { AddLittleEndian(DeveloperFields, field, 0, value, 2); }
    void DeveloperUint16s(uint8_t field, const uint16_t* values, size_t count)
    {
        const size_t at = Data.size();
        for (size_t i = 0; i < count; ++i) AppendLittleEndian(values[i], 2);
        DeveloperFields.push_back({field, static_cast<uint8_t>(Data.size() - at), 0});
    }

    uint16_t Global;
    std::vector<TFieldDefinition> Fields;
    std::vector<TFieldDefinition> DeveloperFields;
    std::vector<uint8_t> Data;

private:
    void Add(uint8_t field, uint8_t type, const uint8_t* bytes, uint8_t size)
    {
        Fields.push_back({field, size, type});
        Data.insert(Data.end(), bytes, bytes + size);
    }
    void AddLittleEndian(std::vector<TFieldDefinition>& list, uint8_t field, uint8_t type, uint32_t value, int size)
    {
        list.push_back({field, static_cast<uint8_t>(size), type});
        AppendLittleEndian(value, size);
    }
    void AppendLittleEndian(uint32_t value, int size)
    {
        for (int i = 0; i < size; ++i) Data.push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
};

// The data records of a file, with their CRC, to a stream or only counted.
class TFitStream {
public:
    explicit TFitStream(std::ostream* out) : Out(out) {}
    ~TFitStream() { Flush(); }

    // Writes the message as local type `local`, after its definition when
    // the type last had another layout.
    void Write(uint8_t local, const TFitMessage& message)
    {
        TDefinition& definition = Definitions[local & LocalTypeMask];
        if (!definition.Defined || definition.Global != message.Global || definition.Fields != message.Fields
            || definition.DeveloperFields != message.DeveloperFields) {
            definition = {true, message.Global, message.Fields, message.DeveloperFields};
            WriteDefinition(local, message);
        }
        Put(static_cast<uint8_t>(local & LocalTypeMask));
        Put(message.Data.data(), message.Data.size());
    }
    // Puts raw bytes that count towards the CRC (the file header).
    void Put(const uint8_t* bytes, size_t size)
    {
        Crc = Fit::Crc(Crc, bytes, size);
        Size += size;
        if (!Out) return;
        Buffer.insert(Buffer.end(), bytes, bytes + size);
        if (Buffer.size() >= 65536) Flush();
    }
    void Put(uint8_t byte) { Put(&byte, 1); }
    void Flush()
    {
        if (Out && !Buffer.empty()) Out->write(reinterpret_cast<const char*>(Buffer.data()), Buffer.size());
        Buffer.clear();
    }

    uint16_t Crc = 0;
    uint64_t Size = 0;

private:
    struct TDefinition {
        bool Defined = false;
        uint16_t Global = 0;
        std::vector<TFieldDefinition> Fields, DeveloperFields;
    };

    void WriteDefinition(uint8_t local, const TFitMessage& message)
    {
        const bool developer = !message.DeveloperFields.empty();
        Put(static_cast<uint8_t>(DefinitionHeader | (developer ? DeveloperDataFlag : 0) | (local & LocalTypeMask)));
        const uint8_t fixed[] = {0, 0 /* little endian */, static_cast<uint8_t>(message.Global & 0xFF),
                                 static_cast<uint8_t>(message.Global >> 8),
                                 static_cast<uint8_t>(message.Fields.size())};
        Put(fixed, sizeof fixed);
        for (const TFieldDefinition& field : message.Fields) PutDefinition(field);
        if (!developer) return;
        Put(static_cast<uint8_t>(message.DeveloperFields.size()));
        for (const TFieldDefinition& field : message.DeveloperFields) PutDefinition(field);
    }
    void PutDefinition(const TFieldDefinition& field)
    {
        const uint8_t bytes[] = {field.Number, field.Size, field.Type};
        Put(bytes, sizeof bytes);
    }

    std::ostream* Out;
    std::vector<uint8_t> Buffer;
    std::array<TDefinition, 16> Definitions{};
};

// --- Values as the profile's fields take them ---

// A scaled value rounded to the field's range, which tops out one below the
// "no value" mark; nothing for a value that is no number.
std::optional<uint32_t> Scaled(double value, double scale, uint32_t invalid)
{
    if (!std::isfinite(value)) return std::nullopt;
    return static_cast<uint32_t>(std::clamp(std::nearbyint(value * scale), 0.0, invalid - 1.0));
}
uint8_t U8(double value, double scale = 1) { return static_cast<uint8_t>(Scaled(value, scale, InvalidUint8).value_or(InvalidUint8)); }
uint16_t U16(double value, double scale = 1) { return static_cast<uint16_t>(Scaled(value, scale, InvalidUint16).value_or(InvalidUint16)); }
uint32_t U32(double value, double scale = 1) { return Scaled(value, scale, InvalidUint32).value_or(InvalidUint32); }
// A value that is 0 or less is no measurement: "no value". A measurement
// too small for the field's step is written as its smallest step, not as 0.
uint8_t MeasuredU8(double value) { return Positive(value) > 0 ? std::max<uint8_t>(U8(value), 1) : InvalidUint8; }
uint16_t MeasuredU16(double value, double scale = 1)
{
    return Positive(value) > 0 ? std::max<uint16_t>(U16(value, scale), 1) : InvalidUint16;
}

// --- The activity ---

struct TDeveloperField {
    uint8_t Number;
    uint8_t Type;
    uint8_t Scale;
    const char* Name;
    const char* Units;
};
const TDeveloperField DeveloperFields[] = {
    {Rowing::DriveLength, Fit::Uint16, 1, "DriveLength", "mm"},
    {Rowing::StrokeDriveTime, Fit::Uint16, 1, "StrokeDriveTime", "ms"},
    {Rowing::StrokeRecoveryTime, Fit::Uint16, 1, "StrokeRecoveryTime", "ms"},
    {Rowing::AverageDriveForceN, Fit::Uint16, 10, "AverageDriveForceN", "N"},
    {Rowing::PeakDriveForceN, Fit::Uint16, 10, "PeakDriveForceN", "N"},
    {Rowing::WorkoutState, Fit::Uint8, 1, "WorkoutState", ""},
    {Rowing::RecordingStrategy, Fit::Uint8, 1, "RecordingStrategy", ""},
    {Rowing::PeakForcePositionNorm, Fit::Uint16, 1, "PeakForcePositionNorm", ""},
    {Rowing::PeakForcePositionAbs, Fit::Uint16, 1, "PeakForcePositionAbs", "mm"},
    {Rowing::StrokeWork, Fit::Uint16, 1, "StrokeWork", "J"},
    {Rowing::HandleForceCurve, Fit::Uint16, 10, "HandleForceCurve", "N"},
    {Rowing::InstrokeAbscissaType, Fit::Uint8, 1, "InstrokeAbscissaType", ""},
    {Rowing::InstrokeSampleInterval, Fit::Uint16, 1, "InstrokeSampleInterval", "mm"},
    {Rowing::InstrokePointCount, Fit::Uint8, 1, "InstrokePointCount", ""},
    {Rowing::StrokeRate, Fit::Uint16, 100, "StrokeRate", "spm"},
};

enum TLocalType : uint8_t {
    ltFileId, ltDeveloperDataId, ltFieldDescription, ltEvent, ltRecord, ltLap, ltSession, ltActivity
};

class TActivityEncoder {
public:
    TActivityEncoder(const TTraining& training, TFitStream& stream)
        : Training(training), Stream(stream), Seconds(StrokeSeconds(training)),
          Distances(StrokeDistances(training)), Laps(ExportLaps(training)), HeartRate(HasHeartRate(training))
    {
        Start = static_cast<uint32_t>(std::llround(*TrainingStartUtc(training)) - EpochOffset);
        const double spacing = CurveSpacing(training.Settings);
        SampleInterval = U16(std::isfinite(spacing) ? spacing : 0, 10); // cm to mm
    }

    void Encode()
    {
        WriteFileId();
        WriteDeveloperFields();
        WriteTimerEvent(Start, EventTypeStart);
        std::vector<TLapSummary> summaries;
        for (size_t i = 0; i < Laps.size(); ++i) {
            const TExportLap& lap = Laps[i];
            if (lap.HasStrokes())
                for (size_t stroke = lap.First; stroke <= lap.Last; ++stroke) WriteRecord(stroke, lap);
            summaries.push_back(SummariseLap(Training, lap, Distances));
            WriteLap(i, lap, summaries.back());
        }
        const TLapSummary session = SummariseSession(summaries);
        const uint32_t end = Time(Laps.back().EndSeconds);
        WriteTimerEvent(end, EventTypeStopAll);
        WriteSession(session, end);
        WriteActivity(session, end);
    }

private:
    uint32_t Time(double seconds) const { return Start + static_cast<uint32_t>(std::llround(seconds)); }

    void WriteFileId()
    {
        TFitMessage m(FileIdMessage);
        m.Uint8(FileId::Type, FileTypeActivity, Fit::Enum);
        m.Uint16(FileId::Manufacturer, ManufacturerDevelopment);
        m.Uint16(FileId::Product, 0);
        m.Uint32(FileId::TimeCreated, Start);
        m.Text(FileId::ProductName, ProductName());
        Stream.Write(ltFileId, m);
    }

    void WriteDeveloperFields()
    {
        TFitMessage id(DeveloperDataIdMessage);
        id.Bytes(DeveloperDataId::ApplicationId, RowingApplicationId, sizeof RowingApplicationId);
        id.Uint8(DeveloperDataId::DeveloperDataIndex, 0);
        id.Uint32(DeveloperDataId::ApplicationVersion, RowingProtocolVersion);
        Stream.Write(ltDeveloperDataId, id);
        for (const TDeveloperField& field : DeveloperFields) {
            TFitMessage m(FieldDescriptionMessage);
            m.Uint8(FieldDescription::DeveloperDataIndex, 0);
            m.Uint8(FieldDescription::FieldDefinitionNumber, field.Number);
            m.Uint8(FieldDescription::BaseTypeId, field.Type);
            m.Text(FieldDescription::FieldName, field.Name);
            m.Uint8(FieldDescription::Scale, field.Scale);
            m.Text(FieldDescription::Units, field.Units);
            Stream.Write(ltFieldDescription, m);
        }
    }

    void WriteTimerEvent(uint32_t time, uint8_t type)
    {
        TFitMessage m(EventMessage);
        m.Uint32(Timestamp, time);
        m.Uint8(Event::EventField, EventTimer, Fit::Enum);
        m.Uint8(Event::EventType, type, Fit::Enum);
        m.Uint8(Event::EventGroup, 0);
        Stream.Write(ltEvent, m);
    }

    void WriteRecord(size_t index, const TExportLap& lap)
    {
        const TStroke& s = Training.Strokes[index];
        const double speed = StrokeSpeed(s);
        TFitMessage& m = Record;
        m.Clear();
        m.Uint32(Timestamp, Time(Seconds[index]));
        m.Uint32(Record::Distance, U32(Distances[index], 100));
        m.Uint16(Record::Speed, speed > 0 ? U16(speed, 1000) : InvalidUint16);
        m.Uint32(Record::EnhancedSpeed, speed > 0 ? U32(speed, 1000) : InvalidUint32);
        m.Uint16(Record::Power, U16(Positive(s.Power)));
        m.Uint8(Record::Cadence, U8(Positive(s.StrokeRate)));
        if (HeartRate) m.Uint8(Record::HeartRate, MeasuredU8(s.Pulse));
        m.Uint32(Record::TotalCycles, static_cast<uint32_t>(index));
        m.Uint16(Record::CycleLength16, MeasuredU16(s.DistancePerStroke)); // cm, as scale 100 of metres

        m.DeveloperUint16(Rowing::DriveLength, MeasuredU16(s.StrokeLength, 10));
        m.DeveloperUint16(Rowing::StrokeDriveTime, MeasuredU16(s.DriveTime, 1000));
        m.DeveloperUint16(Rowing::StrokeRecoveryTime, MeasuredU16(RecoverSeconds(s), 1000));
        m.DeveloperUint16(Rowing::AverageDriveForceN, MeasuredU16(AverageDriveForce(Training, index), 10));
        m.DeveloperUint16(Rowing::PeakDriveForceN, MeasuredU16(s.PeakForce, 10));
        m.DeveloperUint8(Rowing::WorkoutState, lap.Rest ? IntensityRest : IntensityActive);
        m.DeveloperUint16(Rowing::PeakForcePositionNorm, MeasuredU16(s.RelPeakForcePosition, 100));
        m.DeveloperUint16(Rowing::PeakForcePositionAbs, MeasuredU16(s.PeakForcePosition, 10));
        m.DeveloperUint16(Rowing::StrokeWork, MeasuredU16(s.EnergyPerStroke));
        m.DeveloperUint16(Rowing::StrokeRate, MeasuredU16(s.StrokeRate, 100));
        WriteCurve(m, index);
        Stream.Write(ltRecord, m);
    }

    // The 80 samples in tenths of a newton along the handle's travel, or
    // "no value" throughout for a stroke without a valid curve.
    void WriteCurve(TFitMessage& m, size_t index) const
    {
        uint16_t samples[CurveSamples];
        const bool valid = index < Training.Curves.size() && Training.Curves[index].Valid;
        // Whole newtons in tenths: integer arithmetic, kept below "no value".
        for (int k = 0; k < CurveSamples; ++k)
            samples[k] = valid ? static_cast<uint16_t>(std::min(Training.Curves[index].Samples[k] * 10u, InvalidUint16 - 1u))
                               : InvalidUint16;
        m.DeveloperUint16s(Rowing::HandleForceCurve, samples, CurveSamples);
        m.DeveloperUint8(Rowing::InstrokeAbscissaType, AbscissaHandleDistance);
        m.DeveloperUint16(Rowing::InstrokeSampleInterval, SampleInterval);
        m.DeveloperUint8(Rowing::InstrokePointCount, CurveSamples);
    }

    // The summary fields laps and sessions share, at their numbers.
    struct TSummaryFields {
        uint8_t StartTime, Elapsed, Timer, Distance, Cycles, AvgSpeed, MaxSpeed, AvgHeartRate, MaxHeartRate,
            AvgCadence, MaxCadence, AvgPower, MaxPower;
    };
    void AddSummary(TFitMessage& m, const TSummaryFields& f, uint32_t start, double seconds,
                    const TLapSummary& summary) const
    {
        m.Uint32(f.StartTime, start);
        m.Uint32(f.Elapsed, U32(seconds, 1000));
        m.Uint32(f.Timer, U32(seconds, 1000));
        m.Uint32(f.Distance, U32(summary.Distance, 100));
        m.Uint32(f.Cycles, static_cast<uint32_t>(summary.Strokes));
        m.Uint16(f.AvgSpeed, U16(summary.AverageSpeed(), 1000));
        m.Uint16(f.MaxSpeed, U16(summary.MaxSpeed, 1000));
        if (HeartRate) {
            m.Uint8(f.AvgHeartRate, MeasuredU8(summary.AveragePulse));
            m.Uint8(f.MaxHeartRate, MeasuredU8(summary.MaxPulse));
        }
        m.Uint8(f.AvgCadence, U8(summary.AverageRate));
        m.Uint8(f.MaxCadence, U8(summary.MaxRate));
        m.Uint16(f.AvgPower, U16(summary.AveragePower));
        m.Uint16(f.MaxPower, U16(summary.MaxPower));
    }

    void WriteLap(size_t number, const TExportLap& lap, const TLapSummary& summary)
    {
        TFitMessage m(LapMessage);
        m.Uint32(Timestamp, Time(lap.EndSeconds));
        m.Uint8(Lap::EventField, EventLap, Fit::Enum);
        m.Uint8(Lap::EventType, EventTypeStop, Fit::Enum);
        AddSummary(m,
                   {Lap::StartTime, Lap::TotalElapsedTime, Lap::TotalTimerTime, Lap::TotalDistance, Lap::TotalCycles,
                    Lap::AvgSpeed, Lap::MaxSpeed, Lap::AvgHeartRate, Lap::MaxHeartRate, Lap::AvgCadence,
                    Lap::MaxCadence, Lap::AvgPower, Lap::MaxPower},
                   Time(lap.StartSeconds), lap.EndSeconds - lap.StartSeconds, summary);
        m.Uint8(Lap::Intensity, lap.Rest ? IntensityRest : IntensityActive, Fit::Enum);
        m.Uint8(Lap::LapTrigger, number + 1 == Laps.size() ? LapTriggerSessionEnd : LapTriggerManual, Fit::Enum);
        m.Uint8(Lap::Sport, SportRowing, Fit::Enum);
        m.Uint8(Lap::SubSport, SubSportIndoorRowing, Fit::Enum);
        m.Uint16(MessageIndex, static_cast<uint16_t>(std::min<size_t>(number, InvalidUint16 - 1)));
        Stream.Write(ltLap, m);
    }

    void WriteSession(const TLapSummary& session, uint32_t end)
    {
        TFitMessage m(SessionMessage);
        m.Uint32(Timestamp, end);
        m.Uint8(Session::EventField, EventSession, Fit::Enum);
        m.Uint8(Session::EventType, EventTypeStop, Fit::Enum);
        AddSummary(m,
                   {Session::StartTime, Session::TotalElapsedTime, Session::TotalTimerTime, Session::TotalDistance,
                    Session::TotalCycles, Session::AvgSpeed, Session::MaxSpeed, Session::AvgHeartRate,
                    Session::MaxHeartRate, Session::AvgCadence, Session::MaxCadence, Session::AvgPower,
                    Session::MaxPower},
                   Start, session.Seconds, session);
        m.Uint8(Session::Sport, SportRowing, Fit::Enum);
        m.Uint8(Session::SubSport, SubSportIndoorRowing, Fit::Enum);
        m.Uint16(Session::FirstLapIndex, 0);
        m.Uint16(Session::NumLaps, static_cast<uint16_t>(std::min<size_t>(Laps.size(), InvalidUint16 - 1)));
        m.Uint8(Session::Trigger, SessionTriggerActivityEnd, Fit::Enum);
        m.Uint32(Session::TotalWork, MeasuredWork());
        const std::string title = Training.Header.Title.Utf8();
        if (!title.empty()) m.Text(Session::SportProfileName, title);
        m.Uint16(MessageIndex, 0);
        m.DeveloperUint8(Rowing::RecordingStrategy, RecordingStrategyStrokeBoundary);
        Stream.Write(ltSession, m);
    }

    // The training's energy in joules (it is kept in kJ); "no value" without one.
    uint32_t MeasuredWork() const
    {
        const double energy = Positive(Training.Totals.TotalEnergy);
        return energy > 0 ? U32(energy, 1000) : InvalidUint32;
    }

    void WriteActivity(const TLapSummary& session, uint32_t end)
    {
        TFitMessage m(ActivityMessage);
        m.Uint32(Timestamp, end);
        m.Uint32(Activity::TotalTimerTime, U32(session.Seconds, 1000));
        m.Uint16(Activity::NumSessions, 1);
        m.Uint8(Activity::Type, ActivityManual, Fit::Enum);
        m.Uint8(Activity::EventField, EventActivity, Fit::Enum);
        m.Uint8(Activity::EventType, EventTypeStop, Fit::Enum);
        // The local time of the end: the recording's own clock.
        m.Uint32(Activity::LocalTimestamp, LocalEnd(session.Seconds));
        Stream.Write(ltActivity, m);
    }

    uint32_t LocalEnd(double seconds) const
    {
        const double local = (Training.Header.DateTime - 32873.0) * 86400.0 + seconds; // 1989-12-31 is day 32873
        return std::isfinite(local) && local >= 0 && local < InvalidUint32 ? static_cast<uint32_t>(std::llround(local))
                                                                          : InvalidUint32;
    }

    const TTraining& Training;
    TFitStream& Stream;
    const std::vector<double> Seconds;
    const std::vector<double> Distances;
    const std::vector<TExportLap> Laps;
    const bool HeartRate;
    uint32_t Start = 0;
    uint16_t SampleInterval = 0;
    // Built anew for every stroke in the same memory.
    TFitMessage Record{RecordMessage};
};

void WriteHeader(TFitStream& stream, uint32_t dataSize)
{
    uint8_t header[HeaderSize] = {HeaderSize, ProtocolVersion, static_cast<uint8_t>(ProfileVersion & 0xFF),
                                  static_cast<uint8_t>(ProfileVersion >> 8)};
    for (int i = 0; i < 4; ++i) header[4 + i] = static_cast<uint8_t>(dataSize >> (8 * i));
    std::memcpy(header + 8, ".FIT", 4);
    const uint16_t crc = Fit::Crc(0, header, 12);
    header[12] = static_cast<uint8_t>(crc & 0xFF);
    header[13] = static_cast<uint8_t>(crc >> 8);
    stream.Put(header, sizeof header);
}

} // namespace

void WriteFitActivity(std::ostream& out, const TTraining& training)
{
    uint64_t dataSize = 0;
    {
        TFitStream counter(nullptr);
        TActivityEncoder(training, counter).Encode();
        dataSize = counter.Size;
    }
    if (dataSize > InvalidUint32) {
        out.setstate(std::ios::failbit);
        return;
    }
    TFitStream stream(&out);
    WriteHeader(stream, static_cast<uint32_t>(dataSize));
    TActivityEncoder(training, stream).Encode();
    const uint16_t crc = stream.Crc;
    const uint8_t end[] = {static_cast<uint8_t>(crc & 0xFF), static_cast<uint8_t>(crc >> 8)};
    stream.Put(end, sizeof end);
}
