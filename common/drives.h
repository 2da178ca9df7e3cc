// The machine's drives.
#pragma once

#include <string>
#include <vector>

// "C:", "D:" ... for every fixed drive, in alphabetical order.
std::vector<std::string> ListFixedDrives();
