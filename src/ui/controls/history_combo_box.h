#pragma once
// A combo box that remembers its recent entries in a section of an INI file:
// keys H0, H1, ... in list order, H0 the most recent. The load and save
// dialogs use it for their file names.
//
// Typing and Enter never add an item by themselves: only WriteIniFile puts
// the current text into the list. Entries holding a line break are neither
// read nor written, since they would break the INI file.
//
// Entries are bytes (platform/name_history.h): each item shows its decoded
// name and keeps its bytes, and the edit keeps the bytes of the name put
// into it or picked from the list (display_text.h), so a name that is not
// UTF-8 comes back byte for byte however often the list is written.
#include <QComboBox>
#include <functional>
#include <string>
#include <vector>

#include "platform/name_history.h"

namespace quenlet {

class THistoryComboBox : public QComboBox {
  Q_OBJECT

 public:
  // An editable box with MaxHistoryLength 7, no section and no file name.
  explicit THistoryComboBox(QWidget* owner = nullptr);

  // The INI file; empty means the program's own INI file (the executable's
  // name with ".ini", in whatever letter case it exists).
  const std::string& IniFileName() const { return ini_file_name_; }
  void SetIniFileName(std::string name) { ini_file_name_ = std::move(name); }
  // The history's section; while empty, ReadIniFile and WriteIniFile do
  // nothing at all.
  const std::string& IniSection() const { return ini_section_; }
  void SetIniSection(std::string section) { ini_section_ = std::move(section); }
  int MaxHistoryLength() const { return max_history_length_; }
  void SetMaxHistoryLength(int n) { max_history_length_ = n; }

  // The file ReadIniFile and WriteIniFile use.
  std::string EffectiveIniFileName() const;
  // The history as the INI file keeps it.
  NameHistory History() const;

  // Clears the items and the edit text, then appends H0, H1, ... up to
  // MaxHistoryLength entries or the first empty one. The edit text stays
  // empty.
  void ReadIniFile();
  // Puts the current text (when not empty) at the top, removes later
  // entries equal to it (case-sensitive) and those past MaxHistoryLength,
  // and rewrites the section from the list. False when the file could not
  // be written.
  bool WriteIniFile();
  // What WriteIniFile would write, to be written later (after the work the
  // name is for has succeeded), when this box may be gone. Does nothing
  // (true) while the section is empty.
  std::function<bool()> DeferredWrite() const;

  // The entries' bytes, and the bytes of the edit's name.
  std::vector<std::string> Items() const;
  std::string Text() const;
  void SetText(const std::string& text);

 private:
  std::string ini_file_name_;
  std::string ini_section_;
  int max_history_length_ = 7;
};

}  // namespace quenlet
