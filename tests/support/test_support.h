// Shared helpers of the tests: paths beside the test executable, folders, processes, the registry.
#pragma once

#include <windows.h>

#include <string>

// The build folder as the tests see it (the folder above the test executable's folder), no trailing backslash.
std::string BuildFolder();

// The installer and uninstaller executables of this build.
std::string InstallerExePath();
std::string UninstallerExePath();

// A fresh empty folder for one test, removed with its content by the destructor.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& path);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// Removes a folder with everything in it (test cleanup only).
void DeleteTree(const std::string& path);

bool WriteTextFile(const std::string& path, const std::string& content);
std::string ReadWholeFile(const std::string& path);

// The registry value of the installation, set up per test case.
void ClearInstallDriveValue();
void SetInstallDriveValue(DWORD type, const void* data, DWORD size);
void SetInstallDriveText(const std::string& text);

// GBK bytes shown readably in test failure messages.
std::string Utf8(const std::string& gbk);
