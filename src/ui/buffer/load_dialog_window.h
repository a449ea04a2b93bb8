#pragma once
// The "Load File" dialog: the file (with its history and Browse), the
// format, the source range, the destination with the fill byte, and the
// data-set lanes. A borderless modal dialog over the main window, with its
// title in a band; Enter is Load, and Escape, like Cancel, runs the Cancel
// handler (TParameterDialog).
// The logic is LoadDialogLogic (app/load_save_dialogs.h); this window only
// mirrors its fields.
#include <optional>
#include <string>

#include "app/load_save_dialogs.h"
#include "ui/buffer/parameter_dialog.h"

class QButtonGroup;
class QCheckBox;
class QPushButton;
class QRadioButton;

namespace quenlet {

class FileChooser;
class HexAddressEdit;
class THistoryComboBox;

class TLoadDlg : public TParameterDialog {
  Q_OBJECT

 public:
  // history_ini_file: where the name history lives; empty means the
  // program's own INI file.
  TLoadDlg(LoadSaveDialogEnv env, FileChooser& files, const std::string& history_ini_file,
           QWidget* owner = nullptr);

  // False when no device had been chosen: the dialog is not to be shown.
  bool Created() const { return created_; }
  // The load command's preset name: it becomes the name and its file the
  // source range.
  void SetFileName(const std::string& name);

  LoadDialogLogic& Logic() { return logic_; }

  THistoryComboBox* NameEdit() const { return name_edit_; }
  QPushButton* BitBtn1() const { return browse_; }
  QPushButton* BitBtn2() const { return load_; }
  QPushButton* BitBtn3() const { return cancel_; }
  QButtonGroup* FormatGroup() const { return format_group_; }
  QButtonGroup* DataSet() const { return lane_group_; }
  HexAddressEdit* SourceSAdd() const { return source_start_; }
  HexAddressEdit* SourceEAdd() const { return source_end_; }
  HexAddressEdit* DistSAdd() const { return dest_start_; }
  HexAddressEdit* UserFill() const { return user_fill_; }
  QCheckBox* UnuserFillCheck() const { return fill_unused_; }

 public slots:
  void BitBtn1Click();  // Browse
  void BitBtn2Click();  // Load
  void BitBtn3Click();  // Cancel
  void FormatGroupClick(int code);
  // The name changed by the operator (typed or picked).
  void NameEditChange();

 private:
  void Build();
  // Fields from the widgets, and back (a widget whose text is the same is
  // left alone, so typing is never disturbed).
  void Pull() override;
  void Push() override;
  void CancelFields() override { logic_.Cancel(); }

  LoadDialogLogic logic_;
  LoadSaveDialogEnv env_;
  FileChooser& files_;
  bool created_ = false;

  THistoryComboBox* name_edit_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* load_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QButtonGroup* format_group_ = nullptr;
  QButtonGroup* lane_group_ = nullptr;
  HexAddressEdit* source_start_ = nullptr;
  HexAddressEdit* source_end_ = nullptr;
  HexAddressEdit* dest_start_ = nullptr;
  HexAddressEdit* user_fill_ = nullptr;
  QCheckBox* fill_unused_ = nullptr;
};

}  // namespace quenlet
