#include "ui/device/option_page_builder.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>
#include <algorithm>

#include "device/option_page_file.h"
#include "device/option_value_rules.h"
#include "platform/ini_snapshot.h"
#include "ui/controls/color_ref.h"
#include "ui/controls/display_text.h"
#include "ui/device/option_value_edit.h"

namespace quenlet {
namespace {

// Colours of the explanation box, as Windows colour values.
constexpr uint32_t kExplanationBackground = 0x000000;
constexpr uint32_t kExplanationText = 0x00FF00;

int32_t SetValue(const OptionComponent& c, const OptionPageValues& values) {
  if (!values.programmer_has_data) return c.file_default;
  return values.temp_ini.ReadInteger(kOptionValueSection, OptionValueKey(c.page, c.index), 0);
}

QWidget* MakeCheckBox(const OptionComponent& c, int32_t value, QWidget* page) {
  auto* box = new QCheckBox(DisplayText(c.caption), page);
  // 20 pixels per byte of the caption, as the pages have always been laid
  // out, within the window.
  const int width = std::min(20 * static_cast<int>(c.caption.size()), int{kOptionWindowWidth});
  box->setGeometry(c.left, c.top, width, box->sizeHint().height());
  box->setChecked(value != 0);
  return box;
}

QWidget* MakeRadioGroup(const OptionComponent& c, int32_t value, QWidget* page) {
  auto* group = new OptionRadioGroup(DisplayText(c.caption), page);
  group->setGeometry(c.left, c.top, c.width, c.height);
  QStringList items;
  for (const std::string& item : c.radio_items) items << DisplayText(item);
  group->SetItems(items, c.radio_columns);
  group->SetItemIndex(value);
  return group;
}

QWidget* MakeValueEdit(const OptionComponent& c, const OptionPageValues& values, QWidget* page) {
  const int32_t type = c.value_type();
  auto* label = new QLabel(DisplayText(c.caption + ValueTypeSuffix(type)), page);
  auto* edit = new OptionValueEdit(type, c.value_max, page);
  const std::string key = OptionValueKey(c.page, c.index);
  if (IsNumericValueType(type)) {
    edit->setText(QString::fromStdString(
        FormatOptionValue(type, values.temp_ini.ReadInteger(kOptionValueSection, key, 0))));
  } else if (type == kTextValueType) {
    edit->setText(DisplayText(values.temp_ini.ReadString(kOptionValueSection, key, "None")));
  }
  edit->InstallRules();
  label->adjustSize();
  label->move(c.left, 0);
  const int height = edit->sizeHint().height();
  edit->setGeometry(label->x() + label->width() + 4, c.top, c.width, height);
  // The label is centred on the edit's height.
  label->move(label->x(), edit->y() + (height - label->height()) / 2);
  edit->setAccessibleName(label->text());
  return edit;
}

QWidget* MakeExplanation(const OptionComponent& c, QWidget* page) {
  auto* box = new QPlainTextEdit(page);
  box->setReadOnly(true);
  box->setLineWrapMode(QPlainTextEdit::NoWrap);
  box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  QPalette p = box->palette();
  p.setColor(QPalette::Base, FromColorRef(kExplanationBackground));
  p.setColor(QPalette::Text, FromColorRef(kExplanationText));
  box->setPalette(p);
  box->setGeometry(c.left, c.top, c.width, c.height);
  box->setAccessibleName("Explanation");
  // One text of all lines: appended one by one, each line lays out the box again.
  QStringList lines;
  for (const std::string& line : c.explanation) lines << DisplayText(line);
  box->setPlainText(lines.join('\n'));
  return box;
}

std::unique_ptr<TComponentDefault> BuildComponent(const OptionComponent& c,
                                                  const OptionPageValues& values, QWidget* page) {
  auto record = std::make_unique<TComponentDefault>();
  record->ComponentType = c.kind();
  record->ValueType = c.value_type();
  record->Page = c.page;
  record->Index = c.index;
  record->ValueMax = c.value_max;
  record->ValueMin = c.value_min;
  switch (c.kind()) {
    case kOptionCheckBox:
      record->Control = MakeCheckBox(c, SetValue(c, values), page);
      break;
    case kOptionRadioGroup:
      record->Control = MakeRadioGroup(c, SetValue(c, values), page);
      break;
    case kOptionValueEdit:
      record->Control = MakeValueEdit(c, values, page);
      break;
    case kOptionExplanation:
      record->Control = MakeExplanation(c, page);
      break;
    default:
      break;
  }
  return record;
}

}  // namespace

OptionRadioGroup::OptionRadioGroup(const QString& caption, QWidget* parent)
    : QGroupBox(caption, parent), items_(new QButtonGroup(this)) {
  items_->setExclusive(true);
}

void OptionRadioGroup::SetItems(const QStringList& items, int columns) {
  for (QAbstractButton* b : items_->buttons()) delete b;
  columns_ = std::max(columns, 1);
  for (int i = 0; i < items.size(); ++i) {
    auto* button = new QRadioButton(items[i], this);
    items_->addButton(button, i);
  }
  Arrange();
}

int OptionRadioGroup::ItemIndex() const {
  return items_->checkedId();
}

void OptionRadioGroup::SetItemIndex(int index) {
  if (QAbstractButton* b = items_->button(index)) {
    b->setChecked(true);
    return;
  }
  // Nothing selected: an exclusive group keeps a ticked button unless told.
  items_->setExclusive(false);
  for (QAbstractButton* b : items_->buttons()) b->setChecked(false);
  items_->setExclusive(true);
}

void OptionRadioGroup::resizeEvent(QResizeEvent* event) {
  QGroupBox::resizeEvent(event);
  Arrange();
}

void OptionRadioGroup::Arrange() {
  const int n = static_cast<int>(items_->buttons().size());
  if (n == 0) return;
  // Columns filled top to bottom, then left to right, in the space below the title.
  const int per_column = (n + columns_ - 1) / columns_;
  const int title = fontMetrics().height();
  const int space = std::max(height() - title - 5, 0);
  const int row_height = space / per_column;
  const int column_width = std::max(width() - 10, 0) / columns_;
  const int top = title + 1 + (space % per_column) / 2;
  for (int i = 0; i < n; ++i) {
    items_->button(i)->setGeometry(8 + column_width * (i / per_column),
                                   top + row_height * (i % per_column), column_width, row_height);
  }
}

BuiltOptionPages BuildOptionPages(QTabWidget* page_control, const OptionPageSet& set,
                                  const OptionPageValues& values) {
  BuiltOptionPages built;
  for (const OptionPage& p : set.pages) {
    auto* page = new QWidget;
    page->setObjectName(QString("Page%1").arg(p.number));
    page_control->addTab(page, DisplayText(p.caption));
    built.pages.push_back(page);
    for (const OptionComponent& c : p.components) {
      built.components.push_back(BuildComponent(c, values, page));
    }
  }
  return built;
}

}  // namespace quenlet
