#pragma once
// The one-line edit of an option page's numeric value: only digits of its
// base reach it (hexadecimal a-f as upper case), and after every change of
// its text the limit rule cuts it to the type's digits and to its ValueMax.
// Edits of text values and of unknown types take any input.
#include <QLineEdit>
#include <cstdint>

namespace quenlet {

class OptionValueEdit : public QLineEdit {
  Q_OBJECT

 public:
  OptionValueEdit(int32_t value_type, uint32_t value_max, QWidget* parent);

  int32_t ValueType() const { return value_type_; }
  // Installs the key filter and the limit rule (numeric types only). The
  // text shown before stays as it is, as the unit reported it.
  void InstallRules();

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void ValueEditChange();

  int32_t value_type_;
  uint32_t value_max_;
  bool rules_ = false;
};

}  // namespace quenlet
