#include "TestKit.h"
#include "jsUtils.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

// Points the program file and the documents folder at temporary folders.
class SettingsLocation : public ::testing::Test {
protected:
    void SetUp() override
    {
        ForceFolder(Program.File("bin/"));
        SetProgramFileName(Program.File("bin/marlo"));
        SetDocumentsFolderOverride(Documents.Path());
    }
    void TearDown() override
    {
        SetProgramFileName("");
        SetDocumentsFolderOverride(std::nullopt);
    }
    std::string DataFolder() const
    {
        return Documents.Path() + StripNameChars(CompanyName()) + "/" + StripNameChars(ProductName()) + "/";
    }

    TTempFolder Program;
    TTempFolder Documents;
};

} // namespace

TEST(Paths, PiecesWithEitherSeparator)
{
    EXPECT_EQ(ExtractFileName("C:\\a\\b.stg"), "b.stg");
    EXPECT_EQ(ExtractFileName("/home/x/b.stg"), "b.stg");
    EXPECT_EQ(ExtractFileName("C:b.stg"), "b.stg");
    EXPECT_EQ(ExtractFilePath("/home/x/b.stg"), "/home/x/");
    EXPECT_EQ(ExtractFileExt("/home/x.y/b.StG"), ".StG");
    EXPECT_EQ(ExtractFileExt("/home/x.y/b"), "");
    EXPECT_EQ(ChangeFileExt("/opt/marlo", ".ini"), "/opt/marlo.ini");
    EXPECT_EQ(ChangeFileExt("/opt/marlo.exe", ".ini"), "/opt/marlo.ini");
}

TEST(Folders, ForceFolderCreatesEveryMissingLevel)
{
    TTempFolder temp;
    EXPECT_TRUE(ForceFolder(""));
    EXPECT_FALSE(ForceFolder("no-separator"));
    EXPECT_TRUE(ForceFolder(temp.File("a/b/c")));
    EXPECT_TRUE(FolderExists(temp.File("a/b/c")));
    EXPECT_TRUE(ForceFolder(temp.File("a/b/c/")));
    WriteBytes(temp.File("file"), "x");
    EXPECT_FALSE(ForceFolder(temp.File("file/sub")));
    EXPECT_FALSE(FolderExists(temp.File("file")));
}

TEST(Files, SizesAndExistence)
{
    TTempFolder temp;
    WriteBytes(temp.File("seven.stg"), "1234567");
    EXPECT_EQ(FileSizeOf(temp.File("seven.stg")), 7);
    EXPECT_EQ(FileSizeOf(temp.File("*.stg")), 7);
    EXPECT_EQ(FileSizeOf(temp.File("none.stg")), -1);
    WriteBytes(temp.File("odd [1].stg"), "12");
    EXPECT_EQ(FileSizeOf(temp.File("odd [1].stg")), 2);
    EXPECT_TRUE(FileExists(temp.File("seven.stg")));
    EXPECT_FALSE(FileExists(temp.Path()));
    EXPECT_FALSE(FileExists(""));
}

TEST(Files, WritabilityLeavesAnEmptyFileBehind)
{
    TTempFolder temp;
    EXPECT_TRUE(IsFileWritable(temp.File("new.ini")));
    EXPECT_EQ(FileSizeOf(temp.File("new.ini")), 0);
    WriteBytes(temp.File("ro.ini"), "keep");
    chmod(temp.File("ro.ini").c_str(), 0444);
    EXPECT_FALSE(IsFileWritable(temp.File("ro.ini")));
    EXPECT_EQ(ReadBytes(temp.File("ro.ini")), "keep");
    ForceFolder(temp.File("locked"));
    chmod(temp.File("locked").c_str(), 0555);
    EXPECT_FALSE(IsFileWritable(temp.File("locked/new.ini")));
    EXPECT_FALSE(IsFileWritable(temp.File("missing/new.ini")));
    EXPECT_FALSE(IsFileWritable(temp.Path()));
}

TEST(Files, AtomicWriteReplacesOnlyWhenComplete)
{
    TTempFolder temp;
    const std::string path = temp.File("data.bin");
    WriteBytes(path, "old");
    ASSERT_TRUE(WriteFileAtomically(path, "new contents"));
    EXPECT_EQ(ReadBytes(path), "new contents");
    EXPECT_FALSE(WriteFileAtomically(temp.File("missing/data.bin"), "x"));
    // No temporary file is left behind, after success or failure.
    const auto entries = std::distance(std::filesystem::directory_iterator(temp.Path()),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 1);
}

TEST(Texts, StripNameChars)
{
    EXPECT_EQ(StripNameChars("A.B: C"), "AB C");
    EXPECT_EQ(StripNameChars("*a/b\\c|d<e>f?g"), "abcdefg");
}

TEST_F(SettingsLocation, DataFolderIsMadeInTheDocumentsFolder)
{
    EXPECT_EQ(UserDataFolder(), DataFolder());
    EXPECT_TRUE(FolderExists(DataFolder()));
}

TEST_F(SettingsLocation, NoDocumentsFolderMeansTheProgramsFolder)
{
    SetDocumentsFolderOverride(std::string());
    EXPECT_EQ(UserDataFolder(), Program.File("bin/"));
}

TEST_F(SettingsLocation, WritingGoesToTheDataFolderWhenItIsWritable)
{
    EXPECT_EQ(SettingsFileName(true), DataFolder() + "marlo.ini");
}

TEST_F(SettingsLocation, ReadingFindsTheFileWhereItIsWithItsCaseOnDisk)
{
    EXPECT_EQ(SettingsFileName(false), "");
    WriteBytes(Program.File("bin/Marlo.INI"), "[Options]\n");
    EXPECT_EQ(SettingsFileName(false), Program.File("bin/Marlo.INI"));
    ForceFolder(DataFolder());
    WriteBytes(DataFolder() + "marlo.ini", "[Options]\n");
    EXPECT_EQ(SettingsFileName(false), DataFolder() + "marlo.ini");
}

TEST_F(SettingsLocation, NoWritableLocationGivesAnEmptyName)
{
    SetDocumentsFolderOverride(std::string());
    chmod(Program.File("bin").c_str(), 0555);
    EXPECT_EQ(SettingsFileName(true), "");
}

TEST_F(SettingsLocation, HelpDocumentsSitBesideTheProgram)
{
    EXPECT_EQ(HelpDocumentName("Help"), Program.File("bin/marloHelp") + VersionDigits() + ".pdf");
}

// An installed program keeps its sample and help documents in
// PREFIX/share/marlo/ beside PREFIX/bin/; a build keeps them beside itself.
TEST_F(SettingsLocation, ProgramDataFoldersAreTheProgramsFolderThenItsShareFolder)
{
    EXPECT_EQ(ProgramDataFolders(), (std::vector<std::string>{Program.File("bin/"), Program.File("share/marlo/")}));
}

TEST_F(SettingsLocation, ShareFolderIsResolvedWithoutDotSteps)
{
    using Folders = std::vector<std::string>;
    SetProgramFileName("/usr/bin/marlo");
    EXPECT_EQ(ProgramDataFolders(), (Folders{"/usr/bin/", "/usr/share/marlo/"}));
    SetProgramFileName("/opt/m/./bin/../bin/marlo");
    EXPECT_EQ(ProgramDataFolders(), (Folders{"/opt/m/./bin/../bin/", "/opt/m/share/marlo/"}));
    // A program in the root folder has no parent to step up to.
    SetProgramFileName("/marlo");
    EXPECT_EQ(ProgramDataFolders(), (Folders{"/", "/share/marlo/"}));
    SetProgramFileName("bin/marlo");
    EXPECT_EQ(ProgramDataFolders(), (Folders{"bin/", "share/marlo/"}));
    SetProgramFileName("./marlo");
    EXPECT_EQ(ProgramDataFolders(), (Folders{"./", "../share/marlo/"}));
    // No folder at all: nothing to look in, as before for the program's folder.
    SetProgramFileName("marlo");
    EXPECT_TRUE(ProgramDataFolders().empty());
}

TEST_F(SettingsLocation, ReadingTriesTheDataFolderThenBesideTheProgramThenTheShareFolder)
{
    ForceFolder(Program.File("share/marlo/"));
    EXPECT_EQ(LocateSettingsFile(false, "default.STG"), "");
    WriteBytes(Program.File("share/marlo/Default.stg"), "installed");
    EXPECT_EQ(LocateSettingsFile(false, "default.STG"), Program.File("share/marlo/Default.stg"));
    WriteBytes(Program.File("bin/default.stg"), "built");
    EXPECT_EQ(LocateSettingsFile(false, "default.STG"), Program.File("bin/default.stg"));
    ForceFolder(DataFolder());
    WriteBytes(DataFolder() + "default.stg", "moved");
    EXPECT_EQ(LocateSettingsFile(false, "default.STG"), DataFolder() + "default.stg");
}

TEST_F(SettingsLocation, SettingsAreNeverWrittenToTheShareFolder)
{
    ForceFolder(Program.File("share/marlo/"));
    WriteBytes(Program.File("share/marlo/marlo.ini"), "[Options]\n");
    EXPECT_EQ(SettingsFileName(false), Program.File("share/marlo/marlo.ini"));
    EXPECT_EQ(SettingsFileName(true), DataFolder() + "marlo.ini");
    // With neither the data folder nor the program's folder writable, the
    // writable share folder is still not chosen.
    SetDocumentsFolderOverride(std::string());
    chmod(Program.File("bin").c_str(), 0555);
    EXPECT_EQ(SettingsFileName(true), "");
}

TEST_F(SettingsLocation, HelpDocumentsBesideTheProgramWinOverInstalledOnes)
{
    const std::string name = "marloq" + VersionDigits() + ".pdf";
    ForceFolder(Program.File("share/marlo/"));
    WriteBytes(Program.File("share/marlo/") + name, "%PDF-1.4\n");
    EXPECT_EQ(HelpDocumentName("q"), Program.File("share/marlo/") + name);
    WriteBytes(Program.File("bin/") + name, "%PDF-1.4\n");
    EXPECT_EQ(HelpDocumentName("q"), Program.File("bin/") + name);
    // A document found nowhere is named beside the program.
    EXPECT_EQ(HelpDocumentName("m"), Program.File("bin/marlom") + VersionDigits() + ".pdf");
}

TEST_F(SettingsLocation, HelpDocumentsOfAProgramWithAnExtensionDropIt)
{
    SetProgramFileName(Program.File("bin/marlo.exe"));
    const std::string name = "marlof" + VersionDigits() + ".pdf";
    ForceFolder(Program.File("share/marlo/"));
    WriteBytes(Program.File("share/marlo/") + name, "%PDF-1.4\n");
    EXPECT_EQ(HelpDocumentName("f"), Program.File("share/marlo/") + name);
}
