#include "app/fill_sum_dialogs.h"

#include "buffer/dialog_result.h"
#include "buffer/hex_input.h"
#include "platform/ini_file.h"
#include "platform/strprintf.h"
#include "programmer/held_data_sum.h"
#include "programmer/operation_context.h"

namespace quenlet {
namespace {

constexpr const char* kFillDataDlg = "FillDataDlg";
constexpr const char* kGetSumDlg = "GetSumDlg";

}  // namespace

// ---------------------------------------------------------------- Fill Data

void FillDialogLogic::FormCreate() {
  SetDeviceRange(fields_.range, ops_.device);
  fields_.range_enabled = ops_.device.Option_Fuse_Type != 1;

  const IniFile ini(ops_.buffer.HistoryIniPath());
  const int32_t select = ini.ReadInteger(kFillDataDlg, "Select", kFillAllBit1);
  fields_.select = select >= kFillAllBit1 && select <= kFillSequentialWord ? select : kFillAllBit1;
  // Only what the fields can hold: a byte, a word.
  fields_.user_byte_text =
      strprintf("%02X", unsigned(ini.ReadInteger(kFillDataDlg, "UserData", 255)) & 0xFFu);
  fields_.user_word_text =
      strprintf("%04X", unsigned(ini.ReadInteger(kFillDataDlg, "UserWordData", 65535)) & 0xFFFFu);
  fields_.user_check = ini.ReadInteger(kFillDataDlg, "UserCheck", 0) == 1;
  if (fields_.user_check) {
    fields_.user_word = ini.ReadInteger(kFillDataDlg, "UserByteWordSel", 0) == 1 ? 1 : 0;
  }
}

void FillDialogLogic::MaxRangeBtnClick() {
  SetBufferRange(fields_.range, ops_.buffer);
}

void FillDialogLogic::FileRangeBtnClick() {
  SetFileRange(fields_.range, ops_.buffer, ops_.messages, "No File Selected!!");
}

void FillDialogLogic::FillICSizeBBClick() {
  SetDeviceRange(fields_.range, ops_.device);
}

bool FillDialogLogic::FillBtnClick() {
  DataBuffer& buffer = ops_.buffer;
  Messages& messages = ops_.messages;
  if (!CheckRangeOrReset(fields_.range, buffer, ops_.device, messages)) return false;
  if (!CheckRangeOrder(fields_.range, messages)) return false;
  ResetEditorView(buffer);
  uint64_t start = 0, end = 0, byte = 0, word = 0;
  if (!CheckRangeInBuffer(fields_.range, buffer.BufSize(), start, end, messages)) return false;
  if (!CheckHexBelow(fields_.user_byte_text, 0x100, byte, &messages)) return false;
  if (!CheckHexBelow(fields_.user_word_text, 0x10000, word, &messages)) return false;

  IniBatch batch;
  batch.WriteInteger(kFillDataDlg, "StartAdd", static_cast<int32_t>(start));
  batch.WriteInteger(kFillDataDlg, "EndAdd", static_cast<int32_t>(end));
  batch.WriteInteger(kFillDataDlg, "UserCheck", fields_.user_check ? 1 : 0);
  batch.WriteInteger(kFillDataDlg, "Select", fields_.select);
  batch.WriteInteger(kFillDataDlg, "UserData", static_cast<int32_t>(byte));
  batch.WriteInteger(kFillDataDlg, "UserWordData", static_cast<int32_t>(word));
  batch.WriteString(kFillDataDlg, "OK", "1");
  batch.WriteInteger(kFillDataDlg, "UserByteWordSel", fields_.user_word);
  return WriteDialogSection(batch, buffer.HistoryIniPath(), messages);
}

void FillDialogLogic::CancelBtnClick() {
  IniFile(ops_.buffer.HistoryIniPath()).WriteString(kFillDataDlg, "OK", "0");
}

void RunFillCommand(OperationContext& ops, const std::function<bool()>& run_dialog) {
  if (!RunDialogGuarded(ops.messages, run_dialog)) return;
  DataBuffer& buffer = ops.buffer;
  if (ReadDialogOK(buffer.HistoryIniPath(), kFillDataDlg) != 1) return;
  const IniFile ini(buffer.HistoryIniPath());
  const int64_t start = ini.ReadInteger(kFillDataDlg, "StartAdd", 0);
  const int64_t end = ini.ReadInteger(kFillDataDlg, "EndAdd", 0);
  if (end <= 0) return;

  Progress& progress = ops.progress;
  progress.Show();
  if (ini.ReadInteger(kFillDataDlg, "UserCheck", 0) == 0) {
    const int32_t select = ini.ReadInteger(kFillDataDlg, "Select", 0);
    switch (select) {
      case kFillAllBit1:
        buffer.FillBuffer(start, end, 0xFF, progress);
        break;
      case kFillAllBit0:
        buffer.FillBuffer(start, end, 0x00, progress);
        break;
      case kFillRandom:
      case kFillSequentialByte:
      case kFillSequentialWord:
        buffer.FillPattern(start, end, static_cast<uint8_t>(select - kFillRandom), progress);
        break;
      default:
        break;
    }
  } else if (ini.ReadInteger(kFillDataDlg, "UserByteWordSel", 0) == 0) {
    buffer.FillBuffer(start, end,
                      static_cast<uint8_t>(ini.ReadInteger(kFillDataDlg, "UserData", 0)), progress);
  } else {
    buffer.FillBufferWord(start, end,
                          static_cast<uint16_t>(ini.ReadInteger(kFillDataDlg, "UserWordData", 0)),
                          progress);
  }
  progress.Close();
}

// ------------------------------------------------------------ Get Check Sum

void SumDialogLogic::FormCreate() {
  SetDeviceRange(fields_.range, ops_.device);
  fields_.range_enabled = ops_.device.Option_Fuse_Type != 1;
}

void SumDialogLogic::FillMaxRangeClick() {
  SetBufferRange(fields_.range, ops_.buffer);
}

void SumDialogLogic::FillFileRangeClick() {
  SetFileRange(fields_.range, ops_.buffer, ops_.messages, "No File Seleted!!");
}

void SumDialogLogic::FillICSizeBBClick() {
  if (ops_.device.Option_Fuse_Type == 1) {
    if (!HeldDataSum(ops_, false)) return;
    ops_.messages.Show(ops_.view.SumText());
  }
  SetDeviceRange(fields_.range, ops_.device);
}

bool SumDialogLogic::GetSumBtnClick() {
  Messages& messages = ops_.messages;
  if (!CheckRangeOrder(fields_.range, messages)) return false;
  uint64_t start = 0, end = 0;
  if (!CheckRangeInBuffer(fields_.range, ops_.buffer.BufSize(), start, end, messages)) {
    return false;
  }
  IniBatch batch;
  batch.WriteInteger(kGetSumDlg, "StartAdd", static_cast<int32_t>(start));
  batch.WriteInteger(kGetSumDlg, "EndAdd", static_cast<int32_t>(end));
  batch.WriteString(kGetSumDlg, "OK", "1");
  return WriteDialogSection(batch, ops_.buffer.HistoryIniPath(), messages);
}

void SumDialogLogic::ExitBtnClick() {
  IniFile(ops_.buffer.HistoryIniPath()).WriteString(kGetSumDlg, "OK", "0");
}

void RunSumCommand(OperationContext& ops, const std::function<bool()>& run_dialog) {
  if (!RunDialogGuarded(ops.messages, run_dialog)) return;
  // The programmer's own sum came from the dialog's "IC".
  if (ops.device.Option_Fuse_Type == 1) return;
  DataBuffer& buffer = ops.buffer;
  if (ReadDialogOK(buffer.HistoryIniPath(), kGetSumDlg) != 1) return;
  const IniFile ini(buffer.HistoryIniPath());
  const int64_t end = ini.ReadInteger(kGetSumDlg, "EndAdd", 0);
  if (end <= 0) return;
  ops.progress.Show();
  // The range as typed: its end byte counts, also when the range is exactly
  // one device long.
  buffer.SumRange(ini.ReadInteger(kGetSumDlg, "StartAdd", 0), end, 1, ops.messages, ops.progress);
  ops.progress.Close();
}

}  // namespace quenlet
