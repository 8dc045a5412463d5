// What the export writers share besides untExport.h: the summary of a lap,
// the speed and drive force of a stroke, and numbers as text that reads the
// same in every locale.
#pragma once

#include "untExport.h"

#include <string>
#include <vector>

// The figures of a lap, or of the whole session, from its strokes.
struct TLapSummary {
    double Seconds = 0;
    double Distance = 0;
    size_t Strokes = 0;
    double AveragePower = 0, MaxPower = 0;
    double AverageRate = 0, MaxRate = 0;
    double AveragePulse = 0, MaxPulse = 0; // 0 without any heart rate
    double MaxSpeed = 0;
    double AverageSpeed() const { return Seconds > 0 ? Distance / Seconds : 0; }
};

// A number that is finite and above 0, else 0.
double Positive(double value);
// The distance at the end of a stroke, as an export writes it: never below 0,
// and that of the stroke before where it is no number.
std::vector<double> StrokeDistances(const TTraining& training);
TLapSummary SummariseLap(const TTraining& training, const TExportLap& lap, const std::vector<double>& distances);
// The session as the sum of its laps.
TLapSummary SummariseSession(const std::vector<TLapSummary>& laps);
// Whether any stroke has a heart rate.
bool HasHeartRate(const TTraining& training);
// m/s from the stroke's 500 m time; 0 without one.
double StrokeSpeed(const TStroke& stroke);
// The recover time in seconds.
double RecoverSeconds(const TStroke& stroke);
// How many of a valid curve's samples make its drive: those within the
// stroke's length, or up to the last that is not 0 where the length is
// unknown; 0 for a curve that is not valid.
int DriveSamples(const TTraining& training, size_t index);
// The mean force over the drive's samples; 0 for a curve that is not valid.
double AverageDriveForce(const TTraining& training, size_t index);

// The value with a dot and the given decimals ("12.5" for 12.5 and 1).
std::string FixedText(double value, int decimals);
