// The uninstall sequence: confirmation, then the removal of everything the installer made.
#pragma once

#include <string>

// Runs once from the hidden window's creation and ends the process on every path (exit code 0).
[[noreturn]] void RunUninstallSequence();

// The command that deletes the uninstaller's own file (given by its full path) once the
// uninstaller's process has ended and released it.
std::string SelfRemovalCommand(const std::string& uninstallerPath);
