// Writes stroke 1 of a training, its force curve and the rower's settings as
// a stroke file.
#include "LegacyRecords.h"

std::optional<std::string> StrokeFileBytes(const TTraining& training)
{
    if (training.Strokes.size() < 2 || training.Curves.size() < 2) return std::nullopt;
    unsigned char bytes[StrokeFileSize] = {};
    PutLegacyStroke(bytes, training.Strokes[1]);
    PutLegacyCurve(bytes + LegacyStrokeSize, training.Curves[1]);
    PutLegacyUser(bytes + LegacyStrokeSize + LegacyCurveSize, training);
    return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}
