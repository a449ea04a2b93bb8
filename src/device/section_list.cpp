#include "device/section_list.h"

#include "platform/text_compare.h"

#include <stdexcept>
#include <unordered_map>

namespace quenlet {
namespace {

bool KeyIs(std::string_view line, std::string_view name) {
  size_t key = KeyLength(line);
  return key != std::string_view::npos && key == name.size() &&
         SameTextNoCase(line.substr(0, key), name);
}

}  // namespace

std::string ShortString(std::string_view text) {
  return std::string(text.substr(0, kShortStringLength));
}

size_t KeyLength(std::string_view line) {
  return line.find('=');
}

int32_t IndexOfName(const LineList& lines, std::string_view name) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (KeyIs(lines[i], name)) return static_cast<int32_t>(i);
  }
  return -1;
}

std::string GetValue(const LineList& lines, std::string_view name) {
  int32_t i = IndexOfName(lines, name);
  if (i < 0) return {};
  return ShortString(std::string_view(lines[static_cast<size_t>(i)]).substr(name.size() + 1));
}

void SetValue(LineList& lines, std::string_view name, std::string_view value) {
  int32_t i = IndexOfName(lines, name);
  if (value.empty()) {
    if (i >= 0) lines.erase(lines.begin() + i);
    return;
  }
  std::string line = std::string(name) + "=" + std::string(value);
  if (i >= 0) {
    lines[static_cast<size_t>(i)] = std::move(line);
  } else {
    lines.push_back(std::move(line));
  }
}

const TSectionList::Entry& TSectionList::At(int32_t index) const {
  if (index < 0 || index >= Count()) throw std::out_of_range("List index out of bounds");
  return entries_[static_cast<size_t>(index)];
}

const std::string& TSectionList::Strings(int32_t index) const {
  return At(index).name;
}

LineList& TSectionList::SectionItems(int32_t index) {
  return const_cast<Entry&>(At(index)).lines;
}

const LineList& TSectionList::SectionItems(int32_t index) const {
  return At(index).lines;
}

int32_t TSectionList::Add(std::string name, LineList lines) {
  entries_.push_back({std::move(name), std::move(lines)});
  return Count() - 1;
}

void TSectionList::Delete(int32_t index) {
  At(index);
  entries_.erase(entries_.begin() + index);
  last_found_index_ = 0;
}

void TSectionList::Clear() {
  entries_.clear();
  last_found_index_ = 0;
}

int32_t TSectionList::IndexOf(std::string_view name) {
  const int32_t count = Count();
  const int32_t start = last_found_index_ < count ? last_found_index_ : 0;
  for (int32_t n = 0; n < count; ++n) {
    int32_t i = (start + n) % count;
    if (SameTextNoCase(entries_[static_cast<size_t>(i)].name, name)) {
      last_found_index_ = i;
      return i;
    }
  }
  return -1;
}

bool TSectionList::EraseDuplicates(const TEraseSectionCallback& handler) {
  if (entries_.size() < 2) return false;
  // Index of the section that stays, per name without case.
  std::unordered_map<std::string, size_t> survivor;
  std::vector<bool> removed(entries_.size(), false);
  bool found = false;
  for (size_t i = 0; i < entries_.size(); ++i) {
    // The section search's comparison: ASCII letters without case, the
    // second byte of a Big5 character as it is.
    auto [it, fresh] = survivor.try_emplace(NoCaseKey(entries_[i].name), i);
    if (fresh) continue;
    found = true;
    Entry& keep = entries_[it->second];
    Entry& drop = entries_[i];
    size_t dropped = i;
    if (handler) {
      if (!handler(keep.name, keep.lines, drop.lines)) {
        dropped = it->second;
        it->second = i;
      }
    } else {
      keep.lines.insert(keep.lines.end(), std::make_move_iterator(drop.lines.begin()),
                        std::make_move_iterator(drop.lines.end()));
    }
    entries_[dropped].lines.clear();
    removed[dropped] = true;
  }
  if (!found) return false;
  std::vector<Entry> kept;
  kept.reserve(survivor.size());
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (!removed[i]) kept.push_back(std::move(entries_[i]));
  }
  entries_ = std::move(kept);
  last_found_index_ = 0;
  return true;
}

LineList TSectionList::Names() const {
  LineList names;
  names.reserve(entries_.size());
  for (const Entry& e : entries_) names.push_back(e.name);
  return names;
}

int32_t TSectionList::IndexOfName(std::string_view name) const {
  return quenlet::IndexOfName(Names(), name);
}

std::string TSectionList::GetValue(std::string_view name) const {
  return quenlet::GetValue(Names(), name);
}

void TSectionList::SetValue(std::string_view name, std::string_view value) {
  int32_t i = IndexOfName(name);
  if (value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  std::string line = std::string(name) + "=" + std::string(value);
  if (i >= 0) {
    entries_[static_cast<size_t>(i)].name = std::move(line);
  } else {
    Add(std::move(line));
  }
}

}  // namespace quenlet
