// Small routines every other unit uses: guarded arithmetic and parsing, the
// program's version table, the location of the settings file, file and folder
// tests, and a few text helpers. None keeps state between calls.
#pragma once

#include "untDateTime.h"

#include <cstdint>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A text that does not convert to a number.
class EConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Packed like the records it is stored in, so that it may sit at any offset.
#pragma pack(push, 1)
struct TGuid {
    uint32_t D1 = 0;
    uint16_t D2 = 0;
    uint16_t D3 = 0;
    uint8_t D4[8] = {};
    bool IsNull() const;
    // "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}", upper-case hex.
    std::string ToString() const;
};
#pragma pack(pop)
static_assert(sizeof(TGuid) == 16, "a GUID is 16 bytes");

using TColor = uint32_t; // 0x00BBGGRR

// --- Arithmetic and parsing ---

// Guarded division for measured values: 0 for a divisor of 0, a divisor closer
// to 0 than 1e-9 counts as +-1e-9, and an overflowing quotient gives 0.
float SafeDivide(float divisor, float dividend);
bool InRangeOpen(double upper, double lower, double value);
// Rounds to 0..65535, ties to even.
uint16_t RoundToWord(double x);
int ClampInt(int value, int low, int high);
// Reads a number written with either "," or "." as its decimal separator.
double StrToFloatAnySep(const std::string& text);
// The number made of the "-" and digit characters of text, in order.
int DigitsToInt(const std::string& text);
// The locale's float conversion: optional blanks, sign, digits with the
// locale's decimal separator, exponent. Throws EConvertError.
double StrToFloat(const std::string& text);
int StrToInt(const std::string& text);
// The locale's "%g"-like text of a number, with its decimal separator.
std::string FloatToStr(double value);

// --- Version table ---

std::string GetVersionString(const std::string& key);
std::string CompanyName();
std::string ProductName();
std::string FileDescription();
std::string FileVersion();
std::string VersionDigits();
std::string ProductAndVersion();
// What --version prints for one of the product's programs: its name, the
// product and the version on the first line, the copyright on the second.
std::string VersionText(const std::string& program);
uint32_t PackVersion(const std::string& text);
std::string FormatVersion(uint32_t version);
uint32_t CurrentVersion();

// --- Program, files and folders ---

// The running program's file; tests and the desktop program may set it.
std::string ProgramFileName();
void SetProgramFileName(const std::string& path);
// The folders the program's own files (the bundled sample, the help
// documents) are looked for in, in this order: the program's folder, then
// "../share/marlo/" from it, where an installation puts them. Both end with
// "/"; none when the program's file is unknown.
std::vector<std::string> ProgramDataFolders();
// The help document with the given suffix from the first of
// ProgramDataFolders() that holds it; beside the program when none does.
std::string HelpDocumentName(const std::string& suffix);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
bool ForceFolder(const std::string& path);
int64_t FileSizeOf(const std::string& name);
// The local date/time of the file's last modification; 0 when there is no such file.
TDateTime FileModificationTime(const std::string& path);
bool IsFileWritable(const std::string& name);
std::string StripNameChars(const std::string& text);
// The program's folder in the user's documents folder, created when missing;
// the program's own folder when the system has no documents folder.
std::string UserDataFolder();
// Replaces the system's documents folder (tests); "" means the system has
// none, std::nullopt asks the system again.
void SetDocumentsFolderOverride(std::optional<std::string> folder);
// Where fileName is written (the first writable of the user's data folder and
// the program's folder) or read from (the first of the user's data folder and
// ProgramDataFolders() that holds it, in any case); "" when there is none.
std::string LocateSettingsFile(bool forWriting, const std::string& fileName);
std::string SettingsFileName(bool forWriting);
// A file written in the folder of path under a temporary name, which replaces
// path only when Commit finds every byte written and synced; otherwise, and
// when it is destroyed uncommitted, the temporary file is removed and path
// stays as it was. The replacement keeps the permissions of the file it
// replaces.
class TReplacingFile {
public:
    explicit TReplacingFile(const std::string& path);
    ~TReplacingFile();
    TReplacingFile(const TReplacingFile&) = delete;
    TReplacingFile& operator=(const TReplacingFile&) = delete;

    // False when the temporary file could not be made.
    bool IsOpen() const { return Out.is_open(); }
    std::ostream& Stream() { return Out; }
    bool Commit();

private:
    void Discard();

    std::string Path;
    std::string Temporary;
    std::ofstream Out;
};
// Replaces path only by a completed write, through a TReplacingFile.
bool WriteFileAtomically(const std::string& path, const std::string& data);

// Path pieces; both "\" and "/" separate folders.
bool IsPathDelimiter(char c);
std::string ExtractFileName(const std::string& path);
std::string ExtractFilePath(const std::string& path); // with its trailing separator
std::string ExtractFileExt(const std::string& path);  // with its dot
std::string ChangeFileExt(const std::string& path, const std::string& extension);
std::string UpperCase(std::string text);

// --- Text and colour helpers ---

// text without its leading and trailing blanks (control characters and spaces).
std::string Trim(const std::string& text);
// The same part of text, not copied.
std::string_view TrimmedView(std::string_view text);
std::string FlattenCellText(const std::string& text);
TColor InverseColor(TColor colour);
// The command line the switches are looked for in; the program block sets it.
void SetCommandLine(int argc, const char* const* argv);
bool HasSwitch(const std::string& name);
std::string NowTimeText();
std::string NowDateTimeText();
TGuid NewGuid();

// --- Windows code page 1252, the encoding of the texts stored in files ---

std::string AnsiToUtf8(const std::string& ansi);
std::string Utf8ToAnsi(const std::string& utf8);
