// GBK (code page 936) texts: searches that step over double-byte characters.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// A byte of 0x80 or more starts a two-byte character whose second byte is never a separator.
constexpr bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Byte offset of the last backslash that is a character of its own, or npos.
std::size_t FindLastBackslash(std::string_view text);

// Byte offset of the first backslash at or after from (a character boundary) that is a
// character of its own, or npos.
std::size_t FindBackslash(std::string_view text, std::size_t from = 0);

// Byte offset of the first match of an ASCII pattern, ignoring ASCII letter case, or npos.
// A match starts only on a character boundary.
std::size_t FindAsciiNoCase(std::string_view text, std::string_view pattern);

// The text with every ASCII capital letter lowered; double-byte characters copied unchanged.
std::string LowerCaseAscii(std::string_view text);

// The text split at its last backslash: what stands before it and what follows it.
// Without a backslash the first part is empty and the second the whole text.
struct SplitText {
    std::string before;
    std::string after;
};
SplitText SplitAtLastBackslash(std::string_view text);

// The text in UTF-16, converted from the system's ANSI code page, for the automation objects
// and the shell link object.
std::wstring WideFromAnsi(std::string_view text);
