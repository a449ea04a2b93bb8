#include "device/device_history.h"

#include <string>

#include "device/catalogue.h"
#include "platform/ini_file.h"
#include "platform/ini_snapshot.h"
#include "platform/program_paths.h"

namespace quenlet {
namespace {

constexpr const char* kSection = "HISTORY";
constexpr const char* kCurrentKey = "Current";
constexpr const char* kLastKey = "Last";
constexpr std::string_view kSeparator = "_IC_";

}  // namespace

std::string HistoryEntry(const std::string& manufacturer, const std::string& part) {
  return manufacturer + std::string(kSeparator) + part;
}

std::optional<DeviceChoice> SplitHistoryEntry(std::string_view entry,
                                              const DeviceCatalogue& catalogue) {
  const size_t first = entry.find(kSeparator);
  if (first == std::string_view::npos) return std::nullopt;
  auto at = [&](size_t pos) {
    return DeviceChoice{std::string(entry.substr(0, pos)),
                        std::string(entry.substr(pos + kSeparator.size()))};
  };
  // Each candidate is looked at in place: an entry may hold thousands of
  // separators.
  for (size_t pos = first; pos != std::string_view::npos; pos = entry.find(kSeparator, pos + 1)) {
    const std::string_view manufacturer = entry.substr(0, pos);
    if (catalogue.ListsManufacturer(manufacturer) &&
        catalogue.ListsPart(manufacturer, entry.substr(pos + kSeparator.size()))) {
      return at(pos);
    }
  }
  return at(first);
}

DeviceHistoryRing::DeviceHistoryRing(const ProgramPaths& paths)
    : path_(paths.Resolve(kHistoryRingFile).value_or(paths.root() + kHistoryRingFile)) {}

bool DeviceHistoryRing::Add(const std::string& manufacturer, const std::string& part) const {
  const IniSnapshot ring(path_);
  const std::string entry = HistoryEntry(manufacturer, part);
  IniBatch batch;
  bool listed = false;
  for (int slot = 0; slot < kHistorySlots; ++slot) {
    listed = listed || ring.Find(kSection, std::to_string(slot)) == std::string_view(entry);
  }
  if (!listed) {
    // A Current outside the ring (a hand edit) starts it again at slot 0.
    const int32_t current = ring.ReadInteger(kSection, kCurrentKey, 0);
    const int32_t slot = current >= 0 && current <= kHistorySlots - 2 ? current + 1 : 0;
    batch.WriteString(kSection, std::to_string(slot), entry);
    batch.WriteInteger(kSection, kCurrentKey, slot);
  }
  batch.WriteString(kSection, kLastKey, entry);
  return IniFile(path_).Write(batch);
}

HistoryCombo DeviceHistoryRing::Combo() const {
  const IniSnapshot ring(path_);
  HistoryCombo combo;
  for (int slot = 0; slot < kHistorySlots; ++slot) {
    std::string entry = ring.ReadString(kSection, std::to_string(slot), kHistoryNull);
    if (entry != kHistoryNull) combo.items.push_back(std::move(entry));
  }
  combo.text = ring.ReadString(kSection, kLastKey, kHistoryNull);
  if (combo.text == kHistoryNull) {
    combo.items.push_back(kHistoryNone);
    combo.text = kHistoryNone;
  }
  return combo;
}

std::string DeviceHistoryRing::Last() const {
  return IniSnapshot(path_).ReadString(kSection, kLastKey, kHistoryNull);
}

}  // namespace quenlet
