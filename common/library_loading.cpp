// Where the programs may load DLLs from.
#include "library_loading.h"

#include <windows.h>

void RestrictLibraryLoadingToSystemFolder()
{
    SetDllDirectoryA(""); // takes the current directory out of the search
    // Looked up rather than imported: Windows 7 without its loader update lacks the function,
    // and an import would keep the program from starting at all there.
    using SetDefaultDllDirectoriesFunction = BOOL(WINAPI*)(DWORD);
    auto setDefaultDllDirectories = reinterpret_cast<SetDefaultDllDirectoriesFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "SetDefaultDllDirectories")));
    if (setDefaultDllDirectories)
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
