// The quotes client's settings file: three paths pointed at the install drive.
#pragma once

#include <string>

// Sets ORDER, BASEPATH and ALERT of section ICONFIG in the quotes client's ICONFIG.INI on
// installDrive to the paths of that installation; other keys and sections stay unchanged.
// The file and the section are created when missing. True when all three were written.
bool WriteClientSettings(const std::string& installDrive);
