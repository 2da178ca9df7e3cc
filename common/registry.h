// Reading and writing text values of the registry.
#pragma once

#include <windows.h>

#include <string>

// The text value named by itemPath ("key\value", split at the last backslash) below root.
// REG_EXPAND_SZ values come back expanded. A missing key or value, a value of another type,
// a value of zero bytes or a failed read all give defaultText.
std::string ReadRegistryText(HKEY root, const std::string& itemPath, const std::string& defaultText);

// Stores text as a REG_SZ value at itemPath below root, creating the key when needed.
bool WriteRegistryText(HKEY root, const std::string& itemPath, const std::string& text);

// Deletes the value at itemPath; when there is no such value, the key named by the whole itemPath.
bool DeleteRegistryItem(HKEY root, const std::string& itemPath);
