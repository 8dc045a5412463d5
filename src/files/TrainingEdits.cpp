// What the training window's edits store: the recording texts and the user
// settings, each edit and choice list selected by its tag.
#include "untFiles.h"

#include <cmath>

namespace {

// The field a tag of the user-settings edits stands for; nullptr when the
// tag, or the limit or interval kind it depends on, has none. (Settings is
// TUserSettings, const or not.)
template <typename Settings>
auto UserEditField(Settings& settings, int tag) -> decltype(&settings.Weight)
{
    using Field = decltype(&settings.Weight);
    const auto byKind = [](int kind, auto& strokes, auto& energy, auto& distance, auto& time) -> Field {
        switch (kind) {
        case 0: return &strokes;
        case 1: return &energy;
        case 2: return &distance;
        case 3: return &time;
        default: return nullptr;
        }
    };
    switch (tag) {
    case ueWeight: return &settings.Weight;
    case ueLimitValue:
        if (settings.SessionLimit == 4) return &settings.LimitIntervals;
        return byKind(settings.SessionLimit, settings.LimitStrokes, settings.LimitEnergy,
                      settings.LimitDistance, settings.LimitTime);
    case ueWorkPeriod:
        return byKind(settings.IntervalBy, settings.WorkStrokes, settings.WorkEnergy,
                      settings.WorkDistance, settings.WorkTime);
    case ueRestPeriod:
        return byKind(settings.IntervalBy, settings.RestStrokes, settings.RestEnergy,
                      settings.RestDistance, settings.RestTime);
    case ueStartValue: return &settings.StartValue;
    case ueStepValue: return &settings.StepValue;
    case ueRestValue: return &settings.RestValue;
    default: return nullptr;
    }
}

// Whether the edit's field holds seconds, shown and typed as a time.
bool IsTimeEdit(const TUserSettings& settings, int tag)
{
    if (tag == ueLimitValue) return settings.SessionLimit == 3;
    return (tag == ueWorkPeriod || tag == ueRestPeriod) && settings.IntervalBy == 3;
}

template <typename Settings>
auto UserComboField(Settings& settings, int tag) -> decltype(&settings.Gender)
{
    switch (tag) {
    case ucGender: return &settings.Gender;
    case ucBoat: return &settings.Boat;
    case ucSprocket: return &settings.Sprocket;
    case ucErgometer: return &settings.Ergometer;
    case ucSessionLimit: return &settings.SessionLimit;
    case ucIntervalBy: return &settings.IntervalBy;
    case ucDisplay: return &settings.Display;
    default: return nullptr;
    }
}

// Reads up to two digits of a time part; false when there is none.
bool ReadTimePart(const std::string& text, size_t& at, int& value)
{
    value = 0;
    const size_t start = at;
    while (at < text.size() && at - start < 2 && text[at] >= '0' && text[at] <= '9')
        value = value * 10 + (text[at++] - '0');
    return at > start;
}

} // namespace

bool AssignText(TText255& field, const std::string& utf8)
{
    std::string text = Utf8ToAnsi(utf8);
    if (text.size() > 255) text.resize(255);
    if (text == field.Text()) return false;
    field.Assign(text);
    return true;
}

int SecondsFromTimeText(const std::string& text)
{
    const char separator = FormatSettings().TimeSeparator;
    size_t at = text.find_first_not_of(' ');
    if (at == std::string::npos) return 0;
    int hours = 0, minutes = 0, seconds = 0;
    if (!ReadTimePart(text, at, hours) || at >= text.size() || text[at++] != separator
        || !ReadTimePart(text, at, minutes))
        return 0;
    double fraction = 0;
    if (at < text.size() && text[at] == separator) {
        ++at;
        if (!ReadTimePart(text, at, seconds)) return 0;
        if (at < text.size() && text[at] == FormatSettings().DecimalSeparator) {
            double scale = 0.1;
            for (++at; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, scale /= 10)
                fraction += (text[at] - '0') * scale;
        }
    }
    while (at < text.size() && text[at] == ' ') ++at;
    if (at != text.size() || hours > 23 || minutes > 59 || seconds > 59) return 0;
    return static_cast<int>(std::lround(hours * 3600 + minutes * 60 + seconds + fraction));
}

std::string TimeTextOfSeconds(int seconds)
{
    return FormatDateTime("h:nn:ss", seconds / 86400.0);
}

std::optional<std::string> UserEditText(const TUserSettings& settings, int tag)
{
    const int32_t* field = UserEditField(settings, tag);
    if (!field) return std::nullopt;
    if (IsTimeEdit(settings, tag)) return TimeTextOfSeconds(*field);
    return std::to_string(*field);
}

bool StoreUserEditText(TUserSettings& settings, int tag, const std::string& text)
{
    int32_t* field = UserEditField(settings, tag);
    if (!field) return false;
    const int typed = IsTimeEdit(settings, tag) ? SecondsFromTimeText(text) : StrToInt(text);
    const int32_t value = tag == ueWeight ? typed : ClampInt(typed, 0, 65535);
    bool changed = value != *field;
    *field = value;
    int32_t& period = tag == ueWorkPeriod ? settings.WorkPeriod : settings.RestPeriod;
    if ((tag == ueWorkPeriod || tag == ueRestPeriod) && period != value) {
        period = value;
        changed = true;
    }
    return changed;
}

int UserComboIndex(const TUserSettings& settings, int tag)
{
    const int32_t* field = UserComboField(settings, tag);
    return field ? *field : -1;
}

bool StoreUserComboIndex(TUserSettings& settings, int tag, int index)
{
    int32_t* field = UserComboField(settings, tag);
    if (!field || index < 0 || *field == index) return false;
    *field = index;
    return true;
}
