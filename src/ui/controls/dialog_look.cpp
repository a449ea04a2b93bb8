#include "ui/controls/dialog_look.h"

#include <QButtonGroup>
#include <QDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "ui/controls/history_combo_box.h"
#include "ui/controls/window_frame.h"

namespace quenlet {

void ApplyDialogLook(QWidget* dialog) {
  dialog->setPalette(look::Palette(dialog->palette(), look::kSurface));
  dialog->setAutoFillBackground(true);
  dialog->setFont(look::LabelFont());
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
  FrameWindow(dialog);
}

QPushButton* MakeDialogButton(const char* name, const char* text, QWidget* parent) {
  auto* button = new QPushButton(text, parent);
  button->setObjectName(name);
  button->setAccessibleName(text);
  button->setMinimumWidth(88);
  return button;
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

QGroupBox* MakeRadioGroup(const char* name, const char* title, std::span<const char* const> texts,
                          int columns, QButtonGroup* group, QWidget* parent) {
  auto* box = new QGroupBox(title, parent);
  box->setObjectName(name);
  auto* grid = new QGridLayout(box);
  grid->setHorizontalSpacing(16);
  const int rows = (static_cast<int>(texts.size()) + columns - 1) / columns;
  for (int code = 0; code < static_cast<int>(texts.size()); ++code) {
    auto* radio = new QRadioButton(texts[size_t(code)], box);
    group->addButton(radio, code);
    grid->addWidget(radio, code % rows, code / rows);
  }
  // Room to spare goes below the buttons, not between them.
  grid->setRowStretch(rows, 1);
  return box;
}

QGroupBox* MakeFormatGroup(std::span<const char* const> texts, QButtonGroup* group,
                           QWidget* parent) {
  return MakeRadioGroup("FormatGroup", "Format", texts, 1, group, parent);
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

}  // namespace quenlet
