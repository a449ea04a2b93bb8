#pragma once
// The INI-file object: Windows private-profile rules on a real file.
//  - sections and keys match without regard to ASCII case; the first match wins;
//  - blanks around keys and values are trimmed; CR LF and LF both accepted;
//  - the reading rules are those of platform/ini_parse.h (shared with the
//    snapshot); a UTF-8 byte-order mark is skipped and kept on writes;
//  - a missing or unreadable file reads as empty;
//  - a write keeps every other line as it was, writes CR LF line ends, and
//    replaces the file atomically (temporary file beside it, then rename).
// Every read looks at the file as it is now, like the platform's profile calls
// (IniSnapshot, platform/ini_snapshot.h, answers many reads from one parse).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quenlet {

// Several writes to one INI file, made with a single replace of the file:
// every IniFile write reads, rewrites and syncs the whole file, so a dialog
// or page that stores many keys collects them here and writes them at once.
//
//   IniBatch batch;
//   batch.WriteString("SelectDlg", "IcFileName", ic_file);
//   batch.WriteInteger("SelectDlg", "DataSetMode", mode);
//   if (!batch.CanWrite()) { /* say which text cannot be stored */ }
//   if (!IniFile(history).Write(batch)) { /* nothing was written */ }
//
// The entries may name any sections and keys of the file; the file then reads
// exactly as after the same WriteString calls one at a time, in order (a later
// entry for the same key wins). A batch holds no file and can be reused.
class IniBatch {
 public:
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void WriteInteger(const std::string& section, const std::string& key, int32_t value);
  // Every section of that name goes, as IniFile::EraseSection; the entries
  // after it may write the section anew.
  void EraseSection(const std::string& section);

  bool empty() const { return entries_.empty(); }
  size_t size() const { return entries_.size(); }
  void clear() { entries_.clear(); }
  // Whether IniFile::CanWrite accepts every entry.
  bool CanWrite() const;

 private:
  friend class IniFile;
  struct Entry {
    std::string section;
    std::string key;
    std::string value;
    bool erase_section = false;
  };
  std::vector<Entry> entries_;
};

// True when the text holds a line break. Such a name would break the INI
// file it is stored in, so the dialogs refuse it.
bool HasLineBreak(std::string_view text);

class IniFile {
 public:
  explicit IniFile(std::string path);

  const std::string& path() const { return path_; }

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& default_value) const;
  // Lenient integer rule: decimal or 0x hex; anything else gives the default.
  int32_t ReadInteger(const std::string& section, const std::string& key,
                      int32_t default_value) const;
  bool SectionExists(const std::string& section) const;
  // Key names of a section, in file order (first occurrence of each key).
  std::vector<std::string> ReadSection(const std::string& section) const;
  // Section names, in file order.
  std::vector<std::string> ReadSections() const;
  // "key=value" lines of a section, trimmed, in file order.
  std::vector<std::string> ReadSectionValues(const std::string& section) const;

  // Whether WriteString(section, key, value) would store text that reads back
  // as written: no CR, LF or NUL anywhere; a section without "]" and a key
  // without "=" and not starting with "[" or ";", neither with blanks at
  // either end. Callers that write user text (file names, text from the unit)
  // ask this first to say what was refused.
  static bool CanWrite(const std::string& section, const std::string& key,
                       const std::string& value);

  // Writes return false, leaving the file as it was, when the text is refused
  // (CanWrite) or the file could not be replaced. A value with blanks at
  // either end, or in one pair of matching quotes, is written inside double
  // quotes, so that it reads back unchanged.
  bool WriteString(const std::string& section, const std::string& key, const std::string& value);
  bool WriteInteger(const std::string& section, const std::string& key, int32_t value);
  // All the batch's writes with one atomic replace of the file. False, and
  // the file as it was, when any entry is refused (IniBatch::CanWrite) or the
  // file could not be replaced. An empty batch leaves the file alone.
  bool Write(const IniBatch& batch);
  bool EraseSection(const std::string& section);
  bool DeleteKey(const std::string& section, const std::string& key);

 private:
  std::string path_;
};

}  // namespace quenlet
