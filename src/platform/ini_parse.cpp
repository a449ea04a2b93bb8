#include "platform/ini_parse.h"

namespace quenlet {

bool IsIniBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string_view TrimIniBlanks(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsIniBlank(text[b])) ++b;
  while (e > b && IsIniBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

IniLine ParseIniLine(std::string_view text) {
  IniLine line;
  line.text = text;
  const std::string_view t = TrimIniBlanks(text);
  if (t.empty() || t.front() == ';') return line;
  if (t.front() == '[') {
    line.kind = IniLine::kSection;
    line.name = TrimIniBlanks(t.substr(1, t.find(']') - 1));
    return line;
  }
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) return line;
  line.kind = IniLine::kKey;
  line.name = TrimIniBlanks(t.substr(0, eq));
  line.value = TrimIniBlanks(t.substr(eq + 1));
  return line;
}

std::string_view UnquoteIniValue(std::string_view value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

}  // namespace quenlet
