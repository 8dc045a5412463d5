// The main window's settings: recent files, the last folder, the usage
// statistics, the window position and the stroke values' display ranges.
#include "untMain.h"


#include "jsUtils.h"
#include "untCharts.h"
#include "untDataFiles.h"
#include "untDateTime.h"
#include "untFileNames.h"
#include "untFormUtils.h"
#include "untIniFile.h"

#include <limits>

namespace {

const char* const RecentSection = "Recent";
const char* const OptionsSection = "Options";
const char* const StatisticsSection = "Statistics";
const char* const PositionSection = "Position";

// A stored span of days, written in either decimal separator. No one uses the
// program for more than a century: a span that is negative, not a number or
// longer counts as 0, so that no time shown or saved can overflow.
double ReadDays(const TIniFile& ini, const char* key)
{
    const double LongestSpan = 36525;
    return ini.ReadFloat(StatisticsSection, key, 0, 0, LongestSpan);
}

// A stored count; a negative one counts as 0.
int ReadCount(const TIniFile& ini, const char* key)
{
    return ini.ReadInteger(StatisticsSection, key, 0, 0, std::numeric_limits<int>::max());
}

} // namespace

void TfrmMain::LoadSettings()
{
    FLastDir = QString::fromStdString(UserDataFolder());
    Counters = TStatistics{};
    TFormBounds bounds;
    std::vector<std::pair<std::string, std::string>> recent;
    const std::string file = SettingsFileName(false);
    {
        const TIniFile ini(file);
        recent = ini.ReadSectionValues(RecentSection);
        FLastDir = FileNameFromBytes(ini.ReadString(OptionsSection, "LastDir", FileNameBytes(FLastDir)));
        DataRange = ini.ReadInteger("Row", "DataRange", 65535);
        Counters.RunningTime = ReadDays(ini, "RunningTime");
        Counters.TimesStarted = ReadCount(ini, "TimesStarted");
        Counters.RowingTime = ReadDays(ini, "RowingTime");
        Counters.RowingSessions = ReadCount(ini, "RowingSessions");
        Counters.FilesOpened = ReadCount(ini, "FilesOpened");
        Counters.FilesSaved = ReadCount(ini, "FilesSaved");
        bounds = ReadFormBounds(ini, PositionSection, bounds);
    }
    InitStrokeParameters();
    InitIntervalParameters();
    InitTotalParameters();
    InitSplitParameters();
    LoadParameterSettings(file, StrokeDataSection, StrokeParameters, StoredStrokeParameterCount);
    Recent.clear();
    for (const auto& entry : recent)
        if (!entry.second.empty() && Recent.size() < MaxRecentFiles) Recent << FileNameFromBytes(entry.second);
    SetFormBounds(this, bounds);
}

void TfrmMain::SaveSettings()
{
    const TFormBounds bounds = GetFormBounds(this);
    const std::string file = SettingsFileName(true);
    if (file.empty() || !IsFileWritable(file)) return;
    {
        TIniFile ini(file);
        // Cleared first, so that entries removed from the list stay removed.
        ini.EraseSection(RecentSection);
        for (int i = 0; i < Recent.size(); ++i)
            ini.WriteString(RecentSection, std::to_string(i + 1), FileNameBytes(Recent[i]));
        ini.WriteString(OptionsSection, "LastDir", FileNameBytes(FLastDir));
        const TDateTime now = Now();
        if (StartTime > 0 && now > StartTime)
            ini.WriteFloat(StatisticsSection, "RunningTime", now + Counters.RunningTime - StartTime);
        ini.WriteInteger(StatisticsSection, "TimesStarted", Counters.TimesStarted);
        ini.WriteFloat(StatisticsSection, "RowingTime", Counters.RowingTime);
        ini.WriteInteger(StatisticsSection, "RowingSessions", Counters.RowingSessions);
        ini.WriteInteger(StatisticsSection, "FilesOpened", Counters.FilesOpened);
        ini.WriteInteger(StatisticsSection, "FilesSaved", Counters.FilesSaved);
        WriteFormBounds(ini, PositionSection, bounds);
        ini.UpdateFile();
    }
    SaveParameterSettings(file, StrokeDataSection, StrokeParameters, StoredStrokeParameterCount);
    TidyIniFile(file);
}

void TfrmMain::MoveDataFiles()
{
    const std::string program = ExtractFileName(ProgramFileName());
    MoveToUserDataFolder({ChangeFileExt(program, ".STG"), "default.STG", "default.str", ChangeFileExt(program, ".ini")});
}
