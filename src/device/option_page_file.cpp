#include "device/option_page_file.h"

#include <algorithm>

#include "device/option_value_rules.h"
#include "device/selected_device.h"
#include "platform/ini_snapshot.h"
#include "platform/int_text.h"
#include "platform/program_paths.h"
#include "platform/strprintf.h"
#include "platform/text_decode.h"

namespace quenlet {
namespace {

constexpr const char* kMainSection = "CurrentUserPage";

// An integer key, or nullopt when it is missing or not a number (the
// lenient rule gives its default then, whichever default it is given).
std::optional<int32_t> FindInteger(const IniSnapshot& file, const std::string& section,
                                   const std::string& key) {
  const std::optional<std::string_view> text = file.Find(section, key);
  if (!text) return std::nullopt;
  const std::string value(*text);
  const int32_t a = LenientStrToInt(value, 0);
  if (a != LenientStrToInt(value, 1)) return std::nullopt;
  return a;
}

// What is left of the whole set's bounds while the file is read.
struct Budget {
  int32_t components = kMaxOptionComponents;
  int32_t radio_items = kMaxOptionRadioItems;
  int32_t explanation_lines = kMaxOptionExplanationLines;
  bool cut = false;

  // Of `asked` (a count from the file, bounded to `most` for one list), what
  // `left` still lets in; taken from `left`.
  int32_t Take(int32_t asked, int32_t most, int32_t& left) {
    const int32_t granted = std::min({std::max(asked, 0), most, left});
    cut = cut || granted < asked;
    left -= granted;
    return granted;
  }
};

std::string Text(const IniSnapshot& file, const std::string& section, const std::string& key,
                 const std::string& default_value) {
  return CutWholeCharacters(file.ReadString(section, key, default_value), kMaxOptionText);
}

// A place or size of the page: within the window.
int32_t Within(int32_t value, int32_t extent) {
  return std::clamp(value, 0, extent);
}

std::vector<std::string> Lines(const IniSnapshot& file, const std::string& section, int32_t count,
                               const char* key_format, int32_t component) {
  std::vector<std::string> lines;
  lines.reserve(static_cast<size_t>(count));
  for (int32_t k = 0; k < count; ++k) {
    lines.push_back(Text(file, section, strprintf(key_format, component, k), "None"));
  }
  return lines;
}

OptionComponent ReadComponent(const IniSnapshot& file, const std::string& section, int32_t page,
                              int32_t c, Budget& budget) {
  auto key = [c](const char* format) { return strprintf(format, c); };
  auto count = [&](const char* format, int32_t most, int32_t& left) {
    return budget.Take(file.ReadInteger(section, key(format), 0), most, left);
  };
  OptionComponent o;
  o.page = page;
  o.index = c;
  o.kind_key = FindInteger(file, section, key("ComponentType%d"));
  o.value_type_key = FindInteger(file, section, key("ValueType%d"));
  o.caption = Text(file, section, key("ComponentCaption%d"), "NONE");
  o.top = Within(file.ReadInteger(section, key("Top%d"), 1), kOptionWindowHeight);
  o.left = Within(file.ReadInteger(section, key("Left%d"), 1), kOptionWindowWidth);
  o.width = Within(file.ReadInteger(section, key("Width%d"), 1), kOptionWindowWidth);
  o.height = Within(file.ReadInteger(section, key("Height%d"), 1), kOptionWindowHeight);
  o.length = std::max(file.ReadInteger(section, key("Length%d"), 0), 0);
  o.file_default = file.ReadInteger(kOptionValueSection, OptionValueKey(page, c), 0);
  switch (o.kind()) {
    case kOptionRadioGroup:
      o.radio_columns =
          std::clamp(file.ReadInteger(section, key("Radio%dColumns"), 1), 1, kMaxRadioColumns);
      o.radio_items =
          Lines(file, section, count("Radio%dTotal", kMaxRadioItems, budget.radio_items),
                "Radio%dString%d", c);
      break;
    case kOptionValueEdit:
      if (IsNumericValueType(o.value_type())) {
        o.value_max = static_cast<uint32_t>(file.ReadInteger(
            section, key("ValueMax%d"), static_cast<int32_t>(DefaultValueMax(o.value_type()))));
        o.value_min = static_cast<uint32_t>(file.ReadInteger(section, key("ValueMin%d"), 0));
      }
      break;
    case kOptionExplanation:
      o.explanation = Lines(
          file, section, count("Explation%dTotal", kMaxExplanationLines, budget.explanation_lines),
          "Explation%dLine%d", c);
      break;
    default:
      break;
  }
  return o;
}

}  // namespace

std::string OptionValueKey(int32_t page, int32_t component) {
  return strprintf("Page%dCom%dSet", page, component);
}

bool OptionComponent::IsTextValue() const {
  return kind_key.value_or(0) == kOptionValueEdit && value_type_key.value_or(0) >= kTextValueType;
}

uint32_t OptionComponent::BlockWords() const {
  return IsTextValue() ? static_cast<uint32_t>(length) : 1;
}

OptionPageSet ReadOptionPageSet(const IniSnapshot& file) {
  OptionPageSet set;
  Budget budget;
  set.caption = Text(file, kMainSection, "Caption", "None");
  int32_t pages_left = kMaxOptionPages;
  const int32_t total =
      budget.Take(file.ReadInteger(kMainSection, "Total", 1), kMaxOptionPages, pages_left);
  set.pages.reserve(static_cast<size_t>(total));
  for (int32_t p = 0; p < total; ++p) {
    OptionPage page;
    page.number = p;
    page.caption = Text(file, kMainSection, strprintf("PageCaption%d", p), "None");
    if (page.caption == "None") page.caption = strprintf("Page%d", p);
    const std::string section = strprintf("CurrentUserPage_%d", p);
    const int32_t n = budget.Take(file.ReadInteger(section, "ComponentTotal", 0),
                                  kMaxOptionComponents, budget.components);
    page.components.reserve(static_cast<size_t>(n));
    for (int32_t c = 0; c < n; ++c) {
      page.components.push_back(ReadComponent(file, section, p, c, budget));
    }
    set.pages.push_back(std::move(page));
  }
  set.cut = budget.cut;
  return set;
}

std::string OptionPageFilePath(const ProgramPaths& paths, const std::string& option_page_ini) {
  return paths.Resolve(option_page_ini).value_or("");
}

bool HasOptionPages(const SelectedDevice& device) {
  return device.OptionPageIni.rfind('0', 0) != 0 && device.Option_Fuse_Type != 0;
}

std::string OptionValuesPath(const ProgramPaths& paths) {
  return paths.Resolve("temp.ini").value_or(paths.root() + "temp.ini");
}

}  // namespace quenlet
