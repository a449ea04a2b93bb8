#pragma once
// The texts of the editor's Buffer Information page: the last loaded file
// and its format as the load dialog left them in History_1.ini [LoadDlg],
// and the buffer's stored sum, sum range, size and file placement. Nothing
// is summed again here: the page shows what the last sum left.
#include <cstdint>
#include <string>

namespace quenlet {

class DataBuffer;

// The page's two sum lines are whole texts of the program, "Check Sum : %08lX H"
// and "Get Sum Range : %07lXH <---> %07lXH": each reads as its caption, a
// space, and the value below.
inline constexpr char kCheckSumCaption[] = "Check Sum :";
inline constexpr char kSumRangeCaption[] = "Get Sum Range :";

struct BufferInfoTexts {
  std::string file_name;      // [LoadDlg] Name, "None" without one
  std::string file_format;    // the name of [LoadDlg] Format
  std::string check_sum;      // "%08lX H", after kCheckSumCaption
  std::string sum_range;      // "%07lXH <---> %07lXH", after kSumRangeCaption
  std::string buffer_size;    // "%07lX"
  std::string start_address;  // the loaded file's start, "%07lX"
  std::string end_address;    // the loaded file's size field, "%07lX", 0 when negative
};

// The load dialog's format names by code (0 to 7); any other code "None".
const char* LoadFormatName(int32_t code);

BufferInfoTexts ReadBufferInfo(const DataBuffer& buffer);

}  // namespace quenlet
