// GBK (code page 936) texts: searches that step over double-byte characters.
#include "text.h"

#include <windows.h>

namespace {

// Length in bytes of the character that starts at offset, never beyond the end.
std::size_t CharacterLength(std::string_view text, std::size_t offset)
{
    if (IsLeadByte(text[offset]) && offset + 1 < text.size() && text[offset + 1] != '\0')
        return 2;
    return 1;
}

char LowerAscii(char c)
{
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c;
}

} // namespace

std::size_t FindLastBackslash(std::string_view text)
{
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += CharacterLength(text, i)) {
        if (text[i] == '\\')
            found = i;
    }
    return found;
}

std::size_t FindBackslash(std::string_view text, std::size_t from)
{
    for (std::size_t i = from; i < text.size(); i += CharacterLength(text, i)) {
        if (text[i] == '\\')
            return i;
    }
    return std::string_view::npos;
}

std::size_t FindAsciiNoCase(std::string_view text, std::string_view pattern)
{
    if (pattern.empty())
        return 0;
    for (std::size_t i = 0; i + pattern.size() <= text.size(); i += CharacterLength(text, i)) {
        std::size_t k = 0;
        while (k < pattern.size() && LowerAscii(text[i + k]) == LowerAscii(pattern[k]))
            ++k;
        if (k == pattern.size())
            return i;
    }
    return std::string_view::npos;
}

std::string LowerCaseAscii(std::string_view text)
{
    std::string lowered;
    lowered.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\0')
            break;
        if (IsLeadByte(c)) {
            lowered += c;
            if (i + 1 < text.size() && text[i + 1] != '\0')
                lowered += text[++i];
            continue;
        }
        lowered += LowerAscii(c);
    }
    return lowered;
}

SplitText SplitAtLastBackslash(std::string_view text)
{
    std::size_t at = FindLastBackslash(text);
    if (at == std::string_view::npos)
        return {std::string(), std::string(text)};
    return {std::string(text.substr(0, at)), std::string(text.substr(at + 1))};
}

std::wstring WideFromAnsi(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    if (text.empty())
        return std::wstring();
    int size = static_cast<int>(text.size());
    int length = MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), size, wide.data(), length);
    return wide;
}
