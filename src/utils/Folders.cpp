// The program's file, files and folders, the user's data folder and the
// location of the settings file.
#include "jsUtils.h"
#include "untDateTime.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <glob.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string& ProgramFileOverride()
{
    static std::string path;
    return path;
}

std::optional<std::string>& DocumentsOverride()
{
    static std::optional<std::string> folder;
    return folder;
}

std::string WithTrailingDelimiter(const std::string& folder)
{
    return folder.empty() || IsPathDelimiter(folder.back()) ? folder : folder + "/";
}

// The documents folder as the desktop names it (XDG user directories), or ""
// when there is no home folder to look in.
std::string SystemDocumentsFolder()
{
    const char* home = std::getenv("HOME");
    if (!home || !*home) return "";
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    const std::string config = configHome && *configHome ? configHome : std::string(home) + "/.config";
    std::ifstream dirs(config + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(dirs, line)) {
        if (line.compare(0, key.size(), key) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.compare(0, 5, "$HOME") == 0) value = home + value.substr(5);
        if (!value.empty() && value != home && value != std::string(home) + "/") return value;
    }
    return std::string(home) + "/Documents";
}

std::string ProgramFolder() { return ExtractFilePath(ProgramFileName()); }

// The name of the file in folder that equals name without regard to case.
std::string NameAsFoundOnDisk(const std::string& folder, const std::string& name)
{
    if (FileExists(folder + name)) return name;
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (!dir) return "";
    std::string found;
    const std::string wanted = UpperCase(name);
    while (dirent* entry = readdir(dir)) {
        if (UpperCase(entry->d_name) == wanted && FileExists(folder + entry->d_name)) {
            found = entry->d_name;
            break;
        }
    }
    closedir(dir);
    return found;
}

// The permissions a replacement of path gets: those of the file it replaces,
// else what the user's umask leaves of read and write for all.
mode_t NewFileMode(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) == 0) return info.st_mode & 07777;
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

bool IsPathDelimiter(char c) { return c == '/' || c == '\\'; }

// Where the folder part of path ends: after its last separator, or after a
// drive such as "C:".
static size_t FileNameStart(const std::string& path)
{
    const size_t at = path.find_last_of("/\\");
    if (at != std::string::npos) return at + 1;
    return path.size() >= 2 && path[1] == ':' ? 2 : 0;
}

std::string ExtractFileName(const std::string& path) { return path.substr(FileNameStart(path)); }

std::string ExtractFilePath(const std::string& path) { return path.substr(0, FileNameStart(path)); }

std::string ExtractFileExt(const std::string& path)
{
    const size_t at = path.rfind('.');
    return at == std::string::npos || at < FileNameStart(path) ? "" : path.substr(at);
}

std::string ChangeFileExt(const std::string& path, const std::string& extension)
{
    const std::string current = ExtractFileExt(path);
    return path.substr(0, path.size() - current.size()) + extension;
}

std::string UpperCase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

std::string ProgramFileName()
{
    if (!ProgramFileOverride().empty()) return ProgramFileOverride();
    char buffer[4096];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return n > 0 ? std::string(buffer, static_cast<size_t>(n)) : "";
}

void SetProgramFileName(const std::string& path) { ProgramFileOverride() = path; }

std::vector<std::string> ProgramDataFolders()
{
    const std::string folder = ProgramFolder();
    if (folder.empty()) return {};
    // Resolved lexically, so that names and messages read "/usr/share/marlo/"
    // rather than "/usr/bin/../share/marlo/"; the program's own file already
    // has its links resolved.
    const std::string shared = std::filesystem::path(folder + "../share/marlo/").lexically_normal().generic_string();
    return {folder, WithTrailingDelimiter(shared)};
}

std::string HelpDocumentName(const std::string& suffix)
{
    const std::string besideProgram = ChangeFileExt(ProgramFileName(), "") + suffix + VersionDigits() + ".pdf";
    const std::string name = ExtractFileName(besideProgram);
    for (const std::string& folder : ProgramDataFolders())
        if (FileExists(folder + name)) return folder + name;
    return besideProgram;
}

bool FileExists(const std::string& path)
{
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && !S_ISDIR(info.st_mode);
}

bool FolderExists(const std::string& path)
{
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool ForceFolder(const std::string& path)
{
    if (path.empty() || FolderExists(path)) return true;
    if (path.find_first_of("/\\") == std::string::npos) return false;
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && !IsPathDelimiter(path[i])) continue;
        const std::string prefix = path.substr(0, i);
        if (!FolderExists(prefix) && mkdir(prefix.c_str(), 0777) != 0) break;
    }
    return FolderExists(path);
}

int64_t FileSizeOf(const std::string& name)
{
    struct stat info {};
    if (name.find_first_of("*?") == std::string::npos)
        return stat(name.c_str(), &info) == 0 ? info.st_size : -1;
    glob_t found{};
    int64_t size = -1;
    if (glob(name.c_str(), GLOB_NOESCAPE, nullptr, &found) == 0 && found.gl_pathc > 0
        && stat(found.gl_pathv[0], &info) == 0)
        size = info.st_size;
    globfree(&found);
    return size;
}

TDateTime FileModificationTime(const std::string& path)
{
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) return 0;
    return DateTimeFromUnixTime(static_cast<double>(info.st_mtim.tv_sec) + info.st_mtim.tv_nsec / 1e9);
}

bool IsFileWritable(const std::string& name)
{
    struct stat info {};
    const bool existed = stat(name.c_str(), &info) == 0;
    if (existed && S_ISDIR(info.st_mode)) return false;
    if (!existed) {
        // A folder without write permission counts as read-only even for a
        // user (such as root) whom the system would let write there.
        const std::string folder = ExtractFilePath(name);
        struct stat folderInfo {};
        if (stat(folder.empty() ? "." : folder.c_str(), &folderInfo) != 0
            || (folderInfo.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            return false;
    }
    const int fd = open(name.c_str(), O_RDWR | O_CREAT, 0666);
    if (fd < 0) return false;
    const bool readOnly = fstat(fd, &info) != 0 || (info.st_mode & S_IWUSR) == 0;
    close(fd);
    return !readOnly;
}

std::string StripNameChars(const std::string& text)
{
    std::string kept;
    for (char c : text)
        if (std::strchr("*./:<>?\\|", c) == nullptr || c == '\0') kept += c;
    return kept;
}

void SetDocumentsFolderOverride(std::optional<std::string> folder)
{
    DocumentsOverride() = std::move(folder);
}

std::string UserDataFolder()
{
    const std::string documents = DocumentsOverride() ? *DocumentsOverride() : SystemDocumentsFolder();
    if (documents.empty()) return ProgramFolder();
    const std::string company = StripNameChars(CompanyName());
    const std::string product = StripNameChars(ProductName());
    if (company.empty() || product.empty()) return "";
    const std::string folder = WithTrailingDelimiter(documents) + company + "/" + product + "/";
    ForceFolder(folder);
    return folder;
}

std::string LocateSettingsFile(bool forWriting, const std::string& fileName)
{
    if (forWriting) {
        for (const std::string& folder : {UserDataFolder(), ProgramFolder()})
            if (!folder.empty() && IsFileWritable(folder + fileName)) return folder + fileName;
        return "";
    }
    // Files are never written to the share folder: what is read from there
    // (such as the sample) is moved or copied into the user's data folder.
    std::vector<std::string> folders{UserDataFolder()};
    for (const std::string& folder : ProgramDataFolders()) folders.push_back(folder);
    for (const std::string& folder : folders) {
        if (folder.empty()) continue;
        const std::string found = NameAsFoundOnDisk(folder, fileName);
        if (!found.empty()) return folder + found;
    }
    return "";
}

std::string SettingsFileName(bool forWriting)
{
    return LocateSettingsFile(forWriting, ExtractFileName(ChangeFileExt(ProgramFileName(), ".ini")));
}

TReplacingFile::TReplacingFile(const std::string& path) : Path(path), Temporary(path + ".XXXXXX")
{
    const int fd = mkstemp(Temporary.data());
    if (fd < 0) {
        Temporary.clear();
        return;
    }
    close(fd);
    Out.open(Temporary, std::ios::binary | std::ios::trunc);
    if (!Out.is_open()) Discard();
}

TReplacingFile::~TReplacingFile() { Discard(); }

void TReplacingFile::Discard()
{
    if (Out.is_open()) Out.close();
    if (!Temporary.empty()) unlink(Temporary.c_str());
    Temporary.clear();
}

bool TReplacingFile::Commit()
{
    if (Temporary.empty()) return false;
    Out.close();
    bool written = !Out.fail();
    // Synced before the rename, so that a crash never leaves path short.
    const int fd = open(Temporary.c_str(), O_RDONLY);
    written = written && fd >= 0 && fchmod(fd, NewFileMode(Path)) == 0 && fsync(fd) == 0;
    if (fd >= 0) written = close(fd) == 0 && written;
    if (!written || std::rename(Temporary.c_str(), Path.c_str()) != 0) {
        Discard();
        return false;
    }
    Temporary.clear();
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& data)
{
    TReplacingFile file(path);
    if (!file.IsOpen()) return false;
    file.Stream().write(data.data(), static_cast<std::streamsize>(data.size()));
    return file.Commit();
}
