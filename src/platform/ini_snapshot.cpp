#include "platform/ini_snapshot.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "platform/atomic_file.h"
#include "platform/ini_parse.h"
#include "platform/int_text.h"
#include "platform/text_compare.h"

namespace quenlet {
namespace {

// Eight bytes at once with 'A'-'Z' turned to 'a'-'z' and nothing else changed.
uint64_t LowerAscii8(uint64_t w) {
  constexpr uint64_t kHigh = 0x8080808080808080ull;
  const uint64_t low7 = w & ~kHigh;
  const uint64_t at_least_a = low7 + 0x3F3F3F3F3F3F3F3Full;  // high bit set from 'A' on
  const uint64_t above_z = low7 + 0x2525252525252525ull;     // high bit set above 'Z'
  const uint64_t upper = (at_least_a ^ above_z) & ~w & kHigh;
  return w | (upper >> 2);
}

// Names equal under SameTextNoCase are equal after ASCII lower-casing, so
// this hash agrees with that comparison.
uint64_t NoCaseHash(std::string_view text) {
  uint64_t h = text.size() * 0x9E3779B97F4A7C15ull;
  for (size_t i = 0; i < text.size(); i += 8) {
    uint64_t w = 0;
    std::memcpy(&w, text.data() + i, std::min<size_t>(8, text.size() - i));
    h = (h ^ LowerAscii8(w)) * 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
  }
  return h;
}

// Open addressing over the ids of the caller's items, which the caller
// hashes and compares: flat and small, so that a look-up costs a cache line
// or two. Only the low 32 bits of a hash are kept beside the id.
class FlatIndex {
 public:
  static constexpr uint32_t kNone = UINT32_MAX;

  // The id of the item `same` accepts, or kNone.
  template <class Same>
  uint32_t Find(uint64_t hash, Same&& same) const {
    if (slots_.empty()) return kNone;
    const size_t mask = slots_.size() - 1;
    const auto tag = static_cast<uint32_t>(hash);
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
      const Slot& slot = slots_[i];
      if (slot.id == kNone) return kNone;
      if (slot.tag == tag && same(slot.id)) return slot.id;
    }
  }

  // Adds `id` unless `same` accepts an item already there; returns the id
  // that stays (the first one: first match wins).
  template <class Same>
  uint32_t Insert(uint64_t hash, uint32_t id, Same&& same) {
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    const size_t mask = slots_.size() - 1;
    const auto tag = static_cast<uint32_t>(hash);
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
      Slot& slot = slots_[i];
      if (slot.id == kNone) {
        slot = {tag, id};
        ++count_;
        return id;
      }
      if (slot.tag == tag && same(slot.id)) return slot.id;
    }
  }

 private:
  struct Slot {
    uint32_t tag = 0;
    uint32_t id = kNone;
  };
  // The table's size stays below 2^32 slots, so the tag holds every bit
  // of the hash that places a slot.
  void Grow() {
    std::vector<Slot> old(std::max<size_t>(16, slots_.size() * 2));
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
      if (slot.id == kNone) continue;
      size_t i = slot.tag & mask;
      while (slots_[i].id != kNone) i = (i + 1) & mask;
      slots_[i] = slot;
    }
  }

  std::vector<Slot> slots_;
  size_t count_ = 0;
};

}  // namespace

struct IniSnapshot::Content {
  struct Key {
    std::string_view name;
    std::string_view value;  // unquoted
  };
  struct Section {
    std::string_view name;
    uint32_t first = 0;  // its keys: keys[first, last)
    uint32_t last = 0;
    // One table per section: the keys of a section are asked together.
    FlatIndex key_index;
  };
  std::string text;
  std::vector<Section> sections;  // first section of each name, file order
  std::vector<Key> keys;          // first key of each name, section by section
  FlatIndex section_index;

  // A key of a section whose name came before, for the merge.
  struct LaterKey {
    uint32_t section;
    Key key;
  };

  Content(std::string data, DuplicateSections duplicates) : text(std::move(data)) {
    // Lines before the first section are not read; nor, unless sections are
    // merged, every line of a section whose name came before.
    Section* current = nullptr;
    uint32_t merge_into = FlatIndex::kNone;
    std::vector<LaterKey> later;
    ForEachIniLine(text, [&](const IniLine& line) {
      if (line.kind == IniLine::kSection) {
        const auto id = static_cast<uint32_t>(sections.size());
        const uint32_t kept = section_index.Insert(NoCaseHash(line.name), id, [&](uint32_t other) {
          return SameTextNoCase(sections[other].name, line.name);
        });
        current = nullptr;
        merge_into =
            duplicates == DuplicateSections::kMerged && kept != id ? kept : FlatIndex::kNone;
        if (kept != id) return;
        const auto at = static_cast<uint32_t>(keys.size());
        current = &sections.emplace_back();
        current->name = line.name;
        current->first = current->last = at;
      } else if (line.kind == IniLine::kKey && merge_into != FlatIndex::kNone) {
        later.push_back({merge_into, {line.name, UnquoteIniValue(line.value)}});
      } else if (line.kind == IniLine::kKey && current) {
        const auto id = static_cast<uint32_t>(keys.size());
        const uint32_t kept = current->key_index.Insert(
            NoCaseHash(line.name), id,
            [&](uint32_t other) { return SameTextNoCase(keys[other].name, line.name); });
        if (kept != id) return;
        keys.push_back({line.name, UnquoteIniValue(line.value)});
        current->last = id + 1;
      }
    });
    if (!later.empty()) Merge(std::move(later));
  }

  // Each section's own keys, then those of its later namesakes in file
  // order; the first key of a name still wins.
  void Merge(std::vector<LaterKey> later) {
    std::stable_sort(later.begin(), later.end(),
                     [](const LaterKey& a, const LaterKey& b) { return a.section < b.section; });
    std::vector<Key> merged;
    merged.reserve(keys.size() + later.size());
    size_t next = 0;
    for (uint32_t s = 0; s < sections.size(); ++s) {
      Section& section = sections[s];
      FlatIndex index;
      const auto first = static_cast<uint32_t>(merged.size());
      auto add = [&](const Key& key) {
        const auto id = static_cast<uint32_t>(merged.size());
        const uint32_t kept = index.Insert(NoCaseHash(key.name), id, [&](uint32_t other) {
          return SameTextNoCase(merged[other].name, key.name);
        });
        if (kept == id) merged.push_back(key);
      };
      for (uint32_t k = section.first; k < section.last; ++k) add(keys[k]);
      for (; next < later.size() && later[next].section == s; ++next) add(later[next].key);
      section.first = first;
      section.last = static_cast<uint32_t>(merged.size());
      section.key_index = std::move(index);
    }
    keys = std::move(merged);
  }

  const Section* FindSection(std::string_view name) const {
    const uint32_t s = section_index.Find(
        NoCaseHash(name), [&](uint32_t id) { return SameTextNoCase(sections[id].name, name); });
    return s == FlatIndex::kNone ? nullptr : &sections[s];
  }

  const Key* FindKey(std::string_view section, std::string_view name) const {
    const Section* s = FindSection(section);
    if (!s) return nullptr;
    const uint32_t k = s->key_index.Find(
        NoCaseHash(name), [&](uint32_t id) { return SameTextNoCase(keys[id].name, name); });
    return k == FlatIndex::kNone ? nullptr : &keys[k];
  }
};

const IniSnapshot::Content& IniSnapshot::Parsed() const {
  // A moved-from snapshot reads as an empty file.
  static const Content kEmpty{std::string(), DuplicateSections::kFirstOnly};
  return content_ ? *content_ : kEmpty;
}

IniSnapshot::IniSnapshot(std::string path, DuplicateSections duplicates)
    : path_(std::move(path)), duplicates_(duplicates) {
  Load(StampOf(path_));
}

IniSnapshot::~IniSnapshot() = default;
IniSnapshot::IniSnapshot(IniSnapshot&&) noexcept = default;
IniSnapshot& IniSnapshot::operator=(IniSnapshot&&) noexcept = default;

IniSnapshot::Stamp IniSnapshot::StampOf(const std::string& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return Stamp{};
  return Stamp{true,
               static_cast<uint64_t>(st.st_dev),
               static_cast<uint64_t>(st.st_ino),
               static_cast<int64_t>(st.st_size),
               static_cast<int64_t>(st.st_mtim.tv_sec),
               static_cast<int64_t>(st.st_mtim.tv_nsec)};
}

void IniSnapshot::Load(const Stamp& stamp) {
  // The stamp is taken before the read: a change while reading is seen by
  // the next Refresh rather than lost.
  stamp_ = stamp;
  auto data = stamp.exists ? ReadWholeFile(path_) : std::nullopt;
  content_ = std::make_unique<const Content>(data ? std::move(*data) : std::string(), duplicates_);
  ++load_count_;
  file_read_ = data.has_value();
}

bool IniSnapshot::Refresh() {
  const Stamp now = StampOf(path_);
  if (now == stamp_) return false;
  Load(now);
  return true;
}

std::optional<std::string_view> IniSnapshot::Find(std::string_view section,
                                                  std::string_view key) const {
  const Content::Key* found = Parsed().FindKey(section, key);
  if (!found) return std::nullopt;
  return found->value;
}

std::string IniSnapshot::ReadString(std::string_view section, std::string_view key,
                                    const std::string& default_value) const {
  auto value = Find(section, key);
  return value ? std::string(*value) : default_value;
}

int32_t IniSnapshot::ReadInteger(std::string_view section, std::string_view key,
                                 int32_t default_value) const {
  auto value = Find(section, key);
  return value ? LenientStrToInt(std::string(*value), default_value) : default_value;
}

bool IniSnapshot::SectionExists(std::string_view section) const {
  return Parsed().FindSection(section) != nullptr;
}

std::vector<std::string> IniSnapshot::ReadSection(std::string_view section) const {
  const Content& c = Parsed();
  const Content::Section* s = c.FindSection(section);
  std::vector<std::string> names;
  if (!s) return names;
  names.reserve(s->last - s->first);
  for (uint32_t k = s->first; k < s->last; ++k) names.emplace_back(c.keys[k].name);
  return names;
}

std::vector<std::string> IniSnapshot::ReadSections() const {
  const Content& c = Parsed();
  std::vector<std::string> names;
  names.reserve(c.sections.size());
  for (const auto& s : c.sections) names.emplace_back(s.name);
  return names;
}

}  // namespace quenlet
