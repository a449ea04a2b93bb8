#pragma once
// The page-description file of a device's option pages (IC INI key Menu,
// a path below the program directory): the pages, the components on each
// with their places, captions, value types and limits, and the defaults of
// check boxes and radio groups. Its walk order (pages, then components) is
// also the order of the values in the programmer's option block.
//
// Counts come from the file and are bounded here, so that a damaged or
// hostile file cannot make the builder or the unpack run away: negative
// counts are 0; at most 128 pages, 256 radio items a group and 1024
// explanation lines a box; radio columns 1 to 16. The whole set holds at
// most 128 components (the block carries 128 values at most), 4096 radio
// items and 4096 explanation lines: what the file describes beyond a bound
// is left out, and the set says so (OptionPageSet::cut). Each text is cut to
// 2047 bytes, as the platform's profile reads did, and every place and size
// is clamped to the option window's client area.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quenlet {

class IniSnapshot;
class ProgramPaths;
struct SelectedDevice;

inline constexpr int32_t kMaxOptionPages = 128;
inline constexpr int32_t kMaxOptionComponents = 128;  // in all pages together
inline constexpr int32_t kMaxRadioItems = 256;
inline constexpr int32_t kMaxOptionRadioItems = 4096;  // in all groups together
inline constexpr int32_t kMaxExplanationLines = 1024;
inline constexpr int32_t kMaxOptionExplanationLines = 4096;  // in all boxes together
inline constexpr int32_t kMaxRadioColumns = 16;
inline constexpr size_t kMaxOptionText = 2047;
// The option window's client area, where every control of the pages lies.
inline constexpr int32_t kOptionWindowWidth = 534;
inline constexpr int32_t kOptionWindowHeight = 366;

// Said once when a page file describes more than the bounds let in; formatted
// with the file's path.
inline constexpr const char* kOptionPagesCutFormat =
    "The option page file \"%s\" describes more than the option pages hold: only its first "
    "128 components, 4096 radio items and 4096 explanation lines are used.";

// Component kinds (ComponentType%d).
enum OptionKind : int32_t {
  kOptionCheckBox = 0,
  kOptionRadioGroup = 1,
  kOptionValueEdit = 2,
  kOptionExplanation = 3,
};

// Where the pages find their current values: temp.ini and the page file's
// own defaults, section [CurrentUserPageSetup], key Page<p>Com<c>Set.
inline constexpr const char* kOptionValueSection = "CurrentUserPageSetup";
std::string OptionValueKey(int32_t page, int32_t component);

struct OptionComponent {
  int32_t page = 0;
  int32_t index = 0;
  // ComponentType%d and ValueType%d, nullopt when missing or not a number:
  // the builder then takes -1 (no control), the unpack 0 (one word).
  std::optional<int32_t> kind_key;
  std::optional<int32_t> value_type_key;
  int32_t kind() const { return kind_key.value_or(-1); }
  int32_t value_type() const { return value_type_key.value_or(-1); }

  std::string caption = "NONE";
  int32_t top = 1;
  int32_t left = 1;
  int32_t width = 1;
  int32_t height = 1;
  int32_t radio_columns = 1;
  std::vector<std::string> radio_items;
  // Read for value types 0 to 5 only; the minimum is kept, never applied.
  uint32_t value_max = 0;
  uint32_t value_min = 0;
  std::vector<std::string> explanation;
  // Characters of a text value (Length%d); negative counts as 0.
  int32_t length = 0;
  // The page file's [CurrentUserPageSetup] value: what check boxes and radio
  // groups show until the programmer has given values.
  int32_t file_default = 0;

  // Words of the option block this component's value takes: Length%d for a
  // text value (kind 2, value type 6 or more), else one. Missing keys count
  // as kind and type 0.
  uint32_t BlockWords() const;
  bool IsTextValue() const;
};

struct OptionPage {
  int32_t number = 0;
  std::string caption;  // "Page<n>" when the file has none or "None"
  std::vector<OptionComponent> components;
};

struct OptionPageSet {
  std::string caption = "None";  // the option window's caption
  std::vector<OptionPage> pages;
  // The file counted more pages, components, radio items or explanation
  // lines than the bounds let in; those were left out.
  bool cut = false;
};

// Reads the whole description; a missing file or missing keys give the
// defaults (one page "Page0" without components, caption "None").
OptionPageSet ReadOptionPageSet(const IniSnapshot& file);

// The device's page-description file (OptionPageIni, stored as a path below
// the program directory), or "" when the path leads outside it. A device
// without pages names "0", which is no file and reads as the defaults.
std::string OptionPageFilePath(const ProgramPaths& paths, const std::string& option_page_ini);
// Whether the Parameters command shows the device's option pages: it names
// a page file (OptionPageIni not starting with "0") and is of an option kind
// (Option_Fuse_Type not 0).
bool HasOptionPages(const SelectedDevice& device);
// temp.ini in the program directory, where the unpacked values live.
std::string OptionValuesPath(const ProgramPaths& paths);

}  // namespace quenlet
