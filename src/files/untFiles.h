// Training files: the operations on a training record, the readers and
// writers of every file kind, the dispatcher that picks one by extension, and
// the small file services the windows share.
#pragma once

#include "untTypes.h"

#include <functional>
#include <optional>
#include <string>

// Receives a fraction of the work done: 0.0 before reading, 1.0 after, -1.0 at
// the very end, and file position / size in between for the long readers.
using TProgress = std::function<void(double)>;
void ReportProgress(const TProgress& progress, double fraction);

// --- Operations on a training ---

void NewTraining(TTraining& training);
void NewHeader(THeader& header);
void NewSettings(TUserSettings& settings);
TColor NextColor();
void ResetColorCounter(); // tests
bool IsEmptyTraining(const TTraining& training);
bool IsUserTraining(const TTraining& training);

struct TResetAnswer {
    bool Proceed = false;
    bool WasReset = false;
};
// Asks (Yes/No) before a non-empty training is reset for reason 0..2.
TResetAnswer ConfirmReset(TTraining& training, int reason);

// Resizes Strokes and Curves in step: -1 trims trailing strokes whose Time is
// 0, 0 leaves one zeroed average, n > 0 gives strokes 0..n; each added stroke
// and curve is zeroed and numbered, even when one array was longer.
void SetStrokeCount(TTraining& training, int n);
// 0 empties Intervals; n > 0 grows them to n (never shrinks).
void SetIntervalCount(TTraining& training, int n);

double CurveSpacing(const TUserSettings& settings);
// Spacing of the force samples (cm) for a sprocket alone.
double SprocketSpacing(int sprocket);
double EstimateStrokeLength(const TForceCurve& curve, int sprocket);
void ComputePeakForce(TStroke& stroke, const TForceCurve& curve, int sprocket);
// How many of a curve's samples lie within the drive: those within the
// stroke's length at the given spacing, or, where the length is unknown, up to
// the last that is not 0. 0 for a curve without force.
int DriveSampleCount(const TStroke& stroke, const TSamples& samples, double spacing);
// Stretches a curve along its positions by factor: target sample i takes the
// value at source position i * factor, between samples on the line between
// them, then flat steps are smoothed.
TResampled ResampleCurve(const TSamples& source, double factor);
// The same for a curve of count samples (none: all 0).
TResampled ResampleCurve(const double* source, int count, double factor);
void ComputeAverageStroke(TTraining& training);
// The average stroke and curve of the given strokes that have a valid curve,
// made as the training's average is.
void ComputeAverageOf(const TTraining& training, const std::vector<size_t>& strokes, TStroke& average,
                      TForceCurve& averageCurve);
// A stroke's curve as the average takes it: resampled by the average length
// over its own (estimated from the curve when below 0, 1 when unknown).
void ResampleForAverage(const TStroke& stroke, const TForceCurve& curve, float averageLength, int sprocket,
                        double (&values)[CurveSamples]);
void ComputeDistancePerStroke(std::vector<TStroke>& strokes, int high);

// Joins the header fields chosen by the bits of fields (1 date, 2 time,
// 4 Title, 8 Name, 16 Description, 32 TrainingType, 64 Event, 128 Note).
std::string DescribeTraining(const THeader& header, int fields, bool multiline);

// Display helpers; texts are UTF-8.
std::string FileNameOrDash(const std::string& path);
std::string DateTimeText(TDateTime dt);
std::string SizeText(const std::string& path, int64_t size);
std::string FileTypeText(int kind, int format);

// --- Editing in the training window (nothing is written back to a file) ---

// Stores a UTF-8 text in the code page of the record, cut to 255 characters;
// true when it differs, case-sensitively, from what the field held.
bool AssignText(TText255& field, const std::string& utf8);
// Seconds of the time of day written "h:nn" or "h:nn:ss" (with the locale's
// separators), rounded; 0 for a text that is no valid time.
int SecondsFromTimeText(const std::string& text);
// "h:nn:ss" of a number of seconds.
std::string TimeTextOfSeconds(int seconds);

// The tags of the user-settings edits: the weight, the value of the session
// limit's kind, the work and rest values of the interval kind, the start,
// step and rest values.
enum TUserEdit { ueWeight = 2, ueLimitValue, ueWorkPeriod, ueRestPeriod, ueStartValue, ueStepValue, ueRestValue };
// The tags of the user-settings choice lists; the item index is the stored value.
enum TUserCombo { ucGender = 1, ucBoat, ucSprocket, ucErgometer, ucSessionLimit, ucIntervalBy, ucDisplay };
// The text an edit shows (times as "h:nn:ss"); nothing when the limit or
// interval kind has no such value, so the edit keeps its text.
std::optional<std::string> UserEditText(const TUserSettings& settings, int tag);
// Stores an edit's text; true when a field changed. Limits, periods and values
// are clamped to 0..65535; a work or rest value also becomes the period. A
// text that is no integer throws EConvertError and stores nothing; a time
// that is no valid time stores 0.
bool StoreUserEditText(TUserSettings& settings, int tag, const std::string& text);
int UserComboIndex(const TUserSettings& settings, int tag);
// True when the index is a new value of the list's field.
bool StoreUserComboIndex(TUserSettings& settings, int tag, int index);

// --- Reading ---

bool OpenTrainingFile(const std::string& path, TTraining& training, bool showErrors,
                      const TProgress& progress = nullptr);
bool ReadTrainingFile(const std::string& path, TTraining& training);
// ReadTrainingFile without the after-load computations.
bool DecodeTrainingFile(const std::string& path, TTraining& training);
bool ReadSessionFile(const std::string& path, TTraining& training, const TProgress& progress = nullptr);
bool ReadStrokeFile(const std::string& path, TTraining& training);
// A FIT activity: records as strokes, laps as intervals, the rowing developer
// fields and force curves where the file has them.
bool ReadFitFile(const std::string& path, TTraining& training, const TProgress& progress = nullptr);
// Training Center XML: the first activity's trackpoints as strokes (a row per
// sample where they are samples a second apart), its laps as intervals.
bool ReadTcxFile(const std::string& path, TTraining& training);
// The open rowing tools' rowing-data CSV: a stroke per row, columns found by
// name, the handle-force list as the stroke's curve, lapIdx as laps.
bool ReadRowingCsvFile(const std::string& path, TTraining& training, const TProgress& progress = nullptr);
bool ReadUserFile(const std::string& path, TTraining& training);
bool ReadPelmFile(const std::string& path, TTraining& training, const TProgress& progress = nullptr);
// ReadPelmFile without the after-load computations: stroke lengths and peak
// forces of force-curve tables, the average stroke, distances per stroke.
bool DecodePelmFile(const std::string& path, TTraining& training, const TProgress& progress = nullptr);
bool ReadRavoUserFile(const std::string& path, TTraining& training);
bool ReadRavoStrokeFile(const std::string& path, TTraining& training);
bool ReadRavoSessionFile(const std::string& path, TTraining& training);
// ReadRavoSessionFile without the after-load peak forces.
bool DecodeRavoSessionFile(const std::string& path, TTraining& training);

// The file-format index of the path's extension; 0 when unknown.
uint8_t FormatOfExtension(const std::string& path);
void ShowIOError(const std::string& path, const std::string& message, int code);
// The explanation ShowIOError adds for an error code ("" for most).
std::string IOErrorExplanation(int code);

struct TFileFilter {
    std::string Filter;
    int Count = 0;
};
// The filter lists the formats whose bits (1 << format) are set in mask, in a
// fixed order; formats without an entry of their own (SED) add nothing.
TFileFilter BuildFileFilter(uint16_t mask, bool withCompatible, bool withAll, bool withPatterns);
// The formats the Open command's dialog lists.
const uint16_t OpenDialogFormats = 1 << ffPEL | 1 << ffINI | 1 << ffSED | 1 << ffSES | 1 << ffSTG
                                   | 1 << ffSTR | 1 << ffRVI | 1 << ffRVS | 1 << ffRVR | 1 << ffFIT | 1 << ffTCX
                                   | 1 << ffCSV;

// --- Writing ---

// Writes training to path as content kind `kind` in the format of the path's
// extension, creating its folder first. An existing file is replaced only by a
// completed write. False when the folder cannot be made, no writer exists for
// the kind and format, or the write fails.
bool SaveTrainingFile(const std::string& path, const TTraining& training, int kind);
// The tags of the training file's blocks. The header, the settings and the
// totals are one record each; the other blocks hold a count of records.
enum TTrainingBlock : uint8_t {
    tbHeader = 1, tbSettings, tbStrokes, tbCurves, tbIntervals, tbTotals, tbExtraEntries
};
// The training file's bytes: signature, version (the training's, else this
// program's), and the blocks tbHeader to tbExtraEntries in that order;
// nothing for more strokes than a file holds.
std::optional<std::string> TrainingFileBytes(const TTraining& training);
// The 218-byte stroke file of stroke 1 with its curve and the rower's name
// and settings; nothing for a training without stroke 1.
std::optional<std::string> StrokeFileBytes(const TTraining& training);

// --- Names ---

std::string TrainingFileName(const TTraining& training);
// Shortens path until textWidth(result) <= maxWidth, dropping leading folders.
std::string ShortenPath(const std::string& path, const std::function<int(const std::string&)>& textWidth,
                        int maxWidth);
std::string DropFirstFolder(const std::string& path);
