// The program's version table, compiled in from the build's project version.
#include "jsUtils.h"

#include "MarloVersion.h"

#include <cstdio>

namespace {

struct TVersionEntry {
    const char* Key;
    const char* Value;
};

const TVersionEntry VersionTable[] = {
    {"CompanyName", MARLO_COMPANY_NAME},
    {"ProductName", MARLO_PRODUCT_NAME},
    {"FileDescription", MARLO_FILE_DESCRIPTION},
    {"FileVersion", MARLO_FILE_VERSION},
    {"ProductVersion", MARLO_FILE_VERSION},
    {"LegalCopyright", MARLO_COPYRIGHT},
    {"InternalName", "marlo"},
    {"Website", MARLO_WEBSITE},
};

} // namespace

std::string GetVersionString(const std::string& key)
{
    for (const TVersionEntry& entry : VersionTable)
        if (key == entry.Key) return entry.Value;
    return "";
}

std::string CompanyName() { return GetVersionString("CompanyName"); }
std::string ProductName() { return GetVersionString("ProductName"); }
std::string FileDescription() { return GetVersionString("FileDescription"); }
std::string FileVersion() { return GetVersionString("FileVersion"); }

std::string VersionDigits()
{
    std::string digits;
    for (char c : FileVersion())
        if (c != '.') digits += c;
    return digits;
}

std::string ProductAndVersion()
{
    const std::string product = ProductName();
    return product.empty() ? "" : product + " " + FileVersion();
}

std::string VersionText(const std::string& program)
{
    return program + " (" + ProductName() + ") " + FileVersion() + "\n" + GetVersionString("LegalCopyright") + "\n";
}

uint32_t PackVersion(const std::string& text)
{
    std::string parts[4];
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        const size_t dot = text.find('.', start);
        if (dot == std::string::npos) return 0;
        parts[i] = text.substr(start, dot - start);
        start = dot + 1;
    }
    parts[3] = text.substr(start);
    uint32_t packed = 0;
    try {
        for (const std::string& part : parts) {
            if (part.empty()) return 0;
            packed = (packed << 8) | (static_cast<uint32_t>(StrToInt(part)) & 0xFF);
        }
    } catch (const EConvertError&) {
        return 0;
    }
    return packed;
}

std::string FormatVersion(uint32_t version)
{
    char text[32];
    std::snprintf(text, sizeof text, "%u.%u.%u.%u", version >> 24, (version >> 16) & 0xFF,
                  (version >> 8) & 0xFF, version & 0xFF);
    return text;
}

uint32_t CurrentVersion() { return PackVersion(FileVersion()); }
