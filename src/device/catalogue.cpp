#include "device/catalogue.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "device/big_ini_file.h"
#include "platform/hex_number.h"
#include "platform/program_paths.h"
#include "platform/text_compare.h"

namespace quenlet {
namespace {

constexpr const char* kItemSection = "ITEM";
constexpr const char* kCountKey = "Value";

}  // namespace

std::string CataloguePath(const ProgramPaths& paths) {
  return paths.Resolve(kCatalogueFile).value_or(paths.root() + kCatalogueFile);
}

uint32_t CatalogueCount(std::string_view text) {
  // Keys have four digits: a larger count lists what four digits can name.
  return static_cast<uint32_t>(*ReadHexNumber(text, kMaxCatalogueCount, HexOverflow::kClamp));
}

void SortCatalogueNames(std::vector<std::string>& names) {
  // One key per name, not one per comparison: part lists run to many
  // thousands of names.
  std::vector<std::string> keys;
  keys.reserve(names.size());
  for (const std::string& name : names) keys.push_back(NoCaseKey(name));
  std::vector<uint32_t> order(names.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    if (const int c = keys[a].compare(keys[b]); c != 0) return c < 0;
    return names[a] < names[b];
  });
  std::vector<std::string> sorted;
  sorted.reserve(names.size());
  for (uint32_t i : order) sorted.push_back(std::move(names[i]));
  names = std::move(sorted);
}

// Merged as the OK path's INI store merges them: a part listed in a
// manufacturer's section that occurs twice is previewed and opened from the
// same lines.
DeviceCatalogue::DeviceCatalogue(const ProgramPaths& paths)
    : snapshot_(CataloguePath(paths), DuplicateSections::kMerged) {}

template <class OnName>
void DeviceCatalogue::ForEachListed(std::string_view section, const char* missing,
                                    OnName&& on_name) const {
  const uint32_t count = CatalogueCount(snapshot_.Find(section, kCountKey).value_or("0"));
  char key[8];
  for (uint32_t i = 1; i <= count; ++i) {
    std::snprintf(key, sizeof key, "%04X", static_cast<unsigned>(i));
    on_name(snapshot_.Find(section, key).value_or(missing));
  }
}

std::vector<std::string> DeviceCatalogue::Listed(std::string_view section,
                                                 const char* missing) const {
  std::vector<std::string> names;
  names.reserve(CatalogueCount(snapshot_.Find(section, kCountKey).value_or("0")));
  ForEachListed(section, missing, [&](std::string_view name) { names.emplace_back(name); });
  return names;
}

std::vector<std::string> DeviceCatalogue::Manufacturers() const {
  std::vector<std::string> names = Listed(kItemSection, kMissingManufacturer);
  SortCatalogueNames(names);
  return names;
}

std::vector<std::string> DeviceCatalogue::Parts(std::string_view manufacturer) const {
  std::vector<std::string> names = Listed(manufacturer, kMissingPart);
  SortCatalogueNames(names);
  return names;
}

bool DeviceCatalogue::ListsManufacturer(std::string_view manufacturer) const {
  if (manufacturer_index_load_ != snapshot_.LoadCount()) {
    manufacturer_index_.clear();
    longest_manufacturer_ = 0;
    ForEachListed(kItemSection, kMissingManufacturer, [&](std::string_view name) {
      manufacturer_index_.insert(name);
      longest_manufacturer_ = std::max(longest_manufacturer_, name.size());
    });
    manufacturer_index_load_ = snapshot_.LoadCount();
  }
  return manufacturer.size() <= longest_manufacturer_ &&
         manufacturer_index_.count(manufacturer) != 0;
}

bool DeviceCatalogue::ListsPart(std::string_view manufacturer, std::string_view part) const {
  bool listed = false;
  ForEachListed(manufacturer, kMissingPart,
                [&](std::string_view name) { listed = listed || name == part; });
  return listed;
}

std::string DeviceCatalogue::PartFile(std::string_view manufacturer, std::string_view part) const {
  return std::string(snapshot_.Find(manufacturer, part).value_or(kNoPartFile));
}

std::string OkDeviceFile(const std::string& select_ini, const std::string& manufacturer,
                         const std::string& part) {
  try {
    TBigIniFile store(select_ini);
    return store.ReadString(manufacturer, part, kNoPartFile);
  } catch (const IniStoreError&) {
    return kNoPartFile;
  }
}

}  // namespace quenlet
