// What the readers of the older file kinds share: the header of an imported
// training, the fixed-layout legacy user, stroke, curve, interval and totals
// records with their conversions, and little-endian field access.
#pragma once

#include "untBinaryFile.h"
#include "untFiles.h"

#include <cstring>

// --- Little-endian fields of a record image ---

inline uint16_t WordAt(const unsigned char* record, size_t offset)
{
    return static_cast<uint16_t>(record[offset] | record[offset + 1] << 8);
}
inline int16_t SmallIntAt(const unsigned char* record, size_t offset)
{
    return static_cast<int16_t>(WordAt(record, offset));
}
inline uint32_t LongWordAt(const unsigned char* record, size_t offset)
{
    return WordAt(record, offset) | static_cast<uint32_t>(WordAt(record, offset + 2)) << 16;
}
inline float SingleAt(const unsigned char* record, size_t offset)
{
    const uint32_t bits = LongWordAt(record, offset);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
inline void PutWord(unsigned char* record, size_t offset, uint16_t value)
{
    record[offset] = static_cast<unsigned char>(value);
    record[offset + 1] = static_cast<unsigned char>(value >> 8);
}

// --- The header of an imported training ---

// A fresh header that records where the training came from: the file's name
// (without folder and extension) as the title, its path, size and
// modification time, and the format and content kind it was read as.
void ApplyLegacyHeader(TTraining& training, const std::string& path, uint8_t format, uint8_t kind);

// Reads one record of size bytes; false when it arrived short. A read error
// is answered with a message beep and counts as a short read.
bool ReadLegacyRecord(TBinaryFile& file, unsigned char* record, size_t size);

// --- Legacy records ---

const size_t LegacyUserSize = 106;
const size_t LegacyStrokeSize = 32;
const size_t LegacyCurveSize = 80;
const size_t LegacyIntervalSize = 12;
const size_t LegacyTotalsSize = 26;
const size_t StrokeFileSize = LegacyStrokeSize + LegacyCurveSize + LegacyUserSize;

// Rower's name and settings; the settings are zeroed first.
void ApplyLegacyUser(const unsigned char* record, TTraining& training);
TStroke LegacyStroke(const unsigned char* record);
// Force samples from bytes of 3.85 N each; a 0 right after a value above
// 750 N reads as 780 N.
TForceCurve LegacyCurve(const unsigned char* record);
TInterval LegacyInterval(const unsigned char* record);
TTotals LegacyTotals(const unsigned char* record);
// A training without a total distance takes its totals from its last stroke:
// distance, time, energy (in kJ) and average power.
void TotalsFromLastStroke(TTraining& training);

// The record images the conversions above read back (within the records'
// 16-bit and 8-bit resolution).
void PutLegacyUser(unsigned char* record, const TTraining& training);
void PutLegacyStroke(unsigned char* record, const TStroke& stroke);
void PutLegacyCurve(unsigned char* record, const TForceCurve& curve);

// --- Pelm tables ---

// The values a Pelm table leaves out, worked out after reading it: stroke
// lengths and peak forces of a force-curve table, the average stroke, and the
// distances per stroke and the totals of a stroke table.
void CompletePelmTraining(TTraining& training);
