#include "ReadChecks.h"
#include "untFiles.h"
#include "untMessages.h"

#include <cmath>
#include <iterator>

namespace {

// Largest counts a valid file can give: stroke and interval numbers are 16-bit.
const size_t MaxStrokeElements = 65536; // strokes 1..65535 and the average
const size_t MaxIntervals = 65535;
const size_t MaxExtraEntries = 65536;

// Whether a reader numbers strokes and curves 1..n by their position. Where
// it copies a number from the file (a training file's curves, the stroke of
// a stroke file, the device strokes) the number is the file's business.
struct TNumbering {
    const char* Extension;
    bool Strokes;
    bool Curves;
};

const TNumbering Numberings[] = {
    {".STG", true, false}, {".SES", true, true},  {".STR", false, true},
    {".INI", true, true},  {".PEL", true, true},  {".RVI", true, true},
    {".RVR", false, true}, {".RVS", false, true}, {".FIT", true, true},
    {".TCX", true, true},  {".CSV", true, true},
};

TNumbering NumberingOf(const std::string& path)
{
    const std::string extension = UpperCase(ExtractFileExt(path));
    for (const TNumbering& numbering : Numberings)
        if (extension == numbering.Extension) return numbering;
    return {"", false, false};
}

class TRecordingSink : public IMessageSink {
public:
    explicit TRecordingSink(std::vector<std::string>& errors) : Errors(errors), Previous(SetMessageSink(this)) {}
    ~TRecordingSink() override { SetMessageSink(Previous); }
    TRecordingSink(const TRecordingSink&) = delete;
    TRecordingSink& operator=(const TRecordingSink&) = delete;

    TMessageAnswer Show(TMessageKind kind, const std::string& text, TMessageButtons buttons) override
    {
        if (kind == TMessageKind::Error) Errors.push_back(text);
        return buttons == TMessageButtons::YesNo ? TMessageAnswer::No : TMessageAnswer::Ok;
    }
    void Beep(int, int) override {}
    void MessageBeep() override {}

private:
    std::vector<std::string>& Errors;
    IMessageSink* Previous;
};

std::string FaultOfProgress(const std::vector<double>& progress)
{
    if (progress.size() < 2 || progress.front() != 0.0 || progress.back() != -1.0)
        return "progress does not run from 0 to -1";
    for (size_t i = 0; i + 1 < progress.size(); ++i)
        if (!(progress[i] >= 0.0 && progress[i] <= 1.0))
            return "progress fraction " + std::to_string(progress[i]) + " outside 0..1";
    return "";
}

std::string FaultOfFailure(const std::string& path, const TReadResult& result)
{
    const TTraining& training = result.Training;
    if (training.Strokes.size() != 1 || training.Curves.size() != 1 || !training.Intervals.empty()
        || !IsEmptyTraining(training))
        return "a failed read left a record that is not empty";
    const std::string expected = "Error reading file \"" + path + "\"";
    if (result.Errors.empty() || result.Errors.back() != expected)
        return "a failed read did not end with \"" + expected + "\"";
    return "";
}

std::string FaultOfNumbering(const std::string& path, const TTraining& training)
{
    const TNumbering numbering = NumberingOf(path);
    for (size_t i = 1; i < training.Strokes.size(); ++i) {
        if (numbering.Strokes && training.Strokes[i].Number != i)
            return "stroke " + std::to_string(i) + " numbered " + std::to_string(+training.Strokes[i].Number);
        if (numbering.Curves && training.Curves[i].Number != i)
            return "curve " + std::to_string(i) + " numbered " + std::to_string(+training.Curves[i].Number);
    }
    return "";
}

std::string FaultOfSuccess(const std::string& path, const TReadResult& result)
{
    const TTraining& training = result.Training;
    if (!result.Errors.empty()) return "a successful read showed the error \"" + result.Errors.front() + "\"";
    if (training.Strokes.size() > MaxStrokeElements || training.Intervals.size() > MaxIntervals
        || training.ExtraEntries.size() > MaxExtraEntries)
        return "more strokes, intervals or extra entries than a valid file holds";
    for (size_t i = 1; i < training.Strokes.size(); ++i)
        if (training.Strokes[i].IntervalCountdown > 64000)
            return "stroke " + std::to_string(i) + " kept a countdown above 64000";
    return FaultOfNumbering(path, training);
}

bool SameTexts(const ParameterType& a, const ParameterType& b)
{
    return a.Column == b.Column && a.Flag == b.Flag && a.Unit == b.Unit && a.ShortName == b.ShortName
           && a.LongName == b.LongName && a.Format == b.Format;
}

bool SameRange(const ParameterType& a, const ParameterType& b)
{
    return a.ScaleMode == b.ScaleMode && a.Minimum == b.Minimum && a.Maximum == b.Maximum && a.Step == b.Step;
}

} // namespace

void ReadThroughDispatcher(const std::string& path, TReadResult& result)
{
    const TRecordingSink sink(result.Errors);
    result.Ok = OpenTrainingFile(path, result.Training, true,
                                 [&result](double fraction) { result.Progress.push_back(fraction); });
}

std::string FaultOfRead(const std::string& path, const TReadResult& result)
{
    const TTraining& training = result.Training;
    if (training.Strokes.empty() || training.Strokes.size() != training.Curves.size())
        return "strokes and curves out of step";
    std::string fault = FaultOfProgress(result.Progress);
    if (fault.empty()) fault = result.Ok ? FaultOfSuccess(path, result) : FaultOfFailure(path, result);
    return fault;
}

std::string FaultOfLoadedParameters(const TParameters& builtIn, const TParameters& loaded, int count,
                                    const std::string& message)
{
    if (loaded.size() != builtIn.size()) return "the catalogue changed its size";
    for (size_t i = 0; i < loaded.size(); ++i) {
        const ParameterType& entry = loaded[i];
        const std::string name = "entry " + std::to_string(i);
        if (!SameTexts(entry, builtIn[i])) return name + " changed more than its display range";
        if (static_cast<int>(i) >= count && !SameRange(entry, builtIn[i])) return name + " is not stored but changed";
        if (entry.ScaleMode >= std::size(ScaleModeNames)) return name + " has no valid display-range mode";
        if (!std::isfinite(entry.Minimum) || !std::isfinite(entry.Maximum) || !std::isfinite(entry.Step))
            return name + " has a bound that is not a number";
    }
    if (!message.empty() && message.find("is not a valid") == std::string::npos)
        return "an unexpected answer: " + message;
    return "";
}
