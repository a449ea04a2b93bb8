#pragma once
// The section table of the in-memory INI store: section names in file order,
// each with the list of its lines as read ("key=value" or any other text).
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quenlet {

// Lines of one section, or any list of texts handed in or out of the store.
using LineList = std::vector<std::string>;

// Decides between two sections of one name found in a file: called with the
// name, the earlier section's lines (keep) and the later one's (drop). May move
// lines between the two. Returning false keeps the later section instead.
using TEraseSectionCallback =
    std::function<bool(const std::string& section, LineList& keep, LineList& drop)>;

// Names, keys and values are stored files' short strings: never longer than this.
inline constexpr size_t kShortStringLength = 255;

// `text` cut to the short-string length (bytes; a multi-byte character at the
// cut may be split, nothing beyond the text is read).
std::string ShortString(std::string_view text);

// The key of a "key=value" line: the text before its first "=". Lines without
// "=" have no key (npos).
size_t KeyLength(std::string_view line);

// Name-value look-ups over any list of "name=value" lines.
// Index of the first line whose key is `name` (without case); -1 when none.
// Lines without "=" never match.
int32_t IndexOfName(const LineList& lines, std::string_view name);
// Text after the name and "=" of that line (a short string); empty when absent.
std::string GetValue(const LineList& lines, std::string_view name);
// Non-empty value: replace that line by name=value, or append it. Empty value:
// delete the line when present.
void SetValue(LineList& lines, std::string_view name, std::string_view value);

class TSectionList {
 public:
  int32_t Count() const { return static_cast<int32_t>(entries_.size()); }
  bool Empty() const { return entries_.empty(); }

  // Name of section `index`; throws std::out_of_range for a bad index.
  const std::string& Strings(int32_t index) const;
  // Lines of section `index`; throws std::out_of_range for a bad index.
  LineList& SectionItems(int32_t index);
  const LineList& SectionItems(int32_t index) const;

  // Appends a section (also when one of that name exists); returns its index.
  int32_t Add(std::string name, LineList lines = {});
  // Removes section `index` with its lines; throws std::out_of_range.
  void Delete(int32_t index);
  void Clear();

  // Index of a section named `name` (without case), searching from the last
  // index found to the end and then from the start; -1 when absent.
  int32_t IndexOf(std::string_view name);
  int32_t LastFoundIndex() const { return last_found_index_; }

  // Leaves one section of each name (without case). For each later section of
  // a name already seen, `handler` (when given) decides which stays; without
  // one the first stays and the later section's lines are appended to its
  // lines, so look-ups still find the first section's keys first and nothing
  // read is lost. Returns true when a duplicate was found.
  bool EraseDuplicates(const TEraseSectionCallback& handler);

  // The name-value look-ups above, over the section names themselves.
  int32_t IndexOfName(std::string_view name) const;
  std::string GetValue(std::string_view name) const;
  void SetValue(std::string_view name, std::string_view value);

 private:
  struct Entry {
    std::string name;
    LineList lines;
  };
  const Entry& At(int32_t index) const;
  LineList Names() const;

  std::vector<Entry> entries_;
  int32_t last_found_index_ = 0;
};

}  // namespace quenlet
