#pragma once
// What the "Load File" and "Save File" dialogs decide, without their
// windows. Like every parameter dialog they do no file work: each checks its
// fields, writes them with OK = "1" into its section of History_1.ini
// ([LoadDlg], [SaveDlg]) and closes; Cancel, Escape and the window's close
// write OK = "0". The load and save commands (load_pipeline.h,
// save_pipeline.h) read the sections back.
//
// A refused field shows its message and keeps the dialog open with nothing
// written. File names are refused when they hold a line break (they would
// break the INI file), and only regular files count as existing, so a FIFO,
// a device node or a folder is "Not Found File ! " at once.
//
// The load dialog decides the buffer's size for the range but does not
// resize: the load command applies that decision only once the file has
// been read and checked (LoadSaveSession::pending_range_size), so a damaged
// file leaves the buffer as it was, size included.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "platform/file_chooser.h"

namespace quenlet {

struct OperationContext;

// What the dialogs and the load and save commands need of the main window
// and the application beyond the operation context. The application
// implements it.
class LoadSaveHost {
 public:
  virtual ~LoadSaveHost() = default;
  // No device has been chosen yet (the main window's type line reads
  // "First Setup" or "None"): the load dialog then does not open.
  virtual bool NoDeviceChosen() const = 0;
  // Sizes the data buffer for the selected device: DeviceBufferSize from
  // the device's width, then the resize.
  virtual void ApplyDeviceBufferSize() = 0;
  // The main window's load path field.
  virtual std::string LoadPathText() const = 0;
  virtual void SetLoadPathText(const std::string& text) = 0;
  // The main window's handle, handed to a plug-in.
  virtual int64_t MainWindowHandle() const = 0;
};

// What lives from one use of the dialogs to the next, besides History_1.ini
// and the name histories. One per program run.
struct LoadSaveSession {
  // Folder of the last Browse, with a trailing '/'; a relative name typed
  // into a dialog resolves against it, else against the program directory.
  std::string browse_folder;
  // Set by every press of Load; the load command reads and clears it.
  bool show_sum_after_load = false;
  // LoadRangeSize of the last confirmed load dialog, until the load command
  // takes it to size the buffer. Every load dialog starts without one.
  std::optional<uint32_t> pending_range_size;
  // The name history's write that the last confirmed load dialog left,
  // until the load command takes it; it runs only once the file loaded.
  // Every load dialog starts without one.
  std::function<bool()> name_history_write;

  // The load command's sizing of the buffer for the pending range
  // (ApplyLoadBufferSizing), taken once; empty when no load dialog was
  // confirmed since.
  std::function<void()> TakeBufferSizing(OperationContext& ops, LoadSaveHost& host);
};

struct LoadSaveDialogEnv {
  OperationContext& ops;  // run state, device, buffer, Copy page, messages, sounds
  LoadSaveHost& host;
  LoadSaveSession& session;
};

// The texts of the dialogs' format groups, by code.
inline constexpr std::array<const char*, 8> kLoadFormatTexts = {
    "Auto Detect", "MS-DOS fn.exe", "MS-DOS fn.com", "Binary / Machine Code",
    "Intel  HEX",  "Motorola HEX",  "Tektlonix HEX", "POF"};
inline constexpr std::array<const char*, 6> kSaveFormatTexts = {
    "Binary/Machine Code", "Intel Hex",   "Motorola S1",
    "Motorola S2",         "Motorola S3", "Tektlonix HEX"};
// The Browse dialogs' filter (FileDialogRequest::filter).
inline constexpr const char* kDataFileFilter =
    "All File (*.*)|*.*|Binary (*.bin)|*.bin|Hex (*.hex)|*.hex|MS-DOS fn.com|*.com|MS-DOS "
    "fn.exe|*.exe|POF|*.pof";

// The path a name typed or stored in a dialog stands for: an absolute name
// as it is, a relative one below the last Browse folder, else below the
// program directory. An empty name stays empty.
std::string ResolveDialogName(const std::string& name, const LoadSaveSession& session,
                              const std::string& program_dir);

// What Browse asks the file chooser: the data-file filter, starting in the
// folder of the file the dialog's field names (resolved as the dialog
// resolves it; an existing file is also picked), else in the last Browse
// folder, else in the program directory; an open needs an existing file.
FileDialogRequest BrowseRequest(const LoadSaveDialogEnv& env, bool save,
                                const std::string& field_name);

// The load dialog's sizing of the buffer for a range of range_size bytes:
// at least the device's size; a larger range raises IcBufferSize,
// BufferSize and DeviceBufferSize to it and resizes the buffer, a smaller
// one sizes it for the device (ApplyDeviceBufferSize).
void ApplyLoadBufferSizing(uint32_t range_size, OperationContext& ops, LoadSaveHost& host);

// The most that end - start may be for a save format; nullopt for none.
std::optional<uint64_t> SaveRangeLimit(int32_t format);

// ---------------------------------------------------------------- Load File

struct LoadDialogFields {
  std::string name;
  std::string source_start = "000000";
  std::string source_end = "000000";
  std::string dest_start = "00000000";
  std::string user_fill = "FF";
  bool fill_unused = true;
  int32_t format = 0;  // load-format code 0 to 7
  bool range_enabled = true;
};

class LoadDialogLogic {
 public:
  explicit LoadDialogLogic(LoadSaveDialogEnv env) : env_(env) {}

  // The dialog's set-up, which drops a sizing an earlier dialog left
  // pending. False when no device has been chosen yet: after the
  // fail sound and "Please Selete IC...", LoadNeedsDevice is 1 and the
  // dialog is not to be shown. Otherwise the last loaded file, when it
  // still exists, is proposed with its detected format and whole range.
  bool FormCreate();

  // The name changed (typed, picked from the history, or set by the load
  // command): an existing file's whole range becomes the source range; any
  // other name leaves the fields as they are and shows nothing.
  void NameEditChange(const std::string& name);
  // Browse returned a file (empty: cancelled). Its folder becomes the
  // folder relative names resolve against.
  void BrowseChosen(const std::string& path);
  // The format group: the range fields only for codes 1 to 6; codes 4 and
  // up fill the unused bytes.
  void FormatGroupClick(int32_t code);
  // The data-set radios set DataMode at once (0, 1, 2, 4, 5, 6, 7); Cancel
  // keeps the change.
  void LaneClick(int32_t data_mode);

  // Load: true when the fields passed and [LoadDlg] was written (the dialog
  // closes); the name field then holds the file's full path.
  bool Load();
  // Cancel, Escape or the window's close.
  void Cancel();

  LoadDialogFields& fields() { return fields_; }
  const LoadDialogFields& fields() const { return fields_; }

 private:
  std::string Resolve(const std::string& name) const;
  bool WriteSection(uint64_t start, uint64_t end, uint64_t dest, uint64_t fill,
                    const std::string& name);

  LoadSaveDialogEnv env_;
  LoadDialogFields fields_;
};

// ---------------------------------------------------------------- Save File

struct SaveDialogFields {
  std::string name;
  std::string source_start = "000000";
  std::string source_end = "000000";
  int32_t format = 0;  // save-format code 0 to 5
};

class SaveDialogLogic {
 public:
  explicit SaveDialogLogic(LoadSaveDialogEnv env) : env_(env) {}

  // Proposes the last loaded file and the last save format.
  void FormCreate();
  void BrowseChosen(const std::string& path);
  // "Max": the whole buffer (first grown to the device size + 1024).
  void FillMaxBtnClick();
  // "File": the named file's length; "No File Seleted!!" without one.
  void FillFileBtnClick();
  // "IC": the device's size.
  void FillICSizeBBClick();

  // Save: true when the fields passed and [SaveDlg] was written. An
  // existing file is asked about once; Cancel there writes nothing.
  bool Save();
  void Cancel();

  SaveDialogFields& fields() { return fields_; }
  const SaveDialogFields& fields() const { return fields_; }

 private:
  std::string Resolve(const std::string& name) const;

  LoadSaveDialogEnv env_;
  SaveDialogFields fields_;
};

}  // namespace quenlet
