#include "app/block_dialogs.h"

#include "buffer/dialog_result.h"
#include "buffer/hex_input.h"
#include "platform/ini_file.h"
#include "programmer/operation_context.h"
#include "state/buffer_limits.h"

namespace quenlet {
namespace {

constexpr const char* kBlockDlg = "BlockDlg";
constexpr const char* kResizeDlg = "ResizeDlg";
// The resize field takes any size up to the largest buffer (eight digits,
// as the address fields), so that it can show every buffer's size and OK at
// once keeps it.
constexpr uint64_t kResizeLimit = kMaxBufferSize + 1;

}  // namespace

// ------------------------------------------------------------ Block Process

void BlockDialogLogic::FormCreate() {
  SetDeviceRange(fields_.source, ops_.device);
  fields_.range_enabled = ops_.device.Option_Fuse_Type != 1;

  const IniFile ini(ops_.buffer.HistoryIniPath());
  const int32_t dest = ini.ReadInteger(kBlockDlg, "DistSAdd", 0);
  // The 32 bits as the program stored them, clamped to the field.
  const uint64_t stored = static_cast<uint32_t>(dest);
  const AddressTwinTexts twins = AddressTwins(stored, stored / 2);
  fields_.dest8 = twins.byte;
  fields_.dest16 = twins.word;
  const int32_t action = ini.ReadInteger(kBlockDlg, "Action", kBlockCopy);
  fields_.action = action >= kBlockCopy && action <= kBlockSwap ? action : kBlockCopy;
  fields_.buffer_size = HexAddressText(ops_.buffer.BufSize());
  FieldsChanged();
}

void BlockDialogLogic::FieldsChanged() {
  const RangeFields& s = fields_.source;
  if (auto end = UpdateDestEndText(fields_.dest8, s.start8, s.end8)) fields_.dest_end8 = *end;
  if (auto end = UpdateDestEndText(fields_.dest16, s.start16, s.end16)) fields_.dest_end16 = *end;
}

void BlockDialogLogic::FillMaxRangeClick() {
  DataBuffer& buffer = ops_.buffer;
  if (GrowBufferForDevice(buffer, ops_.messages)) {
    fields_.buffer_size = HexAddressText(buffer.BufSize());
  }
  SetBufferRange(fields_.source, buffer);
  FieldsChanged();
}

void BlockDialogLogic::FillFileRangeClick() {
  if (SetFileRange(fields_.source, ops_.buffer, ops_.messages, "No File Seleted!!")) {
    FieldsChanged();
  }
}

void BlockDialogLogic::FillICSizeBBClick() {
  SetDeviceRange(fields_.source, ops_.device);
  FieldsChanged();
}

bool BlockDialogLogic::GetSumBtnClick() {
  DataBuffer& buffer = ops_.buffer;
  Messages& messages = ops_.messages;
  const uint64_t buf_size = buffer.BufSize();
  if (!CheckRangeOrReset(fields_.source, buffer, ops_.device, messages)) {
    FieldsChanged();
    return false;
  }
  if (!CheckRangeOrder(fields_.source, messages)) return false;
  ResetEditorView(buffer);
  uint64_t start = 0, end = 0;
  if (!CheckRangeInBuffer(fields_.source, buf_size, start, end, messages)) return false;
  // The destination's end from the values, not from the label: the label
  // stands still while the range is empty. dest + (end - start) below the
  // size, put so that a huge dest cannot wrap the sum past the check.
  const uint64_t dest = HexTextToInt(fields_.dest8);
  if (dest >= buf_size || end - start >= buf_size - dest) {
    ReportBoundError(messages);
    return false;
  }

  IniBatch batch;
  batch.WriteInteger(kBlockDlg, "StartAdd", static_cast<int32_t>(start));
  batch.WriteInteger(kBlockDlg, "EndAdd", static_cast<int32_t>(end));
  batch.WriteInteger(kBlockDlg, "Action", fields_.action);
  batch.WriteInteger(kBlockDlg, "DistSAdd", static_cast<int32_t>(dest));
  batch.WriteString(kBlockDlg, "OK", "1");
  return WriteDialogSection(batch, buffer.HistoryIniPath(), messages);
}

void BlockDialogLogic::ExitBtnClick() {
  IniFile(ops_.buffer.HistoryIniPath()).WriteString(kBlockDlg, "OK", "0");
}

void RunBlockCommand(OperationContext& ops, const std::function<bool()>& run_dialog) {
  if (!RunDialogGuarded(ops.messages, run_dialog)) return;
  if (ReadDialogOK(ops.buffer.HistoryIniPath(), kBlockDlg) != 1) return;
  if (!ops.buffer.DoBlockAction()) ops.messages.Show("Range Error!!");
}

// ------------------------------------------------------------ Buffer Resize.

void ResizeDialogLogic::FormCreate() {
  const uint32_t size = ops_.buffer.BufSize();
  size_text_ = AddressFieldText(size >= DataBuffer::kSizeExtra ? size - DataBuffer::kSizeExtra : 0);
}

bool ResizeDialogLogic::OKBtnClick() {
  Messages& messages = ops_.messages;
  uint64_t n = 0;
  if (!CheckHexBelow(size_text_, kResizeLimit, n, &messages)) return false;
  DataBuffer& buffer = ops_.buffer;
  if (!buffer.ResizeBuffer(static_cast<int64_t>(n), messages)) return false;
  buffer.SaveBufInf();
  IniFile(buffer.HistoryIniPath()).WriteString(kResizeDlg, "OK", "1");
  ResetEditorView(buffer);
  return true;
}

void ResizeDialogLogic::ExitBtnClick() {
  IniFile(ops_.buffer.HistoryIniPath()).WriteString(kResizeDlg, "OK", "0");
}

}  // namespace quenlet
