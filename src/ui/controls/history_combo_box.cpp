#include "ui/controls/history_combo_box.h"

#include <QCoreApplication>
#include <QLineEdit>

#include "platform/program_paths.h"
#include "ui/controls/display_text.h"

namespace quenlet {

THistoryComboBox::THistoryComboBox(QWidget* owner) : QComboBox(owner) {
  setEditable(true);
  // Qt would otherwise add the typed text as an item on Enter.
  setInsertPolicy(QComboBox::NoInsert);
  // A pick puts the item's text into the edit; its bytes go with it.
  connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
    if (index >= 0) KeepBytes(lineEdit(), ItemBytes(this, index));
  });
}

std::string THistoryComboBox::EffectiveIniFileName() const {
  if (!ini_file_name_.empty()) return ini_file_name_;
  return ProgramIniName(TypedBytes(QCoreApplication::applicationFilePath()));
}

NameHistory THistoryComboBox::History() const {
  return NameHistory(EffectiveIniFileName(), ini_section_, max_history_length_);
}

void THistoryComboBox::ReadIniFile() {
  if (ini_section_.empty()) return;
  const std::vector<std::string> entries = History().Read();
  clear();
  clearEditText();
  for (const std::string& entry : entries) AddByteItem(this, entry);
  // Qt selects the first item added; the text is the owner's to set.
  setCurrentIndex(-1);
  clearEditText();
}

bool THistoryComboBox::WriteIniFile() {
  if (ini_section_.empty()) return true;
  const NameHistory history = History();
  const std::vector<std::string> kept = history.WithOnTop(Items(), Text());
  const std::string shown = Text();
  clear();
  for (const std::string& item : kept) AddByteItem(this, item);
  setCurrentIndex(-1);
  SetText(shown);
  return history.Write(kept);
}

std::function<bool()> THistoryComboBox::DeferredWrite() const {
  if (ini_section_.empty()) return [] { return true; };
  const NameHistory history = History();
  std::vector<std::string> kept = history.WithOnTop(Items(), Text());
  return [history, kept = std::move(kept)] { return history.Write(kept); };
}

std::vector<std::string> THistoryComboBox::Items() const {
  std::vector<std::string> out;
  for (int i = 0; i < count(); ++i) out.push_back(ItemBytes(this, i));
  return out;
}

std::string THistoryComboBox::Text() const {
  return ComboTextBytes(this);
}

void THistoryComboBox::SetText(const std::string& text) {
  SetByteText(lineEdit(), text);
}

}  // namespace quenlet
