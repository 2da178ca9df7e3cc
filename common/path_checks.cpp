// Guards on paths and names before anything is deleted or written.
#include "path_checks.h"

#include "text.h"

#include <string>

namespace {

// Every '\' and '/' byte splits, even the second byte of a double-byte character: that can only
// make a component look suspicious, never hide one ("..", a colon and spaces hold no such byte).
bool IsSeparator(char c)
{
    return c == '\\' || c == '/';
}

// Calls accept on every component between separators (empty ones too) until it says false.
template <typename Accept>
bool AllComponents(std::string_view path, Accept accept)
{
    std::size_t start = 0;
    for (std::size_t i = 0; i <= path.size(); ++i) {
        if (i == path.size() || IsSeparator(path[i])) {
            if (!accept(path.substr(start, i - start)))
                return false;
            start = i + 1;
        }
    }
    return true;
}

bool OnlyDotsAndSpaces(std::string_view part)
{
    return part.find_first_not_of(". ") == std::string_view::npos;
}

// "NUL", "nul.txt", "Com1 .log": Windows opens the device whatever folder or extension is given.
bool NamesDevice(std::string_view part)
{
    std::string_view base = part.substr(0, part.find('.'));
    while (!base.empty() && base.back() == ' ')
        base.remove_suffix(1);
    const std::string name = LowerCaseAscii(base);
    if (name == "con" || name == "prn" || name == "aux" || name == "nul" || name == "conin$" || name == "conout$")
        return true;
    return name.size() == 4 && (name.starts_with("com") || name.starts_with("lpt")) && name[3] >= '0'
        && name[3] <= '9';
}

} // namespace

bool IsBelowDriveRoot(std::string_view path)
{
    const char drive = static_cast<char>(path.empty() ? 0 : path[0] | 0x20);
    if (path.size() < 4 || drive < 'a' || drive > 'z' || path[1] != ':' || !IsSeparator(path[2]))
        return false;
    bool named = false;
    bool plain = AllComponents(path.substr(3), [&](std::string_view part) {
        if (part.empty())
            return true;
        named = true;
        return !OnlyDotsAndSpaces(part);
    });
    return plain && named;
}

bool IsNameInsideFolder(std::string_view name)
{
    if (!name.empty() && IsSeparator(name.front()))
        return false;
    if (name.find(':') != std::string_view::npos)
        return false;
    return AllComponents(name, [](std::string_view part) {
        bool climbs = OnlyDotsAndSpaces(part) && part.find('.') != part.rfind('.');
        return !climbs && !NamesDevice(part);
    });
}
