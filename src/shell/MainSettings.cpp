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

namespace {

const char* const RecentSection = "Recent";
const char* const OptionsSection = "Options";
const char* const StatisticsSection = "Statistics";
const char* const PositionSection = "Position";

// A stored span of days written in either decimal separator; the default
// when the text is not a number.
double ReadDays(const TIniFile& ini, const char* key, double defaultValue)
{
    const std::string text = ini.ReadString(StatisticsSection, key, FloatToStr(defaultValue));
    try {
        return StrToFloatAnySep(text);
    } catch (const EConvertError&) {
        return defaultValue;
    }
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
        Counters.RunningTime = ReadDays(ini, "RunningTime", Counters.RunningTime);
        Counters.TimesStarted = ini.ReadInteger(StatisticsSection, "TimesStarted", 0);
        Counters.RowingTime = ReadDays(ini, "RowingTime", Counters.RowingTime);
        Counters.RowingSessions = ini.ReadInteger(StatisticsSection, "RowingSessions", 0);
        Counters.FilesOpened = ini.ReadInteger(StatisticsSection, "FilesOpened", 0);
        Counters.FilesSaved = ini.ReadInteger(StatisticsSection, "FilesSaved", 0);
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
