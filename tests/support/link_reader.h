// Reading shortcut files and their folders back for the tests, and OLE for the test programs.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>

// Every field a shortcut file holds that the writers set.
struct LinkFields {
    std::string path;
    std::string workingDirectory;
    std::string iconPath;
    int iconIndex = 0;
    // From the file's header: Wine's GetShowCmd answers 1 whatever the file holds.
    int showCommand = 0;
    std::string description;
    std::string arguments;
    WORD hotkey = 0;
};

// The fields of the shortcut file at linkPath, loaded through the shell link object; absent
// when the file cannot be loaded.
std::optional<LinkFields> ReadLink(const std::string& linkPath);

bool FileExists(const std::string& path);

// The names of the files and folders in folder (given with its trailing backslash).
std::set<std::string> NamesInFolder(const std::string& folder);

// The names in folder now that were not in it before.
std::set<std::string> NamesAddedTo(const std::string& folder, const std::set<std::string>& before);

// True when this program runs under Wine rather than Windows.
bool RunningUnderWine();

// OLE initialised on the test thread, as the installer does at start-up. Register it in each
// test program with ::testing::AddGlobalTestEnvironment(new OleEnvironment).
class OleEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;
};
