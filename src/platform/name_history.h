#pragma once
// A list of recent names kept in a section of an INI file: keys H0, H1, ...
// in list order, H0 the most recent. The history combo box of the load and
// save dialogs shows one; the load command adds the loaded file's name to
// the load dialog's once the file has loaded. Names are bytes and stay
// bytes, whatever they are encoded in.
#include <string>
#include <vector>

namespace quenlet {

class NameHistory {
 public:
  NameHistory(std::string ini_file, std::string section, int max_length);

  const std::string& ini_file() const { return ini_file_; }
  const std::string& section() const { return section_; }
  int max_length() const { return max_length_; }

  // H0, H1, ... up to max_length entries or the first empty one; entries
  // holding a line break are skipped.
  std::vector<std::string> Read() const;

  // The list with `text` on top: later entries equal to it (byte for byte),
  // entries holding a line break and those past max_length (at least 1)
  // dropped. An empty text adds nothing and drops the empty entries; a text
  // holding a line break is not put on top.
  std::vector<std::string> WithOnTop(const std::vector<std::string>& items,
                                     const std::string& text) const;

  // Rewrites the section from `items` in one replace of the file, so that
  // a failed write leaves the history as it was. False when it failed.
  bool Write(const std::vector<std::string>& items) const;

  // Read, WithOnTop and Write: `text` on top of the stored list.
  bool Add(const std::string& text) const;

 private:
  std::string ini_file_;
  std::string section_;
  int max_length_;
};

}  // namespace quenlet
