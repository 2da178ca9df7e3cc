// The machine's drives.
#include "drives.h"

#include <windows.h>

std::vector<std::string> ListFixedDrives()
{
    std::vector<std::string> drives;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        std::string drive{letter, ':'};
        if (GetDriveTypeA(drive.c_str()) == DRIVE_FIXED)
            drives.push_back(drive);
    }
    return drives;
}
