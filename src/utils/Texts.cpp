// Text, colour, command-line, clock and GUID helpers.
#include "jsUtils.h"
#include "untDateTime.h"

#include <cstdio>
#include <random>

namespace {

std::vector<std::string>& CommandLine()
{
    static std::vector<std::string> arguments;
    return arguments;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

void ReplaceAll(std::string& text, const std::string& from, const std::string& to)
{
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

} // namespace

bool TGuid::IsNull() const
{
    if (D1 || D2 || D3) return false;
    for (uint8_t b : D4)
        if (b) return false;
    return true;
}

std::string TGuid::ToString() const
{
    char text[40];
    std::snprintf(text, sizeof text, "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  D1, D2, D3, D4[0], D4[1], D4[2], D4[3], D4[4], D4[5], D4[6], D4[7]);
    return text;
}

std::string Trim(const std::string& text) { return std::string(TrimmedView(text)); }

std::string_view TrimmedView(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

std::string FlattenCellText(const std::string& text)
{
    std::string flat = Trim(text);
    ReplaceAll(flat, "\r\n", "; ");
    ReplaceAll(flat, "\n\r", "; ");
    ReplaceAll(flat, "\r", "; ");
    ReplaceAll(flat, "\n", "; ");
    return flat;
}

TColor InverseColor(TColor colour) { return (colour & 0xFFFFFF) ^ 0xFFFFFF; }

void SetCommandLine(int argc, const char* const* argv)
{
    CommandLine().assign(argv, argv + argc);
}

bool HasSwitch(const std::string& name)
{
    const std::vector<std::string>& arguments = CommandLine();
    for (size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!argument.empty() && (argument[0] == '-' || argument[0] == '/')
            && UpperCase(argument.substr(1)) == UpperCase(name))
            return true;
    }
    return false;
}

std::string NowTimeText() { return FormatDateTime(FormatSettings().LongTimeFormat, Now()); }

std::string NowDateTimeText()
{
    const TDateTime now = Now();
    return FormatDateTime(FormatSettings().ShortDateFormat, now) + " "
           + FormatDateTime(FormatSettings().LongTimeFormat, now);
}

TGuid NewGuid()
{
    TGuid guid;
    try {
        std::random_device device;
        uint8_t bytes[16];
        for (size_t i = 0; i < sizeof bytes; i += 4) {
            const uint32_t word = device();
            for (size_t k = 0; k < 4; ++k) bytes[i + k] = static_cast<uint8_t>(word >> (8 * k));
        }
        bytes[7] = static_cast<uint8_t>((bytes[7] & 0x0F) | 0x40); // version 4: random
        bytes[8] = static_cast<uint8_t>((bytes[8] & 0x3F) | 0x80); // RFC 4122 variant
        guid.D1 = bytes[0] | bytes[1] << 8 | bytes[2] << 16 | static_cast<uint32_t>(bytes[3]) << 24;
        guid.D2 = static_cast<uint16_t>(bytes[4] | bytes[5] << 8);
        guid.D3 = static_cast<uint16_t>(bytes[6] | bytes[7] << 8);
        for (int i = 0; i < 8; ++i) guid.D4[i] = bytes[8 + i];
    } catch (const std::exception&) {
        return TGuid{};
    }
    return guid;
}
