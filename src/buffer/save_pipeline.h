#pragma once
// The editor's Action / Save command: the save dialog hands its choices back
// in History_1.ini [SaveDlg] (Name, SourceSAdd, SourceEAdd inclusive, Format)
// and the range is written in that format. A save replaces its file
// atomically: when anything fails the previous file stays as it was.
#include <cstdint>
#include <string>

namespace quenlet {

class DataBuffer;
class Messages;
class Progress;
struct LoadSaveContext;

// Save-format codes of the save dialog.
enum SaveFormat : int32_t {
  kSaveBinary = 0,
  kSaveIntelHex = 1,
  kSaveMotorolaS1 = 2,
  kSaveMotorolaS2 = 3,
  kSaveMotorolaS3 = 4,
  kSaveTektronix = 5,
};

// The refusal of a range too big for the format, caption "SAVE".
const char* SaveTooBigText(int32_t format);

// Writes buffer bytes first .. last (inclusive) to the file `name` in
// `format` (any code other than 1 to 5 is binary). Hex formats round the
// length up to 32 bytes with the bytes that follow in the buffer. False after
// a message when the range leaves the buffer, the format cannot hold it, or
// the file cannot be written.
bool SaveRange(const DataBuffer& buffer, const std::string& name, int64_t first, int64_t last,
               int32_t format, Messages& messages, Progress& progress);

// The box every save shows when its file cannot be written: the name and
// the reason (errno `error`, 0 when none is known).
void ShowFileWriteError(Messages& messages, const std::string& name, int error);

// [SaveDlg] as the dialog left it. Returns 1 when the file was written.
int32_t SaveBuffer(const DataBuffer& buffer, Messages& messages, Progress& progress);

// Popup Action / Save. True when a file was written.
bool SaveFileClick(LoadSaveContext& context);

}  // namespace quenlet
