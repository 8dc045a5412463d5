// The settings file: one INI file of sections in square brackets and
// "key=value" lines. Section and key names compare without case and keep the
// order of the file. A TIniFile is made for one burst of reads or writes; its
// writes stay in memory until UpdateFile replaces the file in one completed
// write.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

class TIniFile {
public:
    // Reads fileName at once; a missing file (or an empty name) reads as an
    // empty one, whose every read gives its default.
    explicit TIniFile(std::string fileName);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const std::string& FileName() const { return Name; }

    // The value: everything after the first "=" of the line, blanks trimmed.
    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& defaultValue) const;
    // The default also for a value that is not a decimal integer.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue) const;
    // The same, and the default also for a value outside low..high.
    int ReadInteger(const std::string& section, const std::string& key, int defaultValue, int low,
                    int high) const;
    // Any non-zero integer reads as true.
    bool ReadBool(const std::string& section, const std::string& key, bool defaultValue) const;
    // Either "," or "." may separate the decimals; the default for a value
    // that is not a number.
    double ReadFloat(const std::string& section, const std::string& key, double defaultValue) const;
    // The same, and the default also for a value outside low..high.
    double ReadFloat(const std::string& section, const std::string& key, double defaultValue, double low,
                     double high) const;

    bool SectionExists(const std::string& section) const;
    bool ValueExists(const std::string& section, const std::string& key) const;
    // Names in the order of the file.
    std::vector<std::string> ReadSections() const;
    std::vector<std::string> ReadSection(const std::string& section) const;
    std::vector<std::pair<std::string, std::string>> ReadSectionValues(const std::string& section) const;

    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    // "1" or "0".
    void WriteBool(const std::string& section, const std::string& key, bool value);
    // The locale's general number text, up to 15 significant digits.
    void WriteFloat(const std::string& section, const std::string& key, double value);
    void DeleteKey(const std::string& section, const std::string& key);
    void EraseSection(const std::string& section);

    // Writes the file's new text when the file can be written (IsFileWritable)
    // and was read completely; true when the file now holds it. A file that
    // exists but could not be read is never replaced, so its settings are not
    // lost.
    bool UpdateFile();

private:
    struct TImpl;
    std::string Name;
    std::unique_ptr<TImpl> Impl;
    bool ReadFailed = false;
};

// The text with exactly one empty line before every section header but one on
// the first line, and no other empty lines.
std::string TidyIniText(const std::string& text);
// Tidies the file in place when it can be written; false when skipped or failed.
bool TidyIniFile(const std::string& fileName);
