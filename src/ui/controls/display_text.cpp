#include "ui/controls/display_text.h"

#include <QByteArray>
#include <QComboBox>
#include <QLineEdit>

#include <optional>

#include "platform/text_decode.h"

namespace quenlet {
namespace {

// The property of a line edit that keeps its bytes.
constexpr const char* kBytesProperty = "quenletBytes";

std::string BytesOf(const QVariant& data) {
  const QByteArray bytes = data.toByteArray();
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

// The bytes the edit keeps, while it shows their text.
std::optional<std::string> KeptBytes(const QLineEdit* edit) {
  const QVariant kept = edit->property(kBytesProperty);
  if (!kept.isValid()) return std::nullopt;
  std::string bytes = BytesOf(kept);
  if (DisplayText(bytes) != edit->text()) return std::nullopt;
  return bytes;
}

}  // namespace

QString DisplayText(std::string_view bytes) {
  return QString::fromStdString(DecodeDeviceText(bytes));
}

std::string TypedBytes(const QString& text) {
  return text.toStdString();
}

void KeepBytes(QLineEdit* edit, std::string_view bytes) {
  edit->setProperty(kBytesProperty, ByteItemData(bytes));
}

void SetByteText(QLineEdit* edit, std::string_view bytes) {
  KeepBytes(edit, bytes);
  edit->setText(DisplayText(bytes));
}

std::string ByteTextOf(const QLineEdit* edit) {
  return KeptBytes(edit).value_or(TypedBytes(edit->text()));
}

QVariant ByteItemData(std::string_view bytes) {
  return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void AddByteItem(QComboBox* box, std::string_view bytes) {
  box->addItem(DisplayText(bytes), ByteItemData(bytes));
}

std::string ItemBytes(const QComboBox* box, int index) {
  const QVariant data = box->itemData(index);
  if (data.isValid()) return BytesOf(data);
  return TypedBytes(box->itemText(index));
}

std::string ComboTextBytes(const QComboBox* box) {
  const QLineEdit* edit = box->lineEdit();
  if (!edit) return TypedBytes(box->currentText());
  if (std::optional<std::string> kept = KeptBytes(edit)) return *kept;
  const int item = box->findText(edit->text(), Qt::MatchExactly | Qt::MatchCaseSensitive);
  if (item >= 0) return ItemBytes(box, item);
  return TypedBytes(edit->text());
}

}  // namespace quenlet
