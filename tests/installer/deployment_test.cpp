// Preparing the install folder, writing blocks to files, deploying the client and its uninstaller.
#include "deployment.h"

#include "folder_listing.h"
#include "folder_tree.h"
#include "install_paths.h"
#include "owners.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Made by scripts/test-fixtures full-drive while this test runs: a 2 MB drive H:.
const std::string kFullDriveMarker = "H:\\full-drive.txt";

std::string BytesOf(BlockView block)
{
    return std::string(reinterpret_cast<const char*>(block.data), block.size);
}

std::string InstallFolder(const std::string& drive)
{
    return InstallPathsFor(drive).installFolder;
}

// What stands at a drive's install folder.
enum class State { absent, emptyFolder, markedFolder, plainFile };

const char* Describe(State state)
{
    switch (state) {
    case State::absent: return "absent";
    case State::emptyFolder: return "empty folder";
    case State::markedFolder: return "folder with content";
    case State::plainFile: return "plain file";
    }
    return "?";
}

void Make(const std::string& drive, State state)
{
    const std::string folder = InstallFolder(drive);
    if (state == State::plainFile) {
        ASSERT_TRUE(WriteTextFile(folder, "a file where the folder should be"));
        return;
    }
    if (state == State::absent)
        return;
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    if (state == State::markedFolder) {
        ASSERT_TRUE(CreateDirectoryA((folder + "\\Trade").c_str(), nullptr));
        ASSERT_TRUE(WriteTextFile(folder + "\\Trade\\marker.txt", "earlier installation"));
    }
}

State StateOf(const std::string& drive)
{
    const std::string folder = InstallFolder(drive);
    if (IsFile(folder))
        return State::plainFile;
    if (!IsFolder(folder))
        return State::absent;
    return IsFile(folder + "\\Trade\\marker.txt") ? State::markedFolder : State::emptyFolder;
}

class DeploymentTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveInstallFolders(); }
    void TearDown() override { RemoveInstallFolders(); }

    static void RemoveInstallFolders()
    {
        for (const char* drive : {"D", "E", "H"})
            DeleteTree(InstallFolder(drive));
    }
};

TEST(InstallPaths, AllLieInTheInstallFolderOfTheirDrive)
{
    const InstallPaths paths = InstallPathsFor("E");
    EXPECT_EQ(paths.installFolder, "E:\\Korvexa商城");
    for (const std::string& path :
         {paths.archiveFile, paths.uninstallerFile, paths.quotesClientFolder, paths.quotesClientExe,
          paths.quotesClientIcon, paths.settingsFile, paths.alertSoundFile, paths.updaterFolder, paths.updaterExe})
        EXPECT_EQ(path.substr(0, paths.installFolder.size() + 1), paths.installFolder + "\\") << Utf8(path);
    // The shortcuts take these as working folders: one with, one without a trailing backslash.
    EXPECT_EQ(paths.updaterFolder.back(), '\\');
    EXPECT_NE(paths.quotesClientFolder.back(), '\\');
    EXPECT_EQ(paths.updaterExe, paths.updaterFolder + "Pravolt.exe");
    EXPECT_EQ(PreviousInstallFolderFor("E"), paths.installFolder);
    EXPECT_EQ(PreviousInstallFolderFor("shibai"), "shibai:\\Korvexa商城");
}

TEST_F(DeploymentTest, PrepareRemovesTheRecordedFolderOnlyWhenTheChosenOneExists)
{
    struct Case {
        const char* name;
        State dBefore;
        State eBefore;
        const char* recordedDrive;
        State dAfter;
        State eAfter;
    } cases[] = {
        {"chosen absent, recorded on another drive", State::absent, State::markedFolder, "E", State::emptyFolder,
         State::markedFolder},
        {"nothing recorded, chosen present", State::markedFolder, State::absent, "shibai", State::markedFolder,
         State::absent},
        {"recorded on another drive, chosen present", State::markedFolder, State::markedFolder, "E",
         State::markedFolder, State::absent},
        {"recorded drive chosen again", State::markedFolder, State::absent, "D", State::emptyFolder, State::absent},
        {"a plain file at the chosen install folder", State::plainFile, State::markedFolder, "E", State::plainFile,
         State::absent},
        {"empty recorded drive", State::markedFolder, State::markedFolder, "", State::markedFolder,
         State::markedFolder},
    };
    for (const Case& c : cases) {
        RemoveInstallFolders();
        Make("D", c.dBefore);
        Make("E", c.eBefore);

        PrepareInstallFolder("D", c.recordedDrive);

        EXPECT_STREQ(Describe(StateOf("D")), Describe(c.dAfter)) << c.name;
        EXPECT_STREQ(Describe(StateOf("E")), Describe(c.eAfter)) << c.name;
    }
}

TEST_F(DeploymentTest, DeploysTheClientArchiveIntoTheInstallFolder)
{
    PrepareInstallFolder("D", "shibai");

    DeployOutcome outcome = DeployClientArchive("D");

    EXPECT_TRUE(outcome.archiveWritten);
    EXPECT_EQ(outcome.extractResult, 1);
    const InstallPaths paths = InstallPathsFor("D");
    EXPECT_TRUE(ReadWholeFile(paths.archiveFile) == BytesOf(ClientArchiveBlock())) << "the archive file stays";

    // Every path the installer and uninstaller rely on names what the archive brought.
    for (const std::string& file :
         {paths.quotesClientExe, paths.quotesClientIcon, paths.settingsFile, paths.alertSoundFile, paths.updaterExe})
        EXPECT_TRUE(IsFile(file)) << Utf8(file);
    for (const std::string& folder : {paths.quotesClientFolder, paths.updaterFolder})
        EXPECT_TRUE(IsFolder(folder)) << Utf8(folder);
    for (const std::string& program : {paths.quotesClientExe, paths.updaterExe})
        EXPECT_EQ(ReadWholeFile(program).substr(0, 2), "MZ") << Utf8(program);
    for (const char* key : {"ORDER", "BASEPATH", "ALERT"}) {
        char value[MAX_PATH] = {};
        GetPrivateProfileStringA("ICONFIG", key, "", value, MAX_PATH, paths.settingsFile.c_str());
        EXPECT_NE(std::string(value), "") << key;
    }

    // All 174 entries: Trade with 82 below it, DQ with 90, beside them only the archive file.
    std::size_t trade = 0;
    std::size_t quotes = 0;
    std::vector<std::string> others;
    for (const ListedEntry& entry : ListTree(paths.installFolder)) {
        if (entry.path.starts_with("Trade\\"))
            ++trade;
        else if (entry.path.starts_with("DQ\\"))
            ++quotes;
        else
            others.push_back(entry.path);
    }
    EXPECT_EQ(trade, 82u);
    EXPECT_EQ(quotes, 90u);
    EXPECT_EQ(others, (std::vector<std::string>{"DQ", "QTRN客户端资源.zip", "Trade"}));
}

TEST_F(DeploymentTest, ArchiveFileHeldOpenFailsTheWriteButIsStillExtracted)
{
    PrepareInstallFolder("D", "shibai");
    const InstallPaths paths = InstallPathsFor("D");
    const std::string earlier = BuildFolder() + "\\tests\\fixtures\\archives\\hand-made.zip";
    ASSERT_TRUE(CopyFileA(earlier.c_str(), paths.archiveFile.c_str(), FALSE));
    UniqueFileHandle holder(CreateFileA(paths.archiveFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);

    DeployOutcome outcome = DeployClientArchive("D");

    EXPECT_FALSE(outcome.archiveWritten);
    EXPECT_EQ(outcome.extractResult, 1);
    EXPECT_TRUE(IsFile(paths.installFolder + "\\数据\\行情.txt"));
    EXPECT_FALSE(PathExists(paths.quotesClientFolder));
}

TEST_F(DeploymentTest, MissingInstallFolderFailsBothSteps)
{
    DeployOutcome outcome = DeployClientArchive("D");
    EXPECT_FALSE(outcome.archiveWritten);
    EXPECT_EQ(outcome.extractResult, -1);
    EXPECT_FALSE(PathExists(InstallFolder("D")));
}

TEST_F(DeploymentTest, WritesTheUninstallerIntoTheInstallFolder)
{
    PrepareInstallFolder("D", "shibai");
    WriteUninstaller("D");
    const std::string uninstaller = ReadWholeFile(BuildFolder() + "\\tests\\block_inputs\\uninstaller.exe");
    ASSERT_FALSE(uninstaller.empty());
    EXPECT_TRUE(ReadWholeFile(InstallPathsFor("D").uninstallerFile) == uninstaller);

    // Without an install folder nothing is written, and nothing breaks.
    RemoveInstallFolders();
    WriteUninstaller("D");
    EXPECT_FALSE(PathExists(InstallFolder("D")));
}

TEST_F(DeploymentTest, WriteBlockToFileFailsWithoutTouchingTheFile)
{
    ScratchFolder scratch("D:\\write-block-test");
    const std::string held = scratch.Path() + "\\held.bin";
    ASSERT_TRUE(WriteTextFile(held, "old"));
    // Another program reads the file and lets others only read it.
    UniqueFileHandle holder(
        CreateFileA(held.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);

    const std::string bytes = "new data";
    const BlockView block{reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size()};
    struct Case {
        const char* name;
        std::string path;
    } cases[] = {
        {"empty path", ""},
        {"missing folder", scratch.Path() + "\\missing\\a.bin"},
        {"held open by another program", held},
        {"a folder", scratch.Path()},
        // No read-only file here: Wine run as root (as the tests are) overwrites one all the same.
    };
    for (const Case& c : cases)
        EXPECT_FALSE(WriteBlockToFile(c.path, block)) << c.name;
    holder.Close();
    EXPECT_EQ(ReadWholeFile(held), "old");
}

TEST_F(DeploymentTest, FullDriveFailsTheArchiveWrite)
{
    if (!IsFile(kFullDriveMarker))
        GTEST_SKIP() << "no full drive H: (scripts/test-fixtures full-drive mounts a tmpfs, which needs root)";
    ASSERT_EQ(GetDriveTypeA("H:\\"), static_cast<UINT>(DRIVE_FIXED));

    EXPECT_FALSE(WriteBlockToFile("H:\\archive.zip", ClientArchiveBlock()));
    DeleteFileA("H:\\archive.zip");

    PrepareInstallFolder("H", "shibai");
    ASSERT_TRUE(IsFolder(InstallFolder("H")));
    DeployOutcome outcome = DeployClientArchive("H");
    EXPECT_FALSE(outcome.archiveWritten);
    EXPECT_NE(outcome.extractResult, 1);
}

} // namespace
