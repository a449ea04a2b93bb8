#include "ui/controls/history_combo_box.h"

#include <QCoreApplication>
#include <QLineEdit>

#include "platform/ini_file.h"
#include "platform/program_paths.h"

namespace quenlet {
namespace {

std::string HistoryKey(int i) {
  return "H" + std::to_string(i);
}

}  // namespace

THistoryComboBox::THistoryComboBox(QWidget* owner) : QComboBox(owner) {
  setEditable(true);
  // Qt would otherwise add the typed text as an item on Enter.
  setInsertPolicy(QComboBox::NoInsert);
}

std::string THistoryComboBox::EffectiveIniFileName() const {
  if (!ini_file_name_.empty()) return ini_file_name_;
  return ProgramIniName(QCoreApplication::applicationFilePath().toStdString());
}

void THistoryComboBox::ReadIniFile() {
  if (ini_section_.empty()) return;
  const IniFile ini(EffectiveIniFileName());
  clear();
  clearEditText();
  for (int i = 0; i < max_history_length_; ++i) {
    const std::string entry = ini.ReadString(ini_section_, HistoryKey(i), "");
    if (entry.empty()) break;
    if (HasLineBreak(entry)) continue;
    addItem(QString::fromStdString(entry));
  }
  // Qt selects the first item added; the text is the owner's to set.
  setCurrentIndex(-1);
  clearEditText();
}

bool THistoryComboBox::WriteIniFile() {
  if (ini_section_.empty()) return true;
  IniFile ini(EffectiveIniFileName());
  const std::string text = Text();
  std::vector<std::string> items = Items();
  if (!text.empty()) items.insert(items.begin(), text);
  std::vector<std::string> kept;
  for (size_t i = 0; i < items.size(); ++i) {
    if (i == 0 || (items[i] != text && !HasLineBreak(items[i]))) kept.push_back(items[i]);
  }
  if (kept.size() > static_cast<size_t>(std::max(max_history_length_, 1))) {
    kept.resize(static_cast<size_t>(std::max(max_history_length_, 1)));
  }
  // A name with a line break stays out of the file, and so out of the list.
  if (!kept.empty() && HasLineBreak(kept.front())) kept.erase(kept.begin());

  const QString shown = currentText();
  clear();
  for (const std::string& item : kept) addItem(QString::fromStdString(item));
  setEditText(shown);
  // The old list goes and the new one comes in one replace of the file, so a
  // failed write leaves the history as it was.
  IniBatch batch;
  batch.EraseSection(ini_section_);
  for (size_t i = 0; i < kept.size(); ++i) {
    batch.WriteString(ini_section_, HistoryKey(static_cast<int>(i)), kept[i]);
  }
  return ini.Write(batch);
}

std::vector<std::string> THistoryComboBox::Items() const {
  std::vector<std::string> out;
  for (int i = 0; i < count(); ++i) out.push_back(itemText(i).toStdString());
  return out;
}

}  // namespace quenlet
