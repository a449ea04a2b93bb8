#pragma once
// The read paths' two calls into the option pages: the programmer's option
// block unpacked into temp.ini, where the option window finds the values.
// Neither needs the window.
#include "programmer/operation_context.h"

namespace quenlet {

class ProgramPaths;

class OptionPageReads : public OptionPageHooks {
 public:
  OptionPageReads(OperationContext& ctx, const ProgramPaths& paths) : ctx_(ctx), paths_(paths) {}

  // InfoBlock (already read by the caller) into temp.ini, as the unit sent it.
  void StoreUserPageValues() override;
  // Request 0x46 (0x0E00, 0x0100) and the 256-byte block into ProtectBlock,
  // erased words as 0, then into temp.ini. A failed request or a short block
  // shows its message after StepFail and changes neither ProtectBlock nor
  // temp.ini.
  bool ReadUserPageFromDevice() override;

 private:
  void Unpack(const std::array<uint8_t, 256>& block);

  OperationContext& ctx_;
  const ProgramPaths& paths_;
};

}  // namespace quenlet
