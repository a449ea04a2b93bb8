#pragma once
// Names in settings and device files, and file names, compare without regard
// to ASCII case, as the platform's profile calls and file system did. The
// second byte of a Big5 character is no letter, though: "\xA4\x41" and
// "\xA4\x61" are two different characters.
#include <string_view>

namespace quenlet {

char LowerAscii(char c);

bool SameTextNoCase(std::string_view a, std::string_view b);

}  // namespace quenlet
