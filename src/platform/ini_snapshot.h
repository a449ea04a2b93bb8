#pragma once
// A read-only parsed copy of an INI file, for files that are asked many keys
// (the catalogue, page descriptions, the URL list): IniFile parses the whole
// file again for every read, a snapshot parses it once and answers from memory.
//
// Its reading rules are exactly IniFile's (one parser, platform/ini_parse.h):
// sections and keys match without regard to case (SameTextNoCase), the first
// section of a name and the first key of a name in it win, values are
// trimmed and lose one pair of matching quotes, a byte-order mark is skipped,
// and a missing or unreadable file reads as empty. A snapshot for a file that
// the INI store also reads (the catalogue) may merge a section that occurs
// again into its first occurrence instead, as the store does.
//
// Look-ups never touch the file. Refresh() reads it again when it changed:
// call it where the file may have been edited since (each showing of a
// dialog, each click that lists from it), not before every key.
//
//   IniSnapshot catalogue(select_ini);       // reads and parses the file
//   catalogue.Refresh();                     // again only if it changed
//   for (const std::string& key : catalogue.ReadSection("ITEM")) ...
//
// Not thread-safe for a Refresh while another thread reads.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenlet {

// What a section whose name came before in the file adds.
enum class DuplicateSections {
  kFirstOnly,  // nothing: the first section of a name is the section
  kMerged,     // its keys, after those of the first one (whose keys still win)
};

class IniSnapshot {
 public:
  // Reads the file at once.
  explicit IniSnapshot(std::string path,
                       DuplicateSections duplicates = DuplicateSections::kFirstOnly);
  ~IniSnapshot();
  IniSnapshot(IniSnapshot&&) noexcept;
  IniSnapshot& operator=(IniSnapshot&&) noexcept;

  const std::string& path() const { return path_; }

  // Reads and parses the file again when its size or modification time
  // (nanoseconds) changed, or another file took its place (an atomic replace),
  // since the last read. True when it did.
  bool Refresh();
  // How often the file was read and parsed, the first time included.
  uint64_t LoadCount() const { return load_count_; }
  // Whether the last reading found the file and could read it (a missing or
  // unreadable file reads as empty).
  bool FileRead() const { return file_read_; }

  std::string ReadString(std::string_view section, std::string_view key,
                         const std::string& default_value) const;
  // Lenient integer rule, as IniFile::ReadInteger.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t default_value) const;
  // The value without a copy; valid until the next Refresh or the snapshot's end.
  std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
  bool SectionExists(std::string_view section) const;
  // Key names of a section, in file order (first spelling of each key).
  std::vector<std::string> ReadSection(std::string_view section) const;
  // Section names, in file order (first spelling of each name).
  std::vector<std::string> ReadSections() const;

 private:
  struct Content;
  // What tells one state of the file from another.
  struct Stamp {
    bool exists = false;
    uint64_t device = 0;
    uint64_t inode = 0;
    int64_t size = 0;
    int64_t mtime_sec = 0;
    int64_t mtime_nsec = 0;
    bool operator==(const Stamp&) const = default;
  };
  static Stamp StampOf(const std::string& path);
  void Load(const Stamp& stamp);
  const Content& Parsed() const;

  std::string path_;
  DuplicateSections duplicates_;
  Stamp stamp_;
  // Views into the file's text: held apart so that a move keeps them valid.
  std::unique_ptr<const Content> content_;
  uint64_t load_count_ = 0;
  bool file_read_ = false;
};

}  // namespace quenlet
