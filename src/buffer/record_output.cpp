#include "buffer/record_output.h"

#include <cstring>

namespace quenlet {

void SaveSource::Copy(uint64_t offset, size_t n, uint8_t* out) const {
  size_t have = 0;
  if (offset < available_.size()) {
    have = available_.size() - offset < n ? static_cast<size_t>(available_.size() - offset) : n;
    std::memcpy(out, available_.data() + offset, have);
  }
  std::memset(out + have, 0, n - have);
}

bool RecordOutput::Flush() {
  if (pending_ > 0 && !failed_) {
    if (!sink_.Write(std::span<const char>(block_.data(), pending_))) failed_ = true;
  }
  pending_ = 0;
  return !failed_;
}

char* RecordOutput::BeginRecord() {
  if (pending_ > kFlushAbove && !Flush()) return nullptr;
  if (failed_) return nullptr;
  return block_.data() + pending_;
}

bool RecordOutput::Finish() {
  return Flush();
}

}  // namespace quenlet
