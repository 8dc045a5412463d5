// Stroke files: one stroke record, its force curve and the rower's settings.
#include "LegacyRecords.h"

namespace {

bool ReadStroke(TBinaryFile& file, TTraining& training)
{
    SetStrokeCount(training, 1);
    unsigned char stroke[LegacyStrokeSize];
    unsigned char curve[LegacyCurveSize];
    unsigned char user[LegacyUserSize];
    if (!ReadLegacyRecord(file, stroke, sizeof stroke)) return false;
    training.Strokes[1] = LegacyStroke(stroke);
    if (!ReadLegacyRecord(file, curve, sizeof curve)) return false;
    training.Curves[1] = LegacyCurve(curve);
    training.Curves[1].Number = 1;
    training.Curves[1].Valid = 1;
    if (!ReadLegacyRecord(file, user, sizeof user)) return false;
    ApplyLegacyUser(user, training);
    ComputePeakForce(training.Strokes[1], training.Curves[1], training.Settings.Sprocket);
    // The one stroke is its own average.
    training.Strokes[0] = training.Strokes[1];
    training.Curves[0] = training.Curves[1];
    return true;
}

} // namespace

bool ReadStrokeFile(const std::string& path, TTraining& training)
{
    try {
        TBinaryFile file(path);
        ApplyLegacyHeader(training, path, ffSTR, fkStroke);
        return file.Size() == static_cast<int64_t>(StrokeFileSize) && ReadStroke(file, training);
    } catch (const EInOutError& error) {
        ShowIOError(path, error.what(), error.Code);
        return false;
    }
}
