// Reading and writing text values of the registry.
#include "registry.h"

#include "owners.h"
#include "text.h"

#include <vector>

namespace {

std::string ExpandEnvironmentText(const std::string& text)
{
    DWORD size = ExpandEnvironmentStringsA(text.c_str(), nullptr, 0);
    if (size == 0)
        return text;
    std::vector<char> buffer(size);
    if (ExpandEnvironmentStringsA(text.c_str(), buffer.data(), size) == 0)
        return text;
    return std::string(buffer.data());
}

} // namespace

std::string ReadRegistryText(HKEY root, const std::string& itemPath, const std::string& defaultText)
{
    SplitText item = SplitAtLastBackslash(itemPath);
    UniqueKey key;
    if (RegOpenKeyExA(root, item.before.c_str(), 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return defaultText;

    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), item.after.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return defaultText;
    if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0)
        return defaultText;

    // One spare NUL in case the stored data lacks its own terminator.
    std::vector<char> data(size + 1, '\0');
    if (RegQueryValueExA(key.Get(), item.after.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size)
        != ERROR_SUCCESS)
        return defaultText;
    key.Close();

    std::string text(data.data());
    return type == REG_EXPAND_SZ ? ExpandEnvironmentText(text) : text;
}

bool WriteRegistryText(HKEY root, const std::string& itemPath, const std::string& text)
{
    SplitText item = SplitAtLastBackslash(itemPath);
    UniqueKey key;
    if (RegOpenKeyExA(root, item.before.c_str(), 0, KEY_WRITE, key.Receive()) != ERROR_SUCCESS
        && RegCreateKeyA(root, item.before.c_str(), key.Receive()) != ERROR_SUCCESS)
        return false;
    return RegSetValueExA(key.Get(), item.after.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          static_cast<DWORD>(text.size() + 1))
        == ERROR_SUCCESS;
}

bool DeleteRegistryItem(HKEY root, const std::string& itemPath)
{
    SplitText item = SplitAtLastBackslash(itemPath);
    UniqueKey key;
    if (RegOpenKeyExA(root, item.before.c_str(), 0, KEY_WRITE, key.Receive()) == ERROR_SUCCESS
        && RegDeleteValueA(key.Get(), item.after.c_str()) == ERROR_SUCCESS)
        return true;
    key.Close();
    return RegDeleteKeyA(root, itemPath.c_str()) == ERROR_SUCCESS;
}
