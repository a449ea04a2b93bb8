#pragma once
// The editor's Action / Load command: the load dialog hands its choices back
// in History_1.ini [LoadDlg]; the chosen range of the file is read, its
// format detected or taken from the dialog, parsed into a staging image and
// only then laid into the data buffer, summed and shown.
//
// A load is all or nothing: a file that cannot be read, is not of the chosen
// format, has a damaged record or places no byte leaves the buffer, its size,
// DataMode and [LoadDlg] exactly as they were, and says why. The main
// window's load path field and the load dialog's name history name the file
// only once it has loaded, so they never name a file the buffer does not
// hold.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "buffer/load_summary.h"
#include "buffer/text_block.h"

namespace quenlet {

class DataBuffer;
class Messages;
class Progress;
class ProgramPaths;
struct MainFormState;

// The windows the load and save commands open, and the main-window fields
// they touch. The application passes its Qt windows; tests pass fakes.
class LoadSaveWindows {
 public:
  virtual ~LoadSaveWindows() = default;
  // Creates the load dialog, shows it modally and releases it; with a preset
  // name the dialog starts on that file and its range. True when the
  // operator confirmed it; false when it was cancelled or would not open
  // because no device is chosen yet (it has then set LoadNeedsDevice). A
  // cancelled dialog stops the load even where its OK := "0" could not be
  // written, so the last load is never replayed.
  virtual bool RunLoadDialog(const std::optional<std::string>& preset_name) = 0;
  // Creates the save dialog with an empty name, shows it modally, releases
  // it. True when the operator confirmed it.
  virtual bool RunSaveDialog() = 0;
  // The main window's load path field.
  virtual std::string LoadPathText() const = 0;
  virtual void SetLoadPathText(const std::string& text) = 0;
  // The main window's sum field: its text and whether its font is red (else
  // the window-text colour).
  virtual std::string SumText() const = 0;
  virtual void SetSumText(const std::string& text) = 0;
  virtual void SetSumRed(bool red) = 0;
  // The summary window's fields, and showing it modally.
  virtual void SetSummary(const LoadSummary& summary) = 0;
  virtual void ShowSummaryModal() = 0;
  // The load dialog's show-summary flag, read and cleared.
  virtual bool TakeShowSummaryRequest() = 0;
  // The editor's view is drawn again.
  virtual void RedrawView() = 0;
  // The main window's handle, handed to a plug-in.
  virtual int64_t MainWindowHandle() const = 0;
  // The buffer sizing that the last confirmed load dialog decided, taken
  // once (empty when there is none). The load runs it only after the file
  // has been read and checked, just before the data goes into the buffer.
  virtual std::function<void()> TakeBufferSizing() { return {}; }
  // The write of the load dialog's name history that the last confirmed
  // dialog left (its name on top), taken once; the load runs it only once
  // the file has loaded. Empty when there is none.
  virtual std::function<bool()> TakeNameHistoryWrite() { return {}; }
};

// The PIC devices' load path: their own sum and configuration decode.
class PicLoadHooks {
 public:
  virtual ~PicLoadHooks() = default;
  // The PIC sum of the buffer for the device's IC INI file; config_word
  // receives the configuration word. nullopt after its message when the
  // device file's values do not fit the buffer (nothing was changed).
  virtual std::optional<uint32_t> CounterPICcheckSum(DataBuffer& buffer,
                                                     const std::string& ic_ini_path,
                                                     uint64_t file_length,
                                                     uint16_t& config_word) = 0;
  // Decodes the configuration word by the same IC INI file.
  virtual void PICConfiguerationDecode(const DataBuffer& buffer, const std::string& ic_ini_path,
                                       uint16_t config_word) = 0;
};

struct LoadSaveContext {
  DataBuffer& buffer;
  MainFormState& state;
  const ProgramPaths& paths;
  Messages& messages;
  Progress& progress;
  LoadSaveWindows& windows;
  PicLoadHooks* pic = nullptr;
};

// What a load is asked to do, as [LoadDlg] and the editor give it.
struct LoadRequest {
  std::string name;          // the file, for messages
  int32_t format = 0;        // load-format code 0 to 7
  int64_t dest = 0;          // destination offset in the buffer
  uint8_t fill = 0;          // fill byte
  bool fill_unused = false;  // fill around the data with `fill`
  bool report_detection = false;
  bool report_sum = false;
  // Runs once the text has been read and checked, before the buffer
  // changes; the buffer's size is taken after it.
  std::function<void()> before_commit;
};

struct LoadOutcome {
  bool loaded = false;
  int32_t format = 0;     // the format the text was read as (3 for binary)
  uint64_t placed = 0;    // data bytes laid into the buffer
  uint32_t file_sum = 0;  // sum of those bytes
};

// The file work of a load: detection, reading, placement by DataMode and the
// file sum; sets FileStartAdd, FileSize and, for a detected hex or POF file,
// DataMode 0. Nothing of the buffer changes unless the whole text was read.
LoadOutcome LoadTextIntoBuffer(DataBuffer& buffer, TextBlock text, const LoadRequest& request,
                               Messages& messages, Progress& progress);

// Popup Action / Load. True when data was loaded. With `preset_name` the
// dialog starts on that file (a project's data file).
bool LoadFileClick(LoadSaveContext& context,
                   const std::optional<std::string>& preset_name = std::nullopt);

// [LoadDlg] Name, bytes SourceSAdd .. SourceEAdd, cut to what the file holds.
// nullopt after its message when nothing can be read. Raises
// ConversionError when [LoadDlg] Format is not a number.
std::optional<TextBlock> ReadFileRange(LoadSaveContext& context);

// Detects, reads, places and sums the text by [LoadDlg] and the editor's
// FileFormat, fills the summary and the sum field. Returns 1 or 0.
// before_commit: see LoadRequest.
int32_t LoadIntoBuffer(LoadSaveContext& context, TextBlock text, bool report_detection,
                       bool report_sum, std::function<void()> before_commit = {});

// The format the load dialog presets for [LoadDlg] Name: 4 Intel HEX,
// 5 Motorola, 6 Tektronix, 7 POF (first detector that passes over the
// [LoadDlg] range, silently), else 0. Reads only; the buffer is not touched.
int32_t DetectFileFormat(const std::string& history_ini_path);

}  // namespace quenlet
