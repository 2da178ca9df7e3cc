// Whether a path exists, and removing folder trees: what goes, what stays, what is refused.
#include "folder_tree.h"

#include "folder_listing.h"
#include "owners.h"
#include "test_support.h"

#include <gtest/gtest.h>
#include <winioctl.h>

#include <cstring>
#include <vector>

namespace {

const std::string kScratch = "D:\\folder-tree-test";

// Made by scripts/test-fixtures before this test: a Unix symbolic link to a folder outside the tree.
const std::string kLinkFixture = "D:\\folder-link-fixture";

// Paths ending in a backslash are folders, the others files holding "content of <path>".
void MakeFiles(const std::string& root, const std::vector<std::string>& paths)
{
    for (const std::string& path : paths) {
        if (path.back() == '\\') {
            CreateDirectoryA((root + "\\" + path).c_str(), nullptr);
            continue;
        }
        ASSERT_TRUE(WriteTextFile(root + "\\" + path, "content of " + path)) << Utf8(path);
    }
}

class FolderTreeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A removal that wrongly takes "" or "." for a folder would hit the current folder:
        // let that be the scratch folder, never the build folder.
        GetCurrentDirectoryA(MAX_PATH, previousFolder_);
        SetCurrentDirectoryA(scratch_.Path().c_str());
    }
    void TearDown() override { SetCurrentDirectoryA(previousFolder_); }

    const std::string& Scratch() const { return scratch_.Path(); }

private:
    ScratchFolder scratch_{kScratch};
    char previousFolder_[MAX_PATH] = {};
};

TEST_F(FolderTreeTest, PathExistsForFilesAndFoldersAlike)
{
    MakeFiles(Scratch(), {"行情\\", "行情\\数据.dat", "稞\\"});
    struct Case {
        std::string path;
        bool expected;
    } cases[] = {
        {Scratch(), true},
        {Scratch() + "\\行情", true},
        {Scratch() + "\\行情\\数据.dat", true},
        {Scratch() + "\\稞", true},
        {Scratch() + "\\missing", false},
        {Scratch() + "\\行情\\missing.dat", false},
        {"shibai:\\Korvexa商城", false},
        {":\\Korvexa商城", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PathExists(c.path), c.expected) << Utf8(c.path);
}

TEST_F(FolderTreeTest, RemovesTheWholeTree)
{
    const std::vector<std::string> tree = {"Korvexa商城\\",
                                           "Korvexa商城\\QTRN客户端资源.zip",
                                           "Korvexa商城\\Trade\\",
                                           "Korvexa商城\\Trade\\Pravolt-trade\\",
                                           "Korvexa商城\\Trade\\Pravolt-trade\\Pravolt.exe",
                                           "Korvexa商城\\Trade\\empty\\",
                                           "Korvexa商城\\DQ\\",
                                           "Korvexa商城\\DQ\\稞\\",
                                           "Korvexa商城\\DQ\\稞\\行情.dat",
                                           "Korvexa商城\\DQ\\no extension"};
    struct Case {
        const char* name;
        std::string path;
    } cases[] = {
        {"plain path", Scratch() + "\\Korvexa商城"},
        {"leading spaces", "   " + Scratch() + "\\Korvexa商城"},
        {"trailing backslash", Scratch() + "\\Korvexa商城\\"},
    };
    for (const Case& c : cases) {
        MakeFiles(Scratch(), tree);
        MakeFiles(Scratch(), {"beside.txt"});
        EXPECT_TRUE(RemoveFolderTree(c.path)) << c.name;
        EXPECT_FALSE(PathExists(Scratch() + "\\Korvexa商城")) << c.name;
        EXPECT_TRUE(IsFile(Scratch() + "\\beside.txt")) << c.name;
    }
}

TEST_F(FolderTreeTest, MissingFolderGivesFalse)
{
    EXPECT_FALSE(RemoveFolderTree(Scratch() + "\\missing"));
    EXPECT_FALSE(RemoveFolderTree("shibai:\\Korvexa商城"));
}

TEST_F(FolderTreeTest, KeepsEntriesWhoseNamesBeginWithAFullStop)
{
    const std::string root = Scratch() + "\\tree";
    MakeFiles(Scratch(), {"tree\\", "tree\\.settings", "tree\\a.txt", "tree\\sub\\", "tree\\sub\\.git\\",
                          "tree\\sub\\.git\\HEAD", "tree\\sub\\b.txt", "tree\\other\\", "tree\\other\\c.txt"});

    EXPECT_FALSE(RemoveFolderTree(root));

    std::vector<ListedEntry> expected = {
        {".settings", false}, {"sub", true}, {"sub\\.git", true}, {"sub\\.git\\HEAD", false}};
    EXPECT_EQ(ListTree(root), expected);
}

TEST_F(FolderTreeTest, AFileThatCannotBeDeletedStaysWithItsFolders)
{
    const std::string root = Scratch() + "\\tree";
    const std::vector<std::string> tree = {"tree\\",         "tree\\top.txt",         "tree\\a\\",
                                           "tree\\a\\b\\",   "tree\\a\\b\\stuck.txt", "tree\\a\\b\\other.txt",
                                           "tree\\a\\c\\",   "tree\\a\\c\\x.txt",     "tree\\d\\"};
    const std::vector<ListedEntry> expected = {{"a", true}, {"a\\b", true}, {"a\\b\\stuck.txt", false}};
    const std::string stuck = root + "\\a\\b\\stuck.txt";

    // Held open by a running program, without sharing.
    MakeFiles(Scratch(), tree);
    {
        UniqueFileHandle holder(
            CreateFileA(stuck.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        EXPECT_FALSE(RemoveFolderTree(root));
        EXPECT_EQ(ListTree(root), expected) << "held open";
    }
    DeleteTree(root);

    // Read-only: the removal does not clear the attribute.
    MakeFiles(Scratch(), tree);
    ASSERT_TRUE(SetFileAttributesA(stuck.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(RemoveFolderTree(root));
    EXPECT_EQ(ListTree(root), expected) << "read-only";
    EXPECT_EQ(ReadWholeFile(stuck), "content of tree\\a\\b\\stuck.txt");
}

TEST_F(FolderTreeTest, RefusesDriveRootsAndPathsThatAreNotBelowOne)
{
    // Stand-ins for what a wrong removal would take: the drive's content and the current folder's.
    const std::string sentinel = "D:\\folder-tree-sentinel.txt";
    ASSERT_TRUE(WriteTextFile(sentinel, "must stay"));
    MakeFiles(Scratch(), {"relative\\", "relative\\kept.txt"});
    const char* paths[] = {"",
                           "    ",
                           "D:",
                           "D:\\",
                           "d:/",
                           "  D:\\",
                           "D:\\\\",
                           "D:\\.",
                           "D:\\..",
                           "D:\\ ",
                           "D:\\folder-tree-test\\..",
                           "D:\\folder-tree-test\\relative\\..\\..",
                           "D:folder-tree-test",
                           "relative",
                           ".",
                           "\\",
                           "\\folder-tree-test",
                           ":\\Korvexa商城"};
    for (const char* path : paths) {
        EXPECT_FALSE(RemoveFolderTree(path)) << "\"" << path << "\"";
        EXPECT_TRUE(IsFile(sentinel)) << "\"" << path << "\"";
        EXPECT_TRUE(IsFile(Scratch() + "\\relative\\kept.txt")) << "\"" << path << "\"";
    }
    DeleteFileA(sentinel.c_str());
}

TEST_F(FolderTreeTest, DoesNotEnterAUnixFolderLink)
{
    // Wine shows a Unix symbolic link to a folder as a folder with FILE_ATTRIBUTE_REPARSE_POINT.
    // It cannot remove such a link (RemoveDirectoryA fails while the folder it points to has
    // content), so only what matters is checked: nothing behind the link is touched.
    const std::string tree = kLinkFixture + "\\tree";
    const std::string kept = kLinkFixture + "\\outside\\kept.txt";
    if (!PathExists(tree + "\\link-to-outside"))
        GTEST_SKIP() << "no folder link fixture (made by scripts/test-fixtures folder-link)";
    ASSERT_TRUE(AttributesOf(tree + "\\link-to-outside") & FILE_ATTRIBUTE_REPARSE_POINT);

    // The link itself named as the folder to remove.
    RemoveFolderTree(tree + "\\link-to-outside");
    EXPECT_EQ(ReadWholeFile(kept), "outside the tree\n");

    // The link inside the tree.
    bool removed = RemoveFolderTree(tree);

    EXPECT_EQ(ReadWholeFile(kept), "outside the tree\n");
    EXPECT_FALSE(PathExists(tree + "\\plain.txt"));
    EXPECT_FALSE(PathExists(tree + "\\sub"));
    if (PathExists(tree + "\\link-to-outside")) {
        EXPECT_FALSE(removed);
    }
}

// A junction made with FSCTL_SET_REPARSE_POINT, as Windows' mklink /J does.
bool MakeJunction(const std::string& link, const std::string& target)
{
    if (!CreateDirectoryA(link.c_str(), nullptr))
        return false;
    UniqueFileHandle folder(CreateFileA(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                        FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    std::wstring substitute = L"\\??\\";
    wchar_t wide[MAX_PATH] = {};
    MultiByteToWideChar(CP_ACP, 0, target.c_str(), -1, wide, MAX_PATH);
    substitute += wide;
    const WORD nameBytes = static_cast<WORD>(substitute.size() * sizeof(wchar_t));

    // REPARSE_DATA_BUFFER with a MountPointReparseBuffer: tag, lengths, then both names.
    std::vector<BYTE> buffer(16 + nameBytes + 2 * sizeof(wchar_t), 0);
    const DWORD tag = IO_REPARSE_TAG_MOUNT_POINT;
    const WORD dataLength = static_cast<WORD>(buffer.size() - 8);
    const WORD fields[4] = {0, nameBytes, static_cast<WORD>(nameBytes + sizeof(wchar_t)), 0};
    std::memcpy(buffer.data(), &tag, 4);
    std::memcpy(buffer.data() + 4, &dataLength, 2);
    std::memcpy(buffer.data() + 8, fields, sizeof fields);
    std::memcpy(buffer.data() + 16, substitute.data(), nameBytes);
    DWORD returned = 0;
    bool made = folder
        && DeviceIoControl(folder.Get(), FSCTL_SET_REPARSE_POINT, buffer.data(), static_cast<DWORD>(buffer.size()),
                           nullptr, 0, &returned, nullptr);
    folder.Close();
    if (!made)
        RemoveDirectoryA(link.c_str());
    return made;
}

bool MakeSymbolicLink(const std::string& link, const std::string& target)
{
    CreateSymbolicLinkA(link.c_str(), target.c_str(),
                        SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    // Wine 8's CreateSymbolicLinkA answers TRUE and makes nothing.
    DWORD attributes = AttributesOf(link);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

TEST_F(FolderTreeTest, RemovesAJunctionOrFolderLinkButNotWhatItPointsTo)
{
    struct Case {
        const char* name;
        bool (*make)(const std::string& link, const std::string& target);
    } cases[] = {{"junction", MakeJunction}, {"directory symbolic link", MakeSymbolicLink}};
    int made = 0;
    for (const Case& c : cases) {
        const std::string tree = Scratch() + "\\tree";
        const std::string outside = Scratch() + "\\outside";
        MakeFiles(Scratch(), {"tree\\", "tree\\plain.txt", "outside\\", "outside\\kept.txt"});
        if (!c.make(tree + "\\link", outside))
            continue;
        ++made;
        EXPECT_TRUE(RemoveFolderTree(tree)) << c.name;
        EXPECT_FALSE(PathExists(tree)) << c.name;
        EXPECT_TRUE(IsFile(outside + "\\kept.txt")) << c.name;
        DeleteTree(tree);
    }
    if (made == 0)
        GTEST_SKIP() << "this system makes neither junctions nor folder symbolic links (Wine 8 does not)";
}

} // namespace
