#include "platform/ini_file.h"

#include <algorithm>
#include <optional>

#include "platform/atomic_file.h"
#include "platform/ini_parse.h"
#include "platform/int_text.h"
#include "platform/text_compare.h"

namespace quenlet {
namespace {

// One line of the file as read, with what it means.
struct Line {
  IniLine::Kind kind = IniLine::kOther;
  std::string text;   // without its line end
  std::string name;   // section name or key, trimmed
  std::string value;  // key value, trimmed
};

// The file's lines, and whether it began with a byte-order mark (kept on writes).
struct Document {
  bool bom = false;
  std::vector<Line> lines;
};

Document Parse(const std::string& data) {
  Document doc;
  doc.bom = HasByteOrderMark(data);
  ForEachIniLine(data, [&](const IniLine& l) {
    doc.lines.push_back({l.kind, std::string(l.text), std::string(l.name), std::string(l.value)});
  });
  return doc;
}

Document Load(const std::string& path) {
  auto data = ReadWholeFile(path);
  return data ? Parse(*data) : Document{};
}

bool Store(const std::string& path, const Document& doc) {
  std::string out(doc.bom ? kUtf8ByteOrderMark : std::string_view());
  for (const auto& l : doc.lines) {
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
    if (lines[i].kind == IniLine::kSection && SameTextNoCase(lines[i].name, section)) {
      size_t j = i + 1;
      while (j < lines.size() && lines[j].kind != IniLine::kSection) ++j;
      return SectionSpan{i, i + 1, j};
    }
  }
  return std::nullopt;
}

std::optional<size_t> FindKey(const std::vector<Line>& lines, const SectionSpan& span,
                              const std::string& key) {
  for (size_t i = span.first; i < span.last; ++i) {
    if (lines[i].kind == IniLine::kKey && SameTextNoCase(lines[i].name, key)) return i;
  }
  return std::nullopt;
}

// The stored value of `key` in the first section named `section`, as read.
std::optional<std::string> Lookup(const std::vector<Line>& lines, const std::string& section,
                                  const std::string& key) {
  auto span = FindSection(lines, section);
  if (!span) return std::nullopt;
  auto at = FindKey(lines, *span, key);
  if (!at) return std::nullopt;
  return std::string(UnquoteIniValue(lines[*at].value));
}

// Names in file order, the first spelling of each.
void AddOnce(std::vector<std::string>& names, const std::string& name) {
  bool seen = std::any_of(names.begin(), names.end(),
                          [&](const std::string& n) { return SameTextNoCase(n, name); });
  if (!seen) names.push_back(name);
}

bool HasBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

bool Trimmed(std::string_view text) {
  return TrimIniBlanks(text).size() == text.size();
}

// A value the reads would trim or unquote goes inside one more pair of quotes.
std::string StoredValue(const std::string& value) {
  if (value.empty()) return value;
  const bool quoted = UnquoteIniValue(value).size() != value.size();
  return quoted || !Trimmed(value) ? "\"" + value + "\"" : value;
}

// Sets key=value in the lines, as one write of the profile calls would.
void Apply(std::vector<Line>& lines, const std::string& section, const std::string& key,
           const std::string& value) {
  auto span = FindSection(lines, section);
  if (!span) {
    lines.push_back({IniLine::kSection, "[" + section + "]", section, ""});
    lines.push_back({IniLine::kKey, key + "=" + value, key, value});
    return;
  }
  if (auto at = FindKey(lines, *span, key)) {
    // Keep the key as the file spells it.
    lines[*at].text = lines[*at].name + "=" + value;
    lines[*at].value = value;
    return;
  }
  // New key: after the section's last non-blank line.
  size_t insert = span->last;
  while (insert > span->first && TrimIniBlanks(lines[insert - 1].text).empty()) --insert;
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert),
               Line{IniLine::kKey, key + "=" + value, key, value});
}

// Every section of that name goes, as the platform erases all of them.
// Whether one was there.
bool EraseAll(std::vector<Line>& lines, const std::string& section) {
  bool erased = false;
  while (auto span = FindSection(lines, section)) {
    lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(span->header),
                lines.begin() + static_cast<std::ptrdiff_t>(span->last));
    erased = true;
  }
  return erased;
}

}  // namespace

void IniBatch::WriteString(const std::string& section, const std::string& key,
                           const std::string& value) {
  entries_.push_back({section, key, value});
}

void IniBatch::EraseSection(const std::string& section) {
  entries_.push_back({section, "", "", true});
}

void IniBatch::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  WriteString(section, key, std::to_string(value));
}

bool IniBatch::CanWrite() const {
  return std::all_of(entries_.begin(), entries_.end(),
                     [](const Entry& e) { return IniFile::CanWrite(e.section, e.key, e.value); });
}

IniFile::IniFile(std::string path) : path_(std::move(path)) {}

bool IniFile::CanWrite(const std::string& section, const std::string& key,
                       const std::string& value) {
  const bool section_ok =
      !HasBreakOrNul(section) && section.find(']') == std::string::npos && Trimmed(section);
  const bool key_ok = !HasBreakOrNul(key) && key.find('=') == std::string::npos && Trimmed(key) &&
                      (key.empty() || (key.front() != '[' && key.front() != ';'));
  return section_ok && key_ok && !HasBreakOrNul(value);
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& default_value) const {
  return Lookup(Load(path_).lines, section, key).value_or(default_value);
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key,
                             int32_t default_value) const {
  auto value = Lookup(Load(path_).lines, section, key);
  return value ? LenientStrToInt(*value, default_value) : default_value;
}

bool IniFile::SectionExists(const std::string& section) const {
  return FindSection(Load(path_).lines, section).has_value();
}

std::vector<std::string> IniFile::ReadSection(const std::string& section) const {
  const auto lines = Load(path_).lines;
  std::vector<std::string> keys;
  auto span = FindSection(lines, section);
  if (!span) return keys;
  for (size_t i = span->first; i < span->last; ++i) {
    if (lines[i].kind == IniLine::kKey) AddOnce(keys, lines[i].name);
  }
  return keys;
}

std::vector<std::string> IniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const auto& l : Load(path_).lines) {
    if (l.kind == IniLine::kSection) AddOnce(names, l.name);
  }
  return names;
}

std::vector<std::string> IniFile::ReadSectionValues(const std::string& section) const {
  const auto lines = Load(path_).lines;
  std::vector<std::string> out;
  auto span = FindSection(lines, section);
  if (!span) return out;
  std::vector<std::string> keys;
  for (size_t i = span->first; i < span->last; ++i) {
    if (lines[i].kind != IniLine::kKey) continue;
    const size_t before = keys.size();
    AddOnce(keys, lines[i].name);
    if (keys.size() != before)
      out.push_back(lines[i].name + "=" + std::string(UnquoteIniValue(lines[i].value)));
  }
  return out;
}

bool IniFile::WriteString(const std::string& section, const std::string& key,
                          const std::string& value) {
  IniBatch one;
  one.WriteString(section, key, value);
  return Write(one);
}

bool IniFile::Write(const IniBatch& batch) {
  if (!batch.CanWrite()) return false;
  if (batch.empty()) return true;
  Document doc = Load(path_);
  bool changed = false;
  for (const auto& e : batch.entries_) {
    if (e.erase_section) {
      changed = EraseAll(doc.lines, e.section) || changed;
    } else {
      Apply(doc.lines, e.section, e.key, StoredValue(e.value));
      changed = true;
    }
  }
  // Erasing what is not there writes nothing, as EraseSection alone.
  return changed ? Store(path_, doc) : true;
}

bool IniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  return WriteString(section, key, std::to_string(value));
}

bool IniFile::EraseSection(const std::string& section) {
  Document doc = Load(path_);
  return EraseAll(doc.lines, section) ? Store(path_, doc) : true;
}

bool IniFile::DeleteKey(const std::string& section, const std::string& key) {
  Document doc = Load(path_);
  auto span = FindSection(doc.lines, section);
  if (!span) return true;
  auto at = FindKey(doc.lines, *span, key);
  if (!at) return true;
  doc.lines.erase(doc.lines.begin() + static_cast<std::ptrdiff_t>(*at));
  return Store(path_, doc);
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace quenlet
