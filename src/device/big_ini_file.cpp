#include "device/big_ini_file.h"

#include "platform/text_compare.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <unordered_set>
#include <utility>
#include <vector>

#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/ini_parse.h"
#include "platform/int_text.h"
#include "platform/program_paths.h"
#include "platform/strprintf.h"

namespace quenlet {
namespace {

constexpr char kEndOfFileMark = 26;
constexpr size_t kDefaultReadChunk = 65536;

bool IsBlankOrTab(char c) {
  return c == ' ' || c == '\t';
}

bool IsSectionHeader(std::string_view line) {
  return line.size() >= 2 && line.front() == '[' && line.back() == ']';
}

// "[" + name + "]" must fit a short-string line to be read back as a header.
bool StorableSectionName(std::string_view name) {
  return name.size() + 2 <= kShortStringLength && !HasLineBreak(name);
}

// A line the store writes must read back as the same line of the same section.
bool StorableLine(std::string_view line) {
  return !HasLineBreak(line) && !IsSectionHeader(line);
}

[[noreturn]] void ThrowReadError(const std::string& path, int error) {
  throw IniStoreError(strprintf("Cannot read INI file '%s': %s", path.c_str(),
                                std::system_category().message(error).c_str()));
}

// The file's bytes; nullopt when there is no such file.
std::optional<std::string> ReadIniText(const std::string& path, size_t chunk_size) {
  // Not blocking: a pipe or device of that name must not hang the program.
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    if (errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    ThrowReadError(path, errno);
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    int error = S_ISDIR(st.st_mode) ? EISDIR : S_ISREG(st.st_mode) ? errno : EINVAL;
    ::close(fd);
    ThrowReadError(path, error);
  }
  // Read in chunks straight into the text, sized for the whole file at once.
  std::string data(static_cast<size_t>(st.st_size) + 1, '\0');
  size_t used = 0;
  for (;;) {
    if (used == data.size()) data.resize(used + chunk_size);  // the file grew meanwhile
    ssize_t n = ::read(fd, data.data() + used, std::min(chunk_size, data.size() - used));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      int error = errno;
      ::close(fd);
      ThrowReadError(path, error);
    }
    if (n == 0) break;
    used += static_cast<size_t>(n);
  }
  data.resize(used);
  ::close(fd);
  return data;
}

// Positive decimal text as the store writes numbers ("1", not "01" or "+1").
std::optional<uint32_t> CanonicalNumber(std::string_view text) {
  if (text.empty() || text.size() > 10 || text[0] == '0') return std::nullopt;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<uint64_t>(c - '0');
  }
  if (value > 0x7FFFFFFF) return std::nullopt;
  return static_cast<uint32_t>(value);
}

}  // namespace

// ---------------------------------------------------------------- loading

TBigIniFile::LoadedFile TBigIniFile::Load(const std::string& file_name) const {
  LoadedFile loaded;
  auto data = ReadIniText(
      file_name, FileBufferSize > 0 ? static_cast<size_t>(FileBufferSize) : kDefaultReadChunk);
  if (!data) return loaded;
  std::string_view text(*data);
  loaded.bom = HasByteOrderMark(text);
  if (loaded.bom) text.remove_prefix(kUtf8ByteOrderMark.size());
  LineList* current = nullptr;
  size_t pos = 0;
  while (pos < text.size()) {
    size_t end = text.find('\n', pos);
    size_t next = end == text.npos ? text.size() : end + 1;
    if (end == text.npos) end = text.size();
    if (end > pos && text[end - 1] == '\r') --end;
    std::string_view view = text.substr(pos, std::min(end - pos, kShortStringLength));
    pos = next;

    if (view.size() == 1 && view[0] == kEndOfFileMark) continue;
    if (SkipCommentLines && !view.empty() && view[0] == ';') continue;
    if (view.empty()) continue;
    if (IsSectionHeader(view)) {
      int32_t index = loaded.sections.Add(std::string(view.substr(1, view.size() - 2)));
      current = &loaded.sections.SectionItems(index);
      continue;
    }

    std::string line(view);
    size_t eq = line.find('=');
    if (TrimAroundEquals && eq != line.npos) {
      while (eq > 0 && IsBlankOrTab(line[eq - 1])) line.erase(--eq, 1);
      while (eq > 0 && eq + 1 < line.size() && IsBlankOrTab(line[eq + 1])) line.erase(eq + 1, 1);
    }
    if (StripQuotes && eq != line.npos && eq > 0 && line.size() - eq - 1 >= 2) {
      char quote = line[eq + 1];
      if ((quote == '"' || quote == '\'') && line.back() == quote) {
        line.pop_back();
        line.erase(eq + 1, 1);
      }
    }
    if (TrimLineEnd) {
      while (!line.empty() && static_cast<unsigned char>(line.back()) < '!') line.pop_back();
    }
    if (RequireEquals && eq == line.npos) continue;
    (current ? *current : loaded.preamble).push_back(std::move(line));
  }
  return loaded;
}

void TBigIniFile::Merge(LoadedFile loaded) {
  last_section_index_ = 0;
  for (int32_t i = 0; i < loaded.sections.Count(); ++i) {
    sections_.Add(loaded.sections.Strings(i), std::move(loaded.sections.SectionItems(i)));
  }
  preamble_.insert(preamble_.end(), std::make_move_iterator(loaded.preamble.begin()),
                   std::make_move_iterator(loaded.preamble.end()));
  // Duplicates are merged in memory only: reading never rewrites the file.
  sections_.EraseDuplicates(DuplicateSectionHandler);
}

TBigIniFile::TBigIniFile(const std::string& file_name) {
  SetFileName(file_name);
}

TBigIniFile::~TBigIniFile() {
  try {
    FlushFile();
  } catch (...) {
    // Nothing can be reported from here; writers check FlushFile themselves.
  }
}

bool TBigIniFile::SetFileName(const std::string& file_name) {
  if (!FlushFile()) return false;
  LoadedFile loaded;
  if (!file_name.empty()) loaded = Load(file_name);
  ClearSectionList();
  file_name_ = file_name;
  bom_ = loaded.bom;
  Merge(std::move(loaded));
  modified_ = false;
  return true;
}

void TBigIniFile::AppendFromFile(const std::string& file_name) {
  Merge(Load(file_name));
}

void TBigIniFile::ClearSectionList() {
  sections_.Clear();
  preamble_.clear();
}

// ---------------------------------------------------------------- look-ups

int32_t TBigIniFile::FindItemIndex(const std::string& section, const std::string& key, bool create,
                                   LineList*& lines) {
  const std::string name = ShortString(section);
  lines = nullptr;
  const int32_t count = sections_.Count();
  const int32_t start = last_section_index_ < count ? last_section_index_ : 0;
  for (int32_t n = 0; n < count; ++n) {
    int32_t i = (start + n) % count;
    if (SameTextNoCase(sections_.Strings(i), name)) {
      last_section_index_ = i;
      lines = &sections_.SectionItems(i);
      return IndexOfName(*lines, ShortString(key));
    }
  }
  if (create) {
    last_section_index_ = sections_.Add(name);
    lines = &sections_.SectionItems(last_section_index_);
  }
  return -1;
}

std::string TBigIniFile::ReadString(const std::string& section, const std::string& key,
                                    const std::string& default_value) {
  LineList* lines = nullptr;
  int32_t index = FindItemIndex(section, key, false, lines);
  if (index < 0) return ShortString(default_value);
  const std::string& line = (*lines)[static_cast<size_t>(index)];
  return ShortString(std::string_view(line).substr(KeyLength(line) + 1));
}

int32_t TBigIniFile::ReadInteger(const std::string& section, const std::string& key,
                                 int32_t default_value) {
  const std::string text = ReadString(section, key, "");
  if (text.empty()) return default_value;
  try {
    return StrToInt(text);
  } catch (const ConversionError&) {
    return default_value;
  }
}

bool TBigIniFile::ReadBool(const std::string& section, const std::string& key, bool default_value) {
  return ReadInteger(section, key, default_value ? 1 : 0) != 0;
}

void TBigIniFile::ReadSection(const std::string& section, LineList& list) {
  int32_t index = sections_.IndexOf(ShortString(section));
  if (index < 0) return;
  for (const std::string& line : sections_.SectionItems(index)) {
    size_t key = KeyLength(line);
    list.push_back(key == line.npos ? std::string() : line.substr(0, key));
  }
}

void TBigIniFile::ReadSections(LineList& list) {
  list.clear();
  for (int32_t i = 0; i < sections_.Count(); ++i) list.push_back(sections_.Strings(i));
}

void TBigIniFile::ReadSectionValues(const std::string& section, LineList& list) {
  int32_t index = sections_.IndexOf(ShortString(section));
  if (index < 0) return;
  const LineList& lines = sections_.SectionItems(index);
  list.insert(list.end(), lines.begin(), lines.end());
}

void TBigIniFile::ReadAll(LineList& list) {
  for (int32_t i = 0; i < sections_.Count(); ++i) {
    const LineList& lines = sections_.SectionItems(i);
    if (lines.empty()) continue;
    list.push_back("[" + sections_.Strings(i) + "]");
    list.insert(list.end(), lines.begin(), lines.end());
    list.emplace_back();
  }
}

// ---------------------------------------------------------------- writes

bool TBigIniFile::WriteString(const std::string& section, const std::string& key,
                              const std::string& value) {
  const std::string name = ShortString(section);
  const std::string k = ShortString(key);
  const std::string v = ShortString(value);
  if (k.empty()) {
    if (name.empty() && v.empty()) return FlushFile();
    EraseSection(name);
    return true;
  }
  // The key must survive the cut to a line with its "=" and read back as itself.
  if (!StorableSectionName(name) || k.size() >= kShortStringLength || k.find('=') != k.npos ||
      HasLineBreak(k) || HasLineBreak(v)) {
    return false;
  }
  const std::string line = ShortString(k + "=" + v);
  if (!StorableLine(line)) return false;
  LineList* lines = nullptr;
  int32_t index = FindItemIndex(name, k, true, lines);
  if (index < 0) {
    lines->push_back(line);
    modified_ = true;
  } else if ((*lines)[static_cast<size_t>(index)] != line) {
    (*lines)[static_cast<size_t>(index)] = line;
    modified_ = true;
  }
  return true;
}

bool TBigIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value) {
  return WriteString(section, key, strprintf("%d", value));
}

bool TBigIniFile::WriteBool(const std::string& section, const std::string& key, bool value) {
  return WriteString(section, key, value ? "1" : "0");
}

void TBigIniFile::EraseSection(const std::string& section) {
  int32_t index = sections_.IndexOf(ShortString(section));
  if (index < 0) return;
  sections_.Delete(index);
  modified_ = true;
  if (last_section_index_ >= sections_.Count()) last_section_index_ = 0;
}

void TBigIniFile::DeleteKey(const std::string& section, const std::string& key) {
  // No section is created for a key that cannot be there.
  LineList* lines = nullptr;
  int32_t index = FindItemIndex(section, key, false, lines);
  if (index < 0) return;
  lines->erase(lines->begin() + index);
  modified_ = true;
}

bool TBigIniFile::FlushFile() {
  if (!modified_) return true;
  if (file_name_.empty()) {
    modified_ = false;
    return true;
  }
  std::string text(bom_ ? kUtf8ByteOrderMark : std::string_view());
  for (const std::string& line : preamble_) text.append(line).append("\r\n");
  for (int32_t i = 0; i < sections_.Count(); ++i) {
    const LineList& lines = sections_.SectionItems(i);
    if (lines.empty()) continue;
    text.append("[").append(sections_.Strings(i)).append("]\r\n");
    for (const std::string& line : lines) text.append(line).append("\r\n");
    text.append("\r\n");
  }
  if (!ReplaceFileAtomically(file_name_, text)) return false;
  modified_ = false;
  return true;
}

// ---------------------------------------------------------------- TBiggerIniFile

int32_t TBiggerIniFile::ReadColor(const std::string& section, const std::string& key,
                                  int32_t default_value) {
  const std::string text =
      ReadString(section, key, strprintf("%08X", static_cast<uint32_t>(default_value)));
  return StrToInt("$" + text);
}

bool TBiggerIniFile::WriteColor(const std::string& section, const std::string& key, int32_t value) {
  return WriteString(section, key, strprintf("%08X", static_cast<uint32_t>(value)));
}

bool TBiggerIniFile::WriteSectionValues(const std::string& section, const LineList& list) {
  const std::string name = ShortString(section);
  if (!StorableSectionName(name)) return false;
  LineList wanted;
  wanted.reserve(list.size());
  for (const std::string& line : list) {
    wanted.push_back(ShortString(line));
    if (!StorableLine(wanted.back())) return false;
  }
  int32_t index = SectionList().IndexOf(name);
  if (index < 0) {
    SectionList().Add(name, std::move(wanted));
    MarkModified();
    return true;
  }
  LineList& lines = SectionList().SectionItems(index);
  if (lines.size() != wanted.size()) {
    lines = std::move(wanted);
    MarkModified();
    return true;
  }
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i] != wanted[i]) {
      lines[i] = std::move(wanted[i]);
      MarkModified();
    }
  }
  return true;
}

void TBiggerIniFile::ReadNumberedList(const std::string& section, LineList& list,
                                      const std::string& default_value) {
  int32_t count = ReadInteger(section, "Count", 0);
  // A section of n lines holds at most n numbered keys; a larger Count comes
  // from a damaged file and must not make up millions of entries.
  LineList* lines = nullptr;
  FindItemIndex(section, "Count", false, lines);
  if (!lines || count <= 0) return;
  if (static_cast<size_t>(count) > lines->size()) count = static_cast<int32_t>(lines->size());
  for (int32_t i = 1; i <= count; ++i) {
    list.push_back(ReadString(section, strprintf("%d", i), default_value));
  }
}

bool TBiggerIniFile::WriteNumberedList(const std::string& section, const LineList& list) {
  const std::string name = ShortString(section);
  if (!StorableSectionName(name)) return false;
  for (const std::string& item : list) {
    if (HasLineBreak(ShortString(item))) return false;
  }
  LineList* lines = nullptr;
  FindItemIndex(name, "Count", false, lines);
  const LineList before = lines ? *lines : LineList{};
  const int32_t old_count = ReadInteger(name, "Count", 0);

  WriteInteger(name, "Count", static_cast<int32_t>(list.size()));
  const bool modified_by_count = Modified();

  // Drop keys "1" to the old Count: the first line of each, as DeleteKey
  // would, found in one pass however large the old Count claims to be.
  FindItemIndex(name, "Count", false, lines);
  std::unordered_set<uint32_t> deleted;
  for (size_t i = 0; i < lines->size();) {
    const std::string& line = (*lines)[i];
    size_t key = KeyLength(line);
    auto number =
        key == line.npos ? std::nullopt : CanonicalNumber(std::string_view(line).substr(0, key));
    if (number && *number <= static_cast<uint32_t>(std::max(old_count, 0)) &&
        deleted.insert(*number).second) {
      lines->erase(lines->begin() + static_cast<std::ptrdiff_t>(i));
      MarkModified();
    } else {
      ++i;
    }
  }
  for (size_t i = 0; i < list.size(); ++i) {
    WriteString(name, strprintf("%zu", i + 1), list[i]);
  }
  if (!modified_by_count) {
    FindItemIndex(name, "Count", false, lines);
    if (*lines == before) {
      ClearModified();
    } else {
      MarkModified();
    }
  }
  return true;
}

// ---------------------------------------------------------------- TAppIniFile

TAppIniFile::TAppIniFile() : TBiggerIniFile(ProgramIniName(RunningExecutable())) {}

TAppIniFile::TAppIniFile(const std::string& program_file)
    : TBiggerIniFile(ProgramIniName(program_file)) {}

}  // namespace quenlet
