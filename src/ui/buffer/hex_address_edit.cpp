#include "ui/buffer/hex_address_edit.h"

#include <QFontMetrics>
#include <QKeyEvent>

#include "ui/controls/look.h"

namespace quenlet {

HexAddressEdit::HexAddressEdit(size_t max_digits, QWidget* parent)
    : QLineEdit(parent), max_digits_(max_digits) {
  connect(this, &QLineEdit::textEdited, this, &HexAddressEdit::OnTextEdited);
}

void HexAddressEdit::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  const char16_t c = typed.size() == 1 ? typed[0].unicode() : 0;
  const bool shortcut =
      event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
  // Only keys that type a character are filtered (backspace is one of
  // them); Enter, Tab, Escape and Delete type control characters and pass.
  const bool control = typed.size() == 1 && (c < 0x20 || c == 0x7F) && c != '\b';
  if (shortcut || typed.isEmpty() || control) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const char kept = c > 0 && c < 0x80 ? HexCharFilter(static_cast<char>(c)) : 0;
  if (kept == 0) {
    event->accept();  // dropped
    return;
  }
  if (kept == static_cast<char>(c)) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  QKeyEvent upper(event->type(), event->key(), event->modifiers(), QString(QChar(kept)),
                  event->isAutoRepeat(), static_cast<ushort>(event->count()));
  QLineEdit::keyPressEvent(&upper);
  event->setAccepted(upper.isAccepted());
}

void HexAddressEdit::OnTextEdited(const QString& text) {
  const std::string typed = text.toStdString();
  const std::string kept = FilterHexEdit(LimitEditText(typed, max_digits_));
  if (kept != typed) {
    // A cut text puts the caret at its end, as the field always did.
    setText(QString::fromStdString(kept));
    setCursorPosition(static_cast<int>(kept.size()));
  }
  emit HexEdited(QString::fromStdString(kept));
}

void TwinByteWordAddresses(HexAddressEdit* byte_edit, HexAddressEdit* word_edit) {
  QObject::connect(byte_edit, &HexAddressEdit::HexEdited, word_edit, [word_edit](const QString& t) {
    word_edit->SetText(ByteToWordAddressText(t.toStdString()));
  });
  QObject::connect(word_edit, &HexAddressEdit::HexEdited, byte_edit, [byte_edit](const QString& t) {
    byte_edit->SetText(WordToByteAddressText(t.toStdString()));
  });
}

HexAddressEdit* MakeHexEdit(const char* name, const char* accessible_name, size_t digits,
                            QWidget* parent) {
  auto* edit = new HexAddressEdit(digits, parent);
  edit->setObjectName(name);
  edit->setAccessibleName(accessible_name);
  edit->setFont(look::HexFont());
  const int text_width = QFontMetrics(look::HexFont()).horizontalAdvance(QString(8, '0'));
  edit->setFixedWidth(text_width + 16);
  return edit;
}

void SetIfDifferent(HexAddressEdit* edit, const std::string& text) {
  if (edit->Text() != text) edit->SetText(text);
}

}  // namespace quenlet
