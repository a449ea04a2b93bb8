#pragma once
// The private-profile reading rules, in one place, for the INI object
// (platform/ini_file.h) and the read-only snapshot (platform/ini_snapshot.h):
//  - a UTF-8 byte-order mark at the start of the text is not part of it;
//  - lines end with LF or CR LF;
//  - a line whose first non-blank character is "[" names a section: the text
//    up to the first "]" (or the line end), trimmed;
//  - a line whose first non-blank character is ";" is a comment;
//  - any other line with "=" is a key: the trimmed text before the first "="
//    and the trimmed text after it; other lines mean nothing;
//  - a value in one pair of matching quotes (" or ') reads without them.
// Blanks are spaces and tabs.
#include <cstddef>
#include <string_view>

namespace quenlet {

inline constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

struct IniLine {
  enum Kind { kOther, kSection, kKey } kind = kOther;
  std::string_view text;   // the line without its line end
  std::string_view name;   // section name or key, trimmed
  std::string_view value;  // key value, trimmed, quotes not yet removed
};

bool IsIniBlank(char c);
std::string_view TrimIniBlanks(std::string_view text);

// What one line (without its line end) means.
IniLine ParseIniLine(std::string_view text);

// A key's value as the reads return it: one pair of matching quotes removed.
std::string_view UnquoteIniValue(std::string_view value);

// Whether the text starts with the byte-order mark.
inline bool HasByteOrderMark(std::string_view data) {
  return data.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark;
}

// Calls on_line(const IniLine&) for every line of `data`, in order.
template <class OnLine>
void ForEachIniLine(std::string_view data, OnLine&& on_line) {
  if (HasByteOrderMark(data)) data.remove_prefix(kUtf8ByteOrderMark.size());
  size_t pos = 0;
  while (pos < data.size()) {
    size_t end = data.find('\n', pos);
    const size_t next = end == std::string_view::npos ? data.size() : end + 1;
    if (end == std::string_view::npos) end = data.size();
    if (end > pos && data[end - 1] == '\r') --end;
    on_line(ParseIniLine(data.substr(pos, end - pos)));
    pos = next;
  }
}

}  // namespace quenlet
