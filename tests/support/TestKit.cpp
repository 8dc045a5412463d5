#include "TestKit.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

TMessageRecorder::TMessageRecorder() : Previous(SetMessageSink(this)) {}

TMessageRecorder::~TMessageRecorder() { SetMessageSink(Previous); }

TMessageAnswer TMessageRecorder::Show(TMessageKind kind, const std::string& text, TMessageButtons buttons)
{
    Messages.push_back({kind, text});
    if (!Answers.empty()) {
        const TMessageAnswer answer = Answers.front();
        Answers.erase(Answers.begin());
        return answer;
    }
    return buttons == TMessageButtons::YesNo ? TMessageAnswer::Yes : TMessageAnswer::Ok;
}

void TMessageRecorder::Beep(int frequency, int milliseconds) { Beeps.emplace_back(frequency, milliseconds); }

void TMessageRecorder::MessageBeep() { ++MessageBeeps; }

std::vector<std::string> TMessageRecorder::Texts() const
{
    std::vector<std::string> texts;
    for (const TRecordedMessage& message : Messages) texts.push_back(message.Text);
    return texts;
}

TTempFolder::TTempFolder()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "marlo-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    Folder = pattern + "/";
}

TTempFolder::~TTempFolder()
{
    std::error_code ignored;
    // Folders made read-only by a test must become writable to be removed.
    for (auto& entry : std::filesystem::recursive_directory_iterator(Folder, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(Folder, ignored);
}

TFormatScope::TFormatScope(const TFormatSettings& settings) : Saved(FormatSettings())
{
    FormatSettings() = settings;
}

TFormatScope::~TFormatScope() { FormatSettings() = Saved; }

TZoneScope::TZoneScope(const char* zone)
{
    if (const char* old = std::getenv("TZ")) Saved = old;
    setenv("TZ", zone, 1);
    tzset();
}

TZoneScope::~TZoneScope()
{
    if (Saved) setenv("TZ", Saved->c_str(), 1);
    else unsetenv("TZ");
    tzset();
}

TFormatSettings DotFormat()
{
    TFormatSettings settings;
    settings.DecimalSeparator = '.';
    settings.DateSeparator = '/';
    settings.TimeSeparator = ':';
    settings.ShortDateFormat = "dd/mm/yyyy";
    settings.LongTimeFormat = "hh:nn:ss";
    return settings;
}

TFormatSettings CommaFormat()
{
    TFormatSettings settings;
    settings.DecimalSeparator = ',';
    settings.DateSeparator = '.';
    settings.TimeSeparator = ':';
    settings.ShortDateFormat = "dd/mm/yyyy";
    settings.LongTimeFormat = "hh:nn:ss";
    return settings;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    // A new file rather than a truncated one: the file system flushes a file
    // rewritten after truncation on close, which makes loops of rewrites slow.
    std::remove(path.c_str());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

double UtcSeconds(int year, int month, int day, int hour, int minute, int second)
{
    std::tm utc{};
    utc.tm_year = year - 1900;
    utc.tm_mon = month - 1;
    utc.tm_mday = day;
    utc.tm_hour = hour;
    utc.tm_min = minute;
    utc.tm_sec = second;
    return static_cast<double>(timegm(&utc));
}

std::string ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
