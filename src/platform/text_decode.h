#pragma once
// Texts from device and catalogue files are bytes in whatever the file was
// written in: older files in Big5, newer ones in UTF-8. The program keeps
// the bytes for every look-up, comparison, sort and write, and turns them
// into UTF-8 only to show them.
#include <string>
#include <string_view>

namespace quenlet {

bool IsValidUtf8(std::string_view text);

// The text cut to at most `limit` bytes, never inside a character: a cut
// UTF-8 or Big5 character would show as another text.
std::string CutWholeCharacters(std::string text, size_t limit);

// The bytes as UTF-8: unchanged when they are valid UTF-8, else read as
// Big5, else (bytes that are not Big5 either) read as Latin-1.
std::string DecodeDeviceText(std::string_view bytes);

}  // namespace quenlet
