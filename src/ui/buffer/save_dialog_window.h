#pragma once
// The "Save File" dialog: the file name (with its history and Browse), the
// save format and the range, with the File, Max and IC range buttons. A
// modal dialog with a window frame; Escape and the frame's close button run
// the Cancel handler like Cancel (TParameterDialog). The logic is
// SaveDialogLogic (app/load_save_dialogs.h); this window only mirrors its
// fields.
#include <string>

#include "app/load_save_dialogs.h"
#include "ui/buffer/parameter_dialog.h"

class QButtonGroup;
class QPushButton;

namespace quenlet {

class FileChooser;
class HexAddressEdit;
class THistoryComboBox;

class TLoadSaveDlg : public TParameterDialog {
  Q_OBJECT

 public:
  // history_ini_file: where the name history lives; empty means the
  // program's own INI file.
  TLoadSaveDlg(LoadSaveDialogEnv env, FileChooser& files, const std::string& history_ini_file,
               QWidget* owner = nullptr);

  SaveDialogLogic& Logic() { return logic_; }

  THistoryComboBox* NameEdit() const { return name_edit_; }
  QPushButton* BitBtn1() const { return browse_; }
  QPushButton* BitBtn2() const { return save_; }
  QPushButton* BitBtn3() const { return cancel_; }
  QButtonGroup* FormatGroup() const { return format_group_; }
  HexAddressEdit* SourceSAdd() const { return source_start_; }
  HexAddressEdit* SourceEAdd() const { return source_end_; }
  QPushButton* FillFileBtn() const { return fill_file_; }
  QPushButton* FillMaxBtn() const { return fill_max_; }
  QPushButton* FillICSizeBB() const { return fill_ic_; }

 public slots:
  void BitBtn1Click();  // Browse
  void BitBtn2Click();  // Save
  void BitBtn3Click();  // Cancel
  void FillMaxBtnClick();
  void FillFileBtnClick();
  void FillICSizeBBClick();

 private:
  void Build();
  void Pull() override;
  void Push() override;
  void CancelFields() override { logic_.Cancel(); }

  SaveDialogLogic logic_;
  LoadSaveDialogEnv env_;
  FileChooser& files_;

  THistoryComboBox* name_edit_ = nullptr;
  QPushButton* browse_ = nullptr;
  QPushButton* save_ = nullptr;
  QPushButton* cancel_ = nullptr;
  QButtonGroup* format_group_ = nullptr;
  HexAddressEdit* source_start_ = nullptr;
  HexAddressEdit* source_end_ = nullptr;
  QPushButton* fill_file_ = nullptr;
  QPushButton* fill_max_ = nullptr;
  QPushButton* fill_ic_ = nullptr;
};

}  // namespace quenlet
