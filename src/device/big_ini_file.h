#pragma once
// The in-memory INI store: reads a whole INI file into memory, answers
// look-ups from memory and writes the file back only when something changed.
//
// Its rules differ from the private-profile reader (platform/ini_file.h) on
// purpose, since stored catalogue files are written for them:
//  - sections and keys match without regard to ASCII case, first match wins;
//  - a key is the whole text before the first "=" and its value the whole
//    text after it: "key = value" has the key "key " (unless TrimAroundEquals);
//  - names, keys, values and lines are short strings of at most 255 bytes.
//
// Loading never marks the store modified, so a store that is only read never
// rewrites its file. A UTF-8 byte-order mark at the start is not part of the
// first line; a write-back keeps it. Sections that occur twice are merged in memory.
// A write-back replaces the file atomically (temporary file, then rename).
#include <cstdint>
#include <stdexcept>
#include <string>

#include "device/section_list.h"

namespace quenlet {

// A file that exists but cannot be read.
class IniStoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TBigIniFile {
 public:
  // Loads `file_name` (a missing file gives an empty store; an empty name
  // gives a store without a file). Throws IniStoreError when the file exists
  // but cannot be read.
  explicit TBigIniFile(const std::string& file_name);
  // Writes pending changes back (best effort: a destructor cannot report a
  // failure, so callers that write call FlushFile and check it).
  virtual ~TBigIniFile();
  TBigIniFile(const TBigIniFile&) = delete;
  TBigIniFile& operator=(const TBigIniFile&) = delete;

  // Value of `key` in `section`: the whole text after "="; else the default.
  virtual std::string ReadString(const std::string& section, const std::string& key,
                                 const std::string& default_value);
  // Sets key=value in memory. An empty key erases the section, or flushes
  // the file when section and value are empty too. Returns false when the
  // text could not be stored as one line (a line break anywhere, "=" in the
  // key, a name too long to read back) or when the flush asked for failed.
  virtual bool WriteString(const std::string& section, const std::string& key,
                           const std::string& value);
  // The strict integer rule of platform/int_text.h (decimal, or hex after "0x"
  // or "$"); empty or malformed text gives the default.
  virtual int32_t ReadInteger(const std::string& section, const std::string& key,
                              int32_t default_value);
  virtual bool WriteInteger(const std::string& section, const std::string& key, int32_t value);
  virtual bool ReadBool(const std::string& section, const std::string& key, bool default_value);
  virtual bool WriteBool(const std::string& section, const std::string& key, bool value);
  // Appends the key names of the section's lines ("" for a line without "=").
  virtual void ReadSection(const std::string& section, LineList& list);
  // Replaces the list's content by the section names.
  virtual void ReadSections(LineList& list);
  // Appends the section's lines as they are.
  virtual void ReadSectionValues(const std::string& section, LineList& list);
  virtual void EraseSection(const std::string& section);
  virtual void DeleteKey(const std::string& section, const std::string& key);
  // Appends "[name]", the lines and an empty line for every section with lines.
  virtual void ReadAll(LineList& list);
  // Writes the file when modified. Returns false when it could not be
  // replaced; the store then stays modified, so nothing is lost in memory.
  virtual bool FlushFile();
  // Adds the sections of another file to memory (merging sections of one
  // name); does not change FileName or Modified. Throws IniStoreError when
  // the file exists but cannot be read, and then changes nothing.
  virtual void AppendFromFile(const std::string& file_name);

  // Flushes, then switches to `file_name` and loads it. Returns false (and
  // keeps the current file and content) when the pending flush failed.
  // Throws IniStoreError (keeping everything as it was) when the new file
  // cannot be read.
  bool SetFileName(const std::string& file_name);
  void ClearSectionList();
  // Searches the sections from the last one found, without case. Found: sets
  // `lines` to its lines and returns the index of the first line whose key is
  // `key` (-1 when none). Not found: with `create` a new empty section is
  // appended and `lines` set to it, otherwise `lines` is null; returns -1.
  int32_t FindItemIndex(const std::string& section, const std::string& key, bool create,
                        LineList*& lines);

  const std::string& FileName() const { return file_name_; }
  bool Modified() const { return modified_; }
  TSectionList& SectionList() { return sections_; }
  const TSectionList& SectionList() const { return sections_; }
  int32_t LastSectionIndex() const { return last_section_index_; }

  // Parse options, off by default; they apply to the loads that follow.
  bool SkipCommentLines = false;  // a line starting with ";" counts as empty
  bool RequireEquals = false;     // lines without "=" are dropped
  bool TrimAroundEquals = false;  // blanks and tabs around the first "=" removed
  bool StripQuotes = false;       // a value in matching quotes loses them
  bool TrimLineEnd = false;       // trailing blanks and control characters removed
  // Read chunk size in bytes; 0 or less means the default.
  int32_t FileBufferSize = 0x7000;
  // Handed to the duplicate merge after each load; empty by default.
  TEraseSectionCallback DuplicateSectionHandler;

 protected:
  void MarkModified() { modified_ = true; }
  void ClearModified() { modified_ = false; }

 private:
  // The file's sections and the lines before its first section (kept so a
  // write-back does not lose them), read with the current options, and
  // whether the file began with a UTF-8 byte-order mark.
  struct LoadedFile {
    TSectionList sections;
    LineList preamble;
    bool bom = false;
  };
  LoadedFile Load(const std::string& file_name) const;
  void Merge(LoadedFile loaded);

  std::string file_name_;
  bool modified_ = false;
  TSectionList sections_;
  LineList preamble_;
  bool bom_ = false;  // written back before the first line
  int32_t last_section_index_ = 0;
};

class TBiggerIniFile : public TBigIniFile {
 public:
  using TBigIniFile::TBigIniFile;

  // The colour as 8 hexadecimal digits; text that is not hexadecimal throws
  // ConversionError.
  virtual int32_t ReadColor(const std::string& section, const std::string& key,
                            int32_t default_value);
  virtual bool WriteColor(const std::string& section, const std::string& key, int32_t value);

  // Makes the section's lines equal to `list`. Returns false (changing
  // nothing) when a line holds a line break or the section name cannot be stored.
  bool WriteSectionValues(const std::string& section, const LineList& list);
  // Appends the values of keys "1" to Count (default for a missing key).
  void ReadNumberedList(const std::string& section, LineList& list,
                        const std::string& default_value);
  // Writes the list as Count and keys "1" to n, dropping the old numbered keys.
  bool WriteNumberedList(const std::string& section, const LineList& list);
};

// The store on the program's own INI file (ProgramIniName).
class TAppIniFile : public TBiggerIniFile {
 public:
  // The running executable's INI file.
  TAppIniFile();
  // The INI file of the program file `program_file`.
  explicit TAppIniFile(const std::string& program_file);
};

}  // namespace quenlet
