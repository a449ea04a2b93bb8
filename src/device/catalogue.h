#pragma once
// The device catalogue Select.ini: manufacturers in [ITEM], the parts of
// each in the manufacturer's own section, and per part the file name of its
// IC INI file in the folder INI\.
//
//   [ITEM]                 [Maker A]
//   Value=2                Value=1
//   0001=Maker A           0001=P27C256
//   0002=Maker B           P27C256=P27C256.INI
//
// Counts are hexadecimal digits ("1A" = 26, "0x1A" too), clamped to
// 0..0xFFFF since keys have four digits; a missing numbered key lists "0"
// (a manufacturer) or "<none>" (a part). Names are bytes as the file holds
// them: compared exactly, sorted without regard to ASCII case (NoCaseKey,
// ties by bytes), decoded only to be shown.
//
// The lists and the preview read the file through one snapshot with the
// private-profile rules ("P1 = p1.ini" is found); Refresh() reads it again
// when the file changed. The OK path looks the part up with the INI store's
// rules instead, where the key is the whole text before "=" (OkDeviceFile).
// Both read a section that occurs twice as one, the later lines after the
// earlier ones, so the preview and OK find a part's file in the same place.
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "platform/ini_snapshot.h"

namespace quenlet {

class ProgramPaths;

inline constexpr const char* kCatalogueFile = "Select.ini";
inline constexpr const char* kNoPartFile = "<none>";
inline constexpr const char* kMissingManufacturer = "0";
inline constexpr const char* kMissingPart = "<none>";
inline constexpr uint32_t kMaxCatalogueCount = 0xFFFF;

// The program directory's Select.ini (the name in any letter case), or
// the plain name in it when none is found.
std::string CataloguePath(const ProgramPaths& paths);

// A count of the catalogue: leading hexadecimal digits after an optional
// "0x"; none gives 0; more than kMaxCatalogueCount gives that.
uint32_t CatalogueCount(std::string_view text);

// Sorts names alphabetically without regard to ASCII case, ties by bytes.
void SortCatalogueNames(std::vector<std::string>& names);

class DeviceCatalogue {
 public:
  // Reads the program directory's Select.ini (the name in any letter case).
  explicit DeviceCatalogue(const ProgramPaths& paths);

  const std::string& path() const { return snapshot_.path(); }
  // Reads the file again when it changed since; true when it did.
  bool Refresh() { return snapshot_.Refresh(); }
  // How often the file was parsed.
  uint64_t LoadCount() const { return snapshot_.LoadCount(); }
  // Whether the file was there and could be read when it was last read.
  bool Readable() const { return snapshot_.FileRead(); }

  std::vector<std::string> Manufacturers() const;
  std::vector<std::string> Parts(std::string_view manufacturer) const;
  // [manufacturer] part, or "<none>".
  std::string PartFile(std::string_view manufacturer, std::string_view part) const;
  // Whether the lists hold exactly this name (the missing-key names too).
  // The manufacturers are looked up in an index built once per reading of
  // the file: a damaged history entry asks for thousands of names.
  bool ListsManufacturer(std::string_view manufacturer) const;
  bool ListsPart(std::string_view manufacturer, std::string_view part) const;

 private:
  // The names of a list in file order.
  std::vector<std::string> Listed(std::string_view section, const char* missing) const;
  // Calls on_name(std::string_view) for each name of a list, in file order;
  // the views last until the file is read again.
  template <class OnName>
  void ForEachListed(std::string_view section, const char* missing, OnName&& on_name) const;

  IniSnapshot snapshot_;
  // The manufacturer index and the reading of the file it was built from.
  mutable std::unordered_set<std::string_view> manufacturer_index_;
  mutable size_t longest_manufacturer_ = 0;  // a longer name is none of them, unhashed
  mutable uint64_t manufacturer_index_load_ = 0;
};

// The part's IC INI file name as the INI store finds it in `select_ini`, or
// "<none>" (also when the file cannot be read).
std::string OkDeviceFile(const std::string& select_ini, const std::string& manufacturer,
                         const std::string& part);

}  // namespace quenlet
