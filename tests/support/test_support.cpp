// Shared helpers of the tests: paths beside the test executable, folders, processes, the registry.
#include "test_support.h"

#include "owners.h"
#include "text.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace {

const char kInstallKey[] = "Korvexa商城";
const char kInstallValue[] = "安装目录";

std::string ExeFolder()
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return SplitAtLastBackslash(path).before;
}

} // namespace

std::string BuildFolder()
{
    return SplitAtLastBackslash(ExeFolder()).before;
}

std::string InstallerExePath()
{
    return BuildFolder() + "\\installer\\KorvexaSetup.exe";
}

std::string UninstallerExePath()
{
    return BuildFolder() + "\\uninstaller\\qtrnUninstall.exe";
}

ScratchFolder::ScratchFolder(const std::string& path) : path_(path)
{
    DeleteTree(path_);
    std::string partial;
    for (std::size_t i = 0; i <= path_.size(); ++i) {
        if (i == path_.size() || path_[i] == '\\') {
            partial = path_.substr(0, i);
            if (partial.size() > 2)
                CreateDirectoryA(partial.c_str(), nullptr);
        }
    }
}

ScratchFolder::~ScratchFolder()
{
    DeleteTree(path_);
}

void DeleteTree(const std::string& path)
{
    WIN32_FIND_DATAA entry;
    UniqueFindHandle search(FindFirstFileA((path + "\\*").c_str(), &entry));
    if (search) {
        do {
            std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            std::string full = path + "\\" + name;
            SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !(entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
                DeleteTree(full);
            else if (!DeleteFileA(full.c_str()))
                RemoveDirectoryA(full.c_str());
        } while (FindNextFileA(search.Get(), &entry));
    }
    search.Close();
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (!RemoveDirectoryA(path.c_str()))
        DeleteFileA(path.c_str());
}

bool WriteTextFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary);
    out << content;
    return static_cast<bool>(out);
}

std::string ReadWholeFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

void ClearInstallDriveValue()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, kInstallKey);
}

void SetInstallDriveValue(DWORD type, const void* data, DWORD size)
{
    ClearInstallDriveValue();
    UniqueKey key;
    RegCreateKeyA(HKEY_CURRENT_USER, kInstallKey, key.Receive());
    RegSetValueExA(key.Get(), kInstallValue, 0, type, static_cast<const BYTE*>(data), size);
}

void SetInstallDriveText(const std::string& text)
{
    SetInstallDriveValue(REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
}

std::string Utf8(const std::string& gbk)
{
    int wide = MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), nullptr, 0);
    std::wstring w(wide, L'\0');
    MultiByteToWideChar(936, 0, gbk.data(), static_cast<int>(gbk.size()), w.data(), wide);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(bytes, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), wide, out.data(), bytes, nullptr, nullptr);
    return out;
}
