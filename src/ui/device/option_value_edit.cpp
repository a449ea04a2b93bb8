#include "ui/device/option_value_edit.h"

#include <QKeyEvent>
#include <QSignalBlocker>

#include "device/option_value_rules.h"

namespace quenlet {

OptionValueEdit::OptionValueEdit(int32_t value_type, uint32_t value_max, QWidget* parent)
    : QLineEdit(parent), value_type_(value_type), value_max_(value_max) {}

void OptionValueEdit::InstallRules() {
  if (rules_ || !IsNumericValueType(value_type_)) return;
  rules_ = true;
  // Text can only arrive through the key filter: no paste menu, no drops, no
  // input method.
  setContextMenuPolicy(Qt::NoContextMenu);
  setAcceptDrops(false);
  setAttribute(Qt::WA_InputMethodEnabled, false);
  connect(this, &QLineEdit::textChanged, this, &OptionValueEdit::ValueEditChange);
}

void OptionValueEdit::keyPressEvent(QKeyEvent* event) {
  if (!rules_) return QLineEdit::keyPressEvent(event);
  if (event->matches(QKeySequence::Paste)) return;
  const QString text = event->text();
  // Keys without a printable character (arrows, backspace, delete) act as usual.
  if (text.size() != 1 || text[0].unicode() < 0x20 || text[0].unicode() == 0x7F) {
    return QLineEdit::keyPressEvent(event);
  }
  const char16_t typed = text[0].unicode();
  const char c = typed < 0x80 ? FilterValueKey(value_type_, static_cast<char>(typed)) : 0;
  if (c == 0) return;
  if (c != typed) return insert(QString(QChar(c)));
  QLineEdit::keyPressEvent(event);
}

void OptionValueEdit::ValueEditChange() {
  const std::string now = text().toStdString();
  const std::string stable = ClampValueText(value_type_, value_max_, now);
  if (stable == now) return;
  // The rule has run to its stable text already; setting it needs no second run.
  const QSignalBlocker blocker(this);
  setText(QString::fromStdString(stable));
}

}  // namespace quenlet
