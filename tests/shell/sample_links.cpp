// Writes sample shortcuts with both writers and the shortcut set into one folder, for a reader
// that looks at them from outside Windows. Usage: shell_sample_links <folder>
#include "desktop_shortcut.h"
#include "shell_link.h"
#include "shortcut_set.h"
#include "folder_paths.h"

#include <windows.h>
#include <ole2.h>

#include <string>

namespace {

bool MoveInto(const std::string& from, const std::string& to)
{
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_COPY_ALLOWED) != FALSE;
}

bool WriteSamples(const std::string& folder)
{
    bool ok = true;
    std::string desktop = FolderPathByNumber(3);
    std::string startMenu = FolderPathByNumber(6) + "Korvexa商城\\";

    RemoveOldShortcuts();
    CreateShortcutSet("D");
    ok &= MoveInto(desktop + "Korvexa行情分析系统.lnk", folder + "set-1.lnk");
    ok &= MoveInto(desktop + "Korvexa商城.lnk", folder + "set-2.lnk");
    ok &= MoveInto(startMenu + "Korvexa行情分析系统.lnk", folder + "set-3.lnk");
    ok &= MoveInto(startMenu + "Korvexa商城.lnk", folder + "set-4.lnk");
    ok &= MoveInto(startMenu + "卸载.lnk", folder + "set-5.lnk");
    RemoveDirectoryA(startMenu.c_str());

    std::string linkName = "样本全部字段";
    ok &= CreateDesktopShortcut(linkName, "D:\\Korvexa商城\\DQ\\Veskoqtrn.exe", "-user 张三",
                                "D:\\Korvexa商城\\DQ\\tolvarn.ico,2", 3, "Dunmere行情", std::nullopt);
    ok &= MoveInto(linkName, folder + "desktop-all.lnk");

    ok &= CreateShellLink(folder + "shell-all.lnk", "E:\\数据\\Pravolt.exe", "卸载客户端", "--update 1", "E:\\数据\\");
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2 || FAILED(OleInitialize(nullptr)))
        return 2;
    bool ok = WriteSamples(std::string(argv[1]) + "\\");
    OleUninitialize();
    return ok ? 0 : 1;
}
