#include "untDataFiles.h"

#include "jsUtils.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <set>
#include <sys/stat.h>
#include <utime.h>

namespace {

bool ReadWholeFile(const std::string& path, std::string& bytes)
{
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
    return !file.bad();
}

bool SameNameWithoutCase(const std::string& a, const std::string& b) { return UpperCase(a) == UpperCase(b); }

} // namespace

bool MoveFileReplacing(const std::string& source, const std::string& target)
{
    std::string bytes;
    if (!ReadWholeFile(source, bytes) || !WriteFileAtomically(target, bytes)) return false;
    return std::remove(source.c_str()) == 0;
}

void MoveSettingsFile()
{
    const std::string reading = SettingsFileName(false);
    if (reading.empty()) return;
    const std::string writing = SettingsFileName(true);
    if (!writing.empty() && !SameNameWithoutCase(reading, writing)) MoveFileReplacing(reading, writing);
}

void MoveToUserDataFolder(const std::vector<std::string>& names)
{
    std::set<std::string> handled;
    for (const std::string& name : names) {
        if (!handled.insert(UpperCase(name)).second) continue;
        const std::string found = LocateSettingsFile(false, name);
        if (found.empty()) continue;
        const std::string target = UserDataFolder() + ExtractFileName(found);
        if (!SameNameWithoutCase(found, target)) MoveFileReplacing(found, target);
    }
}

bool StampReadme(int argc, const char* const* argv)
{
    SetCommandLine(argc, argv);
    if (argc != 2 || !HasSwitch("XD")) return false;
    const std::string readme = ExtractFilePath(ProgramFileName()) + "readme.txt";
    if (FileExists(readme)) {
        std::fstream file(readme, std::ios::in | std::ios::out | std::ios::binary);
        return file.is_open() && utime(readme.c_str(), nullptr) == 0;
    }
    return WriteFileAtomically(readme, ProductAndVersion() + "\r\n");
}
