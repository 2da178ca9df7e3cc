// Where the programs may load DLLs from.
#include "library_loading.h"

#include <windows.h>

void RestrictLibraryLoadingToSystemFolder()
{
    SetDllDirectoryA(""); // takes the current directory out of the search
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
}
