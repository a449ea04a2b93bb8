#pragma once
// The ring of the ten devices chosen last, SelIcHst.ini:
//
//   [HISTORY]
//   Current=3            slot written last (0..9)
//   0=Maker A_IC_P27C256 ... 9=...   (a missing key counts as "Null")
//   Last=Maker B_IC_X1   the entry chosen last
//
// Entries are bytes, compared exactly and written in full.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quenlet {

class DeviceCatalogue;
class ProgramPaths;

inline constexpr const char* kHistoryRingFile = "SelIcHst.ini";
inline constexpr const char* kHistoryNull = "Null";
inline constexpr const char* kHistoryNone = "None";
inline constexpr int kHistorySlots = 10;

struct DeviceChoice {
  std::string manufacturer;
  std::string part;
  friend bool operator==(const DeviceChoice&, const DeviceChoice&) = default;
};

// manufacturer + "_IC_" + part.
std::string HistoryEntry(const std::string& manufacturer, const std::string& part);

// The choice an entry names. Names may hold "_IC_" themselves, so the entry
// splits at the "_IC_" whose left side is a listed manufacturer and whose
// right side one of its parts, else at the first "_IC_". An entry without
// "_IC_" ("Null", "None", a hand edit) names none.
std::optional<DeviceChoice> SplitHistoryEntry(std::string_view entry,
                                              const DeviceCatalogue& catalogue);

// What the history box shows.
struct HistoryCombo {
  std::vector<std::string> items;  // the slots "0" to "9" in key order, "Null" skipped
  std::string text;                // Last, or "None" (then also the last item)
};

class DeviceHistoryRing {
 public:
  // The ring of the program directory (the file name in any letter case).
  explicit DeviceHistoryRing(const ProgramPaths& paths);

  const std::string& path() const { return path_; }

  // Records a choice: a new entry goes into the slot after Current (slot 0
  // after 9, or when Current is outside 0..8) and becomes Current; Last is
  // the entry in any case. One write of the file; false when it failed.
  bool Add(const std::string& manufacturer, const std::string& part) const;

  HistoryCombo Combo() const;
  // Last, or "Null".
  std::string Last() const;

 private:
  std::string path_;
};

}  // namespace quenlet
