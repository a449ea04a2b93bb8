#include "buffer/buffer_info.h"

#include <algorithm>
#include <array>

#include "buffer/data_buffer.h"
#include "platform/ini_file.h"
#include "platform/int_text.h"
#include "platform/strprintf.h"

namespace quenlet {
namespace {

// Addresses and sums are 32-bit values, whatever the width of long.
unsigned long Bits32(int64_t value) {
  return static_cast<uint32_t>(value);
}

}  // namespace

const char* LoadFormatName(int32_t code) {
  static constexpr std::array<const char*, 8> kNames = {
      "Auto Detect", "MS-DOS fn.exe", "MS-DOS fn.com", "Binary / Machine Code",
      "Intel HEX",   "Motorola HEX",  "Tektlonix HEX", "POF"};
  return code >= 0 && code < int32_t(kNames.size()) ? kNames[size_t(code)] : "None";
}

BufferInfoTexts ReadBufferInfo(const DataBuffer& buffer) {
  const IniFile ini(buffer.HistoryIniPath());
  BufferInfoTexts texts;
  texts.file_name = ini.ReadString("LoadDlg", "Name", "None");
  // A value that is no number names no format.
  texts.file_format = LoadFormatName(LenientStrToInt(ini.ReadString("LoadDlg", "Format", "0"), -1));
  texts.check_sum = strprintf("%08lX H", Bits32(buffer.SumValue()));
  texts.sum_range =
      strprintf("%07lXH <---> %07lXH", Bits32(buffer.SumStart()), Bits32(buffer.SumEnd()));
  texts.buffer_size = strprintf("%07lX", Bits32(buffer.BufSize()));
  texts.start_address = strprintf("%07lX", Bits32(buffer.FileStartAdd()));
  texts.end_address = strprintf("%07lX", Bits32(std::max(buffer.FileSize(), 0)));
  return texts;
}

}  // namespace quenlet
