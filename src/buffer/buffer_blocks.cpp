// Block copy, move and swap, and the editor's block command.
#include "buffer/buffer_blocks.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "buffer/data_buffer.h"
#include "platform/ini_file.h"

namespace quenlet {
namespace {

// Both ranges of start .. end -> dest lie inside a buffer of size bytes.
bool RangesInside(int64_t start, int64_t end, int64_t dest, size_t size) {
  const int64_t n = static_cast<int64_t>(size);
  return start >= 0 && end < n && dest >= 0 && dest <= n - 1 - (end - start);
}

}  // namespace

bool BlockCopy(int64_t start, int64_t end, std::span<uint8_t> buffer, int64_t dest) {
  if (end < start || dest == start) return true;
  if (!RangesInside(start, end, dest, buffer.size())) return false;
  std::memmove(buffer.data() + dest, buffer.data() + start, size_t(end - start + 1));
  return true;
}

bool BlockMove(int64_t start, int64_t end, std::span<uint8_t> buffer, int64_t dest) {
  if (end < start || dest == start) return true;
  if (!RangesInside(start, end, dest, buffer.size())) return false;
  const int64_t len = end - start + 1;
  std::memmove(buffer.data() + dest, buffer.data() + start, size_t(len));
  // Clear the part of the source the destination did not cover: it lies
  // either before or after the destination, never on both sides.
  if (dest > start) {
    std::memset(buffer.data() + start, 0, size_t(std::min(len, dest - start)));
  } else {
    const int64_t from = std::max(start, dest + len);
    std::memset(buffer.data() + from, 0, size_t(start + len - from));
  }
  return true;
}

bool BlockSwap(int64_t start, int64_t end, std::span<uint8_t> buffer, int64_t dest) {
  if (end < start || dest == start) return true;
  if (!RangesInside(start, end, dest, buffer.size())) return false;
  uint8_t* p = buffer.data();
  for (int64_t i = start; i <= end; ++i) std::swap(p[i], p[dest + (i - start)]);
  return true;
}

bool DataBuffer::DoBlockAction() {
  IniFile ini(history_ini_path_);
  const int32_t start = ini.ReadInteger("BlockDlg", "StartAdd", 0);
  const int32_t end = ini.ReadInteger("BlockDlg", "EndAdd", 0);
  const int32_t dest = ini.ReadInteger("BlockDlg", "DistSAdd", 0);
  const int32_t action = ini.ReadInteger("BlockDlg", "Action", 0);
  if (end < 1 || start == dest) return true;
  bool done = false;
  if (HasBuffer()) {
    switch (action) {
      case 0:
        done = BlockCopy(start, end, Bytes(), dest);
        break;
      case 1:
        done = BlockMove(start, end, Bytes(), dest);
        break;
      case 2:
        done = BlockSwap(start, end, Bytes(), dest);
        break;
      default:
        break;
    }
  }
  Changed(BufferChange::Contents);
  return done;
}

}  // namespace quenlet
