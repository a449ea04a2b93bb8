#pragma once
// The "Fill Data" and "Get Check Sum" dialogs, modal and above the main
// window (TParameterDialog). The logic is FillDialogLogic / SumDialogLogic
// (app/fill_sum_dialogs.h); these windows only mirror its fields.
#include "app/fill_sum_dialogs.h"
#include "ui/buffer/parameter_dialog.h"
#include "ui/buffer/range_grid.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;

namespace quenlet {

class HexAddressEdit;

class TFillDataDialog : public TParameterDialog {
  Q_OBJECT

 public:
  explicit TFillDataDialog(OperationContext& ops, QWidget* owner = nullptr);

  FillDialogLogic& Logic() { return logic_; }

  HexAddressEdit* SAddEdit8() const { return range_.start8; }
  HexAddressEdit* EAddEdit8() const { return range_.end8; }
  HexAddressEdit* SAddEdit16() const { return range_.start16; }
  HexAddressEdit* EAddEdit16() const { return range_.end16; }
  QGroupBox* FillDataGroupBox() const { return pattern_box_; }
  QButtonGroup* FillDataGroup() const { return pattern_group_; }
  QCheckBox* UserCheckBox() const { return user_check_; }
  QGroupBox* DefSetRadioGroupBox() const { return width_box_; }
  QButtonGroup* DefSetRadioGroup() const { return width_group_; }
  HexAddressEdit* UserDefineEdit() const { return user_byte_; }
  HexAddressEdit* UserDefWordEdit() const { return user_word_; }
  QPushButton* FillICSizeBB() const { return fill_ic_; }
  QPushButton* MaxRangeBtn() const { return fill_max_; }
  QPushButton* FileRangeBtn() const { return fill_file_; }
  QPushButton* FillBtn() const { return ok_; }
  QPushButton* CancelBtn() const { return cancel_; }

 public slots:
  void FillBtnClick();    // OK
  void CancelBtnClick();  // Cancel
  void FillICSizeBBClick();
  void MaxRangeBtnClick();
  void FileRangeBtnClick();

 private:
  void Build();
  void Pull() override;
  void Push() override;
  void CancelFields() override { logic_.CancelBtnClick(); }

  FillDialogLogic logic_;
  RangeEdits range_;
  QGroupBox* pattern_box_ = nullptr;
  QButtonGroup* pattern_group_ = nullptr;
  QCheckBox* user_check_ = nullptr;
  QGroupBox* width_box_ = nullptr;
  QButtonGroup* width_group_ = nullptr;
  HexAddressEdit* user_byte_ = nullptr;
  HexAddressEdit* user_word_ = nullptr;
  QPushButton* fill_ic_ = nullptr;
  QPushButton* fill_max_ = nullptr;
  QPushButton* fill_file_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

class TGetSumDialog : public TParameterDialog {
  Q_OBJECT

 public:
  explicit TGetSumDialog(OperationContext& ops, QWidget* owner = nullptr);

  SumDialogLogic& Logic() { return logic_; }

  HexAddressEdit* StardAddEdit() const { return range_.start8; }
  HexAddressEdit* EndAddEdit() const { return range_.end8; }
  HexAddressEdit* StartAddEdit16() const { return range_.start16; }
  HexAddressEdit* EndStartAdd16() const { return range_.end16; }
  QPushButton* FillMaxRange() const { return fill_max_; }
  QPushButton* FillFileRange() const { return fill_file_; }
  QPushButton* FillICSizeBB() const { return fill_ic_; }
  QPushButton* GetSumBtn() const { return ok_; }
  QPushButton* ExitBtn() const { return cancel_; }

 public slots:
  void GetSumBtnClick();  // OK
  void ExitBtnClick();    // Cancel
  void FillMaxRangeClick();
  void FillFileRangeClick();
  void FillICSizeBBClick();

 private:
  void Pull() override;
  void Push() override;
  void CancelFields() override { logic_.ExitBtnClick(); }

  SumDialogLogic logic_;
  RangeEdits range_;
  QPushButton* fill_max_ = nullptr;
  QPushButton* fill_file_ = nullptr;
  QPushButton* fill_ic_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace quenlet
