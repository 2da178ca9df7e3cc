// DLLs loaded at run time come from the system folder only.
#include "library_loading.h"

#include "test_support.h"

#include <gtest/gtest.h>

namespace {

TEST(RestrictLibraryLoadingToSystemFolder, PlantedDllIsNoLongerFound)
{
    // planted_probe.dll lies beside this program, which is also its current directory.
    SetCurrentDirectoryA((BuildFolder() + "\\tests").c_str());
    HMODULE planted = LoadLibraryA("planted_probe.dll");
    ASSERT_NE(planted, nullptr) << "without the restriction the program's own folder is searched";
    FreeLibrary(planted);

    RestrictLibraryLoadingToSystemFolder();

    EXPECT_EQ(LoadLibraryA("planted_probe.dll"), nullptr);
    HMODULE system = LoadLibraryA("version.dll");
    EXPECT_NE(system, nullptr) << "system DLLs still load";
    if (system)
        FreeLibrary(system);
}

} // namespace
