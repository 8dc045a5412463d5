// The FIT format's numbers that Marlo's FIT codec knows by heart: base types,
// message and field numbers of the public profile, the values of the enums it
// writes, and the rowing developer fields of the open rowing tools' registry.
#pragma once

#include <cstddef>
#include <cstdint>

namespace Fit {

// The CRC of the bytes, continued from crc (0 to begin with).
uint16_t Crc(uint16_t crc, const uint8_t* bytes, size_t size);

const uint8_t HeaderSize = 14;
// Protocol 2.0 (developer fields), profile 21.222.
const uint8_t ProtocolVersion = 0x20;
const uint16_t ProfileVersion = 21222;
// Seconds from 1970-01-01 to 1989-12-31 00:00:00 UTC, where FIT time begins.
const uint32_t EpochOffset = 631065600;

// Record headers: a definition message, and one that holds developer fields.
const uint8_t DefinitionHeader = 0x40;
const uint8_t DeveloperDataFlag = 0x20;
const uint8_t LocalTypeMask = 0x0F;

// Base types: the low five bits number them, 0x80 marks the multi-byte ones.
enum TBaseType : uint8_t {
    Enum = 0x00, Sint8 = 0x01, Uint8 = 0x02, String = 0x07, Byte = 0x0D,
    Sint16 = 0x83, Uint16 = 0x84, Sint32 = 0x85, Uint32 = 0x86, Uint32z = 0x8C,
};
// The value that stands for "no value" in each base type.
const uint8_t InvalidUint8 = 0xFF;
const uint16_t InvalidUint16 = 0xFFFF;
const uint32_t InvalidUint32 = 0xFFFFFFFF;

// Global message numbers.
enum TMessage : uint16_t {
    FileIdMessage = 0, SessionMessage = 18, LapMessage = 19, RecordMessage = 20, EventMessage = 21,
    ActivityMessage = 34, FieldDescriptionMessage = 206, DeveloperDataIdMessage = 207,
};

// Field numbers shared by most messages.
const uint8_t Timestamp = 253;
const uint8_t MessageIndex = 254;

namespace FileId { enum : uint8_t { Type = 0, Manufacturer = 1, Product = 2, TimeCreated = 4, ProductName = 8 }; }
namespace Record {
enum : uint8_t {
    HeartRate = 3, Cadence = 4, Distance = 5, Speed = 6, Power = 7, TotalCycles = 19, FractionalCadence = 53,
    EnhancedSpeed = 73, CycleLength16 = 87,
};
}
namespace Event { enum : uint8_t { EventField = 0, EventType = 1, EventGroup = 4 }; }
// Laps and sessions share the numbers of their summary fields up to total
// cycles; the averages and maxima sit one apart.
namespace Lap {
enum : uint8_t {
    EventField = 0, EventType = 1, StartTime = 2, TotalElapsedTime = 7, TotalTimerTime = 8, TotalDistance = 9,
    TotalCycles = 10, AvgSpeed = 13, MaxSpeed = 14, AvgHeartRate = 15, MaxHeartRate = 16, AvgCadence = 17,
    MaxCadence = 18, AvgPower = 19, MaxPower = 20, Intensity = 23, LapTrigger = 24, Sport = 25, SubSport = 39,
    TotalWork = 41,
};
}
namespace Session {
enum : uint8_t {
    EventField = 0, EventType = 1, StartTime = 2, Sport = 5, SubSport = 6, TotalElapsedTime = 7,
    TotalTimerTime = 8, TotalDistance = 9, TotalCycles = 10, AvgSpeed = 14, MaxSpeed = 15, AvgHeartRate = 16,
    MaxHeartRate = 17, AvgCadence = 18, MaxCadence = 19, AvgPower = 20, MaxPower = 21, FirstLapIndex = 25,
    NumLaps = 26, Trigger = 28, TotalWork = 48, SportProfileName = 110,
};
}
namespace Activity {
enum : uint8_t { TotalTimerTime = 0, NumSessions = 1, Type = 2, EventField = 3, EventType = 4, LocalTimestamp = 5 };
}
namespace DeveloperDataId { enum : uint8_t { ApplicationId = 1, DeveloperDataIndex = 3, ApplicationVersion = 4 }; }
namespace FieldDescription {
enum : uint8_t {
    DeveloperDataIndex = 0, FieldDefinitionNumber = 1, BaseTypeId = 2, FieldName = 3, Array = 4, Scale = 6,
    Units = 8,
};
}

// Enum values.
const uint8_t FileTypeActivity = 4;
const uint16_t ManufacturerDevelopment = 255;
const uint8_t SportRowing = 15;
const uint8_t SubSportIndoorRowing = 14;
const uint8_t EventTimer = 0, EventSession = 8, EventLap = 9, EventActivity = 26;
const uint8_t EventTypeStart = 0, EventTypeStop = 1, EventTypeStopAll = 4;
const uint8_t IntensityActive = 0, IntensityRest = 1;
const uint8_t LapTriggerManual = 0, LapTriggerSessionEnd = 7;
const uint8_t SessionTriggerActivityEnd = 0;
const uint8_t ActivityManual = 0;

// The rowing developer fields of the open rowing tools' registry, all under
// its application id (UUID 89e86158-6d47-5c98-9d46-7d29437f27b9).
const uint8_t RowingApplicationId[16] = {0x89, 0xe8, 0x61, 0x58, 0x6d, 0x47, 0x5c, 0x98,
                                         0x9d, 0x46, 0x7d, 0x29, 0x43, 0x7f, 0x27, 0xb9};
const uint32_t RowingProtocolVersion = 1;
namespace Rowing {
enum : uint8_t {
    DriveLength = 0,            // mm
    StrokeDriveTime = 1,        // ms
    StrokeRecoveryTime = 3,     // ms
    AverageDriveForceN = 6,     // N, scale 10
    PeakDriveForceN = 7,        // N, scale 10
    WorkoutState = 9,           // the lap's intensity
    RecordingStrategy = 10,     // on the session: 1, one record per stroke
    PeakForcePositionNorm = 17, // ten-thousandths of the drive
    PeakForcePositionAbs = 18,  // mm
    StrokeWork = 19,            // J
    HandleForceCurve = 60,      // N, scale 10, one value per sample
    InstrokeAbscissaType = 90,  // 2: uniform along the handle's travel
    InstrokeSampleInterval = 91, // mm between samples
    InstrokePointCount = 92,
    StrokeRate = 93,            // strokes/min, scale 100
};
}
const uint8_t RecordingStrategyStrokeBoundary = 1;
const uint8_t AbscissaHandleDistance = 2;

} // namespace Fit
