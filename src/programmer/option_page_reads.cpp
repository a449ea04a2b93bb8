#include "programmer/option_page_reads.h"

#include "device/option_block.h"
#include "device/option_page_file.h"
#include "programmer/operation_frame.h"
#include "programmer/step_fail.h"
#include "state/operation_messages.h"

namespace quenlet {

void OptionPageReads::Unpack(const std::array<uint8_t, 256>& block) {
  StoreOptionBlock(block, OptionPageFilePath(paths_, ctx_.device.OptionPageIni),
                   OptionValuesPath(paths_));
}

void OptionPageReads::StoreUserPageValues() {
  Unpack(ctx_.state.InfoBlock);
}

bool OptionPageReads::ReadUserPageFromDevice() {
  auto fail = [this](const char* text) {
    StepFail(ctx_);
    ShowMessage(ctx_, text);
    return false;
  };
  if (!SendRequest(ctx_.link.transport, request::kAreaRead, area::kOptions, area::kOptionsSize)) {
    return fail(op_text::kInfoReadRequestFail);
  }
  OptionBlock block{};
  if (!ReadBulk(ctx_, block)) return fail(op_text::kOptionBlockFail);
  ClearErasedOptionWords(block);
  ctx_.state.ProtectBlock = block;
  Unpack(block);
  return true;
}

}  // namespace quenlet
