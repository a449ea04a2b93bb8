#include "ui/buffer/range_grid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "ui/buffer/hex_address_edit.h"
#include "ui/controls/dialog_look.h"

namespace quenlet {

QGridLayout* MakeRangeGrid(const RangeGridNames& names, RangeEdits& edits, QWidget* parent) {
  edits.start8 = MakeHexEdit(names.start8, "Start byte address", kAddressDigits, parent);
  edits.end8 = MakeHexEdit(names.end8, "End byte address", kAddressDigits, parent);
  edits.start16 = MakeHexEdit(names.start16, "Start word address", kAddressDigits, parent);
  edits.end16 = MakeHexEdit(names.end16, "End word address", kAddressDigits, parent);
  TwinByteWordAddresses(edits.start8, edits.start16);
  TwinByteWordAddresses(edits.end8, edits.end16);

  auto* grid = new QGridLayout;
  grid->setHorizontalSpacing(8);
  grid->setVerticalSpacing(6);
  grid->setColumnMinimumWidth(0, 12);
  grid->addWidget(new QLabel(names.title, parent), 0, 0, 1, 4);
  grid->addWidget(new QLabel(names.byte_caption, parent), 1, kRangeByteColumn);
  grid->addWidget(new QLabel(names.word_caption, parent), 1, kRangeWordColumn);
  auto* start = new QLabel("Start Address :", parent);
  start->setBuddy(edits.start8);
  grid->addWidget(start, 2, kRangeLabelColumn);
  grid->addWidget(edits.start8, 2, kRangeByteColumn);
  grid->addWidget(edits.start16, 2, kRangeWordColumn);
  auto* end = new QLabel("End Address :", parent);
  end->setBuddy(edits.end8);
  grid->addWidget(end, 3, kRangeLabelColumn);
  grid->addWidget(edits.end8, 3, kRangeByteColumn);
  grid->addWidget(edits.end16, 3, kRangeWordColumn);
  grid->setColumnStretch(kRangeWordColumn + 1, 1);
  return grid;
}

QHBoxLayout* MakeRangeButtonRow(std::initializer_list<QPushButton*> buttons) {
  auto* row = new QHBoxLayout;
  row->setSpacing(8);
  for (QPushButton* b : buttons) {
    b->setMinimumWidth(56);
    row->addWidget(b);
  }
  row->addStretch();
  return row;
}

void PullRange(const RangeEdits& edits, RangeFields& fields) {
  fields.start8 = edits.start8->Text();
  fields.end8 = edits.end8->Text();
  fields.start16 = edits.start16->Text();
  fields.end16 = edits.end16->Text();
}

void PushRange(const RangeEdits& edits, const RangeFields& fields) {
  SetIfDifferent(edits.start8, fields.start8);
  SetIfDifferent(edits.end8, fields.end8);
  SetIfDifferent(edits.start16, fields.start16);
  SetIfDifferent(edits.end16, fields.end16);
}

void EnableRange(const RangeEdits& edits, bool enabled) {
  for (HexAddressEdit* edit : {edits.start8, edits.end8, edits.start16, edits.end16}) {
    edit->setEnabled(enabled);
  }
}

}  // namespace quenlet
