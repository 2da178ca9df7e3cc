// Desktop shortcuts written through the script host's shell object.
#include "desktop_shortcut.h"

#include "automation.h"
#include "folder_paths.h"
#include "text.h"

#include <windows.h>
#include <ole2.h>
#include <wrl/client.h>

#include <string_view>

using Microsoft::WRL::ComPtr;

namespace {

// All backslash-separated pieces of targetPath but the last, each followed by a backslash,
// after dropping one trailing backslash. Absent when fewer than two pieces remain.
std::optional<std::string> WorkingFolderOfTarget(const std::string& targetPath)
{
    std::string_view path = targetPath;
    if (!path.empty() && FindLastBackslash(path) == path.size() - 1)
        path.remove_suffix(1);
    std::size_t at = FindLastBackslash(path);
    if (at == std::string_view::npos)
        return std::nullopt;
    return std::string(path.substr(0, at + 1));
}

std::string DefaultIconLocation(const std::string& targetPath)
{
    if (ExtensionOfPath(targetPath).empty())
        return "SHELL32.dll,4";
    return targetPath + ",0";
}

ComPtr<IDispatch> CreateObjectOfClass(const CLSID& classId)
{
    ComPtr<IDispatch> object;
    if (FAILED(CoCreateInstance(classId, nullptr, CLSCTX_SERVER, IID_PPV_ARGS(&object))))
        return nullptr;
    return object;
}

// The class "WshShell" as the script host's type library names it. The library is loaded from
// the system folder by its full path: a bare name would be searched for in the program's own
// folder first, where a planted file would then be loaded into this process.
std::optional<CLSID> ShellClassFromTypeLibrary()
{
    std::string systemFolder = FolderPathByNumber(10);
    if (systemFolder.empty())
        return std::nullopt;
    ComPtr<ITypeLib> library;
    if (FAILED(LoadTypeLib(WideFromAnsi(systemFolder + "wshom.ocx").c_str(), &library)))
        return std::nullopt;
    wchar_t name[] = L"WshShell";
    ComPtr<ITypeInfo> type;
    MEMBERID member = MEMBERID_NIL;
    USHORT found = 1;
    if (FAILED(library->FindName(name, 0, &type, &member, &found)) || found != 1 || !type)
        return std::nullopt;
    TYPEATTR* attributes = nullptr;
    if (FAILED(type->GetTypeAttr(&attributes)))
        return std::nullopt;
    CLSID classId = attributes->guid;
    type->ReleaseTypeAttr(attributes);
    return classId;
}

ComPtr<IDispatch> CreateShellObject()
{
    ComPtr<IDispatch> shell;
    if (std::optional<CLSID> classId = ShellClassFromTypeLibrary())
        shell = CreateObjectOfClass(*classId);
    if (!shell) {
        CLSID classId = {};
        if (SUCCEEDED(CLSIDFromString(L"WshShell", &classId)) || SUCCEEDED(CLSIDFromProgID(L"WshShell", &classId)))
            shell = CreateObjectOfClass(classId);
    }
    if (shell)
        OleRun(shell.Get());
    return shell;
}

ComPtr<IDispatch> CreateShortcutObject(const std::string& linkPath)
{
    ComPtr<IDispatch> shell = CreateShellObject();
    if (!shell)
        return nullptr;
    UniqueVariant path = TextVariant(linkPath);
    UniqueVariant result;
    if (!CallMethod(shell.Get(), L"CreateShortcut", path.Get(), result.Get()))
        return nullptr;
    if (result.Get()->vt != VT_DISPATCH)
        return nullptr;
    return result.Get()->pdispVal;
}

} // namespace

bool CreateDesktopShortcut(std::string& linkName, const std::string& targetPath,
                           std::optional<std::string> arguments, std::optional<std::string> iconLocation,
                           std::optional<int> windowStyle, std::optional<std::string> description,
                           std::optional<std::string> hotkey)
{
    if (FindLastBackslash(linkName) != std::string::npos)
        linkName = FileNameOfPath(linkName, false);
    bool hasLinkExtension = FindAsciiNoCase(linkName, ".lnk") != std::string::npos;
    linkName = FolderPathByNumber(0) + linkName + (hasLinkExtension ? "" : ".lnk");
    if (GetFileAttributesA(linkName.c_str()) != INVALID_FILE_ATTRIBUTES)
        DeleteFileA(linkName.c_str());

    std::optional<std::string> workingFolder = WorkingFolderOfTarget(targetPath);
    if (!workingFolder)
        return false;
    // The shell object is released as soon as the shortcut object is had.
    ComPtr<IDispatch> shortcut = CreateShortcutObject(linkName);
    if (!shortcut)
        return false;
    if (!PutProperty(shortcut.Get(), L"TargetPath", TextVariant(targetPath)))
        return false;
    PutProperty(shortcut.Get(), L"WorkingDirectory", TextVariant(*workingFolder));
    PutProperty(shortcut.Get(), L"IconLocation", TextVariant(iconLocation ? *iconLocation : DefaultIconLocation(targetPath)));
    PutProperty(shortcut.Get(), L"WindowStyle", IntegerVariant(windowStyle.value_or(0)));
    PutProperty(shortcut.Get(), L"Description", TextVariant(description.value_or("")));
    PutProperty(shortcut.Get(), L"Arguments", TextVariant(arguments.value_or("")));
    PutProperty(shortcut.Get(), L"Hotkey", TextVariant(hotkey.value_or("")));
    CallMethod(shortcut.Get(), L"Save", nullptr, nullptr);
    return true;
}
