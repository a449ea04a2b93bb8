#pragma once
// What the "Block Process" and "Buffer Resize." dialogs decide, without
// their windows, and the editor's Block and Resize commands around them.
//
// The block dialog follows the hand-back rule: OK writes History_1.ini
// [BlockDlg] (StartAdd, EndAdd, Action, DistSAdd, OK = "1") and the Block
// command then runs the action on the buffer; Cancel, Escape and the
// window's close write OK = "0". The resize dialog resizes the buffer
// itself and then writes [ResizeDlg] OK. A refused field shows its message
// and keeps the dialog open with nothing written.
#include <cstdint>
#include <functional>
#include <string>

#include "buffer/range_fields.h"

namespace quenlet {

struct OperationContext;

// ------------------------------------------------------------ Block Process

enum BlockAction : int32_t { kBlockCopy = 0, kBlockMove = 1, kBlockSwap = 2 };

struct BlockDialogFields {
  RangeFields source;
  std::string dest8 = "0000000";   // destination start, byte address
  std::string dest16 = "0000000";  // and word address
  // The destination ends: dest + (end - start), shown while start < end.
  std::string dest_end8 = "0000000";
  std::string dest_end16 = "0000000";
  int32_t action = kBlockCopy;
  std::string buffer_size;  // "%07lX" of the buffer's size
  // "Max" and "File": off where the programmer keeps the data.
  bool range_enabled = true;
};

class BlockDialogLogic {
 public:
  explicit BlockDialogLogic(OperationContext& ops) : ops_(ops) {}

  // The device range, the last destination and action from [BlockDlg].
  void FormCreate();
  // A field changed: the destination ends follow.
  void FieldsChanged();
  // "Max": the whole buffer, first grown to the device size + 1024.
  void FillMaxRangeClick();
  // "File": the loaded file; "No File Seleted!!" without one.
  void FillFileRangeClick();
  // "IC": the device range.
  void FillICSizeBBClick();
  // OK: true when the fields passed and [BlockDlg] was written.
  bool GetSumBtnClick();
  // Cancel, Escape or the window's close.
  void ExitBtnClick();

  BlockDialogFields& fields() { return fields_; }
  const BlockDialogFields& fields() const { return fields_; }

 private:
  OperationContext& ops_;
  BlockDialogFields fields_;
};

// The editor's Block command: the dialog (run_dialog shows it modally and
// says whether it was confirmed), then, when it was, the block action. A
// range the action refuses shows "Range Error!!". An error raised while the
// dialog runs is shown by the error display.
void RunBlockCommand(OperationContext& ops, const std::function<bool()>& run_dialog);

// ------------------------------------------------------------ Buffer Resize.

class ResizeDialogLogic {
 public:
  explicit ResizeDialogLogic(OperationContext& ops) : ops_(ops) {}

  // The field shows the size the buffer was made with (its size less the
  // 1024 bytes every resize adds), so OK at once keeps it as it is.
  void FormCreate();
  // OK: the size must be at most the largest buffer (kMaxBufferSize); the
  // buffer becomes that + 1024 bytes, [BufInf] and [ResizeDlg] OK = "1" are
  // written. A resize the buffer refuses (after its message) keeps the
  // dialog open and writes nothing. True when the dialog may close.
  bool OKBtnClick();
  void ExitBtnClick();

  std::string& size_text() { return size_text_; }
  const std::string& size_text() const { return size_text_; }

 private:
  OperationContext& ops_;
  std::string size_text_ = "0000000";
};

// The editor's Resize command is only its dialog (RunDialogGuarded), which
// does the work itself.

}  // namespace quenlet
