// Extracting ZIP archives made by other tools and by hand, whole, damaged and hostile ones.
#include "archive_extraction.h"

#include "folder_listing.h"
#include "folder_tree.h"
#include "owners.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <sstream>
#include <vector>

namespace {

const std::string kScratch = "D:\\extraction-test";

// Made at build time by tests/installer/make_archive_fixtures.py.
std::string Fixture(const std::string& name)
{
    return BuildFolder() + "\\tests\\fixtures\\archives\\" + name;
}

struct TimedFile {
    std::string path;
    std::string time;
};

// The expected-times file of a fixture tree: "path<TAB>YYYY-MM-DD hh:mm:ss" lines.
std::vector<TimedFile> ExpectedTimes(const std::string& set)
{
    std::vector<TimedFile> files;
    std::istringstream lines(ReadWholeFile(Fixture("expected\\" + set + ".times")));
    std::string line;
    while (std::getline(lines, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::size_t tab = line.find('\t');
        if (tab != std::string::npos)
            files.push_back({line.substr(0, tab), line.substr(tab + 1)});
    }
    return files;
}

// The extracted tree has exactly the expected files and folders, with the same bytes, the
// archive's time stamps, and none of the read-only, hidden or system attributes.
void ExpectSameTree(const std::string& set, const std::string& target, const std::string& label)
{
    const std::string expected = Fixture("expected\\" + set);
    std::vector<ListedEntry> entries = ListTree(expected);
    ASSERT_FALSE(entries.empty()) << label;
    EXPECT_EQ(ListTree(target), entries) << label;
    for (const ListedEntry& entry : entries) {
        if (entry.isFolder)
            continue;
        const std::string path = target + "\\" + entry.path;
        EXPECT_EQ(ReadWholeFile(path), ReadWholeFile(expected + "\\" + entry.path)) << label << ": " << Utf8(entry.path);
        EXPECT_EQ(AttributesOf(path) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM), 0u)
            << label << ": " << Utf8(entry.path);
    }
    std::vector<TimedFile> times = ExpectedTimes(set);
    ASSERT_FALSE(times.empty()) << label;
    for (const TimedFile& file : times)
        EXPECT_EQ(LocalWriteTime(target + "\\" + file.path), file.time) << label << ": " << Utf8(file.path);
}

class ExtractArchiveTest : public ::testing::Test {
protected:
    const std::string& Scratch() const { return scratch_.Path(); }

private:
    ScratchFolder scratch_{kScratch};
};

TEST_F(ExtractArchiveTest, ExtractsArchivesMadeByOtherTools)
{
    struct Case {
        const char* archive;
        const char* set;
    } cases[] = {
        {"infozip-deflated.zip", "tree"}, // Info-ZIP zip -r -9: Unix attributes, extra fields
        {"infozip-stored.zip", "tree"},   // zip -0 -X
        {"infozip-streamed.zip", "tree"}, // zip to a pipe: data descriptors
        {"python-mixed.zip", "tree"},     // zipfile: stored and deflated, Unix and MS-DOS attributes
        {"python-streamed.zip", "tree"},  // zipfile on an unseekable file: data descriptors
        {"hand-made.zip", "hand"},        // GBK names, a folder known only by its slash, data descriptors
    };
    for (const Case& c : cases) {
        // Three missing levels above the entries: all are created.
        const std::string target = Scratch() + "\\" + c.archive + "\\新建\\target";
        EXPECT_EQ(ExtractArchive(Fixture(c.archive), target), 1) << c.archive;
        ExpectSameTree(c.set, target, c.archive);
    }
}

TEST_F(ExtractArchiveTest, TargetWithTrailingBackslashOrAtAnExistingTree)
{
    const std::string target = Scratch() + "\\target";
    EXPECT_EQ(ExtractArchive(Fixture("infozip-deflated.zip"), target + "\\"), 1);
    ExpectSameTree("tree", target, "trailing backslash");
    EXPECT_EQ(ExtractArchive(Fixture("python-mixed.zip"), target), 1);
    ExpectSameTree("tree", target, "extracted again over the same tree");
}

// Under Wine run as root the replacement would succeed even with the attributes left set;
// on Windows CREATE_ALWAYS refuses a read-only or hidden file.
TEST_F(ExtractArchiveTest, ReplacesReadOnlyHiddenFiles)
{
    const std::string target = Scratch() + "\\target";
    const std::string readme = target + "\\docs\\readme.txt";
    ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((target + "\\docs").c_str(), nullptr));
    ASSERT_TRUE(WriteTextFile(readme, "an older, longer file from an earlier installation"));
    ASSERT_TRUE(SetFileAttributesA(readme.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));

    EXPECT_EQ(ExtractArchive(Fixture("infozip-deflated.zip"), target), 1);

    ExpectSameTree("tree", target, "over read-only");
}

TEST_F(ExtractArchiveTest, EmptyPathOrMissingArchiveGivesMinusOne)
{
    const std::string target = Scratch() + "\\target";
    struct Case {
        const char* name;
        std::string archive;
        std::string target;
    } cases[] = {
        {"empty archive path", "", target},
        {"empty target", Fixture("infozip-deflated.zip"), ""},
        {"both empty", "", ""},
        {"missing archive", Scratch() + "\\missing.zip", target},
        {"missing folder of the archive", Scratch() + "\\missing\\a.zip", target},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ExtractArchive(c.archive, c.target), -1) << c.name;
        EXPECT_FALSE(PathExists(target)) << c.name << ": the target is made only after the checks";
    }
}

TEST_F(ExtractArchiveTest, ArchivesThatAreNotWholeGiveZero)
{
    struct Case {
        const char* archive;
        bool firstEntryExtracted; // "ok.txt", the harmless entry before the damaged one
    } cases[] = {
        {"not-an-archive.zip", false},
        {"empty.zip", false},            // only the end of the central directory
        {"prefixed.zip", false},         // a stub before the first local header
        {"truncated.zip", false},        // cut before its central directory
        {"crc-stored.zip", true},        // data intact, CRC wrong
        {"crc-deflated.zip", true},
        {"data-corrupted.zip", true},    // deflate stream damaged
        {"size-overstated.zip", true},   // data end before the declared size
        {"size-understated.zip", true},  // more data than declared
        {"data-cut.zip", true},          // stored data shorter than declared
        {"data-beyond-end.zip", true},   // declared data run past the end of the file
    };
    for (const Case& c : cases) {
        const std::string target = Scratch() + "\\" + c.archive;
        EXPECT_EQ(ExtractArchive(Fixture(c.archive), target), 0) << c.archive;
        std::vector<ListedEntry> expected;
        if (c.firstEntryExtracted)
            expected.push_back({"ok.txt", false});
        // The damaged entry's file is not left behind.
        EXPECT_EQ(ListTree(target), expected) << c.archive;
        if (c.firstEntryExtracted) {
            EXPECT_EQ(ReadWholeFile(target + "\\ok.txt"), "harmless\r\n") << c.archive;
        }
    }
}

TEST_F(ExtractArchiveTest, NamesThatLeaveTheTargetGiveZeroAndWriteNothing)
{
    const char* keys[] = {"parent",   "parent-backslash",   "parent-deep", "parent-dots", "parent-dot-space",
                          "absolute", "absolute-backslash", "unc",         "drive",       "drive-relative",
                          "stream",   "device",             "device-extension"};
    // The current folder is where a relative name without its target would land.
    char previousFolder[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previousFolder);
    ASSERT_TRUE(SetCurrentDirectoryA(Scratch().c_str()));
    for (const char* key : keys) {
        const std::string archive = std::string("escape-") + key + ".zip";
        const std::string parent = Scratch() + "\\" + key;
        ASSERT_TRUE(CreateDirectoryA(parent.c_str(), nullptr));
        const std::string target = parent + "\\sub\\target";

        EXPECT_EQ(ExtractArchive(Fixture(archive), target), 0) << key;

        // Every name is checked first: not even the harmless entry before the hostile one is written.
        EXPECT_EQ(ListTree(parent), (std::vector<ListedEntry>{{"sub", true}, {"sub\\target", true}})) << key;
    }
    SetCurrentDirectoryA(previousFolder);
    std::vector<ListedEntry> scratch = ListTree(Scratch());
    for (const ListedEntry& entry : scratch)
        EXPECT_EQ(entry.path.find("escape"), std::string::npos) << entry.path;
    for (const char* root : {"C:\\", "D:\\", "N:\\"}) {
        WIN32_FIND_DATAA found;
        UniqueFindHandle search(FindFirstFileA((std::string(root) + "escape*").c_str(), &found));
        EXPECT_FALSE(search) << root << found.cFileName;
    }
}

TEST_F(ExtractArchiveTest, DestinationsThatCannotBeMadeGiveZero)
{
    // The target is below a file.
    const std::string file = Scratch() + "\\a-file";
    ASSERT_TRUE(WriteTextFile(file, "not a folder"));
    EXPECT_EQ(ExtractArchive(Fixture("infozip-deflated.zip"), file + "\\target"), 0);
    EXPECT_EQ(ReadWholeFile(file), "not a folder");

    // A file entry meets a folder of its name.
    const std::string target = Scratch() + "\\target";
    ASSERT_TRUE(CreateDirectoryA(target.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryA((target + "\\alpha.txt").c_str(), nullptr));
    EXPECT_EQ(ExtractArchive(Fixture("infozip-deflated.zip"), target), 0);
    EXPECT_TRUE(IsFolder(target + "\\alpha.txt"));

    // A file is held open without sharing by a running program.
    DeleteTree(target);
    EXPECT_EQ(ExtractArchive(Fixture("infozip-deflated.zip"), target), 1);
    const std::string held = target + "\\docs\\readme.txt";
    UniqueFileHandle holder(
        CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder);
    EXPECT_EQ(ExtractArchive(Fixture("infozip-deflated.zip"), target), 0);
    holder.Close();
    EXPECT_EQ(ReadWholeFile(held), "Korvexa test archive\r\n");
}

} // namespace
