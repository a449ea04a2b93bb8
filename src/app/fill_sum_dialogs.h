#pragma once
// What the "Fill Data" and "Get Check Sum" dialogs decide, without their
// windows, and the editor's Fill Data and Get Sum commands around them.
//
// Both follow the hand-back rule: OK writes the range (and the fill's
// choices) into History_1.ini [FillDataDlg] / [GetSumDlg] with OK = "1",
// and the command then fills or sums the buffer; Cancel, Escape and the
// window's close write OK = "0". A refused field shows its message and
// keeps the dialog open with nothing written.
//
// Where the programmer keeps the data itself (Option_Fuse_Type 1) the
// checksum dialog's "IC" asks the programmer for its own sum, and the Get
// Sum command sums nothing in the buffer.
#include <cstdint>
#include <functional>
#include <string>

#include "buffer/range_fields.h"

namespace quenlet {

struct OperationContext;

// ---------------------------------------------------------------- Fill Data

// The patterns of "Fill Data Select", by code.
enum FillPatternCode : int32_t {
  kFillAllBit1 = 0,
  kFillAllBit0 = 1,
  kFillRandom = 2,
  kFillSequentialByte = 3,
  kFillSequentialWord = 4,
};

struct FillDialogFields {
  RangeFields range;
  int32_t select = kFillAllBit1;
  bool user_check = false;  // "User define[BYTE] :"
  int32_t user_word = 0;    // "User Define": 0 Byte, 1 Word
  std::string user_byte_text = "FF";
  std::string user_word_text = "FFFF";
  // "Max" and "File": off where the programmer keeps the data.
  bool range_enabled = true;

  // A user value replaces the patterns; only the value field of the chosen
  // width takes input.
  bool PatternsEnabled() const { return !user_check; }
  bool ByteValueEnabled() const { return user_check && user_word == 0; }
  bool WordValueEnabled() const { return user_check && user_word != 0; }
};

class FillDialogLogic {
 public:
  explicit FillDialogLogic(OperationContext& ops) : ops_(ops) {}

  // The device range and the last choices from [FillDataDlg].
  void FormCreate();
  // "Max": the whole buffer (not grown).
  void MaxRangeBtnClick();
  // "File": the loaded file; "No File Selected!!" without one.
  void FileRangeBtnClick();
  // "IC": the device range.
  void FillICSizeBBClick();
  // OK: true when the fields passed and [FillDataDlg] was written.
  bool FillBtnClick();
  void CancelBtnClick();

  FillDialogFields& fields() { return fields_; }
  const FillDialogFields& fields() const { return fields_; }

 private:
  OperationContext& ops_;
  FillDialogFields fields_;
};

// The editor's Fill Data command: the dialog, then the fill it chose.
void RunFillCommand(OperationContext& ops, const std::function<bool()>& run_dialog);

// ------------------------------------------------------------ Get Check Sum

struct SumDialogFields {
  RangeFields range;
  // Off where the programmer keeps the data: its sum covers the device.
  bool range_enabled = true;  // "Max", "File " and the four address fields
};

class SumDialogLogic {
 public:
  explicit SumDialogLogic(OperationContext& ops) : ops_(ops) {}

  void FormCreate();
  void FillMaxRangeClick();
  // "File ": the loaded file; "No File Seleted!!" without one.
  void FillFileRangeClick();
  // "IC": the device range. Where the programmer keeps the data, first its
  // own sum: the buffer goes to the programmer, which sums it; the sum is
  // shown in the main window's sum field and as a message. A failed request
  // leaves the fields as they were.
  void FillICSizeBBClick();
  // OK: true when the fields passed and [GetSumDlg] was written.
  bool GetSumBtnClick();
  void ExitBtnClick();

  SumDialogFields& fields() { return fields_; }
  const SumDialogFields& fields() const { return fields_; }

 private:
  OperationContext& ops_;
  SumDialogFields fields_;
};

// The editor's Get Sum command: the dialog, then the buffer's sum of the
// chosen range, end byte included, with its message ("SUM : %08lX").
void RunSumCommand(OperationContext& ops, const std::function<bool()>& run_dialog);

}  // namespace quenlet
