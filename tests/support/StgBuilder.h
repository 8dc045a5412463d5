// Builds training files block by block, including damaged ones, for the
// reader's tests, the fuzz seeds and the benchmarks.
#pragma once

#include "untTypes.h"

#include <cstring>
#include <string>

class TStgBuilder {
public:
    explicit TStgBuilder(uint32_t version = 0x01000000, const char* magic = "MIL ")
    {
        Bytes.append(magic, 4);
        Raw(&version, 4);
    }

    TStgBuilder& Raw(const void* data, size_t count)
    {
        Bytes.append(static_cast<const char*>(data), count);
        return *this;
    }
    TStgBuilder& Block(uint8_t tag, uint16_t size, int32_t count)
    {
        Bytes += static_cast<char>(tag);
        Raw(&size, 2);
        return Raw(&count, 4);
    }
    template <typename T>
    TStgBuilder& Record(const T& record, size_t size = sizeof(T))
    {
        std::string image(reinterpret_cast<const char*>(&record), sizeof(T));
        image.resize(size, '\0');
        Bytes += image;
        return *this;
    }
    TStgBuilder& Truncate(size_t length)
    {
        Bytes.resize(length);
        return *this;
    }

    std::string Bytes;
};

inline TStroke MakeStroke(uint16_t number, float time = 1.0f)
{
    TStroke stroke{};
    stroke.Number = number;
    stroke.Time = time;
    stroke.Power = 100.0f + number;
    stroke.StrokeLength = 140.0f;
    stroke.EnergyPerStroke = 400.0f;
    stroke.Distance = 8.0f * number;
    return stroke;
}

// A curve that rises from 0 to peak at sample peakAt and falls back.
inline TForceCurve MakeCurve(uint16_t number, int peak = 600, int peakAt = 30, int end = 70)
{
    TForceCurve curve{};
    curve.Number = number;
    curve.Valid = 1;
    for (int k = 1; k <= CurveSamples; ++k) {
        int v = 0;
        if (k <= peakAt) v = peak * k / peakAt;
        else if (k <= end) v = peak * (end - k) / (end - peakAt);
        curve.Samples[k - 1] = static_cast<uint16_t>(v);
    }
    return curve;
}
