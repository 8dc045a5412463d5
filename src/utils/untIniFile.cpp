#include "untIniFile.h"
#include "jsUtils.h"

#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <fstream>
#include <iterator>

namespace {

enum class TReadOutcome { Read, Missing, Failed };

TReadOutcome ReadWholeFile(const std::string& path, std::string& text)
{
    if (path.empty() || !FileExists(path)) return TReadOutcome::Missing;
    std::ifstream in(path, std::ios::binary);
    if (!in) return TReadOutcome::Failed;
    text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return in.bad() ? TReadOutcome::Failed : TReadOutcome::Read;
}

std::vector<std::string> SplitLines(const std::string& text)
{
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

} // namespace

struct TIniFile::TImpl {
    // Case-insensitive names, single keys, no multi-line values.
    CSimpleIniA Ini{false, false, false};

    template <typename TNames>
    static std::vector<std::string> InFileOrder(TNames names)
    {
        names.sort(typename CSimpleIniA::Entry::LoadOrder());
        std::vector<std::string> result;
        for (const auto& name : names) result.emplace_back(name.pItem);
        return result;
    }
};

TIniFile::TIniFile(std::string fileName)
    : Name(std::move(fileName)), Impl(std::make_unique<TImpl>())
{
    Impl->Ini.SetSpaces(false);
    std::string text;
    const TReadOutcome outcome = ReadWholeFile(Name, text);
    ReadFailed = outcome == TReadOutcome::Failed
                 || (outcome == TReadOutcome::Read && Impl->Ini.LoadData(text) < 0);
}

TIniFile::~TIniFile() = default;

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
                                 const std::string& defaultValue) const
{
    const char* value = Impl->Ini.GetValue(section.c_str(), key.c_str(), nullptr);
    return value ? value : defaultValue;
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue) const
{
    const std::string text = ReadString(section, key, "");
    try {
        return text.empty() ? defaultValue : StrToInt(text);
    } catch (const EConvertError&) {
        return defaultValue;
    }
}

int TIniFile::ReadInteger(const std::string& section, const std::string& key, int defaultValue, int low,
                          int high) const
{
    const int value = ReadInteger(section, key, defaultValue);
    return value >= low && value <= high ? value : defaultValue;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const
{
    return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

double TIniFile::ReadFloat(const std::string& section, const std::string& key, double defaultValue) const
{
    const std::string text = ReadString(section, key, "");
    try {
        return text.empty() ? defaultValue : StrToFloatAnySep(text);
    } catch (const EConvertError&) {
        return defaultValue;
    }
}

double TIniFile::ReadFloat(const std::string& section, const std::string& key, double defaultValue, double low,
                          double high) const
{
    const double value = ReadFloat(section, key, defaultValue);
    return value >= low && value <= high ? value : defaultValue;
}

bool TIniFile::SectionExists(const std::string& section) const
{
    return Impl->Ini.GetSection(section.c_str()) != nullptr;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const
{
    return Impl->Ini.GetValue(section.c_str(), key.c_str(), nullptr) != nullptr;
}

std::vector<std::string> TIniFile::ReadSections() const
{
    CSimpleIniA::TNamesDepend sections;
    Impl->Ini.GetAllSections(sections);
    return TImpl::InFileOrder(sections);
}

std::vector<std::string> TIniFile::ReadSection(const std::string& section) const
{
    CSimpleIniA::TNamesDepend keys;
    Impl->Ini.GetAllKeys(section.c_str(), keys);
    return TImpl::InFileOrder(keys);
}

std::vector<std::pair<std::string, std::string>> TIniFile::ReadSectionValues(const std::string& section) const
{
    std::vector<std::pair<std::string, std::string>> values;
    for (const std::string& key : ReadSection(section))
        values.emplace_back(key, ReadString(section, key, ""));
    return values;
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    Impl->Ini.SetValue(section.c_str(), key.c_str(), value.c_str());
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int value)
{
    WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::WriteFloat(const std::string& section, const std::string& key, double value)
{
    WriteString(section, key, FloatToStr(value));
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key)
{
    Impl->Ini.Delete(section.c_str(), key.c_str());
}

void TIniFile::EraseSection(const std::string& section)
{
    Impl->Ini.Delete(section.c_str(), nullptr);
}

bool TIniFile::UpdateFile()
{
    if (ReadFailed || Name.empty() || !IsFileWritable(Name)) return false;
    std::string text;
    if (Impl->Ini.Save(text) < 0) return false;
    return WriteFileAtomically(Name, text);
}

std::string TidyIniText(const std::string& text)
{
    std::vector<std::string> lines = SplitLines(text);
    // The walk below never looks at the first line, so empty lines at the top
    // would survive it (and one before a header on the second line would
    // double); drop them first.
    size_t leading = 0;
    while (leading < lines.size() && lines[leading].empty()) ++leading;
    lines.erase(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(leading));

    for (size_t i = lines.size(); i-- > 1;) {
        if (lines[i].empty())
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
        else if (lines[i][0] == '[')
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(i), std::string());
    }
    std::string tidy;
    for (const std::string& line : lines) tidy += line + "\n";
    return tidy;
}

bool TidyIniFile(const std::string& fileName)
{
    std::string text;
    if (fileName.empty() || ReadWholeFile(fileName, text) != TReadOutcome::Read
        || !IsFileWritable(fileName))
        return false;
    return WriteFileAtomically(fileName, TidyIniText(text));
}
