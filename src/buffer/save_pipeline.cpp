#include "buffer/save_pipeline.h"

#include <cstring>

#include "buffer/binary_file.h"
#include "buffer/data_buffer.h"
#include "buffer/dialog_result.h"
#include "buffer/intel_hex.h"
#include "buffer/load_pipeline.h"
#include "buffer/motorola_srec.h"
#include "buffer/record_output.h"
#include "buffer/tektronix_hex.h"
#include "platform/atomic_output_file.h"
#include "platform/ini_file.h"
#include "platform/strprintf.h"
#include "platform/user_interfaces.h"

namespace quenlet {
namespace {

class FileSink : public ByteSink {
 public:
  explicit FileSink(AtomicOutputFile& file) : file_(file) {}
  bool Write(std::span<const char> bytes) override {
    return file_.Write(bytes.data(), bytes.size());
  }

 private:
  AtomicOutputFile& file_;
};

}  // namespace

const char* SaveTooBigText(int32_t format) {
  switch (format) {
    case kSaveIntelHex:
      return "File Too Big for Intel Format,\nPlease Select other Format.";
    case kSaveMotorolaS1:
      return "File Too Big for Motorola S1,\nPlease Select other Format.";
    case kSaveMotorolaS2:
      return "File Too Big for Motorola S2,\nPlease Select other Format.";
    case kSaveTektronix:
      return "File Too Big for Tektlonix Format,\nPlease Select other Format.";
    default:
      return "File Too Big,\nPlease Select other Format.";
  }
}

bool SaveRange(const DataBuffer& buffer, const std::string& name, int64_t first, int64_t last,
               int32_t format, Messages& messages, Progress& progress) {
  if (name.empty()) {
    messages.Show("No File Name!!");
    return false;
  }
  if (first < 0 || last < first || last >= static_cast<int64_t>(buffer.BufSize())) {
    messages.Box("Range Error!!", "SAVE", MessageButtons::Ok, MessageIcon::Stop);
    return false;
  }
  const uint64_t length = static_cast<uint64_t>(last - first + 1);
  int error = 0;
  WriteOutcome outcome = WriteOutcome::Written;
  if (format < kSaveIntelHex || format > kSaveTektronix) {
    if (!WriteBinaryFile(name, buffer.Bytes().subspan(static_cast<size_t>(first), length),
                         &error)) {
      outcome = WriteOutcome::FileError;
    }
  } else {
    // The rounding to 32 bytes reads on into the buffer's slack.
    const SaveSource source(buffer.Block().subspan(static_cast<size_t>(first)));
    AtomicOutputFile file(name);
    FileSink sink(file);
    switch (format) {
      case kSaveIntelHex:
        outcome = WriteIntelHex(sink, source, length, progress);
        break;
      case kSaveMotorolaS1:
        outcome = WriteMotorolaS(sink, source, SRecordVariant::S1, length, progress);
        break;
      case kSaveMotorolaS2:
        outcome = WriteMotorolaS(sink, source, SRecordVariant::S2, length, progress);
        break;
      case kSaveMotorolaS3:
        outcome = WriteMotorolaS(sink, source, SRecordVariant::S3, length, progress);
        break;
      default:
        outcome = WriteTektronixHex(sink, source, length, progress);
        break;
    }
    if (outcome == WriteOutcome::Written && !file.Commit()) outcome = WriteOutcome::FileError;
    if (outcome == WriteOutcome::FileError) error = file.error();
  }
  switch (outcome) {
    case WriteOutcome::Written:
      return true;
    case WriteOutcome::TooBig:
      messages.Box(SaveTooBigText(format), "SAVE", MessageButtons::Ok, MessageIcon::Stop);
      return false;
    case WriteOutcome::FileError:
      ShowFileWriteError(messages, name, error);
      return false;
  }
  return false;
}

void ShowFileWriteError(Messages& messages, const std::string& name, int error) {
  messages.Box(strprintf("File write error !\n\n%s: %s", name.c_str(),
                         error ? std::strerror(error) : "the file cannot be written"),
               "SAVE", MessageButtons::Ok, MessageIcon::Stop);
}

int32_t SaveBuffer(const DataBuffer& buffer, Messages& messages, Progress& progress) {
  IniFile ini(buffer.HistoryIniPath());
  const std::string name = ini.ReadString("SaveDlg", "Name", "None");
  const int64_t first = ini.ReadInteger("SaveDlg", "SourceSAdd", 0);
  const int64_t last = ini.ReadInteger("SaveDlg", "SourceEAdd", 0);
  const int32_t format = ini.ReadInteger("SaveDlg", "Format", 0);
  return SaveRange(buffer, name, first, last, format, messages, progress) ? 1 : 0;
}

bool SaveFileClick(LoadSaveContext& context) {
  if (!context.windows.RunSaveDialog()) return false;
  if (ReadDialogOK(context.buffer.HistoryIniPath(), "SaveDlg") == 0) return false;
  return SaveBuffer(context.buffer, context.messages, context.progress) == 1;
}

}  // namespace quenlet
