#pragma once
// The "Block Process" and "Buffer Resize." dialogs, modal and above the main
// window (TParameterDialog). The logic is BlockDialogLogic / ResizeDialogLogic
// (app/block_dialogs.h); these windows only mirror its fields.
#include "app/block_dialogs.h"
#include "ui/buffer/parameter_dialog.h"
#include "ui/buffer/range_grid.h"

class QButtonGroup;
class QLabel;
class QPushButton;

namespace quenlet {

class HexAddressEdit;

class TBlockDialog : public TParameterDialog {
  Q_OBJECT

 public:
  explicit TBlockDialog(OperationContext& ops, QWidget* owner = nullptr);

  BlockDialogLogic& Logic() { return logic_; }

  HexAddressEdit* StardAddEdit() const { return source_.start8; }
  HexAddressEdit* EndAddEdit() const { return source_.end8; }
  HexAddressEdit* StartAddEdit16() const { return source_.start16; }
  HexAddressEdit* EndStartAdd16() const { return source_.end16; }
  HexAddressEdit* DistSAdd8() const { return dest8_; }
  HexAddressEdit* DistSAdd16() const { return dest16_; }
  QLabel* DistSAddLabel() const { return dest_end8_; }
  QLabel* DistSAdd16Label() const { return dest_end16_; }
  QButtonGroup* ActionGroup() const { return action_group_; }
  QLabel* BufferSizeLabel() const { return buffer_size_; }
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
  void Build();
  void Pull() override;
  void Push() override;
  void CancelFields() override { logic_.ExitBtnClick(); }

  BlockDialogLogic logic_;
  RangeEdits source_;
  HexAddressEdit* dest8_ = nullptr;
  HexAddressEdit* dest16_ = nullptr;
  QLabel* dest_end8_ = nullptr;
  QLabel* dest_end16_ = nullptr;
  QButtonGroup* action_group_ = nullptr;
  QLabel* buffer_size_ = nullptr;
  QPushButton* fill_max_ = nullptr;
  QPushButton* fill_file_ = nullptr;
  QPushButton* fill_ic_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

class TResizeBufDialog : public TParameterDialog {
  Q_OBJECT

 public:
  explicit TResizeBufDialog(OperationContext& ops, QWidget* owner = nullptr);

  ResizeDialogLogic& Logic() { return logic_; }
  HexAddressEdit* BufSizeEdit() const { return size_edit_; }
  QPushButton* OKBtn() const { return ok_; }
  QPushButton* ExitBtn() const { return cancel_; }

 public slots:
  void OKBtnClick();
  void ExitBtnClick();

 private:
  void Pull() override;
  void Push() override;
  void CancelFields() override { logic_.ExitBtnClick(); }

  ResizeDialogLogic logic_;
  HexAddressEdit* size_edit_ = nullptr;
  QPushButton* ok_ = nullptr;
  QPushButton* cancel_ = nullptr;
};

}  // namespace quenlet
