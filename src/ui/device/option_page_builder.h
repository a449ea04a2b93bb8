#pragma once
// The option pages of a device, built from its page-description file: one
// tab page per page of the file, and on it one control per component at the
// place the file gives (check box, radio group, labelled value edit or
// explanation box). Each component also gets a record that keeps what the
// file said of it.
#include <QGroupBox>
#include <QPointer>
#include <cstdint>
#include <memory>
#include <vector>

class QButtonGroup;
class QTabWidget;
class QWidget;

namespace quenlet {

class IniSnapshot;
struct OptionComponent;
struct OptionPageSet;

// One component of a page: its kind and value type as read, its place in
// the walk, its limits, and the control made for it (the check box, the
// radio group, the edit of a value edit or the explanation box; null for
// other kinds). The control belongs to its tab page.
struct TComponentDefault {
  int32_t ComponentType = -1;
  QPointer<QWidget> Control;
  int32_t ValueType = -1;
  int32_t Page = 0;
  int32_t Index = 0;
  uint32_t ValueMax = 0;
  uint32_t ValueMin = 0;  // kept, never applied
};

// A radio group: its items in columns, filled column by column.
class OptionRadioGroup : public QGroupBox {
  Q_OBJECT

 public:
  OptionRadioGroup(const QString& caption, QWidget* parent);
  void SetItems(const QStringList& items, int columns);
  // -1 when no item is selected; an index outside the items selects none.
  int ItemIndex() const;
  void SetItemIndex(int index);
  QButtonGroup* Items() const { return items_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Arrange();

  QButtonGroup* items_;
  int columns_ = 1;
};

// Where the controls find their values: value edits always in temp.ini;
// check boxes and radio groups in temp.ini once the programmer has given
// values (ProgrammerHasData), before that in the page file's own defaults.
struct OptionPageValues {
  const IniSnapshot& temp_ini;
  bool programmer_has_data = false;
};

struct BuiltOptionPages {
  std::vector<QWidget*> pages;  // owned by the page control
  std::vector<std::unique_ptr<TComponentDefault>> components;
};

// Adds the pages of `set` to `page_control`, tab objectName "Page<n>".
BuiltOptionPages BuildOptionPages(QTabWidget* page_control, const OptionPageSet& set,
                                  const OptionPageValues& values);

}  // namespace quenlet
