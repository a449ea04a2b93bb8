#pragma once
// Names in settings and device files, and file names, compare without regard
// to ASCII case, as the platform's profile calls and file system did. The
// second byte of a Big5 character is no letter, though: "\xA4\x41" and
// "\xA4\x61" are two different characters.
#include <string>
#include <string_view>

namespace quenlet {

char LowerAscii(char c);

bool SameTextNoCase(std::string_view a, std::string_view b);

// The text with the letters SameTextNoCase folds turned to lower case: two
// names that compare the same have the same key, and keys order names
// alphabetically without regard to case, byte by byte.
std::string NoCaseKey(std::string_view text);

}  // namespace quenlet
