// Reading shortcut files and their folders back for the tests, and OLE for the test programs.
#include "link_reader.h"

#include "owners.h"
#include "test_support.h"
#include "text.h"

#include <ole2.h>
#include <shlobj.h>
#include <wrl/client.h>

#include <cstdint>
#include <cstring>

using Microsoft::WRL::ComPtr;

namespace {

constexpr std::size_t kShowCommandOffset = 0x3C;

int ShowCommandInHeader(const std::string& linkPath)
{
    std::string bytes = ReadWholeFile(linkPath);
    std::uint32_t value = 0;
    if (bytes.size() >= kShowCommandOffset + sizeof value)
        std::memcpy(&value, bytes.data() + kShowCommandOffset, sizeof value);
    return static_cast<int>(value);
}

} // namespace

std::optional<LinkFields> ReadLink(const std::string& linkPath)
{
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))))
        return std::nullopt;
    ComPtr<IPersistFile> file;
    if (FAILED(link.As(&file)) || FAILED(file->Load(WideFromAnsi(linkPath).c_str(), STGM_READ)))
        return std::nullopt;

    LinkFields fields;
    char text[INFOTIPSIZE] = {};
    if (SUCCEEDED(link->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH)))
        fields.path = text;
    text[0] = '\0';
    if (SUCCEEDED(link->GetWorkingDirectory(text, MAX_PATH)))
        fields.workingDirectory = text;
    text[0] = '\0';
    if (SUCCEEDED(link->GetIconLocation(text, MAX_PATH, &fields.iconIndex)))
        fields.iconPath = text;
    text[0] = '\0';
    if (SUCCEEDED(link->GetDescription(text, INFOTIPSIZE)))
        fields.description = text;
    text[0] = '\0';
    if (SUCCEEDED(link->GetArguments(text, INFOTIPSIZE)))
        fields.arguments = text;
    link->GetHotkey(&fields.hotkey);
    fields.showCommand = ShowCommandInHeader(linkPath);
    return fields;
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::set<std::string> NamesInFolder(const std::string& folder)
{
    std::set<std::string> names;
    WIN32_FIND_DATAA entry;
    UniqueFindHandle search(FindFirstFileA((folder + "*").c_str(), &entry));
    if (!search)
        return names;
    do {
        std::string name = entry.cFileName;
        if (name != "." && name != "..")
            names.insert(name);
    } while (FindNextFileA(search.Get(), &entry));
    return names;
}

std::set<std::string> NamesAddedTo(const std::string& folder, const std::set<std::string>& before)
{
    std::set<std::string> added;
    for (const std::string& name : NamesInFolder(folder))
        if (!before.count(name))
            added.insert(name);
    return added;
}

bool RunningUnderWine()
{
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

void OleEnvironment::SetUp()
{
    ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr)));
}

void OleEnvironment::TearDown()
{
    OleUninitialize();
}
