#include "buffer/ui/dialog_look.h"

#include <QButtonGroup>
#include <QColor>
#include <QDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <QWidget>

#include "buffer/ui/hex_address_edit.h"
#include "controls/history_combo_box.h"

namespace quenlet {
namespace {

QFont Font(const char* family, int pixels, int weight = QFont::Normal) {
  QFont font(family);
  font.setPixelSize(pixels);
  font.setWeight(static_cast<QFont::Weight>(weight));
  font.setStyleHint(QFont::SansSerif);
  return font;
}

}  // namespace

QFont LabelFont() {
  return Font("DejaVu Sans", 12);
}

QFont TitleFont() {
  return Font("DejaVu Sans", 16, QFont::DemiBold);
}

QFont HexFont() {
  QFont font = Font("DejaVu Sans Mono", 13);
  font.setStyleHint(QFont::Monospace);
  return font;
}

void ApplyDialogLook(QWidget* dialog) {
  const QColor surface(kSurfaceColour);
  const QColor text(0x1F2933);
  const QColor muted(0x5B6775);
  const QColor accent(0x1F6FD1);
  const QColor disabled_text(0xAEB7C1);
  const QColor disabled_surface(0xECEFF2);
  QPalette p = dialog->palette();
  p.setColor(QPalette::Window, surface);
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, Qt::white);
  p.setColor(QPalette::AlternateBase, surface);
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, surface);
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::PlaceholderText, muted);
  p.setColor(QPalette::Highlight, accent);
  p.setColor(QPalette::HighlightedText, Qt::white);
  p.setColor(QPalette::Mid, QColor(kSurfaceBorderColour));
  for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText}) {
    p.setColor(QPalette::Disabled, role, disabled_text);
  }
  p.setColor(QPalette::Disabled, QPalette::Base, disabled_surface);
  p.setColor(QPalette::Disabled, QPalette::Button, disabled_surface);
  dialog->setPalette(p);
  dialog->setAutoFillBackground(true);
  dialog->setFont(LabelFont());
}

void SetUpParameterDialog(QDialog* dialog, const char* object_name, const char* title,
                          bool close_button) {
  Qt::WindowFlags flags = Qt::Dialog | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint;
  flags |= close_button ? Qt::WindowCloseButtonHint : Qt::CustomizeWindowHint;
  dialog->setWindowFlags(flags);
  dialog->setObjectName(object_name);
  dialog->setWindowTitle(title);
  dialog->setModal(true);
  ApplyDialogLook(dialog);
}

QPushButton* MakeDialogButton(const char* name, const char* text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAccessibleName(text);
  button->setMinimumWidth(88);
  return button;
}

HexAddressEdit* MakeHexEdit(const char* name, const char* accessible_name, size_t digits,
                            QWidget* parent) {
  auto* edit = new HexAddressEdit(digits, parent);
  edit->setObjectName(name);
  edit->setAccessibleName(accessible_name);
  edit->setFont(HexFont());
  const int text_width = QFontMetrics(HexFont()).horizontalAdvance(QString(8, '0'));
  edit->setFixedWidth(text_width + 16);
  return edit;
}

THistoryComboBox* MakeNameEdit(const char* section, const char* accessible_name, int min_width,
                               QWidget* parent) {
  auto* edit = new THistoryComboBox(parent);
  edit->setObjectName("NameEdit");
  edit->SetIniSection(section);
  edit->SetMaxHistoryLength(10);
  edit->setAccessibleName(accessible_name);
  edit->setMinimumWidth(min_width);
  return edit;
}

QGroupBox* MakeFormatGroup(std::span<const char* const> texts, QButtonGroup* group,
                           QWidget* parent) {
  auto* box = new QGroupBox("Format", parent);
  box->setObjectName("FormatGroup");
  auto* layout = new QVBoxLayout(box);
  for (size_t code = 0; code < texts.size(); ++code) {
    auto* radio = new QRadioButton(texts[code], box);
    group->addButton(radio, static_cast<int>(code));
    layout->addWidget(radio);
  }
  layout->addStretch();
  return box;
}

QHBoxLayout* NameRow(const char* label, QWidget* field, QWidget* button, QWidget* parent) {
  auto* row = new QHBoxLayout;
  row->setSpacing(8);
  auto* caption = new QLabel(label, parent);
  caption->setBuddy(field);
  row->addWidget(caption);
  row->addWidget(field, 1);
  row->addWidget(button);
  return row;
}

QHBoxLayout* ButtonRow(QPushButton* confirm, QPushButton* cancel) {
  auto* row = new QHBoxLayout;
  row->setSpacing(8);
  row->addStretch();
  row->addWidget(confirm);
  row->addWidget(cancel);
  return row;
}

void PaintDialogEdge(QWidget* dialog) {
  // Without a window frame the dialog needs its own edge over the main window.
  QPainter painter(dialog);
  painter.setPen(QColor(kSurfaceBorderColour));
  painter.drawRect(dialog->rect().adjusted(0, 0, -1, -1));
}

void SetIfDifferent(HexAddressEdit* edit, const std::string& text) {
  if (edit->Text() != text) edit->SetText(text);
}

}  // namespace quenlet
