// Shortcuts written directly through the shell link object.
#include "shell_link.h"

#include "text.h"

#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

bool CreateShellLink(const std::string& linkPath, const std::string& targetPath,
                     std::optional<std::string> description, std::optional<std::string> arguments,
                     std::optional<std::string> workingDirectory)
{
    ComPtr<IShellLinkA> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))))
        return false;
    ComPtr<IPersistFile> file;
    if (FAILED(link.As(&file)))
        return false;

    link->SetPath(targetPath.c_str());
    link->SetShowCmd(SW_SHOW);
    if (description)
        link->SetDescription(description->c_str());
    if (arguments)
        link->SetArguments(arguments->c_str());
    if (workingDirectory)
        link->SetWorkingDirectory(workingDirectory->c_str());

    // A full stop is never the second byte of a GBK character, so a plain search will do.
    std::string fileName = linkPath.find('.') == std::string::npos ? linkPath + ".lnk" : linkPath;
    return SUCCEEDED(file->Save(WideFromAnsi(fileName).c_str(), TRUE));
}
