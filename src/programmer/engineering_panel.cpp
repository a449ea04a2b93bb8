#include "programmer/engineering_panel.h"

#include <algorithm>
#include <span>

#include "buffer/hex_input.h"
#include "platform/hex_number.h"
#include "platform/input_box.h"
#include "platform/strprintf.h"
#include "platform/test_library.h"
#include "programmer/device_compare.h"
#include "programmer/device_program.h"
#include "programmer/held_data_sum.h"
#include "programmer/operation_context.h"
#include "programmer/protocol.h"
#include "programmer/reply_text.h"
#include "programmer/single_shot_ops.h"
#include "programmer/step_fail.h"

namespace quenlet {
namespace {

constexpr uint16_t kSramArea = area::kRawMemory;
constexpr uint16_t kSramSize = area::kRawMemorySize;
static_assert(kSramSize == kSramBlockSize);
constexpr uint32_t kTypedLimit = 0x10000;  // typed numbers must fit in 16 bits

uint16_t Word(const uint8_t* at) {
  return static_cast<uint16_t>(at[0] | at[1] << 8);
}

}  // namespace

FirmwareRecordFields ParseFirmwareRecord(const uint8_t* bytes, size_t received) {
  std::array<uint8_t, kFirmwareRecordSize> record{};
  std::copy_n(bytes, std::min<size_t>(received, record.size()), record.begin());
  FirmwareRecordFields fields;
  fields.name = UpToNul(record.data(), 10);
  fields.version = UpToNul(record.data() + 10, 4);
  fields.state = Word(record.data() + 14);
  // Without the whole record there is no count to read.
  fields.components = received >= kFirmwareRecordSize ? Word(record.data() + 16) : 0;
  return fields;
}

std::string FirmwareRecordMessage(const FirmwareRecordFields& f) {
  return strprintf("版本名稱=%s\n版本號碼=%s\n系統狀態=%04X\n元件數目=%u", f.name.c_str(),
                   f.version.c_str(), unsigned{f.state}, unsigned{f.components});
}

std::string StatusMessage(const std::array<uint8_t, 16>& s) {
  return strprintf("系統狀態=%04X\n錯誤地址(H)=%04X\n錯誤地址(L)=%04X\n錯誤資料=%04X",
                   unsigned{Word(&s[0])}, unsigned{Word(&s[2])}, unsigned{Word(&s[4])},
                   unsigned{Word(&s[6])});
}

EngineeringPanel::EngineeringPanel(OperationContext& ctx, InputBox& input)
    : ctx_(ctx), input_(input) {}

void EngineeringPanel::Fail(const char* text) {
  StepFail(ctx_);
  ctx_.messages.Show(text);
}

bool EngineeringPanel::HaveBuffer() {
  if (ctx_.buffer.HasBuffer()) return true;
  Fail(panel_text::kNoMemory);
  return false;
}

void EngineeringPanel::RefreshEditor() {
  if (ctx_.refresh_editor) ctx_.refresh_editor();
}

void EngineeringPanel::Button6Click() {
  ReconnectProgrammer(ctx_, true);
}

std::array<uint8_t, kSramBlockSize> EngineeringPanel::BufferStart() const {
  std::array<uint8_t, kSramSize> block{};
  const auto bytes = ctx_.buffer.Bytes();
  std::copy_n(bytes.begin(), std::min(block.size(), bytes.size()), block.begin());
  return block;
}

void EngineeringPanel::PutBufferStart(std::span<const uint8_t> block) {
  const auto bytes = ctx_.buffer.Bytes();
  std::copy_n(block.begin(), std::min(block.size(), bytes.size()), bytes.begin());
}

bool EngineeringPanel::MoveSram(uint8_t request, bool into_buffer) {
  if (!HaveBuffer()) return false;
  Transport& t = ctx_.link.transport;
  // Through a block of its own: a short transfer leaves the buffer as it was.
  std::array<uint8_t, kSramSize> block = BufferStart();
  bool ok = false;
  if (!t.UsbVendorCmdWrite(request, kSramArea, kSramSize, 0, nullptr)) {
    Fail(panel_text::kCommandWriteFail);
  } else if (into_buffer && !t.UsbDataRead(kSramSize, block.data())) {
    Fail(panel_text::kDataReadFail);
  } else if (!into_buffer && !t.UsbDataWrite(kSramSize, block.data())) {
    Fail(panel_text::kDataWriteFail);
  } else {
    if (into_buffer) PutBufferStart(block);
    ok = true;
  }
  RefreshEditor();
  return ok;
}

bool EngineeringPanel::ReadSram(uint8_t request) {
  return MoveSram(request, true);
}

bool EngineeringPanel::WriteSram(uint8_t request) {
  return MoveSram(request, false);
}

void EngineeringPanel::Button7Click() {
  ReadSram(request::kAreaRead);
}

void EngineeringPanel::Button8Click() {
  WriteSram(request::kAreaWrite);
}

void EngineeringPanel::Button9Click() {
  // 0x4C moves the raw area back as a read, like 0x46.
  ReadSram(request::kPageWrite);
}

bool EngineeringPanel::VendorCmd(uint8_t request, uint16_t value, uint16_t index, uint16_t length) {
  if (length > kMaxTypedDataStage) {
    ctx_.messages.Show(strprintf(panel_text::kDataStageTooLongFormat, unsigned{length},
                                 unsigned{kMaxTypedDataStage}, unsigned{request}));
    return false;
  }
  const std::vector<uint8_t> data(length, 0);
  return ctx_.link.transport.UsbVendorCmdWrite(request, value, index, length,
                                               length > 0 ? data.data() : nullptr);
}

std::optional<std::vector<uint16_t>> EngineeringPanel::AskNumbers(
    std::initializer_list<std::pair<const char*, const char*>> prompts) {
  std::vector<uint16_t> numbers;
  for (const auto& [prompt, default_text] : prompts) {
    const std::string text = input_.Ask(panel_text::kInputCaption, prompt, default_text);
    // Sixteen bits at most: a wider or negative number is refused.
    const std::optional<uint64_t> value =
        ReadHexNumber(text, kTypedLimit - 1, HexOverflow::kRefuse);
    if (!value) {
      ReportBoundError(ctx_.messages);
      return std::nullopt;
    }
    numbers.push_back(static_cast<uint16_t>(*value));
  }
  return numbers;
}

void EngineeringPanel::TypedRequest(uint8_t request) {
  const auto n = AskNumbers({{panel_text::kAddrPrompt, panel_text::kNumberDefault},
                             {panel_text::kIndexPrompt, panel_text::kNumberDefault},
                             {panel_text::kSizePrompt, panel_text::kNumberDefault}});
  if (n) VendorCmd(request, (*n)[0], (*n)[1], (*n)[2]);
}

void EngineeringPanel::Button15Click() {
  const auto n = AskNumbers({{panel_text::kAddrPrompt, panel_text::kPageAddrDefault},
                             {panel_text::kIndexPrompt, panel_text::kPageIndexDefault}});
  if (n) VendorCmd(request::kAnnounce, (*n)[0], (*n)[1], 0);
}

void EngineeringPanel::Button18Click() {
  TypedRequest(request::kRaw);
}

void EngineeringPanel::Button19Click() {
  TypedRequest(request::kRun);
}

void EngineeringPanel::Button20Click() {
  TypedRequest(request::kPrepare);
}

void EngineeringPanel::Button12Click() {
  std::array<uint8_t, kFirmwareRecordSize> record{};
  uint16_t received = 0;
  if (!ctx_.link.transport.UsbVendorCmdRead(request::kFirmwareRecord, 0, 0, kFirmwareRecordSize,
                                            record.data(), &received)) {
    return;
  }
  const FirmwareRecordFields fields = ParseFirmwareRecord(record.data(), received);
  ctx_.messages.Show(FirmwareRecordMessage(fields));
  ctx_.link.ProgrammerInfoWord =
      static_cast<uint16_t>(std::min<uint32_t>(fields.components * kComponentRecordSize, 0xFFFF));
}

void EngineeringPanel::Button13Click() {
  ProgrammerStatus status;
  if (!ReadProgrammerStatus(ctx_.link.transport, status)) return;
  ctx_.messages.Show(StatusMessage(status.bytes));
}

void EngineeringPanel::Button16Click() {
  if (!HaveBuffer()) return;
  std::array<uint8_t, kSramSize> block{};
  uint16_t received = 0;
  if (ctx_.link.transport.UsbVendorCmdRead(request::kRawRead, kSramArea, 0, kSramSize, block.data(),
                                           &received)) {
    PutBufferStart(std::span(block).first(received));
  }
  RefreshEditor();
}

void EngineeringPanel::Button17Click() {
  if (!HaveBuffer()) return;
  const std::array<uint8_t, kSramSize> block = BufferStart();
  for (uint16_t word = 0; word < kSramSize / 2; ++word) {
    // A unit that stopped answering is not asked 255 more times.
    if (!SendRequest(ctx_.link.transport, request::kRawWordWrite, word, Word(&block[word * 2]))) {
      break;
    }
  }
}

void EngineeringPanel::Button21Click() {
  if (!HaveBuffer()) return;
  const uint16_t length = ctx_.link.ProgrammerInfoWord;
  std::vector<uint8_t> block(length, 0);
  uint16_t received = 0;
  if (ctx_.link.transport.UsbVendorCmdRead(request::kPageRead, 0, 0, length, block.data(),
                                           &received)) {
    block.resize(received);
    component_table_ = std::move(block);
  }
  RefreshEditor();
}

void EngineeringPanel::CallLibrary(void** field, uint32_t length) {
  // The library gets a copy of the length: what it writes there is not ours.
  // No library, or no export, is a failure even when the field is set.
  const TestLibraryCall call =
      CallTestLibrary(ctx_.state.ProgramDir + kTestLibraryName, field, &length);
  if (call != TestLibraryCall::Called || *field == nullptr) Fail(panel_text::kReturnValueFail);
}

void EngineeringPanel::Button1Click() {
  // A pointer an earlier call left may point into the unloaded library; it
  // must not count as this call's result.
  hand_over_pointer_ = nullptr;
  CallLibrary(&hand_over_pointer_, hand_over_length_);
}

void EngineeringPanel::Button2Click() {
  const bool has = ctx_.buffer.HasBuffer();
  hand_over_handle_ = has ? ctx_.buffer.Bytes().data() : nullptr;
  hand_over_length_ = has ? std::min(ctx_.buffer.BufSize(), kTestLibraryMaxLength) : 0;
  CallLibrary(&hand_over_handle_, hand_over_length_);
  RefreshEditor();
}

void EngineeringPanel::EraseClick() {
  erase_1Click(ctx_, 0);
}

void EngineeringPanel::checkClick() {
  check_1Click(ctx_, 0);
}

void EngineeringPanel::programClick() {
  program_1Click(ctx_, 0);
}

void EngineeringPanel::verifyClick() {
  verify_1Click(ctx_, 0);
}

void EngineeringPanel::ProtClick() {
  protect_1Click(ctx_, 0);
}

void EngineeringPanel::progClick() {
  quenlet::progClick(ctx_);
}

}  // namespace quenlet
