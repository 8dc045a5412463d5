// The training record: one training in memory, whose parts are also the
// records of the training file, byte for byte. Every part with a file layout
// is packed, and its size and the offsets files rely on are checked below.
#pragma once

#include "jsUtils.h"
#include "untDateTime.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#pragma pack(push, 1)

// A counted text in a fixed slot: a length byte, then up to N single-byte
// characters of the Windows code page 1252. The bytes after the text are
// unspecified.
template <int N>
struct TCountedText {
    uint8_t Length;
    char Chars[N];

    // The stored bytes (the length is capped to the slot).
    std::string Text() const { return std::string(Chars, Length <= N ? Length : N); }
    // Stores the first N bytes of text; the rest of the slot is zeroed.
    void Assign(const std::string& text)
    {
        const size_t n = text.size() < static_cast<size_t>(N) ? text.size() : N;
        Length = static_cast<uint8_t>(n);
        for (size_t i = 0; i < static_cast<size_t>(N); ++i) Chars[i] = i < n ? text[i] : '\0';
    }
    std::string Utf8() const { return AnsiToUtf8(Text()); }
};

using TText255 = TCountedText<255>;

struct THeader {
    TText255 FileName;
    TDateTime FileDateTime;
    int32_t FileSize;
    uint8_t FileFormat;
    uint8_t FileKind;
    TText255 Title;
    TText255 Name;
    TText255 Description;
    TDateTime DateTime;
    TText255 TrainingType;
    TText255 Event;
    TText255 Note;
    TText255 OrigFileName;
    TDateTime OrigFileDateTime;
    int32_t OrigFileSize;
    uint8_t OrigFileFormat;
    uint8_t OrigFileKind;
    uint8_t Visible;
    uint8_t Spare1;
    int32_t CurveIndex;
    TColor Color;
    uint8_t PenStyle;
    int32_t PenWidth;
    uint8_t Modified;
    uint8_t CurveSource;
    int32_t CurveInterval;
    uint8_t Recorder;
    uint8_t Interface;
    uint8_t Spare2;
    uint8_t Spare3[256];
    TGuid TrainingID;
};

struct TUserSettings {
    int32_t Weight;
    int32_t Gender;
    int32_t Boat;
    int32_t Ergometer;
    int32_t Sprocket;
    int32_t SessionLimit;
    int32_t LimitIntervals;
    int32_t LimitTime;
    int32_t LimitStrokes;
    int32_t LimitDistance;
    int32_t LimitEnergy;
    int32_t StartValue;
    int32_t StepValue;
    int32_t RestValue;
    int32_t IntervalBy;
    int32_t WorkPeriod;
    int32_t WorkTime;
    int32_t WorkStrokes;
    int32_t WorkDistance;
    int32_t WorkEnergy;
    int32_t RestPeriod;
    int32_t RestTime;
    int32_t RestStrokes;
    int32_t RestDistance;
    int32_t RestEnergy;
    int32_t Display;
};

struct TStroke {
    uint16_t Number;
    float Power;
    float AveragePower;
    float StrokeRate;
    float TargetPower;
    float Time;
    float StrokeLength;
    float Distance;
    float Split500;
    float EnergyPerStroke;
    float EnergySum;
    float Pulse;
    float WorkPerPulse;
    float PeakForce;
    float PeakForcePosition;
    float RelPeakForcePosition;
    float DriveRecoverRatio;
    float KValue;
    uint16_t IntervalNumber;
    uint16_t IntervalCountdown;
    uint16_t IntervalPower;
    float DriveTime;
    float DistancePerStroke;
};

const int CurveSamples = 80;

struct TForceCurve {
    uint16_t Number;
    uint8_t Valid;
    uint16_t Samples[CurveSamples]; // Samples[k - 1] is sample k
};

struct TInterval {
    uint16_t Number;
    uint16_t AveragePower;
    uint16_t AverageStrokeRate;
    uint16_t TotalTime;
    uint16_t TotalDistance;
    uint16_t AveragePulse;
    TForceCurve Curve;
    TStroke Stroke; // Stroke.Number holds the interval's stroke count
};

struct TExtraEntry {
    uint16_t Number;
    uint8_t Value;
};

struct TTotals {
    float TotalDistance;
    float TotalTime;
    float TotalEnergy;
    float AveragePower;
};

#pragma pack(pop)

static_assert(sizeof(THeader) == 2380, "THeader is 2380 bytes");
static_assert(offsetof(THeader, FileDateTime) == 256 && offsetof(THeader, FileKind) == 269
                  && offsetof(THeader, Title) == 270 && offsetof(THeader, DateTime) == 1038
                  && offsetof(THeader, OrigFileName) == 1814 && offsetof(THeader, OrigFileKind) == 2083
                  && offsetof(THeader, CurveIndex) == 2086 && offsetof(THeader, Color) == 2090
                  && offsetof(THeader, PenWidth) == 2095 && offsetof(THeader, CurveInterval) == 2101
                  && offsetof(THeader, Interface) == 2106 && offsetof(THeader, Spare3) == 2108
                  && offsetof(THeader, TrainingID) == 2364,
              "THeader field offsets");
static_assert(sizeof(TUserSettings) == 104 && offsetof(TUserSettings, Display) == 100,
              "TUserSettings is 26 integers");
static_assert(sizeof(TStroke) == 84, "TStroke is 84 bytes");
static_assert(offsetof(TStroke, Power) == 2 && offsetof(TStroke, Time) == 18
                  && offsetof(TStroke, PeakForce) == 50 && offsetof(TStroke, KValue) == 66
                  && offsetof(TStroke, IntervalNumber) == 70 && offsetof(TStroke, DriveTime) == 76
                  && offsetof(TStroke, DistancePerStroke) == 80,
              "TStroke field offsets");
// The samples of a curve in an aligned array (the packed record holds them at
// an odd offset, where no 16-bit pointer may point).
using TSamples = std::array<uint16_t, CurveSamples>;
using TResampled = std::array<float, CurveSamples>;
inline TSamples SamplesOf(const TForceCurve& curve)
{
    TSamples samples;
    std::memcpy(samples.data(), reinterpret_cast<const unsigned char*>(&curve) + 3, sizeof samples);
    return samples;
}

static_assert(sizeof(TForceCurve) == 163 && offsetof(TForceCurve, Samples) == 3,
              "TForceCurve is 163 bytes");
static_assert(sizeof(TInterval) == 259 && offsetof(TInterval, Curve) == 12
                  && offsetof(TInterval, Stroke) == 175,
              "TInterval is 259 bytes");
static_assert(sizeof(TExtraEntry) == 3, "TExtraEntry is 3 bytes");
static_assert(sizeof(TTotals) == 16, "TTotals is 16 bytes");

// The recording client; never stored in files.
struct TStgClient {
    uint8_t Reserved1[4] = {};
    std::string Address;
    int32_t Port = 0;
    uint8_t Reserved2[20] = {};
};

// One training. Value-initialising it (TTraining{}) gives the all-zero record;
// copying it copies the strokes, curves, intervals, extra entries and address.
struct TTraining {
    char Magic[4] = {};
    uint32_t Version = 0;
    int32_t ClientID = 0;
    THeader Header{};
    TUserSettings Settings{};
    TStgClient Client;
    uint8_t Status = 0;
    std::vector<TStroke> Strokes;     // [0] is the average stroke
    std::vector<TForceCurve> Curves;  // as long as Strokes; [0] is the average curve
    std::vector<TInterval> Intervals; // Intervals[i].Number == i + 1
    std::vector<TExtraEntry> ExtraEntries; // [0] unused
    TTotals Totals{};
    uint8_t Spare1 = 0;
    uint8_t Spare2 = 0; // used by the force-curve window
};

// The signature of a training file and of a new training.
extern const char TrainingMagic[4];

// --- Name tables: index -> display text; an index beyond a table gives "?". ---

enum TFileFormat : uint8_t {
    ffNone, ffPEL, ffINI, ffSED, ffSES, ffSTG, ffSTR, ffTXT, ffXLS, ffRVI, ffRVS, ffRVR, ffFITLOG,
    ffFIT, ffTCX, ffCSV
};
const int FileFormatCount = 16;

enum TFileKind : uint8_t {
    fkNone, fkForceCurves, fkDesktop, fkIntervals, fkStrokeData, fkStroke, fkTraining,
    fkUser, fkManual, fkRow, fkFullStrokeData, fkFitActivity, fkTcx, fkRowingCsv
};
const int FileKindCount = 14;

const uint8_t RecorderThisProgram = 7;
const uint8_t InterfaceRavo = 4;
const uint8_t StatusDisconnected = 5;

std::string GenderName(int index);
std::string BoatName(int index);
std::string ErgometerName(int index);
std::string SprocketName(int index);
std::string SessionLimitName(int index);
std::string IntervalByName(int index);
std::string DisplayName(int index);
std::string StatusName(int index);
std::string FileKindName(int index);
std::string FileFormatName(int index);
std::string InterfaceName(int index);
std::string RecorderName(int index);

struct TNamedColor {
    const char* Name;
    TColor Color;
};
const int ColorCount = 15;
extern const TNamedColor Colors[ColorCount];
