// The shortcuts of an installation: two on the desktop, three in the Start-menu folder.
#pragma once

#include <string>

// Deletes the two desktop shortcuts and the two program shortcuts in the Start-menu folder,
// then removes that folder if it is empty (an earlier uninstall shortcut keeps it).
void RemoveOldShortcuts();

// Writes the two desktop shortcuts, creates the Start-menu folder and writes its three
// shortcuts, for the installation on installDrive. Results are not looked at.
void CreateShortcutSet(const std::string& installDrive);
