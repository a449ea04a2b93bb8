#include "platform/name_history.h"

#include <algorithm>

#include "platform/ini_file.h"

namespace quenlet {
namespace {

std::string HistoryKey(size_t i) {
  return "H" + std::to_string(i);
}

}  // namespace

NameHistory::NameHistory(std::string ini_file, std::string section, int max_length)
    : ini_file_(std::move(ini_file)), section_(std::move(section)), max_length_(max_length) {}

std::vector<std::string> NameHistory::Read() const {
  std::vector<std::string> items;
  const IniFile ini(ini_file_);
  for (int i = 0; i < max_length_; ++i) {
    std::string entry = ini.ReadString(section_, HistoryKey(static_cast<size_t>(i)), "");
    if (entry.empty()) break;
    if (!HasLineBreak(entry)) items.push_back(std::move(entry));
  }
  return items;
}

std::vector<std::string> NameHistory::WithOnTop(const std::vector<std::string>& items,
                                                const std::string& text) const {
  std::vector<std::string> kept;
  if (!text.empty() && !HasLineBreak(text)) kept.push_back(text);
  for (const std::string& item : items) {
    if (item != text && !HasLineBreak(item)) kept.push_back(item);
  }
  const auto most = static_cast<size_t>(std::max(max_length_, 1));
  if (kept.size() > most) kept.resize(most);
  return kept;
}

bool NameHistory::Write(const std::vector<std::string>& items) const {
  IniBatch batch;
  batch.EraseSection(section_);
  for (size_t i = 0; i < items.size(); ++i) batch.WriteString(section_, HistoryKey(i), items[i]);
  return IniFile(ini_file_).Write(batch);
}

bool NameHistory::Add(const std::string& text) const {
  return Write(WithOnTop(Read(), text));
}

}  // namespace quenlet
