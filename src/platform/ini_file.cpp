#include "platform/ini_file.h"

#include <algorithm>
#include <optional>

#include "platform/atomic_file.h"
#include "platform/int_text.h"
#include "platform/text_compare.h"

namespace quenlet {
namespace {

bool IsBlank(char c) {
  return c == ' ' || c == '\t';
}

std::string Trim(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

// One line of the file as read, with what it means.
struct Line {
  enum Kind { kOther, kSection, kKey } kind = kOther;
  std::string text;   // without its line end
  std::string name;   // section name or key, trimmed
  std::string value;  // key value, trimmed
};

std::vector<Line> Parse(const std::string& data) {
  std::vector<Line> lines;
  size_t pos = 0;
  while (pos < data.size()) {
    size_t end = data.find('\n', pos);
    size_t next = end == std::string::npos ? data.size() : end + 1;
    if (end == std::string::npos) end = data.size();
    if (end > pos && data[end - 1] == '\r') --end;
    Line line;
    line.text = data.substr(pos, end - pos);
    std::string t = Trim(line.text);
    if (!t.empty() && t.front() == '[') {
      size_t close = t.find(']');
      line.kind = Line::kSection;
      line.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
    } else if (!t.empty() && t.front() != ';') {
      size_t eq = t.find('=');
      if (eq != std::string::npos) {
        line.kind = Line::kKey;
        line.name = Trim(t.substr(0, eq));
        line.value = Trim(t.substr(eq + 1));
      }
    }
    lines.push_back(std::move(line));
    pos = next;
  }
  return lines;
}

std::vector<Line> Load(const std::string& path) {
  auto data = ReadWholeFile(path);
  return data ? Parse(*data) : std::vector<Line>{};
}

bool Store(const std::string& path, const std::vector<Line>& lines) {
  std::string out;
  for (const auto& l : lines) {
    out += l.text;
    out += "\r\n";
  }
  return ReplaceFileAtomically(path, out);
}

// Index range [first, last) of the lines that belong to the first section
// named `section` (header excluded); nullopt when there is none.
struct SectionSpan {
  size_t header;
  size_t first;
  size_t last;
};

std::optional<SectionSpan> FindSection(const std::vector<Line>& lines, const std::string& section) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].kind == Line::kSection && SameTextNoCase(lines[i].name, section)) {
      size_t j = i + 1;
      while (j < lines.size() && lines[j].kind != Line::kSection) ++j;
      return SectionSpan{i, i + 1, j};
    }
  }
  return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<Line>& lines, const SectionSpan& span,
                              const std::string& key) {
  for (size_t i = span.first; i < span.last; ++i) {
    if (lines[i].kind == Line::kKey && SameTextNoCase(lines[i].name, key)) return i;
  }
  return std::nullopt;
}

// The platform strips one pair of matching quotes around a value.
std::string Unquote(const std::string& v) {
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    return v.substr(1, v.size() - 2);
  }
  return v;
}

}  // namespace

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& default_value) const {
  auto lines = Load(path_);
  auto span = FindSection(lines, section);
  if (!span) return default_value;
  auto at = FindKey(lines, *span, key);
  return at ? Unquote(lines[*at].value) : default_value;
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key,
                             int32_t default_value) const {
  auto lines = Load(path_);
  auto span = FindSection(lines, section);
  if (!span) return default_value;
  auto at = FindKey(lines, *span, key);
  return at ? LenientStrToInt(Unquote(lines[*at].value), default_value) : default_value;
}

bool IniFile::SectionExists(const std::string& section) const {
  return FindSection(Load(path_), section).has_value();
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
  auto lines = Load(path_);
  std::vector<std::string> keys;
  auto span = FindSection(lines, section);
  if (!span) return keys;
  for (size_t i = span->first; i < span->last; ++i) {
    if (lines[i].kind != Line::kKey) continue;
    bool seen = std::any_of(keys.begin(), keys.end(),
                            [&](const std::string& k) { return SameTextNoCase(k, lines[i].name); });
    if (!seen) keys.push_back(lines[i].name);
  }
  return keys;
}

std::vector<std::string> IniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const auto& l : Load(path_)) {
    if (l.kind != Line::kSection) continue;
    bool seen = std::any_of(names.begin(), names.end(),
                            [&](const std::string& n) { return SameTextNoCase(n, l.name); });
    if (!seen) names.push_back(l.name);
  }
  return names;
}

std::vector<std::string> IniFile::ReadSectionValues(const std::string& section) const {
  std::vector<std::string> out;
  for (const auto& key : ReadSection(section))
    out.push_back(key + "=" + ReadString(section, key, ""));
  return out;
}

bool IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  auto lines = Load(path_);
  auto span = FindSection(lines, section);
  Line entry;
  entry.kind = Line::kKey;
  entry.name = key;
  entry.value = value;
  if (!span) {
    Line header;
    header.kind = Line::kSection;
    header.name = section;
    header.text = "[" + section + "]";
    lines.push_back(header);
    entry.text = key + "=" + value;
    lines.push_back(entry);
    return Store(path_, lines);
  }
  if (auto at = FindKey(lines, *span, key)) {
    // Keep the key as the file spells it.
    lines[*at].text = lines[*at].name + "=" + value;
    lines[*at].value = value;
    return Store(path_, lines);
  }
  // New key: after the section's last non-blank line.
  size_t insert = span->last;
  while (insert > span->first && Trim(lines[insert - 1].text).empty()) --insert;
  entry.text = key + "=" + value;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert), entry);
  return Store(path_, lines);
}

bool IniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::EraseSection(const std::string& section) {
  auto lines = Load(path_);
  bool changed = false;
  // Every section of that name goes, as the platform erases all of them.
  while (auto span = FindSection(lines, section)) {
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(span->header),
                lines.begin() + static_cast<std::ptrdiff_t>(span->last));
    changed = true;
  }
  return changed ? Store(path_, lines) : true;
}

bool IniFile::DeleteKey(const std::string& section, const std::string& key) {
  auto lines = Load(path_);
  auto span = FindSection(lines, section);
  if (!span) return true;
  auto at = FindKey(lines, *span, key);
  if (!at) return true;
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(*at));
  return Store(path_, lines);
}

}  // namespace quenlet
