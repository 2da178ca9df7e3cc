// Where the programs may load DLLs from.
#pragma once

// Only the system folder may supply DLLs loaded at run time: the programs usually run from a
// Downloads folder or the install folder, where a planted DLL must never be loaded.
void RestrictLibraryLoadingToSystemFolder();
