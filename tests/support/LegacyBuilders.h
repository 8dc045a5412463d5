// Builds the older file kinds byte by byte, independently of the readers, for
// their tests and the benchmarks: legacy records and session files, Pelm text
// tables, and device files.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

// A little-endian byte string.
class TBytes {
public:
    TBytes& Byte(uint8_t value)
    {
        Data += static_cast<char>(value);
        return *this;
    }
    TBytes& Word(uint16_t value) { return Byte(value & 0xFF).Byte(value >> 8); }
    TBytes& Long(uint32_t value) { return Word(value & 0xFFFF).Word(value >> 16); }
    TBytes& Single(float value)
    {
        uint32_t bits;
        std::memcpy(&bits, &value, 4);
        return Long(bits);
    }
    TBytes& Zeros(size_t count)
    {
        Data.append(count, '\0');
        return *this;
    }
    TBytes& Raw(const std::string& bytes)
    {
        Data += bytes;
        return *this;
    }
    std::string Data;
};

// --- Legacy records ---

struct TLegacyUserImage {
    std::string Name = "Ann";
    int16_t Weight = 72, Gender = 2, Boat = 1, Ergometer = 1, Sprocket = 2;
    std::array<uint16_t, 21> Settings{}; // SessionLimit .. Display
};

inline std::string LegacyUserBytes(const TLegacyUserImage& user)
{
    TBytes bytes;
    bytes.Byte(static_cast<uint8_t>(user.Name.size())).Raw(user.Name).Zeros(21 - user.Name.size());
    bytes.Word(user.Weight).Word(user.Gender).Word(user.Boat).Word(user.Ergometer).Word(user.Sprocket).Zeros(14);
    for (uint16_t word : user.Settings) bytes.Word(word);
    return bytes.Zeros(18).Data;
}

// Word 0 is the number; words 1..15 are first + 1 .. first + 15.
inline std::string LegacyStrokeBytes(uint16_t number, uint16_t first = 100)
{
    TBytes bytes;
    bytes.Word(number);
    for (uint16_t i = 1; i <= 15; ++i) bytes.Word(static_cast<uint16_t>(first + i));
    return bytes.Data;
}

inline std::string LegacyCurveBytes(const std::vector<uint8_t>& start = {10, 50, 120, 90, 30})
{
    std::string bytes(start.begin(), start.end());
    bytes.resize(80, '\0');
    return bytes;
}

inline std::string LegacyIntervalBytes(uint16_t number, uint16_t first = 10)
{
    TBytes bytes;
    bytes.Word(number);
    for (uint16_t i = 1; i <= 5; ++i) bytes.Word(static_cast<uint16_t>(first + i));
    return bytes.Data;
}

inline std::string LegacyTotalsBytes(float distance, float time, float energy, float power)
{
    return TBytes().Single(distance).Single(time).Single(energy).Single(power).Zeros(10).Data;
}

// A session file: Strokes are the records of the stroke table, Pairs the
// stroke and curve pairs (filled up to 199 with zero pairs) and Intervals the
// records after the two leading interval records.
struct TSessionImage {
    TLegacyUserImage User;
    uint16_t StrokeCount = 0;
    std::vector<std::string> Strokes;
    std::vector<std::string> Pairs;
    uint16_t IntervalCount = 0;
    std::vector<std::string> Intervals;
    std::string Totals = LegacyTotalsBytes(0, 0, 0, 0);

    std::string Bytes() const
    {
        TBytes bytes;
        bytes.Raw(LegacyUserBytes(User)).Raw(LegacyStrokeBytes(StrokeCount, 0)).Zeros(32);
        for (const std::string& stroke : Strokes) bytes.Raw(stroke);
        bytes.Zeros(80);
        for (const std::string& pair : Pairs) bytes.Raw(pair);
        bytes.Zeros((199 - Pairs.size()) * 112);
        bytes.Raw(LegacyIntervalBytes(IntervalCount, 40)).Zeros(12);
        for (const std::string& interval : Intervals) bytes.Raw(interval);
        return bytes.Raw(Totals).Data;
    }
};

// --- Pelm text tables ---

// A numeric field padded with leading spaces to at least one space.
inline std::string Padded(long value, int width = 6)
{
    char text[32];
    std::snprintf(text, sizeof text, " %*ld", width - 1, value);
    return text;
}

// Rows hold more columns than the reader takes, as the recorder writes them:
// the reader skips the rest of a row after its last value.
inline std::string PelmStrokeRow(long number, long first = 200)
{
    std::string row = Padded(number);
    for (long i = 1; i <= 15; ++i) row += "\t" + Padded(first + i);
    return row + "\t" + Padded(0) + "\n";
}

inline std::string PelmStrokeTable(const std::vector<std::string>& rows)
{
    std::string text = "Stroke data\nrower\nNumber         \tPower         \tAverage\n";
    for (const std::string& row : rows) text += row;
    return text;
}

inline std::string PelmCurveRow(long number, const std::vector<int>& samples)
{
    std::string row = "Number" + Padded(number) + "\t";
    for (size_t k = 0; k < 80; ++k) row += "\t" + std::to_string(k < samples.size() ? samples[k] : 0);
    return row + "\t0\n";
}

inline std::string PelmCurveTable(const std::vector<std::string>& rows)
{
    std::string text = "Force curves\nrower\n";
    for (const std::string& row : rows) text += row;
    return text;
}

inline std::string PelmIntervalTable(const std::vector<std::array<long, 5>>& rows)
{
    std::string text = "Intervals\nrower\nPower   Rate    Time\n";
    for (const auto& row : rows) {
        for (long value : row) text += Padded(value) + "\t";
        text += Padded(0) + "\n";
    }
    return text;
}

// --- Device files ---

struct TDeviceHeaderImage {
    uint8_t Kind = 2;
    uint16_t Curves = 0, Strokes = 0, Intervals = 0;
    std::string Signature = "Ravo";
};

// Header, the 28-byte block, user details and session settings.
inline std::string DeviceStartBytes(const TDeviceHeaderImage& header, const std::string& settings,
                                    uint8_t sprocketByte = 10)
{
    TBytes bytes;
    bytes.Raw(header.Signature).Byte(0).Byte(header.Kind).Byte(11).Byte(12).Byte(13).Byte(14);
    bytes.Word(header.Curves).Word(header.Strokes).Word(header.Intervals).Zeros(28);
    bytes.Byte(3).Byte(sprocketByte).Byte(85).Byte(0);
    return bytes.Raw(settings).Data;
}

inline std::string DeviceSettingsBytes(uint8_t mode)
{
    TBytes bytes;
    bytes.Byte(mode).Byte(6).Byte(2).Byte(30).Word(5000).Word(300).Word(250).Zeros(2);
    bytes.Word(1000).Word(500).Word(40).Word(20).Word(30).Word(15);
    return bytes.Byte(2).Byte(1).Byte(30).Byte(5).Data;
}

struct TDeviceStrokeImage {
    uint16_t Number = 1;
    uint32_t DistanceMillimetres = 9500;
    uint16_t A = 123, B = 20, C = 7;
};

inline std::string DeviceStrokeBytes(const TDeviceStrokeImage& stroke)
{
    TBytes bytes;
    bytes.Long(2500000000u).Long(95000).Zeros(2).Word(4321).Word(2505).Word(150).Word(1055).Word(77);
    bytes.Byte(140).Byte(28).Byte(150).Byte(2).Zeros(2).Word(stroke.Number);
    bytes.Long(stroke.DistanceMillimetres).Long(123456).Long(61500).Word(2400);
    return bytes.Word(stroke.A).Word(stroke.B).Word(stroke.C).Data;
}

inline std::string DeviceCurveBytes(const std::vector<uint8_t>& start = {0, 100, 255})
{
    std::string bytes(start.begin(), start.end());
    bytes.resize(75, '\x40');
    return bytes + '\xFF'; // the unused 76th byte
}

inline std::string DeviceIntervalBytes(uint16_t tenthsOfSeconds, uint16_t tenthsOfWatts, uint16_t metres)
{
    return TBytes().Word(tenthsOfSeconds).Word(tenthsOfWatts).Word(metres).Zeros(2).Data;
}

inline std::string DeviceTotalsBytes()
{
    return TBytes().Long(2000500).Long(1234567).Long(480250).Zeros(2).Word(1987).Zeros(200).Data;
}
