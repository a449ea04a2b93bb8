#pragma once
// The hexadecimal fields of the buffer dialogs (addresses, fill bytes, word
// values), and the byte/word address twins.
//
// HexAddressEdit lets through what HexCharFilter lets through: 0-9, A-F
// (a-f typed become A-F) and backspace; keys that type nothing (arrows,
// Delete, Home, End, Tab, Enter, Escape) and shortcuts (Ctrl+V, Ctrl+Z, ...)
// work as in any line edit. Whatever the user puts in by other means (a
// paste, an input method) is cut to the field's length and then at its
// first character that is not a hex digit, so "12G4" pasted gives "12".
// Text set by the program is shown as it is.
#include <QLineEdit>
#include <cstddef>
#include <cstdint>
#include <string>

#include "buffer/hex_input.h"

namespace quenlet {

class HexAddressEdit : public QLineEdit {
  Q_OBJECT

 public:
  // max_digits: kAddressDigits, kByteDigits or kWordDigits.
  explicit HexAddressEdit(size_t max_digits = kAddressDigits, QWidget* parent = nullptr);

  size_t MaxDigits() const { return max_digits_; }
  std::string Text() const { return text().toStdString(); }
  void SetText(const std::string& text) { setText(QString::fromStdString(text)); }
  uint64_t Value() const { return HexTextToInt(Text()); }

 signals:
  // The user changed the text, after the length limit and the hex cut.
  void HexEdited(const QString& text);

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void OnTextEdited(const QString& text);

  size_t max_digits_;
};

// Keeps a byte-address field and its word-address twin in step: what the
// user types into one sets the other (byte / 2, word x 2, "%07lX"). Text the
// program sets into either leaves the other alone.
void TwinByteWordAddresses(HexAddressEdit* byte_edit, HexAddressEdit* word_edit);

// A hex field of the buffer dialogs: its object and accessible names, the
// mono font, wide enough for eight digits.
HexAddressEdit* MakeHexEdit(const char* name, const char* accessible_name, size_t digits,
                            QWidget* parent);

// Sets the field's text only when it differs, so the caret of a field being
// typed into stays where it is.
void SetIfDifferent(HexAddressEdit* edit, const std::string& text);

}  // namespace quenlet
