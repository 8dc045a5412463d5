// The one entry point from a path to a filled training, and the file services
// around it: extension lookup, error messages, dialog filters, saving, names.
#include "untFiles.h"
#include "untMessages.h"

#include <cstdio>

namespace {

using TReader = bool (*)(const std::string& path, TTraining& training, const TProgress& progress);

bool ReadStg(const std::string& path, TTraining& training, const TProgress&)
{
    return ReadTrainingFile(path, training);
}

template <bool (*Read)(const std::string&, TTraining&)>
bool WithoutProgress(const std::string& path, TTraining& training, const TProgress&)
{
    return Read(path, training);
}

struct TReaderEntry {
    const char* Extension;
    TReader Reader;
};

// Compared in this order with the upper-cased extension.
const TReaderEntry Readers[] = {
    {".PEL", ReadPelmFile},
    {".SES", ReadSessionFile},
    {".STR", WithoutProgress<ReadStrokeFile>},
    {".STG", ReadStg},
    {".INI", WithoutProgress<ReadUserFile>},
    {".RVI", WithoutProgress<ReadRavoUserFile>},
    {".RVS", WithoutProgress<ReadRavoSessionFile>},
    {".RVR", WithoutProgress<ReadRavoStrokeFile>},
    {".FIT", ReadFitFile},
    {".TCX", WithoutProgress<ReadTcxFile>},
    {".CSV", ReadRowingCsvFile},
};

TReader ReaderFor(const std::string& path)
{
    const std::string extension = UpperCase(ExtractFileExt(path));
    for (const TReaderEntry& entry : Readers)
        if (extension == entry.Extension) return entry.Reader;
    return nullptr;
}

void ClearTraining(TTraining& training)
{
    training = TTraining{};
    SetStrokeCount(training, 0);
    SetIntervalCount(training, 0);
}

// Turns a training into the bytes of one file kind in one format.
using TWriter = std::optional<std::string> (*)(const TTraining& training);

struct TWriterEntry {
    int Kind;
    uint8_t Format;
    TWriter Writer;
};

const TWriterEntry Writers[] = {
    {fkTraining, ffSTG, TrainingFileBytes},
    {fkStroke, ffSTR, StrokeFileBytes},
};

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

} // namespace

bool OpenTrainingFile(const std::string& path, TTraining& training, bool showErrors,
                      const TProgress& progress)
{
    ReportProgress(progress, 0.0);
    ClearTraining(training);
    if (!FileExists(path)) {
        if (showErrors) ShowErrorMessage("File " + Quoted(path) + " not found");
        return false;
    }
    bool ok = false;
    if (const TReader reader = ReaderFor(path)) {
        try {
            ok = reader(path, training, progress);
        } catch (const std::exception& error) {
            // A failure no reader expects still leaves a clean, empty record.
            if (showErrors) ShowErrorMessage(error.what());
            ok = false;
        }
    }
    ReportProgress(progress, 1.0);
    if (!ok) {
        ClearTraining(training);
        if (showErrors) ShowErrorMessage("Error reading file " + Quoted(path));
    }
    for (size_t i = 1; i < training.Strokes.size(); ++i)
        if (training.Strokes[i].IntervalCountdown > 64000) training.Strokes[i].IntervalCountdown = 0;
    ReportProgress(progress, -1.0);
    return ok;
}

uint8_t FormatOfExtension(const std::string& path)
{
    std::string extension = UpperCase(ExtractFileExt(path));
    if (!extension.empty()) extension = extension.substr(1, 6);
    for (int index = FileFormatCount - 1; index >= 0; --index)
        if (extension == FileFormatName(index)) return static_cast<uint8_t>(index);
    return 0;
}

std::string IOErrorExplanation(int code)
{
    switch (code) {
    case 2: return "\rThe system cannot find the file specified.\rPlease check the filename.";
    case 3: return "\rThe system cannot find the path specified.\rPlease check the pathname.";
    case 4:
        return "\rThe system cannot open the file because too\rmany files are already open. "
               "Please close some files before re-trying.";
    case 5: return "\rThe drive/folder might be not accessible\ror the drive/folder/file is write-protected.";
    case 15: return "\rThe system cannot find the drive specified.\rPlease check the drive.";
    case 19: return "\rThe media is write-protected.";
    case 123: return "\rThe path- or filename syntax is incorrect.\rPlease check the path and filename.";
    default: return "";
    }
}

void ShowIOError(const std::string& path, const std::string& message, int code)
{
    ShowErrorMessage("Error reading/writing file " + Quoted(path) + ".\rError message : " + message
                     + " (" + std::to_string(code) + ") " + IOErrorExplanation(code));
}

TFileFilter BuildFileFilter(uint16_t mask, bool withCompatible, bool withAll, bool withPatterns)
{
    struct TFilterEntry {
        int Bit;
        const char* Caption;
        const char* Pattern;
    };
    static const TFilterEntry Entries[] = {
        {ffPEL, "Pelm files (*.pel)", "*.pel"},
        {ffSES, "Session files (*.ses)", "*.ses"},
        {ffSTG, "Training files (*.stg)", "*.stg"},
        {ffSTR, "Stroke files (*.str)", "*.str"},
        {ffINI, "User files (*.ini)", "*.ini"},
        {ffRVS, "Ravo Session files (*.rvs)", "*.rvs"},
        {ffRVR, "Ravo Stroke files (*.rvr)", "*.rvr"},
        {ffRVI, "Ravo User files (*.rvi)", "*.rvi"},
        {ffFIT, "FIT activity files (*.fit)", "*.fit"},
        {ffTCX, "TCX files (*.tcx)", "*.tcx"},
        {ffCSV, "Rowing data CSV files (*.csv)", "*.csv"},
    };
    TFileFilter result;
    std::string listed, joined;
    for (const TFilterEntry& entry : Entries) {
        if (!(mask & (1u << entry.Bit))) continue;
        result.Filter += std::string(entry.Caption) + "|";
        if (withPatterns) result.Filter += std::string(entry.Pattern) + "|";
        listed += (listed.empty() ? "" : ", ") + std::string(entry.Pattern);
        joined += (joined.empty() ? "" : ";") + std::string(entry.Pattern);
        ++result.Count;
    }
    if (withCompatible) {
        result.Filter += ProductName() + " compatible files (" + listed + ")|";
        if (withPatterns) result.Filter += joined + "|";
        ++result.Count;
    }
    if (withAll) {
        result.Filter += "All files (*.*)";
        if (withPatterns) result.Filter += "|*.*";
    } else if (!result.Filter.empty()) {
        result.Filter.pop_back();
    }
    return result;
}

bool SaveTrainingFile(const std::string& path, const TTraining& training, int kind)
{
    if (!ForceFolder(ExtractFilePath(path))) return false;
    const uint8_t format = FormatOfExtension(path);
    for (const TWriterEntry& entry : Writers) {
        if (entry.Kind != kind || entry.Format != format) continue;
        const std::optional<std::string> bytes = entry.Writer(training);
        return bytes && WriteFileAtomically(path, *bytes);
    }
    return false;
}

std::string TrainingFileName(const TTraining& training)
{
    const std::string fileName = training.Header.FileName.Text();
    if (fileName == "?") return "";
    return AnsiToUtf8(fileName.empty() ? training.Header.OrigFileName.Text() : fileName);
}

std::string DropFirstFolder(const std::string& path)
{
    if (path.size() == 1 && IsPathDelimiter(path[0])) return "";
    std::string s = path;
    const bool rooted = !s.empty() && IsPathDelimiter(s[0]);
    const char root = rooted ? s[0] : '\0';
    if (rooted) s.erase(0, 1);
    if (!s.empty() && s[0] == '.') s.erase(0, 4);
    const size_t at = s.find_first_of("\\/");
    if (at != std::string::npos)
        s = std::string("...") + s[at] + s.substr(at + 1);
    else
        s.clear();
    return rooted ? root + s : s;
}

std::string ShortenPath(const std::string& path, const std::function<int(const std::string&)>& textWidth,
                        int maxWidth)
{
    std::string result = path;
    std::string dir = ExtractFilePath(path);
    const std::string name = ExtractFileName(path);
    std::string drive;
    if (dir.size() >= 2 && dir[1] == ':') {
        drive = dir.substr(0, 2);
        dir.erase(0, 2);
    }
    while ((!dir.empty() || !drive.empty()) && textWidth(result) > maxWidth) {
        if (dir.size() == 5 && IsPathDelimiter(dir[0]) && dir.compare(1, 3, "...") == 0
            && IsPathDelimiter(dir[4])) {
            drive.clear();
            dir = dir.substr(1);
        } else if (!dir.empty()) {
            dir = DropFirstFolder(dir);
        } else {
            drive.clear();
        }
        result = drive + dir + name;
    }
    return result;
}
